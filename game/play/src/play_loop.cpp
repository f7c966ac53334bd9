// SPDX-License-Identifier: MIT
// The stage loop and the frame loop, with the pause and game-over overlays.

#include "internal.h"
#include "qon/data/project_save.h"

namespace qon::play {

namespace {

constexpr std::uint32_t kWhite = media::Rgb(255, 255, 255);

// The track of the current stage, or nullptr (a set without stage tracks, or an index
// outside the loaded list): the music calls do nothing on it.
media::MusicTrack* currentStageTrack(Game& game) {
    const int index = game.play.StageMusicIndex;
    if (index < 0 || index >= static_cast<int>(game.music.StageMusic.size())) return nullptr;
    return game.music.StageMusic[static_cast<std::size_t>(index)].get();
}

void stopEveryStageTrack(Game& game) {
    for (media::MusicTrackPtr& track : game.music.StageMusic) {
        if (track) game.media.StopMusic(track.get());
    }
}

// One stage from its first frame to a clear, a restart or the player's leaving.
StageEnd runFrameLoop(Game& game) {
    media::Media& media = game.media;
    PlayState& p = game.play;
    for (;;) {
        media.MarkFrame();
        if (!p.musicStarted) {
            media.PlayMusic(currentStageTrack(game), 8);
            p.musicStarted = true;
        }

        const bool escDown = media.IsKeyDown(media::Vk::Esc);
        if (escDown && !p.escLatch) {
            // Held Esc opens the menu once; it must be released before it opens again.
            p.escLatch = true;
            media.StopMusic(currentStageTrack(game));
            switch (PauseMenu(game)) {
                case 1:
                    Restart(p);
                    return StageEnd::Restart;
                case 2:
                    return StageEnd::Quit;
                default:
                    media.ResumeMusic(currentStageTrack(game));
                    break;
            }
        }
        if (!media.IsKeyDown(media::Vk::Esc) && p.escLatch) p.escLatch = false;

        game.screen = "play";
        BarAndLaunchStep(game);
        MotionStep(game);
        DebrisStep(p);
        const bool lost = CollisionStep(game);

        if (lost && ShowMiss(game)) {
            if (GameOverMenu(game)) return StageEnd::Quit;
            Restart(p);
            return StageEnd::Restart;
        }
        if (lost) game.screen = "play";

        // The clear test runs before drawing, and removal happens while drawing, so a
        // stage clears one frame after its last block lost its last hit point.
        if (IsStageClear(p)) {
            ShowStageClear(game);
            ++p.StageNumber;
            return StageEnd::Cleared;
        }

        DrawPlayScreen(game);
        media.FlipScreen();
        media.WaitFrame(7);
        media.PumpEvents();
    }
}

}  // namespace

// Without the latch, a press held from play (Space held to launch, say) would choose the
// first item the moment a menu opens: the pause menu could not be opened while Space is
// held, and losing the last ball with Space held would continue (and zero the score)
// without the game-over screen ever showing.
void LatchPressesHeldFromPlay(Game& game) {
    media::Media& media = game.media;
    media.ReadController();
    if (media.controller().ControllerButtons != 0) game.menu.buttonLatch = true;
    if (media.IsKeyDown(media::Vk::Space)) game.menu.spaceLatch = true;
}

int PauseMenu(Game& game) {
    media::Media& media = game.media;
    Menu& menu = game.menu;
    game.screen = "pause";
    menu.MenuClear();
    menu.MenuAdd("  Continue");
    menu.MenuAdd("   ReStart");
    menu.MenuAdd("  Goto Title");
    LatchPressesHeldFromPlay(game);
    for (;;) {
        const int choice = menu.MenuPoll(media, game.sounds, 8, 270, 210, 20);
        if (choice >= 0 && choice <= 2) return choice;
        // The field stays frozen behind the menu, but drawing it still ages the combo.
        DrawPlayScreen(game);
        media.DrawString(media.BackBuffer(), 250, 180, "Esc Menu", kWhite, false, 24);
        menu.DrawMenuItems(media);
        media.PumpEvents();
        media.FlipScreen();
    }
}

bool GameOverMenu(Game& game) {
    media::Media& media = game.media;
    Menu& menu = game.menu;
    game.screen = "gameover";
    menu.MenuClear();
    menu.MenuAdd(" Continue");
    menu.MenuAdd("Goto  Title");
    LatchPressesHeldFromPlay(game);
    int choice = -1;
    for (;;) {
        choice = menu.MenuPoll(media, game.sounds, 8, 250, 270, 20);
        if (choice == 0 || choice == 1) break;
        DrawPlayScreen(game);
        media.DrawString(media.BackBuffer(), 215, 220, "Game Over", kWhite, false, 24);
        menu.DrawMenuItems(media);
        media.FlipScreen();
        media.PumpEvents();
    }
    const bool toTitle = choice == 1;
    if (toTitle) {
        for (int i = 0;
             i < game.music.StageMusicCount && i < static_cast<int>(game.music.StageMusic.size());
             ++i) {
            game.media.StopMusic(game.music.StageMusic[static_cast<std::size_t>(i)].get());
        }
    }
    detail::playEffect(media, game.sounds.SeSelect);
    return toTitle;
}

void LoadStage(Game& game) {
    PlayState& p = game.play;
    ResetGrid(p.StageGrid);
    // Finishes a save of the project that the stage editor did not get to complete, so
    // that no stage is played from a half-saved project.
    const StageProjectHeader header =
        ReadStageForPlay(game.stageProjectPath, p.StageNumber, p.StageGrid);
    p.StageCount = header.StageCount;
    p.stageStaff = header.stageStaff;
    LoadGraphicSet(game.media, game.images, game.graphicStaff, game.graphicSetPath);
    for (BlockCell& c : p.StageGrid) {
        c.Alive = c.Kind != Kind::kEmpty ? kTrue : kFalse;
    }
}

StageEnd PlayStage(Game& game) {
    media::Media& media = game.media;
    PlayState& p = game.play;
    media.StopMusic(game.music.TitleMusic.get());
    stopEveryStageTrack(game);
    LoadStage(game);
    ShowStageIntro(game);
    media.WaitMs(100);

    // Tracks follow the order stages are played in, wrapping to the first.
    int next = p.StageMusicIndex + 1;
    if (next < 0 || next > game.music.StageMusicCount - 1) next = 0;
    p.StageMusicIndex = static_cast<std::int16_t>(next);
    p.musicStarted = false;

    return runFrameLoop(game);
}

}  // namespace qon::play
