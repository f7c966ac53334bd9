// SPDX-License-Identifier: MIT
// Stages through PlayStage on the headless twin: scripted input, stages on disk.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "play_test_support.h"
#include "qon/data/error.h"
#include "qon/test_support/rows.h"

namespace qon::play::test {
namespace {

QON_PRINT_ROWS_BY_NAME

using headless::InputEvent;

// Thrown from a flip callback to end a run once the test has seen enough.
struct StopRun {};

InputEvent keyDown(int frame, int key) {
    return InputEvent{frame, InputEvent::Type::KeyDown, key, {}};
}
InputEvent keyUp(int frame, int key) {
    return InputEvent{frame, InputEvent::Type::KeyUp, key, {}};
}
InputEvent joy(int frame, int x, int y, int buttons) {
    return InputEvent{frame, InputEvent::Type::Joystick, 0, media::JoystickSample{x, y, buttons}};
}

// One Kind 0 block in the launched ball's path: the ball (378, 374) going (4, -5)
// reaches the bottom strip of cell (19, 7) after nine moves.
const StageLayout kOneBlockInThePath{{19 * kGridColumns + 7, 0}};
// A block out of every path used here, so the stage never clears by itself.
const StageLayout kOneBlockInTheCorner{{0, 0}};

class PlayLoop : public ::testing::Test {
  protected:
    PlayLoop() : game(media) {
        PrepareGameForTest(game);
        folder.writeGraphicSet(media);
        game.stageProjectPath = folder.projectPath();
        game.graphicSetPath = folder.graphicSetPath();
        media.watch(game);
        media.SetFlipCallback([this](int frame) {
            if (onFlip) onFlip(frame);
        });
    }
    void script(std::vector<InputEvent> events, bool joystick = false) {
        media.SetScript(std::move(events), joystick);
        media.InitJoystick(16384);
    }
    // Stage after stage, as the shell chains them, until one is not cleared or the last
    // one is; returns how the last stage played ended.
    StageEnd playOn() {
        for (;;) {
            const StageEnd end = PlayStage(game);
            if (end != StageEnd::Cleared || game.play.StageNumber > game.play.StageCount) {
                return end;
            }
            ResetForNextStage(game.play);
        }
    }
    std::vector<std::string> musicMatching(const std::string& prefix) {
        std::vector<std::string> out;
        for (const std::string& m : media.music) {
            if (m.rfind(prefix, 0) == 0) out.push_back(m);
        }
        return out;
    }

