// SPDX-License-Identifier: MIT
// Whole runs of the game on the headless platform: a stage played to its clear, the same
// run twice, and content that cannot be loaded.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>

#include "game_folder.h"
#include "qon/data/project_save.h"
#include "qon/data/testing/step_operations.h"
#include "qon/shell/replay.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"
#include "replay_trace.h"

namespace qon::shell {
namespace {

QON_PRINT_ROWS_BY_NAME

namespace fs = std::filesystem;
using shell_test::Field;
using shell_test::GameFolder;
using shell_test::MakeGameFolder;
using shell_test::ReadText;
using shell_test::Replay;
using shell_test::ReplayRun;
using shell_test::WriteText;

// Space held from the start: it skips the logo, chooses "New Game", launches the ball
// and hurries the ending along.
constexpr const char* kHoldSpace = "0 down Space\n";

std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream in(ReadText(path));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(ReplayTool, PlaysTheStageToItsClearAndTheEnding) {
    const GameFolder game = MakeGameFolder("tool_clear");
    const test_support::ScratchFolder scratch;
    const std::string out = scratch.file("tool_clear_out");
    const std::string script = out + ".txt";
    WriteText(script, std::string(kHoldSpace) + "300 shot\n");
    const std::string command = std::string("\"") + QON_REPLAY_EXE + "\" \"" + game.folder +
                                "\" \"" + script + "\" --seed 5 --frames 1000 --out \"" + out +
                                "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    ReplayRun run;
    run.trace = readLines(out + "/trace.jsonl");
    ASSERT_GE(run.trace.size(), 1000u);
    const int play = run.firstScreen("play");
    const int clear = run.firstScreen("clear", play);
    const int ending = run.firstScreen("ending", clear);
    ASSERT_GE(play, 0);
    ASSERT_GT(clear, play);
    ASSERT_GT(ending, clear);
    EXPECT_LT(clear - play, 40) << "the ball should reach the block on its first flight";
    // The one block broke and scored; the stage track gave way to the ending music.
    EXPECT_GT(std::stoi(Field(run.trace[static_cast<std::size_t>(clear)], "score")), 0);
    bool broke = false;
    for (int i = play; i <= clear; ++i) {
        broke |= run.trace[static_cast<std::size_t>(i)].find("\"SeBreak\"") != std::string::npos;
    }
    EXPECT_TRUE(broke);
    EXPECT_TRUE(run.anyLineHas("\"play stage:0 x8\""));
    EXPECT_TRUE(run.anyLineHas("\"play ending x2\""));
    // After the ending the game is prepared again and the opening follows.
    EXPECT_GT(run.firstScreen("logo", ending), ending);
    EXPECT_TRUE(fs::exists(out + "/frame-300.bmp"));
    EXPECT_NE(run.trace.back().find("\"end\":0"), std::string::npos);
}

TEST(Replay, SameSeedAndScriptGiveIdenticalTracesAndShots) {
    const GameFolder game = MakeGameFolder("determinism");
    const std::string script = std::string(kHoldSpace) + "200 grid\n350 shot\n420 shot\n";
    const ReplayRun first = Replay(game, script, "determinism_a", 500, 77);
    const ReplayRun second = Replay(game, script, "determinism_b", 500, 77);
    ASSERT_EQ(first.status, 0);
    ASSERT_EQ(first.trace.size(), 501u);  // 500 frames and the closing line
    EXPECT_EQ(ReadText(first.out + "/trace.jsonl"), ReadText(second.out + "/trace.jsonl"));
    for (const char* shot : {"/frame-350.bmp", "/frame-420.bmp"}) {
        const std::string a = ReadText(first.out + shot);
        ASSERT_FALSE(a.empty()) << shot;
        EXPECT_EQ(a, ReadText(second.out + shot)) << shot;
    }
    EXPECT_NE(first.trace[200].find("\"kinds\":["), std::string::npos);
    EXPECT_EQ(first.trace[201].find("\"kinds\""), std::string::npos);
}

TEST(Replay, ShotIsThePresentedPicture) {
    const GameFolder game = MakeGameFolder("shot");
    const ReplayRun run = Replay(game, "5 shot\n", "shot_out", 6);
    headless::HeadlessMedia media;
    media::SurfacePtr shot = media.LoadSurfaceFromFile(run.out + "/frame-5.bmp");
    EXPECT_EQ(shot->width(), 640);
    EXPECT_EQ(shot->height(), 480);
    // Frame 5 is the sixth frame of the logo's reveal: the logo shows between the bars.
    EXPECT_EQ(Field(run.trace[5], "screen"), "logo");
    EXPECT_NE(media.PixelAt(*shot, 5, 300), 0u);
}

TEST(Replay, GridLinesHoldTheWholeGrid) {
    const GameFolder game = MakeGameFolder("grid");
    const ReplayRun run = Replay(game, std::string(kHoldSpace) + "390 grid\n", "grid_out", 391);
    const std::string& line = run.trace[390];
    ASSERT_EQ(Field(line, "screen"), "play");
    const std::size_t kinds = line.find("\"kinds\":[");
    ASSERT_NE(kinds, std::string::npos);
    const std::string list = line.substr(kinds + 9, line.find(']', kinds) - kinds - 9);
    EXPECT_EQ(std::count(list.begin(), list.end(), ','), 359);
    // Cell 16 * 12 + 8 holds the block (Kind 0); the rest are empty (255).
    std::vector<int> values;
    std::stringstream s(list);
    for (std::string v; std::getline(s, v, ',');) values.push_back(std::stoi(v));
    EXPECT_EQ(values[200], 0);
    EXPECT_EQ(values[0], 255);
}

TEST(Replay, TitleExitEndsNormally) {
    const GameFolder game = MakeGameFolder("exit");
    // Space skips the logo and is let go; Up wraps round to "Exit"; Enter chooses it.
    const ReplayRun run =
        Replay(game, "0 down Space\n20 up Space\n150 down Up\n160 up Up\n170 down Enter\n",
               "exit_out", 2000);
    EXPECT_EQ(run.status, 0);
    EXPECT_LT(run.trace.size(), 200u);
    EXPECT_TRUE(run.anyLineHas("\"SeCur\""));
    EXPECT_TRUE(run.anyLineHas("\"play title x4\""));
    EXPECT_EQ(run.firstScreen("play"), -1);
}

TEST(Replay, JoystickSkipsTheSlideInAndChoosesWithButtonFour) {
    const GameFolder game = MakeGameFolder("joystick");
    // Button 3 held: the logo waits its 250 frames (only button 4 skips it), then the
    // title's slide-in ends at once.
    const ReplayRun probe = Replay(game, "0 joy 32768 32768 4\n", "joystick_probe", 300);
    const int title = probe.firstScreen("title");
    ASSERT_GT(title, 250);
    std::ostringstream script;
    script << "0 joy 32768 32768 4\n"
           << title + 2 << " joy 32768 32768 0\n"
           << title + 4 << " joy 32768 32768 9\n"  // buttons 1 and 4: not a choice
           << title + 6 << " joy 32768 32768 0\n"
           << title + 8 << " joy 32768 32768 8\n";  // button 4 alone chooses New Game
    const ReplayRun run = Replay(game, script.str(), "joystick_run", title + 20);
    const int intro = run.firstScreen("intro");
    ASSERT_GT(intro, 0);
    EXPECT_EQ(intro, title + 8);
}

TEST(Replay, QuitKeyEndsAtTheNextFrame) {
    const GameFolder game = MakeGameFolder("quit");
    const ReplayRun run = Replay(game, "10 down E\n", "quit_out", 2000);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.trace.size(), 11u);  // frames 0..9 and the closing line
    EXPECT_NE(run.trace.back().find("\"end\":0"), std::string::npos);
}

TEST(Replay, PauseStopsAndResumesTheStageTrack) {
    const GameFolder game = MakeGameFolder("pause");
    // Launch is held; Esc at 395 opens the pause menu; Space, released and pressed again,
    // chooses "  Continue".
    const ReplayRun run = Replay(game,
                                 "0 down Space\n384 up Space\n395 down Esc\n400 up Esc\n"
                                 "405 down Space\n",
                                 "pause_out", 460);
    const int pause = run.firstScreen("pause");
    ASSERT_GT(pause, 0);
    EXPECT_TRUE(run.anyLineHas("\"stop stage:0\""));
    EXPECT_TRUE(run.anyLineHas("\"resume stage:0\""));
    EXPECT_GT(run.firstScreen("play", pause), pause);
}

TEST(Replay, StageClearSaveWritesTheChosenSlotOnNext) {
    const GameFolder game = MakeGameFolder("save", 2);
    // A first run finds the frame the save screen opens at; the run is deterministic, so
    // the second run can act on it.
    const ReplayRun probe = Replay(game, kHoldSpace, "save_probe", 700);
    const int save = probe.firstScreen("save");
    ASSERT_GT(save, 0);
    EXPECT_EQ(Field(probe.trace[static_cast<std::size_t>(save)], "stage"), "2");

    std::ostringstream script;
    script << "0 down Space\n" << save << " up Space\n";
    int at = save + 2;
    auto press = [&](const char* key) {
        script << at << " down " << key << "\n" << at + 2 << " up " << key << "\n";
        at += 4;
    };
    press("Down");   // cursor to slot 1
    press("Enter");  // slot 1 := stage 2
    press("Down");
    press("Down");
    press("Down");  // cursor to NEXT
    press("Enter");
    const ReplayRun run = Replay(game, script.str(), "save_run", at + 10);
    const int intro = run.firstScreen("intro", save);
    ASSERT_GT(intro, save) << "stage 2 should start after NEXT";
    EXPECT_EQ(Field(run.trace[static_cast<std::size_t>(intro)], "stage"), "2");
    EXPECT_TRUE(run.anyLineHas("\"SeSelect\""));
    const std::string saved =
        ReadText((fs::path(game.projectPath).parent_path() / "qonsave.sav").string());
    EXPECT_EQ(saved, " 1 \r\n 2 \r\n 1 \r\n 1 \r\n");
}

// ---- content that cannot be loaded --------------------------------------------------

// The stage editor killed while it saved a project of two stages by "Saver" over the
// fixture's: the journal is in place, no file has its new bytes yet.
void InterruptSaveOfTheProject(const GameFolder& game) {
    StageProject project = ReadStageProject(game.projectPath);
    project.staffName = "Saver";
    project.stages.push_back(project.stages.front());
    data_testing::StepOperations ops;
    ops.beforeStep = [&ops](int, std::string_view operation, const std::string& at) {
        if ((operation == "renameFile" || operation == "overwriteFile") && ops.committed()) {
            throw DataError(at, 0, "Killed");
        }
    };
    EXPECT_THROW(SaveStageProject(game.projectPath, project, {}, &ops), DataError);
}

TEST(InterruptedSave, IsFinishedBeforeTheFirstStageIsPlayed) {
    const GameFolder game = MakeGameFolder("interrupted_save");
    InterruptSaveOfTheProject(game);
    const ReplayRun run = Replay(game, kHoldSpace, "interrupted_save_out", 400);
    EXPECT_EQ(run.status, 0);
    EXPECT_FALSE(run.anyLineHas("\"messages\":[\"")) << "a finished save needs no message";
    EXPECT_GE(run.firstScreen("intro"), 0);
    EXPECT_EQ(ReadStageProjectHeader(game.projectPath).stageStaff, "Saver");
    EXPECT_EQ(ReadStageProjectHeader(game.projectPath).StageCount, 2);
    EXPECT_FALSE(fs::exists(fs::path(game.projectPath).parent_path() / kSaveJournalName));
}

struct BadContentCase {
    const char* name;
    std::function<void(const GameFolder&)> spoil{};
    const char* namedInMessage{};
};

class BadContentTest : public ::testing::TestWithParam<BadContentCase> {};

TEST_P(BadContentTest, NamesTheFileAndReturnsToTheTitle) {
    const GameFolder game = MakeGameFolder(std::string("bad_") + GetParam().name);
    GetParam().spoil(game);
    const ReplayRun run = Replay(game, kHoldSpace, std::string("bad_out_") + GetParam().name, 900);
    EXPECT_EQ(run.status, 0);
    int messageLine = -1;
    for (std::size_t i = 0; i < run.trace.size(); ++i) {
        if (run.trace[i].find("\"messages\":[\"") != std::string::npos) {
            messageLine = static_cast<int>(i);
            break;
        }
    }
    ASSERT_GE(messageLine, 0) << "no message";
    EXPECT_NE(run.trace[static_cast<std::size_t>(messageLine)].find(GetParam().namedInMessage),
              std::string::npos)
        << run.trace[static_cast<std::size_t>(messageLine)];
    // Back to the opening and the title, not out of the game.
    EXPECT_GE(run.firstScreen("title", messageLine), messageLine);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadContentTest,
    ::testing::Values(
        BadContentCase{.name = "MissingStageFile",
                       .spoil =
                           [](const GameFolder& g) {
                               fs::remove(fs::path(g.projectPath).parent_path() / "Stage1.stg");
                           },
                       .namedInMessage = "Stage1.stg"},
        BadContentCase{.name = "ShortStageFile",
                       .spoil =
                           [](const GameFolder& g) {
                               WriteText(
                                   (fs::path(g.projectPath).parent_path() / "Stage1.stg").string(),
                                   "FFFFFF\r\n");
                           },
                       .namedInMessage = "Stage1.stg"},
        BadContentCase{.name = "MissingBitmap",
                       .spoil =
                           [](const GameFolder& g) {
                               fs::remove(fs::path(g.graphicPath).parent_path() / "slot21.bmp");
                           },
                       .namedInMessage = "slot21.bmp"},
        BadContentCase{.name = "GarbageBitmap",
                       .spoil =
                           [](const GameFolder& g) {
                               WriteText(
                                   (fs::path(g.graphicPath).parent_path() / "slot4.bmp").string(),
                                   "not a bitmap");
                           },
                       .namedInMessage = "slot4.bmp"},
        // A save that cannot be finished (something stands where a stage file goes) must
        // not be played half done.
        BadContentCase{.name = "UnfinishableSave",
                       .spoil =
                           [](const GameFolder& g) {
                               InterruptSaveOfTheProject(g);
                               // The stage the save adds cannot be put in place.
                               fs::create_directories(fs::path(g.projectPath).parent_path() /
                                                      "Stage2.stg" / "in the way");
                           },
                       .namedInMessage = "tiny.stp"},
        BadContentCase{
            .name = "ShortGraphicSet",
            .spoil = [](const GameFolder& g) { WriteText(g.graphicPath, "Flat\r\nPainter\r\n"); },
            .namedInMessage = "flat.bgp"}),
    ::qon::test_support::RowName);

struct FatalCase {
    const char* name;
    std::function<void(const GameFolder&)> spoil{};
    const char* namedInMessage{};
};

class StartFailureTest : public ::testing::TestWithParam<FatalCase> {};

TEST_P(StartFailureTest, EndsWithAMessageAndAFailureStatus) {
    const GameFolder game = MakeGameFolder(std::string("fatal_") + GetParam().name);
    GetParam().spoil(game);
    const ReplayRun run =
        Replay(game, kHoldSpace, std::string("fatal_out_") + GetParam().name, 900);
    EXPECT_EQ(run.status, 1);
    ASSERT_FALSE(run.trace.empty());
    EXPECT_NE(run.trace.back().find("\"end\":1"), std::string::npos);
    EXPECT_NE(run.trace.back().find(GetParam().namedInMessage), std::string::npos)
        << run.trace.back();
    EXPECT_NE(run.errors.find(GetParam().namedInMessage), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StartFailureTest,
    ::testing::Values(
        FatalCase{.name = "MissingLogo",
                  .spoil = [](const GameFolder& g) { fs::remove(g.folder + "Logo.bmp"); },
                  .namedInMessage = "Logo.bmp"},
        FatalCase{.name = "MissingLastEffect",
                  .spoil = [](const GameFolder& g) { fs::remove(g.folder + "Se/SeKin.wav"); },
                  .namedInMessage = "SeKin.wav"},
        FatalCase{
            .name = "EmptyStageList",
            .spoil = [](const GameFolder& g) { WriteText(g.folder + "StageSet.sel", "0\r\n"); },
            .namedInMessage = "Sorrel"},
        FatalCase{.name = "MissingMusicList",
                  .spoil = [](const GameFolder& g) { fs::remove(g.folder + "MusicSet.sel"); },
                  .namedInMessage = "MusicSet.sel"}),
    ::qon::test_support::RowName);

TEST(Replay, MissingTrackStaysSilentAndTheRestPlays) {
    const GameFolder game = MakeGameFolder("bad_music");
    fs::remove(fs::path(game.musicPath).parent_path() / "title.mid");
    // Exit to the title after the ending's pages: the set is read again, and the same
    // problem is not reported twice.
    const ReplayRun run = Replay(game, kHoldSpace, "bad_music_out", 900);
    EXPECT_EQ(run.status, 0);
    int reports = 0;
    for (const std::string& line : run.trace) {
        reports += line.find("title.mid") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(reports, 1);
    EXPECT_GT(run.firstScreen("play"), 0);
    EXPECT_FALSE(run.anyLineHas("\"play title x4\""));
    EXPECT_TRUE(run.anyLineHas("\"play stage:0 x8\""));
    EXPECT_TRUE(run.anyLineHas("\"play ending x2\""));
    EXPECT_GT(run.firstScreen("logo", run.firstScreen("ending")), 0);
}

TEST(Replay, UnreadableMusicSetPlaysWithoutMusic) {
    const GameFolder game = MakeGameFolder("no_music_set");
    WriteText(game.musicPath, "Quiet\r\nComposer\r\n");  // ends before its tracks
    const ReplayRun run = Replay(game, kHoldSpace, "no_music_set_out", 420);
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.anyLineHas("quiet.msp"));
    EXPECT_GT(run.firstScreen("play"), 0);
    EXPECT_FALSE(run.anyLineHas("\"play "));
}

}  // namespace
}  // namespace qon::shell
