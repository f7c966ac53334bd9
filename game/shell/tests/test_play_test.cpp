// SPDX-License-Identifier: MIT
// Test play, as the stage editor starts it, replayed on the headless platform: where it
// starts, the three places it ends, the sets it plays with, what it refuses, and that it
// leaves every file as it found it. Also qon-replay's scripted player and --stop-on.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "game_folder.h"
#include "qon/data/set_list.h"
#include "qon/shell/command_line.h"
#include "qon/shell/replay.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "replay_trace.h"

namespace qon::shell {
namespace {

QON_PRINT_ROWS_BY_NAME

namespace fs = std::filesystem;
using shell_test::AddMusicSet;
using shell_test::AddStageProject;
using shell_test::Field;
using shell_test::GameFolder;
using shell_test::MakeGameFolder;
using shell_test::ReplayRun;
using shell_test::WriteText;

// Space held from the start launches the ball as soon as play begins and hurries the
// ending along; the fixture's one block lies on the ball's first flight.
constexpr const char* kHoldSpace = "0 down Space\n";

TestPlayOptions playOf(const std::string& project, int stage = 1) {
    TestPlayOptions options;
    options.projectPath = project;
    options.stage = stage;
    return options;
}

ReplayRun testPlay(const GameFolder& game, const std::string& script, const std::string& outName,
                   int frames, const TestPlayOptions& options) {
    return shell_test::Replay(game, script, outName, frames, 1,
                              [&](ReplayOptions& o) { o.testPlay = options; });
}

// The frames presented before the closing line.
int framesShown(const ReplayRun& run) {
    return static_cast<int>(run.trace.size()) - 1;
}

const std::string& lastFrame(const ReplayRun& run) {
    return run.trace.at(run.trace.size() - 2);
}

TEST(TestPlay, StartsAtTheGivenStageWithItsIntroWithoutLogoOrTitle) {
    const GameFolder game = MakeGameFolder("tp_start", 3);
    const ReplayRun run = testPlay(game, "", "tp_start_out", 300, playOf(game.projectPath, 2));
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(Field(run.trace[0], "screen"), "loading");
    EXPECT_EQ(Field(run.trace[1], "screen"), "intro");
    EXPECT_EQ(Field(run.trace[1], "stage"), "2");
    EXPECT_EQ(run.firstScreen("play"), 1 + 242) << "the usual intro, then play";
    EXPECT_EQ(run.firstScreen("logo"), -1);
    EXPECT_EQ(run.firstScreen("title"), -1);
    EXPECT_FALSE(run.anyLineHas("\"play title"));
}

TEST(TestPlay, GotoTitleInThePauseMenuEndsIt) {
    const GameFolder game = MakeGameFolder("tp_pause");
    // Esc opens the pause menu; two presses of Down reach "  Goto Title"; Space chooses.
    const ReplayRun run = testPlay(game,
                                   "300 down Esc\n302 up Esc\n304 down Down\n306 up Down\n"
                                   "308 down Down\n310 up Down\n312 down Space\n",
                                   "tp_pause_out", 2000, playOf(game.projectPath));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(framesShown(run), 312) << "the program ends at the choice";
    EXPECT_EQ(Field(lastFrame(run), "screen"), "pause");
    EXPECT_EQ(Field(lastFrame(run), "cursor"), "2");
    EXPECT_EQ(run.firstScreen("title"), -1);
    EXPECT_NE(run.trace.back().find("\"end\":0"), std::string::npos);
}

TEST(TestPlay, GotoTitleAfterAGameOverEndsIt) {
    const GameFolder game = MakeGameFolder("tp_gameover");
    const std::string hard = AddStageProject(game, "hard", "Hard", "Tester", 1, true);
    // The ball is launched at once and the Bar kept at the left wall, so every ball is
    // lost. A first run finds the game over; the runs are alike, so the second acts on it.
    const std::string losing = "0 down Space\n250 down Left\n";
    const ReplayRun probe =
        shell_test::Replay(game, losing, "tp_gameover_probe", 20000, 1, [&](ReplayOptions& o) {
            o.testPlay = playOf(hard);
            o.stopOn.insert("gameover");
        });
    const int gameOver = probe.firstScreen("gameover");
    ASSERT_GT(gameOver, 0) << "the Bar should have missed every ball";

    std::ostringstream script;
    script << losing << gameOver + 1 << " up Space\n"  // the menu took the held Space
           << gameOver + 3 << " down Down\n"
           << gameOver + 5 << " up Down\n"
           << gameOver + 7 << " down Space\n";
    const ReplayRun run =
        testPlay(game, script.str(), "tp_gameover_out", gameOver + 2000, playOf(hard));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(framesShown(run), gameOver + 7);
    EXPECT_EQ(Field(lastFrame(run), "screen"), "gameover");
    EXPECT_EQ(Field(lastFrame(run), "cursor"), "1");
    EXPECT_EQ(run.firstScreen("title"), -1);
    EXPECT_NE(run.trace.back().find("\"stop stage:0\""), std::string::npos)
        << "Goto  Title stops the stage tracks";
}

TEST(TestPlay, EndsAfterTheEndingOfTheLastStageWithoutASaveScreen) {
    const GameFolder game = MakeGameFolder("tp_ending", 2);
    const ReplayRun run =
        testPlay(game, kHoldSpace, "tp_ending_out", 5000, playOf(game.projectPath));
    EXPECT_EQ(run.status, 0);
    const int secondIntro = run.firstScreen("intro", run.firstScreen("clear"));
    ASSERT_GT(secondIntro, 0);
    EXPECT_EQ(Field(run.trace[static_cast<std::size_t>(secondIntro)], "stage"), "2");
    EXPECT_EQ(run.firstScreen("save"), -1);
    // Seven pages of 27 frames each with Space held, and nothing after them.
    EXPECT_EQ(run.countScreen("ending"), 7 * 27);
    EXPECT_EQ(Field(lastFrame(run), "screen"), "ending");
    EXPECT_LT(framesShown(run), 5000);
    EXPECT_TRUE(run.anyLineHas("\"play ending x2\""));
    EXPECT_FALSE(run.anyLineHas("\"play title"));
}

// ---- nothing is written -------------------------------------------------------------

std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[entry.path().string()] = test_support::ReadBytes(entry.path().string());
        }
    }
    return files;
}

