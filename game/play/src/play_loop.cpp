// SPDX-License-Identifier: MIT
// The stage loop and the frame loop, with the pause and game-over overlays.

#include "internal.h"

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

// Play reads Space and the buttons directly, so the menu latches have not seen a press
// that is still held from play (Space held to launch, say). Without this, such a press
// would choose the first item the moment the menu opens: the pause menu could not be
// opened while Space is held, and losing the last ball with Space held would continue
// (and zero the score) without the game-over screen ever showing. Every menu opened
// from play latches first.
void latchPressesHeldFromPlay(Game& game) {
    media::Media& media = game.media;
    media.ReadController();
    if (media.controller().ControllerButtons != 0) game.menu.buttonLatch = true;
    if (media.IsKeyDown(media::Vk::Space)) game.menu.spaceLatch = true;
}

// One stage from its first frame to a clear, a restart or the player's leaving. What
// follows is read from the play state: StageNumber advanced past a cleared stage, quit
// set when the player goes to the title, neither for the same stage again.
void runFrameLoop(Game& game, ShellScreens& shell) {
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
                    return;
                case 2:
                    p.quit = true;
                    return;
                default:
                    media.ResumeMusic(currentStageTrack(game));
                    break;
            }
        }
        if (!media.IsKeyDown(media::Vk::Esc) && p.escLatch) p.escLatch = false;

        media.SetScreenName("play");
        BarAndLaunchStep(game);
        MotionStep(game);
        DebrisStep(p);
        const bool lost = CollisionStep(game);

        if (lost && ShowMiss(game)) {
            if (GameOverMenu(game)) {
                p.quit = true;
            } else {
                Restart(p);
            }
            return;
        }
        if (lost) media.SetScreenName("play");

        // The clear test runs before drawing, and removal happens while drawing, so a
        // stage clears one frame after its last block lost its last hit point.
        if (IsStageClear(p)) {
            ShowStageClear(game);
            ++p.StageNumber;
            if (p.StageNumber <= p.StageCount) {
                // The save screen is a menu too: a Space still held from play must not
                // pick a slot.
                latchPressesHeldFromPlay(game);
                shell.StageClearSave();
            }
            ResetForNextStage(p);
            return;
        }

        DrawPlayScreen(game);
        media.FlipScreen();
        media.WaitFrame(7);
        media.PumpEvents();
    }
}

}  // namespace

int PauseMenu(Game& game) {
    media::Media& media = game.media;
    Menu& menu = game.menu;
    media.SetScreenName("pause");
    menu.MenuClear();
    menu.MenuAdd("  Continue");
    menu.MenuAdd("   ReStart");
    menu.MenuAdd("  Goto Title");
    latchPressesHeldFromPlay(game);
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
    media.SetScreenName("gameover");
    menu.MenuClear();
    menu.MenuAdd(" Continue");
    menu.MenuAdd("Goto  Title");
    latchPressesHeldFromPlay(game);
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

void PlayStage(Game& game, ShellScreens& shell) {
    media::Media& media = game.media;
    PlayState& p = game.play;
    p.quit = false;
    for (;;) {
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

        runFrameLoop(game, shell);
        if (p.StageNumber > p.StageCount || p.quit) break;
        media.PumpEvents();
    }
    p.StageNumber = 1;
    if (!p.quit) shell.PlayEnding();
}

}  // namespace qon::play