    TestMedia media;
    GameFolder folder;
    Game game;
    std::function<void(int)> onFlip;
};

TEST_F(PlayLoop, LaunchBreaksTheOnlyBlockAndTheLastStageEnds) {
    folder.writeStages({kOneBlockInThePath});
    script({keyDown(0, media::Vk::Space)});
    EXPECT_EQ(PlayStage(game), StageEnd::Cleared);
    // Intro 242 frames, play frames 1 to 9 (the block breaks in the ninth), the clear
    // test succeeds in the tenth before drawing, then the clear banner.
    EXPECT_EQ(media.framesPresented(), 242 + 9 + 242);
    EXPECT_EQ(game.play.Score, 10);
    EXPECT_EQ(game.play.StageCount, 1);
    EXPECT_EQ(game.play.StageNumber, 2) << "past the last stage: the shell runs the ending";
    EXPECT_EQ(media.screens, (std::vector<std::string>{"intro", "play", "clear"}));
    EXPECT_EQ(media.music.front(), "stop title");
    EXPECT_EQ(musicMatching("play"), std::vector<std::string>{"play stage:0 x8"});
}

TEST_F(PlayLoop, ClearedStageIsOfferedForSavingWithTheNextStageNumber) {
    folder.writeStages({kOneBlockInThePath, kOneBlockInThePath});
    script({keyDown(0, media::Vk::Space)});
    EXPECT_EQ(PlayStage(game), StageEnd::Cleared);
    EXPECT_EQ(game.play.StageNumber, 2);
    EXPECT_EQ(game.play.StageCount, 2) << "a stage follows: the shell offers the save";
    LatchPressesHeldFromPlay(game);
    EXPECT_TRUE(game.menu.spaceLatch) << "the Space held since the launch cannot pick a save slot";
    ResetForNextStage(game.play);
    EXPECT_EQ(PlayStage(game), StageEnd::Cleared);
    EXPECT_EQ(game.play.Score, 20) << "the chain ran out during the clear banner";
    EXPECT_EQ(game.play.StageNumber, 3);
}

struct MusicRow {
    const char* name;
    int tracks{};
    int stages{};
    std::vector<std::string> expPlays{};
};

class StageMusic : public PlayLoop, public ::testing::WithParamInterface<MusicRow> {};

TEST_P(StageMusic, FollowsTheOrderOfPlayAndWraps) {
    const MusicRow& row = GetParam();
    FillMusic(game.music, row.tracks);
    folder.writeStages(
        std::vector<StageLayout>(static_cast<std::size_t>(row.stages), kOneBlockInThePath));
    script({keyDown(0, media::Vk::Space)});
    EXPECT_EQ(playOn(), StageEnd::Cleared);
    EXPECT_EQ(musicMatching("play"), row.expPlays);
    EXPECT_EQ(game.play.StageNumber, row.stages + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StageMusic,
    ::testing::Values(MusicRow{.name = "ThreeTracksFourStages",
                               .tracks = 3,
                               .stages = 4,
                               .expPlays = {"play stage:0 x8", "play stage:1 x8", "play stage:2 x8",
                                            "play stage:0 x8"}},
                      MusicRow{.name = "OneTrackRepeats",
                               .tracks = 1,
                               .stages = 2,
                               .expPlays = {"play stage:0 x8", "play stage:0 x8"}},
                      MusicRow{.name = "NoTracksPlayNothing", .stages = 2}),
    ::qon::test_support::RowName);

TEST_F(PlayLoop, EveryStageStartStopsTitleAndStageTracks) {
    folder.writeStages({kOneBlockInThePath});
    script({keyDown(0, media::Vk::Space)});
    PlayStage(game);
    const std::vector<std::string> expected{"stop title", "stop stage:0", "stop stage:1",
                                            "stop stage:2", "play stage:0 x8"};
    ASSERT_GE(media.music.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(media.music.begin(), media.music.begin() + 5), expected);
}

TEST_F(PlayLoop, HeldEscOpensThePauseMenuOnce) {
    folder.writeStages({kOneBlockInTheCorner});
    // Intro: frames 0..241. Play from frame 242.
    script({keyDown(250, media::Vk::Esc),
            joy(260, 32768, 32768, 8),  // "  Continue" while Esc is still held
            joy(262, 32768, 32768, 0), keyUp(300, media::Vk::Esc),  // no second menu while held
            keyDown(310, media::Vk::Esc), joy(320, 32768, 32768, 8), joy(322, 32768, 32768, 0),
            keyDown(340, media::Vk::E)},
           true);
    EXPECT_THROW(PlayStage(game), media::QuitRequested);
    EXPECT_EQ(media.screens,
              (std::vector<std::string>{"intro", "play", "pause", "play", "pause", "play"}));
    EXPECT_EQ(musicMatching("stop stage:0").size(), 1u + 2u);  // stage start + two pauses
    EXPECT_EQ(musicMatching("resume"),
              (std::vector<std::string>{"resume stage:0", "resume stage:0"}));
    EXPECT_EQ(game.play.Ball.DX, 0) << "menu button 4 never launches";
}

TEST_F(PlayLoop, SpaceHeldFromPlayDoesNotChooseInThePauseMenu) {
    folder.writeStages({kOneBlockInTheCorner});
    int pauseFrames = 0;
    onFlip = [&](int) {
        if (media.screenName() == "pause") ++pauseFrames;
    };
    script({keyDown(0, media::Vk::Space),  // launch, and keep holding it
            keyDown(250, media::Vk::Esc), keyUp(270, media::Vk::Space),
            keyDown(275, media::Vk::Space),  // a fresh press chooses "  Continue"
            keyDown(290, media::Vk::E)});
    EXPECT_THROW(PlayStage(game), media::QuitRequested);
    EXPECT_EQ(media.screens, (std::vector<std::string>{"intro", "play", "pause", "play"}));
    EXPECT_EQ(pauseFrames, 275 - 250);
}

TEST_F(PlayLoop, RestartFromPauseReplaysTheStageFromItsIntro) {
    folder.writeStages({kOneBlockInTheCorner, kOneBlockInTheCorner});
    game.play.StageNumber = 2;  // as after loading a save slot
    int intros = 0;
    bool rewritten = false;
    onFlip = [&](int) {
        if (media.screenName() == "intro" && media.screens.size() >= 2 &&
            media.screens[media.screens.size() - 2] == "pause") {
            intros = 2;
        }
        if (media.screenName() == "play" && game.play.Score == 0 && intros < 2) {
            game.play.Score = 500;
            game.play.Lives = 2;
            game.play.MagnetOn = true;
        }
        if (media.screenName() == "pause" && !rewritten) {
            // Edit the stage on disk while paused: the restart reads it again.
            folder.writeStages({kOneBlockInTheCorner, {{0, 0}, {5 * kGridColumns + 5, 3}}});
            rewritten = true;
        }
        if (intros == 2 && media.screenName() == "play") throw StopRun{};
    };
    script({keyDown(250, media::Vk::Esc), joy(255, 32768, 65535, 0),  // cursor down to "   ReStart"
            joy(257, 32768, 32768, 0), joy(259, 32768, 32768, 8)},
           true);
    EXPECT_EQ(PlayStage(game), StageEnd::Restart);
    EXPECT_THROW(PlayStage(game), StopRun);
    EXPECT_EQ(media.screens, (std::vector<std::string>{"intro", "play", "pause", "intro", "play"}));
    EXPECT_EQ(game.play.StageNumber, 2);
    EXPECT_EQ(game.play.Score, 0);
    EXPECT_EQ(game.play.Lives, 4);
    EXPECT_FALSE(game.play.MagnetOn);
    EXPECT_EQ(game.play.StageGrid[5 * kGridColumns + 5].Kind, 3) << "the stage file was read again";
    EXPECT_EQ(musicMatching("play"),
              (std::vector<std::string>{"play stage:0 x8", "play stage:0 x8"}));
}

TEST_F(PlayLoop, GotoTitleFromPauseRunsNoEnding) {
    folder.writeStages({kOneBlockInTheCorner});
    script({keyDown(250, media::Vk::Esc), joy(255, 32768, 0, 0),  // up wraps to "  Goto Title"
            joy(257, 32768, 32768, 0), joy(259, 32768, 32768, 8)},
           true);
    EXPECT_EQ(PlayStage(game), StageEnd::Quit);
    EXPECT_EQ(game.play.StageNumber, 1);
}

// Drops the ball out of the field on every play frame, and answers the game-over menu
// with `choice` through the controller.
class GameOver : public PlayLoop {
  protected:
    void loseEveryBall(int choice) {
        onFlip = [this, choice](int) {
            const std::string_view screen = media.screenName();
            if (screen == "play") {
                if (restarted) throw StopRun{};
                game.play.Ball.Y = 495;
            }
            if (screen == "gameover") {
                media.directInput = true;
                ++gameOverFrames;
                media.pad = media::ControllerState{};
                if (choice == 1 && gameOverFrames == 1) media.pad.ControllerY = 1;
                if (gameOverFrames == 3) media.pad.ControllerButtons = 8;
            }
            if (screen == "intro" && gameOverFrames > 0) {
                restarted = true;
                media.directInput = false;
            }
        };
    }
    int gameOverFrames = 0;
    bool restarted = false;
};

TEST_F(GameOver, FourMissesThenContinueRestartsTheStage) {
    folder.writeStages({kOneBlockInTheCorner});
    script({});
    loseEveryBall(0);
    EXPECT_EQ(PlayStage(game), StageEnd::Restart);
    EXPECT_THROW(PlayStage(game), StopRun);
    EXPECT_EQ(media.screens,
              (std::vector<std::string>{"intro", "play", "miss", "play", "miss", "play", "miss",
                                        "play", "miss", "gameover", "intro", "play"}));
    EXPECT_EQ(game.play.Lives, 4);
    EXPECT_EQ(game.play.Score, 0);
    EXPECT_EQ(musicMatching("play"),
              (std::vector<std::string>{"play stage:0 x8", "play stage:0 x8"}));
}

TEST_F(GameOver, GotoTitleStopsTheStageTracksAndRunsNoEnding) {
    folder.writeStages({kOneBlockInTheCorner});
    script({});
    loseEveryBall(1);
    EXPECT_EQ(PlayStage(game), StageEnd::Quit);
    EXPECT_EQ(game.play.StageNumber, 1);
    EXPECT_EQ(game.play.Lives, 0);
    const std::vector<std::string> tail(media.music.end() - 3, media.music.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"stop stage:0", "stop stage:1", "stop stage:2"}));
    const std::vector<std::string> sounds = media.TakeSounds();
    EXPECT_EQ(sounds.back(), "SeSelect");
}

TEST_F(GameOver, SpaceHeldFromPlayDoesNotSkipTheGameOverScreen) {
    folder.writeStages({kOneBlockInTheCorner});
    script({keyDown(0, media::Vk::Space)});
    onFlip = [this](int) {
        const std::string_view screen = media.screenName();
        if (screen == "play") {
            if (restarted) throw StopRun{};
            game.play.Ball.Y = 495;
        }
        if (screen == "gameover") {
            media.directInput = true;
            ++gameOverFrames;
            media.keys.clear();
            if (gameOverFrames < 5 || gameOverFrames == 6) media.keys.insert(media::Vk::Space);
        }
        if (screen == "intro" && gameOverFrames > 0) {
            restarted = true;
            media.directInput = false;
        }
    };
    EXPECT_EQ(PlayStage(game), StageEnd::Restart);
    EXPECT_THROW(PlayStage(game), StopRun);
    EXPECT_EQ(media.screens,
              (std::vector<std::string>{"intro", "play", "miss", "play", "miss", "play", "miss",
                                        "play", "miss", "gameover", "intro", "play"}));
    EXPECT_EQ(gameOverFrames, 6) << "held: no choice; released; pressed anew: \" Continue\"";
    EXPECT_EQ(game.play.Lives, 4);
}

// ---- bad content --------------------------------------------------------------------

TEST_F(PlayLoop, MissingStageFileIsReportedWithItsName) {
    folder.writeStages({kOneBlockInTheCorner, kOneBlockInTheCorner});
    std::filesystem::remove(folder.path() + "Stage2.stg");
    game.play.StageNumber = 2;
    script({});
    try {
        PlayStage(game);
        FAIL() << "expected DataError";
    } catch (const DataError& error) {
        EXPECT_NE(std::string(error.what()).find("Stage2.stg"), std::string::npos) << error.what();
    }
    EXPECT_EQ(media.framesPresented(), 0) << "nothing shown of a stage that did not load";
}

TEST_F(PlayLoop, MissingBitmapIsReportedWithItsName) {
    folder.writeStages({kOneBlockInTheCorner});
    std::filesystem::remove(folder.path() + "slot20.bmp");
    script({});
    try {
        PlayStage(game);
        FAIL() << "expected MediaError";
    } catch (const media::MediaError& error) {
        EXPECT_NE(std::string(error.what()).find("slot20.bmp"), std::string::npos) << error.what();
    }
}

}  // namespace
}  // namespace qon::play::test
