// SPDX-License-Identifier: MIT
// Rectangles, random ranges, the controller merge and the waits: the parts of the media
// layer every platform shares. Runs against a minimal Media with a hand-driven clock.

#include <gtest/gtest.h>

#include <set>

#include "qon/media/controller.h"
#include "qon/media/media.h"
#include "qon/test_support/rows.h"

namespace qon::media {
namespace {

QON_PRINT_ROWS_BY_NAME

// ---- RectsIntersect ----------------------------------------------------------------

struct RectCase {
    const char* name;
    Rect a{};
    Rect b{};
    bool overlap{};
    Rect expected{};
};

class RectsIntersectTest : public ::testing::TestWithParam<RectCase> {};

TEST_P(RectsIntersectTest, OverlapAndResult) {
    const RectCase& row = GetParam();
    Rect c{99, 99, 99, 99};
    EXPECT_EQ(RectsIntersect(row.a, row.b, c), row.overlap);
    EXPECT_EQ(c.left, row.expected.left);
    EXPECT_EQ(c.top, row.expected.top);
    EXPECT_EQ(c.right, row.expected.right);
    EXPECT_EQ(c.bottom, row.expected.bottom);
    // The test is symmetric.
    Rect d;
    EXPECT_EQ(RectsIntersect(row.b, row.a, d), row.overlap);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RectsIntersectTest,
    ::testing::Values(
        RectCase{
            .name = "SharedVerticalEdgeIsNoOverlap", .a = {0, 0, 10, 10}, .b = {10, 0, 20, 10}},
        RectCase{
            .name = "SharedHorizontalEdgeIsNoOverlap", .a = {0, 0, 10, 10}, .b = {0, 10, 10, 20}},
        RectCase{.name = "CornerPixelOverlaps",
                 .a = {0, 0, 10, 10},
                 .b = {9, 9, 20, 20},
                 .overlap = true,
                 .expected = {9, 9, 10, 10}},
        RectCase{.name = "ContainedGivesInner",
                 .a = {0, 0, 100, 100},
                 .b = {20, 30, 40, 50},
                 .overlap = true,
                 .expected = {20, 30, 40, 50}},
        RectCase{.name = "DisjointIsEmpty", .a = {0, 0, 5, 5}, .b = {50, 50, 60, 60}},
        RectCase{.name = "EmptyRectNeverOverlaps", .a = {5, 5, 5, 5}, .b = {0, 0, 10, 10}},
        RectCase{.name = "NegativeCoordinates",
                 .a = {-20, -20, 1, 1},
                 .b = {0, 0, 10, 10},
                 .overlap = true,
                 .expected = {0, 0, 1, 1}},
        RectCase{.name = "BallOnBarTop", .a = {378, 374, 390, 386}, .b = {320, 386, 448, 398}},
        RectCase{.name = "BallOneIntoBar",
                 .a = {378, 375, 390, 387},
                 .b = {320, 386, 448, 398},
                 .overlap = true,
                 .expected = {378, 386, 390, 387}}),
    ::qon::test_support::RowName);

// ---- A Media with a hand-driven clock ----------------------------------------------

class ClockOnlyMedia : public Media {
  public:
    std::int32_t now = 0;
    int pumps = 0;
    int dozes = 0;
    std::uint32_t seed = 7;

