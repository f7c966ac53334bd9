// SPDX-License-Identifier: MIT
// The opening logo, the title with its main menu, and the configuration screen.

#include <string>

#include "qon/data/error.h"
#include "qon/data/settings.h"
#include "qon/shell/shell.h"
#include "screen_style.h"

namespace qon::shell {

using namespace detail;

namespace {

enum TitleChoice { kNewGame = 0, kLoadGame = 1, kConfig = 2, kExit = 3 };
enum ConfigChoice { kStageSet = 0, kBitMapSet = 1, kMusicSet = 2, kConfigExit = 3 };

// The next position of a list, back to the first past its last entry.
std::int16_t stepIndex(std::int16_t index, std::int16_t count) {
    return static_cast<std::int16_t>(index + 1 >= count ? 0 : index + 1);
}

const std::string& nameAt(const SetList& list, std::int16_t index) {
    return list.names.at(static_cast<std::size_t>(index));
}

}  // namespace

void GameShell::drawTitleWord(int x) {
    m_media.DrawString(m_media.BackBuffer(), x, 96, "QON", kTitleBlue, false, 96);
}

void GameShell::drawCopyright() {
    m_media.DrawString(m_media.BackBuffer(), 189, 400, kCopyrightNotice, kWhite, true, 14);
}

void GameShell::drawTitleBackground() {
    m_media.FillSurface(m_media.BackBuffer(), m_media.ToSurfaceColor(kBlack));
    drawTitleWord(188);
    drawCopyright();
}

void GameShell::drawNowLoading(int x, int y, int size) {
    m_media.DrawString(m_media.BackBuffer(), x, y, "Now Loading", kWhite, false, size);
}

void GameShell::refillMainMenu() {
    play::Menu& menu = m_game.menu;
    menu.MenuClear();
    menu.MenuAdd("New Game");
    menu.MenuAdd("Load Game");
    menu.MenuAdd("Config");
    menu.MenuAdd("Exit");
    // The title draws the items before its next poll, so they must stand in place now.
    // A press still held from the screen that refilled the menu is latched: this poll
    // cannot choose, and its answer is not used in any case.
    (void)menu.MenuPoll(m_media, m_game.sounds, kMenuSelect, kMainMenuX, kMainMenuY, kMenuSpacing);
}

void GameShell::OpeningLogo() {
    m_game.screen = "logo";
    media::Surface& back = m_media.BackBuffer();
    auto drawLogo = [&] { m_media.BltSprite(back, 0, 0, 640, 480, *m_logoSurface, 0, 0, false); };
    for (int step = 0; step < kWipeSteps; ++step) {
        drawLogo();
        DrawBarWipe(m_media, kWipeSteps - step);
        m_media.FlipScreen();
        pump();
    }
    for (int frame = 1;; ++frame) {
        drawLogo();
        m_media.FlipScreen();
        if (frame >= kHoldFrames) break;
        if (m_media.IsKeyDown(media::Vk::Space)) break;
        m_media.ReadController();
        if (m_media.controller().ControllerButtons == kMenuSelect) break;
        pump();
    }
    for (int step = 0; step < kWipeSteps; ++step) {
        drawLogo();
        DrawBarWipe(m_media, step + 1);
        m_media.FlipScreen();
        pump();
    }
}

bool GameShell::TitleMenu() {
    m_game.screen = "title";
    media::Surface& back = m_media.BackBuffer();
    const std::uint32_t black = m_media.ToSurfaceColor(kBlack);
    // Two copies of the title word glide in from both sides on alternate frames and meet
    // at x 188 after 114 frames. Button 3 cuts it short; the frame that saw the button
    // is not shown.
    for (int offset = -270, frame = 0;; offset += 4, ++frame) {
        m_media.FillSurface(back, black);
        drawTitleWord(frame % 2 == 0 ? offset : 376 - offset);
        m_media.ReadController();
        if (m_media.controller().ControllerButtons == 4 || offset > 183) break;
        m_media.FlipScreen();
        pump();
    }

    play::Menu& menu = m_game.menu;
    menu.MenuClear();
    menu.MenuAdd("New Game");
    menu.MenuAdd("Load Game");
    menu.MenuAdd("Config");
    menu.MenuAdd("Exit");
    for (;;) {
        drawTitleBackground();
        // Once per loading of the sets: the title track keeps playing across the
        // configuration and load screens.
        if (!m_game.TitleMusicPlaying) {
            m_media.StopMusic(m_game.music.TitleMusic.get());
            m_media.PlayMusic(m_game.music.TitleMusic.get(), 4);
            m_game.TitleMusicPlaying = true;
        }
        const int choice = menu.MenuPoll(m_media, m_game.sounds, kMenuSelect, kMainMenuX,
                                         kMainMenuY, kMenuSpacing);
        switch (choice) {
            case kNewGame:
                if (m_game.sounds.SeSelect) m_media.PlaySoundEffect(*m_game.sounds.SeSelect);
                return true;
            case kLoadGame:
                if (m_game.sounds.SeSelect) m_media.PlaySoundEffect(*m_game.sounds.SeSelect);
                if (LoadGameMenu()) return true;
                m_game.screen = "title";
                break;
            case kConfig:
                if (m_game.sounds.SeSelect) m_media.PlaySoundEffect(*m_game.sounds.SeSelect);
                ConfigScreen();
                m_game.screen = "title";
                if (MusicSetChanged) {
                    // The frame left behind by the configuration screen (title word and
                    // notice) carries the notice while the new set loads.
                    m_game.screen = "loading";
                    m_media.DrawString(back, 270, 240, "Now Loading", kWhite, false, 14);
                    m_media.FlipScreen();
                    LoadMusicSet();
                    m_game.TitleMusicPlaying = false;
                    m_game.screen = "title";
                }
                break;
            case kExit:
                return false;
            default:
                break;
        }
        menu.DrawMenuItems(m_media);
        m_media.FlipScreen();
        pump();
    }
}

void GameShell::ConfigScreen() {
    m_game.screen = "config";
    play::Menu& menu = m_game.menu;
    menu.MenuClear();
    // The three set items are named anew every frame.
    menu.MenuAdd("");
    menu.MenuAdd("");
    menu.MenuAdd("");
    menu.MenuAdd("EXIT");
    auto item = [&](int index) -> std::string& {
        return menu.MenuItems[static_cast<std::size_t>(index)].Text;
    };
    auto playCursorSound = [&] {
        if (m_game.sounds.SeCur) m_media.PlaySoundEffect(*m_game.sounds.SeCur);
    };
    for (;;) {
        drawTitleBackground();
        item(kStageSet) = "StageSet-" + nameAt(m_lists.stage, m_settings.StageSetIndex);
        item(kBitMapSet) = "BitMapSet-" + nameAt(m_lists.bitmap, m_settings.BitMapSetIndex);
        item(kMusicSet) = "MusicSet-" + nameAt(m_lists.music, m_settings.MusicSetIndex);
        const int choice =
            menu.MenuPoll(m_media, m_game.sounds, kMenuSelect, 200, 270, kMenuSpacing);
        switch (choice) {
            case kStageSet:
                playCursorSound();
                m_settings.StageSetIndex = stepIndex(m_settings.StageSetIndex, m_lists.stage.count);
                break;
            case kBitMapSet:
                playCursorSound();
                m_settings.BitMapSetIndex =
                    stepIndex(m_settings.BitMapSetIndex, m_lists.bitmap.count);
                break;
            case kMusicSet:
                playCursorSound();
                m_settings.MusicSetIndex = stepIndex(m_settings.MusicSetIndex, m_lists.music.count);
                // Stays set even when the steps come round to the set chosen before:
                // the title reloads the music set anyway.
                MusicSetChanged = true;
                break;
            case kConfigExit: {
                if (m_game.sounds.SeSelect) m_media.PlaySoundEffect(*m_game.sounds.SeSelect);
                refillMainMenu();
                // A new stage or graphic set is played from the next game on.
                useChosenSets();
                const std::string path = m_folders.settingsToWrite();
                try {
                    MakeFolderFor(path);
                    WriteSettingsFile(path, m_settings);
                } catch (const DataError& error) {
                    // The choice still holds for the games until the next return to the
                    // title, which reads the file again.
                    m_media.ShowMessage(kMessageTitle,
                                        say(GameMessage::SettingsNotWritten, {error.what()}));
                }
                return;
            }
            default:
                break;
        }
        menu.DrawMenuItems(m_media);
        m_media.FlipScreen();
        pump();
    }
}

}  // namespace qon::shell
