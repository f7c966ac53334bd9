// SPDX-License-Identifier: MIT
// The scripted player's decisions, frame by frame, from what a trace line shows.

#include "qon/shell/scripted_player.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "qon/test_support/rows.h"

namespace qon::shell {
namespace {

QON_PRINT_ROWS_BY_NAME

// A ball in flight over a Bar of width 128 at x 256 (centre 320).
PlayerView inPlay(int ballX, int ballY, int ballDX, int ballDY) {
    PlayerView view;
    view.screen = "play";
    view.ballX = ballX;
    view.ballY = ballY;
    view.ballDX = ballDX;
    view.ballDY = ballDY;
    view.barX = 256;
    view.barY = 386;
    view.barWidth = 128;
    return view;
}

struct LandingRow {
    const char* name;
    int x = 0;
    int y = 0;
    int dx = 0;
    int dy = 0;
    int centre = 0;
};

class LandingTest : public ::testing::TestWithParam<LandingRow> {};

TEST_P(LandingTest, FindsWhereTheBallMeetsTheBar) {
    const LandingRow& row = GetParam();
    EXPECT_EQ(ScriptedPlayer::LandingCentre(inPlay(row.x, row.y, row.dx, row.dy)), row.centre);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LandingTest,
    ::testing::Values(
        LandingRow{.name = "StraightDown", .x = 100, .y = 300, .dx = 0, .dy = 5, .centre = 106},
        // 35 steps to y 375: three to the wall (x 1), then 32 steps of 4 back right.
        LandingRow{.name = "OffTheLeftWall", .x = 10, .y = 200, .dx = -4, .dy = 5, .centre = 135},
        // 15 steps: five to the wall (x 627), then ten of 6 back left.
        LandingRow{.name = "OffTheRightWall", .x = 600, .y = 300, .dx = 6, .dy = 5, .centre = 573},
        LandingRow{
            .name = "RisingBallIsWhereItIs", .x = 50, .y = 300, .dx = 4, .dy = -5, .centre = 56},
        LandingRow{.name = "BallPastTheBarTopIsWhereItIs",
                   .x = 50,
                   .y = 380,
                   .dx = 4,
                   .dy = 5,
                   .centre = 56}),
    test_support::RowName);

struct DecisionRow {
    const char* name;
    PlayerView view{};
    PlayerKeys keys{};
};

PlayerView menuView(const char* screen, std::vector<std::string> items, int cursor) {
    PlayerView view;
    view.screen = screen;
    view.items = std::move(items);
    view.cursor = cursor;
    return view;
}

const std::vector<std::string> kSaveItems = {"STAGE 0までクリア", "STAGE 0までクリア",
                                             "STAGE 0までクリア", "STAGE 0までクリア", "NEXT"};

class DecisionTest : public ::testing::TestWithParam<DecisionRow> {};

TEST_P(DecisionTest, HoldsTheKeysOfAFreshPlayer) {
    ScriptedPlayer player(1);
    EXPECT_EQ(player.next(GetParam().view), GetParam().keys);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DecisionTest,
    ::testing::Values(
        DecisionRow{.name = "SteersRightUnderAFallingBall",
                    .view = inPlay(500, 300, 0, 5),
                    .keys = {.right = true}},
        DecisionRow{.name = "SteersLeftUnderAFallingBall",
                    .view = inPlay(100, 300, 0, 5),
                    .keys = {.left = true}},
        DecisionRow{.name = "StandsStillUnderTheBall", .view = inPlay(314, 300, 0, 5)},
        // Right above the Bar's centre, but flying left fast: it comes down 60 left.
        DecisionRow{.name = "AimsWhereTheBallComesDown",
                    .view = inPlay(314, 315, -6, 6),
                    .keys = {.left = true}},
        DecisionRow{.name = "ContinuesAfterAGameOver",
                    .view = menuView("gameover", {" Continue", "Goto  Title"}, 0),
                    .keys = {.space = true}},
        DecisionRow{.name = "StepsDownToNextInTheSaveScreen",
                    .view = menuView("save", kSaveItems, 0),
                    .keys = {.down = true}},
        DecisionRow{.name = "ChoosesNextUnderTheCursor",
                    .view = menuView("save", kSaveItems, 4),
                    .keys = {.space = true}},
        DecisionRow{.name = "ChoosesNewGameInTheTitle",
                    .view = menuView("title", {"New Game", "Load Game", "Config", "Exit"}, 0),
                    .keys = {.space = true}},
        DecisionRow{.name = "WaitsForAMenuWithoutItsItem", .view = menuView("title", {}, 0)},
        DecisionRow{.name = "LeavesThePauseMenuAlone",
                    .view = menuView("pause", {"  Continue", "   ReStart", "  Goto Title"}, 1)},
        DecisionRow{
            .name = "HurriesTheLogo", .view = menuView("logo", {}, 0), .keys = {.space = true}},
        DecisionRow{
            .name = "HurriesTheEnding", .view = menuView("ending", {}, 0), .keys = {.space = true}},
        DecisionRow{.name = "WaitsThroughTheIntro", .view = menuView("intro", {}, 0)}),
    test_support::RowName);

TEST(ScriptedPlayer, ReleasesEveryMenuPressForAFrame) {
    ScriptedPlayer player(1);
    const PlayerView save = menuView("save", kSaveItems, 0);
    EXPECT_EQ(player.next(save), (PlayerKeys{.down = true}));
    EXPECT_EQ(player.next(save), PlayerKeys{});
    EXPECT_EQ(player.next(save), (PlayerKeys{.down = true}));
}

TEST(ScriptedPlayer, CarriesARestingBallAShortWayThenLaunchesIt) {
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        ScriptedPlayer player(seed);
        PlayerView view = inPlay(378, 374, 0, 0);
        int frames = 0;
        PlayerKeys keys = player.next(view);
        for (; !keys.space && frames < 100; ++frames) {
            ASSERT_FALSE(keys.left && keys.right);
            view.barX += keys.right ? 8 : keys.left ? -8 : 0;
            keys = player.next(view);
        }
        EXPECT_TRUE(keys.space) << "seed " << seed;
        EXPECT_LE(std::abs(view.barX - 256), 96 + 8) << "seed " << seed;
    }
}

// Bounces off the Bar, each leaving from a new place unless `samePlace`; the offsets
// drawn after each one.
std::vector<int> offsetsOverBounces(std::uint32_t seed, int bounces, bool samePlace) {
    ScriptedPlayer player(seed);
    std::vector<int> offsets;
    for (int i = 0; i < bounces; ++i) {
        const int x = samePlace ? 300 : 100 + 4 * i;
        player.next(inPlay(x, 370, 4, 5));
        player.next(inPlay(x, 374, 4, -5));
        offsets.push_back(player.offset());
    }
    return offsets;
}

TEST(ScriptedPlayer, TheSameSeedDrawsTheSameOffsets) {
    EXPECT_EQ(offsetsOverBounces(9, 60, false), offsetsOverBounces(9, 60, false));
    EXPECT_NE(offsetsOverBounces(9, 60, false), offsetsOverBounces(10, 60, false));
}

TEST(ScriptedPlayer, OffsetsStayOnTheBarAndSometimesTakeACorner) {
    bool corner = false;
    bool inside = false;
    for (const int offset : offsetsOverBounces(4, 200, false)) {
        ASSERT_LE(std::abs(offset), 64 + 1);
        corner |= std::abs(offset) >= 63;
        inside |= std::abs(offset) <= 64 - 16;
    }
    EXPECT_TRUE(corner);
    EXPECT_TRUE(inside);
}

TEST(ScriptedPlayer, APathSeenAgainIsMovedByACorner) {
    const std::vector<int> offsets = offsetsOverBounces(2, 6, true);
    for (std::size_t i = 1; i < offsets.size(); ++i) {
        EXPECT_GE(std::abs(offsets[i]), 63) << "bounce " << i;
    }
}

}  // namespace
}  // namespace qon::shell