struct UntouchedRow {
    const char* name;
    bool initBse = false;   // "Init.bse" exists before the play
    bool saveFile = false;  // the project's "qonsave.sav" exists before the play
};

class TestPlayWritesNothing : public ::testing::TestWithParam<UntouchedRow> {};

TEST_P(TestPlayWritesNothing, EveryFileIsAsItWas) {
    const UntouchedRow& row = GetParam();
    const GameFolder game = MakeGameFolder(std::string("tp_untouched_") + row.name, 2);
    const std::string savePath =
        (fs::path(game.projectPath).parent_path() / "qonsave.sav").string();
    if (row.initBse) WriteText(game.folder + "Init.bse", "0\r\n0\r\n0\r\n");
    if (row.saveFile) {
        WriteText(savePath, " 2 \r\n 1 \r\n 1 \r\n 1 \r\n");
    } else {
        fs::remove(savePath);
    }
    const auto before = snapshot(game.folder);
    // Two stages cleared (where the game would show its save screen between them) and
    // the ending.
    const ReplayRun run = testPlay(game, kHoldSpace, std::string("tp_untouched_out_") + row.name,
                                   5000, playOf(game.projectPath));
    ASSERT_EQ(run.status, 0);
    ASSERT_GT(run.firstScreen("ending"), 0);
    EXPECT_EQ(snapshot(game.folder), before);
}

INSTANTIATE_TEST_SUITE_P(Table, TestPlayWritesNothing,
                         ::testing::Values(UntouchedRow{.name = "NeitherFileIsCreated"},
                                           UntouchedRow{.name = "BothFilesKeepTheirBytes",
                                                        .initBse = true,
                                                        .saveFile = true}),
                         test_support::RowName);

// ---- refusals ------------------------------------------------------------------------

struct RefusalRow {
    const char* name;
    // Spoils the folder and returns the options of the test play.
    std::function<TestPlayOptions(const GameFolder&)> arrange{};
    const char* named{};  // part of the message: the file
    const char* reason{};
};

class TestPlayRefusal : public ::testing::TestWithParam<RefusalRow> {};

