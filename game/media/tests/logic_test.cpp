// SPDX-License-Identifier: MIT
// Rectangles, random ranges, the controller merge and the waits: the parts of the media
// layer every platform shares. Runs against a minimal Media with a hand-driven clock.

#include <gtest/gtest.h>

#include <set>

#include "qon/media/controller.h"
#include "qon/media/media.h"

namespace qon::media {
namespace {

// ---- RectsIntersect ----------------------------------------------------------------

struct RectCase {
    const char* name;
    Rect a;
    Rect b;
    bool overlap;
    Rect expected;
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
        RectCase{"SharedVerticalEdgeIsNoOverlap", {0, 0, 10, 10}, {10, 0, 20, 10}, false, {}},
        RectCase{"SharedHorizontalEdgeIsNoOverlap", {0, 0, 10, 10}, {0, 10, 10, 20}, false, {}},
        RectCase{"CornerPixelOverlaps", {0, 0, 10, 10}, {9, 9, 20, 20}, true, {9, 9, 10, 10}},
        RectCase{"ContainedGivesInner", {0, 0, 100, 100}, {20, 30, 40, 50}, true, {20, 30, 40, 50}},
        RectCase{"DisjointIsEmpty", {0, 0, 5, 5}, {50, 50, 60, 60}, false, {}},
        RectCase{"EmptyRectNeverOverlaps", {5, 5, 5, 5}, {0, 0, 10, 10}, false, {}},
        RectCase{"NegativeCoordinates", {-20, -20, 1, 1}, {0, 0, 10, 10}, true, {0, 0, 1, 1}},
        RectCase{"BallOnBarTop", {378, 374, 390, 386}, {320, 386, 448, 398}, false, {}},
        RectCase{"BallOneIntoBar",
                 {378, 375, 390, 387},
                 {320, 386, 448, 398},
                 true,
                 {378, 386, 390, 387}}),
    [](const auto& info) { return std::string(info.param.name); });

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
    bool joystick;
    JoystickSample stick;
    KeyboardSample keys;
    ControllerState expected;
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
    ::testing::Values(
        MergeCase{"NoJoystickArrowsAlone", false, {}, keysOf(true, false, false, true), {-1, 1, 0}},
        MergeCase{"NoJoystickNoKeysIsCentred",
                  false,
                  {0, 0, 15},
                  keysOf(false, false, false, false),
                  {0, 0, 0}},
        MergeCase{"KeyWinsOverStickOnItsAxis",
                  true,
                  {65535, 32768, 0},
                  keysOf(true, false, false, false),
                  {-1, 0, 0}},
        MergeCase{"BothKeysLeaveTheStickValue",
                  true,
                  {65535, 32768, 0},
                  keysOf(true, true, false, false),
                  {1, 0, 0}},
        MergeCase{"BothKeysStickCentredGivesZero",
                  true,
                  {32768, 32768, 0},
                  keysOf(true, true, false, false),
                  {0, 0, 0}},
        MergeCase{"KeyOnOtherAxisKeepsStick",
                  true,
                  {0, 32768, 0},
                  keysOf(false, false, true, false),
                  {-1, -1, 0}},
        MergeCase{"LeftThresholdIsExclusive",
                  true,
                  {16384, 49151, 0},
                  keysOf(false, false, false, false),
                  {0, 0, 0}},
        MergeCase{"JustPastThresholds",
                  true,
                  {16383, 49152, 0},
                  keysOf(false, false, false, false),
                  {-1, 1, 0}},
        MergeCase{"ButtonsOneAndFourGiveNine",
                  true,
                  {32768, 32768, 9},
                  keysOf(false, false, false, false),
                  {0, 0, 9}},
        MergeCase{"AssignedKeyReplacesJoystickBits",
                  true,
                  {32768, 32768, 1},
                  keysOf(false, false, false, false, false, true),
                  {0, 0, 8}},
        MergeCase{"TwoAssignedKeysAdd",
                  false,
                  {},
                  keysOf(false, false, false, false, true, true),
                  {0, 0, 12}},
        MergeCase{"DeadStickReadsLeftAndUp",
                  true,
                  {0, 0, 0},
                  keysOf(false, false, false, false),
                  {-1, -1, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qon::media
