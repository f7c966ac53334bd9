// SPDX-License-Identifier: MIT
// The ending: the score page and the staff roll over the ending music.

#include <string>

#include "qon/shell/shell.h"
#include "screen_style.h"

namespace qon::shell {

using namespace detail;

void GameShell::drawStaffRollPage(int page) {
    media::Surface& back = m_media.BackBuffer();
    m_media.FillSurface(back, m_media.ToSurfaceColor(kBlack));
    auto line = [&](int x, int y, const std::string& text, int size) {
        m_media.DrawString(back, x, y, text, kWhite, false, size);
    };
    switch (page) {
        case 1:
            line(205, 184, "GAME CLEAR!", 28);
            line(205, 244, "  SCORE  " + std::to_string(m_game.play.Score), 16);
            break;
        case 2:
            line(225, 224, "スタッフ", 28);
            break;
        case 3:
            line(225, 124, "ステージ製作", 28);
            line(225, 180, m_game.play.stageStaff, 16);
            break;
        case 4:
            line(225, 124, "グラフィック製作", 28);
            line(225, 180, m_game.graphicStaff, 16);
            break;
        case 5:
            line(225, 124, "BGM製作", 28);
            line(225, 180, m_game.music.musicStaff, 16);
            break;
        case 6:
            line(225, 124, "メインプログラム", 28);
            line(225, 180, "Dorvane", 16);
            break;
        default:
            // The last page swaps the sizes: a small heading over a large name.
            line(250, 124, "企画・製作", 16);
            line(220, 180, "Dor Vane", 28);
            break;
    }
}

void GameShell::showStaffRollPage(int page) {
    for (int step = 0; step < kWipeSteps; ++step) {
        drawStaffRollPage(page);
        DrawBarWipe(m_media, kWipeSteps - step);
        m_media.FlipScreen();
        pump();
    }
    // A held Space or button 4 ends every hold after its first frame, so holding it
    // runs a page in 27 frames; the wipes cannot be skipped.
    for (int counter = 0;;) {
        drawStaffRollPage(page);
        m_media.FlipScreen();
        if (++counter >= kHoldFrames) break;
        if (m_media.IsKeyDown(media::Vk::Space)) break;
        m_media.ReadController();
        if (m_media.controller().ControllerButtons == kMenuSelect) break;
        pump();
    }
    for (int step = 0; step < kWipeSteps; ++step) {
        drawStaffRollPage(page);
        DrawBarWipe(m_media, step + 1);
        m_media.FlipScreen();
        pump();
    }
}

void GameShell::PlayEnding() {
    m_game.screen = "ending";
    play::MusicSet& music = m_game.music;
    for (int i = 0; i < music.StageMusicCount; ++i) {
        m_media.StopMusic(music.StageMusic.at(static_cast<std::size_t>(i)).get());
    }
    m_media.PlayMusic(music.EndingMusic.get(), 2);
    for (int page = 1; page <= 7; ++page) showStaffRollPage(page);
    m_media.StopMusic(music.EndingMusic.get());
    // The title starts its own track again.
    m_game.TitleMusicPlaying = false;
}

}  // namespace qon::shell