    Surface& BackBuffer() override { throw std::logic_error("no display"); }
    SurfacePtr CreateOffscreenSurface(int, int) override { return nullptr; }
    SurfacePtr LoadSurfaceFromFile(const std::string&) override { return nullptr; }
    int BltSprite(Surface&, int, int, int, int, const Surface&, int, int, bool) override {
        return 0;
    }
    int BltStretch(Surface&, int, int, int, int, const Surface&, int, int, int, int,
                   bool) override {
        return 0;
    }
    void FillSurface(Surface&, std::uint32_t) override {}
    std::uint32_t ToSurfaceColor(std::uint32_t) override { return 0; }
    void FlipScreen() override {}
    void DrawLine(Surface&, int, int, int, int, std::uint32_t, std::uint32_t, int, int,
                  int) override {}
    void DrawBox(Surface&, int, int, int, int, std::uint32_t, std::uint32_t, int, int,
                 int) override {}
    void DrawCircle(Surface&, int, int, int, std::uint32_t, std::uint32_t, int, int, int) override {
    }
    void DrawString(Surface&, int, int, std::string_view, std::uint32_t, bool, int) override {}
    SoundEffectPtr LoadSoundEffect(const std::string&) override { return nullptr; }
    void PlaySoundEffect(SoundEffect&) override {}
    MusicTrackPtr LoadMusic(const std::string&) override { return nullptr; }
    bool UnloadMusic(MusicTrackPtr&) override { return false; }
    bool PlayMusic(MusicTrack*, int) override { return false; }
    bool ResumeMusic(MusicTrack*) override { return false; }
    bool StopMusic(MusicTrack*) override { return false; }
    void InitJoystick(int) override {}
    void ReadController() override {}
    bool IsKeyDown(int) override { return false; }
    std::int32_t Tick() override { return now; }
    void PumpEvents() override { ++pumps; }
    void Doze(int ms) override {
        ++dozes;
        now += ms;
    }
    void ShowMessage(const std::string&, const std::string&) override {}
    std::uint32_t RandomSeed() override { return seed; }
};

TEST(WaitFrame, AlreadyLateReturnsWithoutPumping) {
    ClockOnlyMedia media;
    media.now = 1000;
    media.MarkFrame();
    media.now = 1010;
    media.WaitFrame(7);
    EXPECT_EQ(media.pumps, 0);
    EXPECT_EQ(media.now, 1010);
}

TEST(WaitFrame, WaitsUntilStrictlyPastTheMark) {
    ClockOnlyMedia media;
    media.now = 500;
    media.MarkFrame();
    media.WaitFrame(7);
    EXPECT_EQ(media.now, 508);  // strictly greater than mark + 7
    EXPECT_EQ(media.pumps, 8);  // one pump per failed test
}

TEST(WaitMs, ZeroReturnsAtTheFirstTest) {
    ClockOnlyMedia media;
    media.WaitMs(0);
    EXPECT_EQ(media.pumps, 0);
}

TEST(WaitMs, ReachesAtLeastTheTarget) {
    ClockOnlyMedia media;
    media.now = 42;
    media.WaitMs(100);
    EXPECT_EQ(media.now, 142);
    EXPECT_EQ(media.pumps, 100);
}

// ---- The controller merge ------------------------------------------------------------

struct MergeCase {
    const char* name;
    bool joystick{};
    JoystickSample stick{};
    KeyboardSample keys{};
    ControllerState expected{};
};

KeyboardSample keysOf(bool left, bool right, bool up, bool down, bool b3 = false, bool b4 = false) {
    KeyboardSample keys;
    keys.left = left;
    keys.right = right;
    keys.up = up;
    keys.down = down;
    keys.assigned[2] = b3;
    keys.assigned[3] = b4;
    return keys;
}

class MergeControllerTest : public ::testing::TestWithParam<MergeCase> {};

TEST_P(MergeControllerTest, MergesAsDocumented) {
    const MergeCase& row = GetParam();
    const JoystickLimits limits = LimitsFor(0, 65535, 0, 65535, 16384);
    const ControllerState state =
        MergeController(row.joystick ? &row.stick : nullptr, limits, row.keys);
    EXPECT_EQ(state.ControllerX, row.expected.ControllerX);
    EXPECT_EQ(state.ControllerY, row.expected.ControllerY);
    EXPECT_EQ(state.ControllerButtons, row.expected.ControllerButtons);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MergeControllerTest,
    ::testing::Values(MergeCase{.name = "NoJoystickArrowsAlone",
                                .keys = keysOf(true, false, false, true),
                                .expected = {-1, 1, 0}},
                      MergeCase{.name = "NoJoystickNoKeysIsCentred",
                                .stick = {0, 0, 15},
                                .keys = keysOf(false, false, false, false),
                                .expected = {0, 0, 0}},
                      MergeCase{.name = "KeyWinsOverStickOnItsAxis",
                                .joystick = true,
                                .stick = {65535, 32768, 0},
                                .keys = keysOf(true, false, false, false),
                                .expected = {-1, 0, 0}},
                      MergeCase{.name = "BothKeysLeaveTheStickValue",
                                .joystick = true,
                                .stick = {65535, 32768, 0},
                                .keys = keysOf(true, true, false, false),
                                .expected = {1, 0, 0}},
                      MergeCase{.name = "BothKeysStickCentredGivesZero",
                                .joystick = true,
                                .stick = {32768, 32768, 0},
                                .keys = keysOf(true, true, false, false),
                                .expected = {0, 0, 0}},
                      MergeCase{.name = "KeyOnOtherAxisKeepsStick",
                                .joystick = true,
                                .stick = {0, 32768, 0},
                                .keys = keysOf(false, false, true, false),
                                .expected = {-1, -1, 0}},
                      MergeCase{.name = "LeftThresholdIsExclusive",
                                .joystick = true,
                                .stick = {16384, 49151, 0},
                                .keys = keysOf(false, false, false, false),
                                .expected = {0, 0, 0}},
                      MergeCase{.name = "JustPastThresholds",
                                .joystick = true,
                                .stick = {16383, 49152, 0},
                                .keys = keysOf(false, false, false, false),
                                .expected = {-1, 1, 0}},
                      MergeCase{.name = "ButtonsOneAndFourGiveNine",
                                .joystick = true,
                                .stick = {32768, 32768, 9},
                                .keys = keysOf(false, false, false, false),
                                .expected = {0, 0, 9}},
                      MergeCase{.name = "AssignedKeyReplacesJoystickBits",
                                .joystick = true,
                                .stick = {32768, 32768, 1},
                                .keys = keysOf(false, false, false, false, false, true),
                                .expected = {0, 0, 8}},
                      MergeCase{.name = "TwoAssignedKeysAdd",
                                .keys = keysOf(false, false, false, false, true, true),
                                .expected = {0, 0, 12}},
                      MergeCase{.name = "DeadStickReadsLeftAndUp",
                                .joystick = true,
                                .stick = {0, 0, 0},
                                .keys = keysOf(false, false, false, false),
                                .expected = {-1, -1, 0}}),
    ::qon::test_support::RowName);

}  // namespace
}  // namespace qon::media
