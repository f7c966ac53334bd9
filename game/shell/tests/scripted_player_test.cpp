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

// The ball over a Bar of width 128 at x 256 (centre 320).
PlayerView inPlay(int ballX, int ballY) {
    PlayerView view;
    view.screen = "play";
    view.ballX = ballX;
    view.ballY = ballY;
    view.barX = 256;
    view.barY = 386;
    view.barWidth = 128;
    return view;
}

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
                    .view = inPlay(500, 300),
                    .keys = {.right = true}},
        DecisionRow{.name = "SteersLeftUnderAFallingBall",
                    .view = inPlay(100, 300),
                    .keys = {.left = true}},
        DecisionRow{.name = "StandsStillUnderTheBall", .view = inPlay(314, 300)},
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
        PlayerView view = inPlay(378, 374);
        int frames = 0;
        PlayerKeys keys = player.next(view);
        for (; !keys.space && frames < 100; ++frames) {
            ASSERT_FALSE(keys.left && keys.right);
            view.barX += keys.right ? 8 : keys.left ? -8 : 0;
            keys = player.next(view);
        }
        EXPECT_TRUE(keys.space) << "seed " << seed;
        EXPECT_LE(std::abs(view.barX - 256), autoplay::SimplePlayer::kLaunchWalk + 8)
            << "seed " << seed;
    }
}

}  // namespace
}  // namespace qon::shell