TEST_P(TestPlayRefusal, NamesTheFileAndFails) {
    const RefusalRow& row = GetParam();
    const GameFolder game = MakeGameFolder(std::string("tp_refused_") + row.name, 2);
    const ReplayRun run = testPlay(game, kHoldSpace, std::string("tp_refused_out_") + row.name,
                                   2000, row.arrange(game));
    EXPECT_EQ(run.status, 1);
    ASSERT_FALSE(run.trace.empty());
    const std::string& closing = run.trace.back();
    EXPECT_NE(closing.find("\"end\":1"), std::string::npos) << closing;
    EXPECT_NE(closing.find(row.named), std::string::npos) << closing;
    EXPECT_NE(closing.find(row.reason), std::string::npos) << closing;
    EXPECT_NE(run.errors.find(row.named), std::string::npos) << "also on standard error";
}

INSTANTIATE_TEST_SUITE_P(
    Table, TestPlayRefusal,
    ::testing::Values(
        RefusalRow{.name = "MissingProject",
                   .arrange = [](const GameFolder& g) { return playOf(g.folder + "None.stp"); },
                   .named = "None.stp",
                   .reason = "cannot start"},
        RefusalRow{.name = "StagePastTheLast",
                   .arrange = [](const GameFolder& g) { return playOf(g.projectPath, 3); },
                   .named = "tiny.stp",
                   .reason = "has 2 stages; there is no stage 3"},
        RefusalRow{.name = "MissingStageFileOnTheWay",
                   .arrange =
                       [](const GameFolder& g) {
                           fs::remove(fs::path(g.projectPath).parent_path() / "Stage2.stg");
                           return playOf(g.projectPath);
                       },
                   .named = "Stage2.stg",
                   .reason = "does not exist"},
        RefusalRow{.name = "GraphicSetOnTheCommandLineUnreadable",
                   .arrange =
                       [](const GameFolder& g) {
                           TestPlayOptions options = playOf(g.projectPath);
                           options.graphicSetPath = g.folder + "missing.bgp";
                           return options;
                       },
                   .named = "missing.bgp",
                   .reason = "cannot start"},
        RefusalRow{.name = "MusicSetOnTheCommandLineUnreadable",
                   .arrange =
                       [](const GameFolder& g) {
                           WriteText(g.musicPath, "Quiet\r\n");
                           TestPlayOptions options = playOf(g.projectPath);
                           options.musicSetPath = g.musicPath;
                           return options;
                       },
                   .named = "quiet.msp",
                   .reason = "cannot start"},
        RefusalRow{.name = "NoGraphicSetAtAll",
                   .arrange =
                       [](const GameFolder& g) {
                           fs::remove(g.folder + "BitMapSet.sel");
                           return playOf(g.projectPath);
                       },
                   .named = "BitMapSet.sel",
                   .reason = "--graphic-set"}),
    test_support::RowName);

// ---- the sets played with -------------------------------------------------------------

struct SetsRow {
    const char* name;
    // Arranges the folder and returns the options of the test play.
    std::function<TestPlayOptions(const GameFolder&)> arrange{};
    bool stageMusic = true;  // a stage track plays (the fixture's set has two)
};

class TestPlaySets : public ::testing::TestWithParam<SetsRow> {};

TEST_P(TestPlaySets, PlaysWithTheSetsItShould) {
    const SetsRow& row = GetParam();
    const GameFolder game = MakeGameFolder(std::string("tp_sets_") + row.name);
    const ReplayRun run =
        testPlay(game, kHoldSpace, std::string("tp_sets_out_") + row.name, 400, row.arrange(game));
    EXPECT_EQ(run.status, 0) << run.trace.back();
    EXPECT_GT(run.firstScreen("play"), 0);
    EXPECT_EQ(run.anyLineHas("\"play stage:0 x8\""), row.stageMusic);
}

// A music set without stage tracks, listed second.
std::string listSilentMusicSecond(const GameFolder& g) {
    const std::string silent = AddMusicSet(g, "silent", "Silent", "Nobody", 0);
    WriteSetList(g.folder + SetListFileName(SetKind::Music), {g.musicPath, silent});
    return silent;
}

