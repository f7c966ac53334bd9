// SPDX-License-Identifier: MIT
// The replay script and the command line of qon-replay.

#include <gtest/gtest.h>

#include "qon/shell/replay.h"

namespace qon::shell {
namespace {

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
    const char* text;
    const char* mentions;
};

class ReplayScriptErrorTest : public ::testing::TestWithParam<BadLine> {};

TEST_P(ReplayScriptErrorTest, NamesFileLineAndProblem) {
    try {
        ParseReplayScript(std::string("0 down Space\n") + GetParam().text, "play.txt");
        FAIL() << "accepted: " << GetParam().text;
    } catch (const ReplayScriptError& error) {
        const std::string what = error.what();
        EXPECT_NE(what.find("play.txt, line 2"), std::string::npos) << what;
        EXPECT_NE(what.find(GetParam().mentions), std::string::npos) << what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReplayScriptErrorTest,
    ::testing::Values(BadLine{"UnknownKey", "5 down Ctrl", "unknown key"},
                      BadLine{"KeyNamesAreExact", "5 down space", "unknown key"},
                      BadLine{"MissingKey", "5 up", "one key"},
                      BadLine{"NegativeFrame", "-1 down Left", "frame number"},
                      BadLine{"FrameNotANumber", "soon down Left", "frame number"},
                      BadLine{"OnlyAFrame", "7", "must follow"},
                      BadLine{"UnknownEvent", "7 press Left", "unknown event"},
                      BadLine{"AxisTooLarge", "7 joy 65536 0 0", "0 to 65535"},
                      BadLine{"AxisNegative", "7 joy 0 -1 0", "0 to 65535"},
                      BadLine{"ButtonsMissing", "7 joy 0 0", "X Y BUTTONS"},
                      BadLine{"ShotWithArgument", "7 shot now", "nothing after"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ArgsCase {
    const char* name;
    std::vector<std::string> args;
    bool ok;
    std::uint32_t seed;
    int frames;
    const char* out;
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
        ArgsCase{"Defaults", {"game", "script"}, true, 1, -1, "."},
        ArgsCase{"AllOptions",
                 {"game", "script", "--seed", "42", "--frames", "900", "--out", "o"},
                 true,
                 42,
                 900,
                 "o"},
        ArgsCase{"OptionsFirst", {"--out", "o", "game", "--seed", "7", "script"}, true, 7, -1, "o"},
        ArgsCase{
            "LargestSeed", {"game", "script", "--seed", "4294967295"}, true, 4294967295u, -1, "."},
        ArgsCase{"SeedTooLarge", {"game", "script", "--seed", "4294967296"}, false, 0, 0, ""},
        ArgsCase{"ZeroFrames", {"game", "script", "--frames", "0"}, false, 0, 0, ""},
        ArgsCase{"MissingValue", {"game", "script", "--out"}, false, 0, 0, ""},
        ArgsCase{"UnknownOption", {"game", "script", "--fast"}, false, 0, 0, ""},
        ArgsCase{"MissingScript", {"game"}, false, 0, 0, ""},
        ArgsCase{"ExtraArgument", {"game", "script", "more"}, false, 0, 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qon::shell
