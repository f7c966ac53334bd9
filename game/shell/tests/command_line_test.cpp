// SPDX-License-Identifier: MIT
// The command lines of qon and of qon-replay: the game, a test play, help and version,
// and every mistake refused with a reason.

#include "qon/shell/command_line.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

#include "qon/shell/replay.h"
#include "qon/test_support/rows.h"

namespace qon::shell {
namespace {

QON_PRINT_ROWS_BY_NAME

using Action = GameCommandLine::Action;

struct GameLineRow {
    const char* name;
    std::vector<std::string> args{};
    Action action = Action::Game;
    const char* project = "";
    int stage = 1;
    const char* graphicSet = "";
    const char* musicSet = "";
    const char* refusal = nullptr;  // a part of the error, for a refused line
};

class GameCommandLineTest : public ::testing::TestWithParam<GameLineRow> {};

TEST_P(GameCommandLineTest, ParsesOrRefusesWithAReason) {
    const GameLineRow& row = GetParam();
    std::string error;
    const auto line = ParseGameCommandLine(row.args, error);
    if (row.refusal != nullptr) {
        ASSERT_FALSE(line.has_value());
        EXPECT_NE(error.find(row.refusal), std::string::npos) << error;
        return;
    }
    ASSERT_TRUE(line.has_value()) << error;
    EXPECT_EQ(line->action, row.action);
    EXPECT_EQ(line->testPlay.projectPath, row.project);
    EXPECT_EQ(line->testPlay.stage, row.stage);
    EXPECT_EQ(line->testPlay.graphicSetPath, row.graphicSet);
    EXPECT_EQ(line->testPlay.musicSetPath, row.musicSet);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GameCommandLineTest,
    ::testing::Values(
        GameLineRow{.name = "NoArgumentsIsTheGame"},
        GameLineRow{.name = "PlayAloneStartsAtStageOne",
                    .args = {"--play", "Stars.stp"},
                    .action = Action::TestPlay,
                    .project = "Stars.stp"},
        GameLineRow{.name = "EveryTestPlayOption",
                    .args = {"--play", "/p/Stars.stp", "--stage", "12", "--graphic-set",
                             "/g/Jewel.bgp", "--music-set", "/m/Night.msp"},
                    .action = Action::TestPlay,
                    .project = "/p/Stars.stp",
                    .stage = 12,
                    .graphicSet = "/g/Jewel.bgp",
                    .musicSet = "/m/Night.msp"},
        GameLineRow{.name = "OptionsInAnyOrder",
                    .args = {"--music-set", "n.msp", "--stage", "2", "--play", "s.stp"},
                    .action = Action::TestPlay,
                    .project = "s.stp",
                    .stage = 2,
                    .musicSet = "n.msp"},
        GameLineRow{.name = "LargestStage",
                    .args = {"--play", "s.stp", "--stage", "32767"},
                    .action = Action::TestPlay,
                    .project = "s.stp",
                    .stage = 32767},
        GameLineRow{.name = "HelpWinsOverATestPlay",
                    .args = {"--play", "s.stp", "--help"},
                    .action = Action::Help},
        GameLineRow{
            .name = "HelpWinsOverVersion", .args = {"--version", "--help"}, .action = Action::Help},
        GameLineRow{.name = "VersionWinsOverAMistake",
                    .args = {"--stage", "0", "--version"},
                    .action = Action::Version},
        GameLineRow{.name = "StageWithoutPlay",
                    .args = {"--stage", "2"},
                    .refusal = "--stage belongs to a test play"},
        GameLineRow{.name = "GraphicSetWithoutPlay",
                    .args = {"--graphic-set", "g.bgp"},
                    .refusal = "--graphic-set belongs to a test play"},
        GameLineRow{.name = "MusicSetWithoutPlay",
                    .args = {"--music-set", "m.msp"},
                    .refusal = "--music-set belongs to a test play"},
        GameLineRow{.name = "StageZero",
                    .args = {"--play", "s.stp", "--stage", "0"},
                    .refusal = "from 1 to 32767"},
        GameLineRow{.name = "StagePastSixteenBits",
                    .args = {"--play", "s.stp", "--stage", "32768"},
                    .refusal = "from 1 to 32767"},
        GameLineRow{.name = "StageNotANumber",
                    .args = {"--play", "s.stp", "--stage", "3rd"},
                    .refusal = "from 1 to 32767"},
        GameLineRow{.name = "PlayWithoutAValue", .args = {"--play"}, .refusal = "needs a value"},
        GameLineRow{
            .name = "EmptyProjectPath", .args = {"--play", ""}, .refusal = "--play needs a value"},
        GameLineRow{.name = "StageGivenTwice",
                    .args = {"--play", "s.stp", "--stage", "1", "--stage", "2"},
                    .refusal = "--stage is given twice"},
        GameLineRow{.name = "UnknownOption",
                    .args = {"--fullscreen"},
                    .refusal = "unknown option --fullscreen"},
        GameLineRow{.name = "ProjectWithoutItsOption",
                    .args = {"Stars.stp"},
                    .refusal = "unexpected argument Stars.stp"}),
    test_support::RowName);

TEST(GameCommandLine, HelpNamesEveryOptionAndTheExitStatuses) {
    const std::string help = GameHelpText();
    for (const char* option : {"--play PROJECT.stp", "--stage N", "--graphic-set SET.bgp",
                               "--music-set SET.msp", "--help", "--version", "Exit status"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
    EXPECT_EQ(help.back(), '\n');
}

// ---- qon-replay's options of a test play, its player and its stop screens ------------

struct ReplayLineRow {
    const char* name;
    std::vector<std::string> args{};
    const char* script = "script";
    const char* project = nullptr;  // the test play's project; nullptr for none
    int stage = 1;
    long long playerSeed = -1;  // -1 for no player
    std::vector<std::string> stopOn{};
    const char* refusal = nullptr;
};

class ReplayCommandLineTest : public ::testing::TestWithParam<ReplayLineRow> {};

TEST_P(ReplayCommandLineTest, ParsesOrRefusesWithAReason) {
    const ReplayLineRow& row = GetParam();
    std::string error;
    const auto options = ParseReplayArguments(row.args, error);
    if (row.refusal != nullptr) {
        ASSERT_FALSE(options.has_value());
        EXPECT_NE(error.find(row.refusal), std::string::npos) << error;
        return;
    }
    ASSERT_TRUE(options.has_value()) << error;
    EXPECT_EQ(options->gameFolder, "game");
    EXPECT_EQ(options->scriptPath, row.script);
    ASSERT_EQ(options->testPlay.has_value(), row.project != nullptr);
    if (row.project != nullptr) {
        EXPECT_EQ(options->testPlay->projectPath, row.project);
        EXPECT_EQ(options->testPlay->stage, row.stage);
    }
    ASSERT_EQ(options->playerSeed.has_value(), row.playerSeed >= 0);
    if (row.playerSeed >= 0) {
        EXPECT_EQ(*options->playerSeed, row.playerSeed);
    }
    EXPECT_EQ(std::vector<std::string>(options->stopOn.begin(), options->stopOn.end()), row.stopOn);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReplayCommandLineTest,
    ::testing::Values(ReplayLineRow{.name = "TestPlayOfAStage",
                                    .args = {"game", "script", "--play", "p.stp", "--stage", "4"},
                                    .project = "p.stp",
                                    .stage = 4},
                      ReplayLineRow{.name = "PlayerNeedsNoScript",
                                    .args = {"game", "--player", "7"},
                                    .script = "",
                                    .playerSeed = 7},
                      ReplayLineRow{.name = "PlayerWithAScript",
                                    .args = {"--player", "4294967295", "game", "script"},
                                    .playerSeed = 4294967295LL},
                      ReplayLineRow{
                          .name = "StopOnTwoScreens",
                          .args = {"game", "script", "--stop-on", "gameover", "--stop-on", "clear"},
                          .stopOn = {"clear", "gameover"}},
                      ReplayLineRow{.name = "StopOnAScreenTheTraceNeverNames",
                                    .args = {"game", "script", "--stop-on", "menu"},
                                    .refusal = "--stop-on takes a screen"},
                      ReplayLineRow{.name = "PlayerSeedPastThirtyTwoBits",
                                    .args = {"game", "--player", "4294967296"},
                                    .refusal = "--player takes a number"},
                      ReplayLineRow{.name = "ScriptStillNeededWithoutAPlayer",
                                    .args = {"game", "--play", "p.stp"},
                                    .refusal = "expected GAMEFOLDER and SCRIPT"},
                      ReplayLineRow{.name = "ThirdArgumentWithAPlayer",
                                    .args = {"game", "script", "more", "--player", "1"},
                                    .refusal = "expected GAMEFOLDER"},
                      ReplayLineRow{.name = "StageWithoutPlay",
                                    .args = {"game", "script", "--stage", "2"},
                                    .refusal = "give --play too"}),
    test_support::RowName);

// ---- the qon program itself ------------------------------------------------------------

struct ProgramRun {
    int status = -1;
    std::string output;  // standard output and standard error together
};

ProgramRun runGame(const std::string& arguments) {
    ProgramRun run;
    const std::string command = std::string("\"") + QON_GAME_EXE + "\" " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[512];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(GameProgram, HelpPrintsTheUsageAndSucceeds) {
    const ProgramRun run = runGame("--help");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, GameHelpText());
}

TEST(GameProgram, VersionPrintsTheVersionAndSucceeds) {
    const ProgramRun run = runGame("--version");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, GameVersionText());
    EXPECT_EQ(run.output.rfind("qon ", 0), 0u) << run.output;
}

TEST(GameProgram, AMistakeIsNamedAndExitsWithTheUsageStatus) {
    const ProgramRun run = runGame("--play Stars.stp --stage 0");
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_NE(run.output.find("--stage takes a stage number"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("qon --help"), std::string::npos) << run.output;
}

}  // namespace
}  // namespace qon::shell
