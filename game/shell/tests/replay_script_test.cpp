// SPDX-License-Identifier: MIT
// The replay script and the command line of qon-replay.

#include <gtest/gtest.h>

#include "qon/shell/replay.h"
#include "qon/test_support/rows.h"

namespace qon::shell {
namespace {

QON_PRINT_ROWS_BY_NAME

using headless::InputEvent;

TEST(ReplayScript, ReadsEveryKindOfEvent) {
    const ReplayScript script = ParseReplayScript(
        "# a comment line\n"
        "0 down Space   # held from the start\r\n"
        "\n"
        "12 up Space\n"
        "  30 joy 0 65535 8\n"
        "40 shot\n"
        "40 grid\n"
        "41 down E",  // no line end after the last line
        "s.txt");
    ASSERT_EQ(script.input.size(), 4u);
    EXPECT_EQ(script.input[0].frame, 0);
    EXPECT_EQ(script.input[0].type, InputEvent::Type::KeyDown);
    EXPECT_EQ(script.input[0].key, media::Vk::Space);
    EXPECT_EQ(script.input[1].type, InputEvent::Type::KeyUp);
    EXPECT_EQ(script.input[2].type, InputEvent::Type::Joystick);
    EXPECT_EQ(script.input[2].joystick.x, 0);
    EXPECT_EQ(script.input[2].joystick.y, 65535);
    EXPECT_EQ(script.input[2].joystick.buttons, 8);
    EXPECT_EQ(script.input[3].key, media::Vk::E);
    EXPECT_TRUE(script.joystickPresent);
    EXPECT_EQ(script.shots, (std::set<int>{40}));
    EXPECT_EQ(script.grids, (std::set<int>{40}));
}

TEST(ReplayScript, NoJoyLineMeansNoJoystick) {
    EXPECT_FALSE(ParseReplayScript("0 down Left\n", "s").joystickPresent);
}

struct BadLine {
    const char* name;
    const char* text{};
    const char* mentions{};
};

class ReplayScriptErrorTest : public ::testing::TestWithParam<BadLine> {};

TEST_P(ReplayScriptErrorTest, NamesFileLineAndProblem) {
    try {
        ParseReplayScript(std::string("0 down Space\n") + GetParam().text, "play.txt");
        FAIL() << "accepted: " << GetParam().text;
    } catch (const ReplayScriptError& error) {
        const std::string what = error.what();
        EXPECT_NE(what.find("play.txt\", line 2"), std::string::npos) << what;
        EXPECT_NE(what.find(GetParam().mentions), std::string::npos) << what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReplayScriptErrorTest,
    ::testing::Values(
        BadLine{.name = "UnknownKey", .text = "5 down Ctrl", .mentions = "unknown key"},
        BadLine{.name = "KeyNamesAreExact", .text = "5 down space", .mentions = "unknown key"},
        BadLine{.name = "MissingKey", .text = "5 up", .mentions = "one key"},
        BadLine{.name = "NegativeFrame", .text = "-1 down Left", .mentions = "frame number"},
        BadLine{.name = "FrameNotANumber", .text = "soon down Left", .mentions = "frame number"},
        BadLine{.name = "OnlyAFrame", .text = "7", .mentions = "must follow"},
        BadLine{.name = "UnknownEvent", .text = "7 press Left", .mentions = "unknown event"},
        BadLine{.name = "AxisTooLarge", .text = "7 joy 65536 0 0", .mentions = "0 to 65535"},
        BadLine{.name = "AxisNegative", .text = "7 joy 0 -1 0", .mentions = "0 to 65535"},
        BadLine{.name = "ButtonsMissing", .text = "7 joy 0 0", .mentions = "X Y BUTTONS"},
        BadLine{.name = "ShotWithArgument", .text = "7 shot now", .mentions = "nothing after"}),
    ::qon::test_support::RowName);

struct ArgsCase {
    const char* name;
    std::vector<std::string> args{};
    bool ok{};
    std::uint32_t seed{};
    int frames{};
    const char* out{};
};

class ReplayArgumentsTest : public ::testing::TestWithParam<ArgsCase> {};

TEST_P(ReplayArgumentsTest, ParsesOrRefuses) {
    std::string error;
    const auto options = ParseReplayArguments(GetParam().args, error);
    ASSERT_EQ(options.has_value(), GetParam().ok) << error;
    if (!options) {
        EXPECT_FALSE(error.empty());
        return;
    }
    EXPECT_EQ(options->gameFolder, "game");
    EXPECT_EQ(options->scriptPath, "script");
    EXPECT_EQ(options->seed, GetParam().seed);
    EXPECT_EQ(options->frames, GetParam().frames);
    EXPECT_EQ(options->outDir, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReplayArgumentsTest,
    ::testing::Values(
        ArgsCase{.name = "Defaults",
                 .args = {"game", "script"},
                 .ok = true,
                 .seed = 1,
                 .frames = -1,
                 .out = "."},
        ArgsCase{.name = "AllOptions",
                 .args = {"game", "script", "--seed", "42", "--frames", "900", "--out", "o"},
                 .ok = true,
                 .seed = 42,
                 .frames = 900,
                 .out = "o"},
        ArgsCase{.name = "OptionsFirst",
                 .args = {"--out", "o", "game", "--seed", "7", "script"},
                 .ok = true,
                 .seed = 7,
                 .frames = -1,
                 .out = "o"},
        ArgsCase{.name = "LargestSeed",
                 .args = {"game", "script", "--seed", "4294967295"},
                 .ok = true,
                 .seed = 4294967295u,
                 .frames = -1,
                 .out = "."},
        ArgsCase{.name = "SeedTooLarge", .args = {"game", "script", "--seed", "4294967296"}},
        ArgsCase{.name = "ZeroFrames", .args = {"game", "script", "--frames", "0"}},
        ArgsCase{.name = "MissingValue", .args = {"game", "script", "--out"}},
        ArgsCase{.name = "UnknownOption", .args = {"game", "script", "--fast"}},
        ArgsCase{.name = "MissingScript", .args = {"game"}},
        ArgsCase{.name = "ExtraArgument", .args = {"game", "script", "more"}}),
    ::qon::test_support::RowName);

}  // namespace
}  // namespace qon::shell