INSTANTIATE_TEST_SUITE_P(
    Table, TestPlaySets,
    ::testing::Values(SetsRow{.name = "WithoutInitBseTheFirstOfEachList",
                              .arrange =
                                  [](const GameFolder& g) {
                                      listSilentMusicSecond(g);
                                      return playOf(g.projectPath);
                                  }},
                      SetsRow{.name = "InitBseChoosesTheMusicSet",
                              .arrange =
                                  [](const GameFolder& g) {
                                      listSilentMusicSecond(g);
                                      WriteText(g.folder + "Init.bse", "0\r\n0\r\n1\r\n");
                                      return playOf(g.projectPath);
                                  },
                              .stageMusic = false},
                      SetsRow{.name = "UnreadableInitBseTheFirstOfEachList",
                              .arrange =
                                  [](const GameFolder& g) {
                                      listSilentMusicSecond(g);
                                      WriteText(g.folder + "Init.bse", "one\r\n");
                                      return playOf(g.projectPath);
                                  }},
                      SetsRow{.name = "MusicSetOnTheCommandLineWinsOverTheChosenOne",
                              .arrange =
                                  [](const GameFolder& g) {
                                      TestPlayOptions options = playOf(g.projectPath);
                                      options.musicSetPath = listSilentMusicSecond(g);
                                      return options;
                                  },
                              .stageMusic = false},
                      SetsRow{.name = "SetsOnTheCommandLineNeedNoList",
                              .arrange =
                                  [](const GameFolder& g) {
                                      fs::remove(g.folder + "BitMapSet.sel");
                                      fs::remove(g.folder + "MusicSet.sel");
                                      TestPlayOptions options = playOf(g.projectPath);
                                      options.graphicSetPath = g.graphicPath;
                                      options.musicSetPath = g.musicPath;
                                      return options;
                                  }},
                      SetsRow{.name = "WithoutAnyMusicSetItPlaysSilent",
                              .arrange =
                                  [](const GameFolder& g) {
                                      fs::remove(g.folder + "MusicSet.sel");
                                      return playOf(g.projectPath);
                                  },
                              .stageMusic = false},
                      SetsRow{.name = "ARelativeProjectPath",
                              .arrange =
                                  [](const GameFolder& g) {
                                      return playOf(fs::relative(g.projectPath).string());
                                  }}),
    test_support::RowName);

// ---- the scripted player and --stop-on ------------------------------------------------

TEST(ScriptedPlayerRun, ClearsTheStageWithoutAScript) {
    const GameFolder game = MakeGameFolder("player_clear");
    const ReplayRun run =
        shell_test::Replay(game, "", "player_clear_out", 5000, 3, [&](ReplayOptions& o) {
            o.scriptPath.clear();
            o.testPlay = playOf(game.projectPath);
            o.playerSeed = 3;
            o.stopOn.insert("clear");
        });
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(Field(lastFrame(run), "screen"), "clear");
}

TEST(ScriptedPlayerRun, PlaysTheWholeGameFromTheLogo) {
    const GameFolder game = MakeGameFolder("player_game", 2);
    const ReplayRun run =
        shell_test::Replay(game, "", "player_game_out", 8000, 5, [&](ReplayOptions& o) {
            o.scriptPath.clear();
            o.playerSeed = 5;
            o.stopOn.insert("ending");
        });
    EXPECT_EQ(run.status, 0);
    // New Game in the title, NEXT in the save screen, both stages cleared.
    const int save = run.firstScreen("save");
    ASSERT_GT(save, 0);
    EXPECT_GT(run.firstScreen("intro", save), save);
    EXPECT_EQ(Field(lastFrame(run), "screen"), "ending");
}

TEST(ScriptedPlayerRun, LeavesThePauseMenuToTheScript) {
    const GameFolder game = MakeGameFolder("player_pause");
    const ReplayRun run = shell_test::Replay(game, "250 down Esc\n252 up Esc\n", "player_pause_out",
                                             600, 1, [&](ReplayOptions& o) {
                                                 o.testPlay = playOf(game.projectPath);
                                                 o.playerSeed = 1;
                                             });
    EXPECT_EQ(run.status, 0);
    const int pause = run.firstScreen("pause");
    ASSERT_GT(pause, 0);
    EXPECT_EQ(run.countScreen("pause"), framesShown(run) - pause);
}

TEST(StopOn, EndsTheRunAtTheFirstFrameOfTheScreen) {
    const GameFolder game = MakeGameFolder("stop_on");
    const ReplayRun run = shell_test::Replay(game, kHoldSpace, "stop_on_out", 2000, 1,
                                             [](ReplayOptions& o) { o.stopOn.insert("intro"); });
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.firstScreen("intro"), framesShown(run) - 1);
    EXPECT_GT(run.firstScreen("title"), 0);
}

}  // namespace
}  // namespace qon::shell
