// SPDX-License-Identifier: MIT
// Where balls touch: block strips and scan order, the Bar's strips, the walls.

#include <gtest/gtest.h>

#include <random>

#include "rules_media.h"

namespace qon::play::test {
namespace {

// The cell at row 5, column 5 spans x 267..320 and y 105..120.
constexpr int kRow = 5;
constexpr int kColumn = 5;
constexpr int kCell = kRow * kGridColumns + kColumn;

struct ContactRow {
    const char* name;
    media::Rect ball;
    int inset;
    int expectedCell;  // -1: no contact
    Side expectedSide;
};

class BlockSideContact : public ::testing::TestWithParam<ContactRow> {};

TEST_P(BlockSideContact, RecordsTheSideOfTheLastContact) {
    const ContactRow& row = GetParam();
    PlayState play;
    ResetGrid(play.StageGrid);
    PutBlock(play, kRow, kColumn, 0);
    const BlockContact contact = FindBlockContact(play.StageGrid, row.ball, row.inset);
    EXPECT_EQ(contact.cell, row.expectedCell);
    EXPECT_EQ(contact.side, row.expectedSide);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BlockSideContact,
    ::testing::Values(
        ContactRow{"LeftStripThreePixelsWide", {255, 106, 265, 118}, 6, kCell, Side::Left},
        ContactRow{"LeftStripEndsAtBlockEdge", {250, 106, 264, 118}, 6, -1, Side::None},
        ContactRow{"RightStrip", {322, 106, 334, 118}, 6, kCell, Side::Right},
        ContactRow{"RightStripEndsThreePixelsOut", {323, 106, 335, 118}, 6, -1, Side::None},
        ContactRow{"TopStripTwoPixelsHigh", {285, 92, 297, 104}, 6, kCell, Side::Top},
        ContactRow{"AboveTopStrip", {285, 91, 297, 103}, 6, -1, Side::None},
        ContactRow{"BottomStrip", {285, 121, 297, 133}, 6, kCell, Side::Bottom},
        ContactRow{"BelowBottomStrip", {285, 122, 297, 134}, 6, -1, Side::None},
        ContactRow{"TopWinsOverLeftAtACorner", {262, 94, 274, 106}, 6, kCell, Side::Top},
        ContactRow{"MainBallInsetMissesTopCorner", {261, 92, 273, 104}, 6, -1, Side::None},
        ContactRow{"MiniBallInsetReachesTopCorner", {267, 98, 273, 104}, 4, kCell, Side::Top},
        ContactRow{"InsideTheBlockTouchesNoStrip", {280, 107, 292, 119}, 6, -1, Side::None}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BlockContactOrder, BottomOfOneBlockWinsOverLeftOfAnother) {
    PlayState play;
    ResetGrid(play.StageGrid);
    PutBlock(play, 5, 5, 0);
    PutBlock(play, 6, 6, 0);
    const BlockContact contact = FindBlockContact(play.StageGrid, {310, 118, 322, 130}, 6);
    EXPECT_EQ(contact.cell, 5 * kGridColumns + 5);
    EXPECT_EQ(contact.side, Side::Bottom);
}

TEST(BlockContactOrder, LowerRowWinsWithinOnePass) {
    PlayState play;
    ResetGrid(play.StageGrid);
    PutBlock(play, 5, 5, 0);
    PutBlock(play, 6, 5, 0);
    const BlockContact contact = FindBlockContact(play.StageGrid, {256, 115, 268, 127}, 6);
    EXPECT_EQ(contact.cell, 6 * kGridColumns + 5);
    EXPECT_EQ(contact.side, Side::Left);
}

TEST(BlockContactOrder, RightPassWinsOverLeftPass) {
    PlayState play;
    ResetGrid(play.StageGrid);
    PutBlock(play, 5, 4, 0);  // x 214..267
    PutBlock(play, 5, 5, 0);  // x 267..320
    // Between the two: in the right strip of column 4 and the left strip of column 5.
    const BlockContact contact = FindBlockContact(play.StageGrid, {266, 108, 268, 112}, 6);
    EXPECT_EQ(contact.cell, 5 * kGridColumns + 4);
    EXPECT_EQ(contact.side, Side::Right);
}

TEST(BlockContactOrder, RightColumnWinsWithinOneRow) {
    PlayState play;
    ResetGrid(play.StageGrid);
    PutBlock(play, 5, 4, 0);  // top strip x 220..261
    PutBlock(play, 5, 5, 0);  // top strip x 273..314
    const BlockContact contact = FindBlockContact(play.StageGrid, {255, 95, 280, 104}, 6);
    EXPECT_EQ(contact.cell, 5 * kGridColumns + 5);
    EXPECT_EQ(contact.side, Side::Top);
}

TEST(BlockContactOrder, DeadCellsAreNotTouched) {
    PlayState play;
    ResetGrid(play.StageGrid);
    PutBlock(play, 5, 5, 0);
    play.StageGrid[kCell].Alive = 0;
    EXPECT_EQ(FindBlockContact(play.StageGrid, {255, 106, 267, 118}, 6).cell, -1);
}

// The plain definition: every strip of every live cell in scan order, last one wins.
BlockContact naiveScan(const StageGrid& grid, const media::Rect& ball, int inset) {
    BlockContact found;
    const Side sides[4] = {Side::Left, Side::Right, Side::Top, Side::Bottom};
    for (Side side : sides) {
        for (int cell = 0; cell < kGridCells; ++cell) {
            const BlockCell& c = grid[static_cast<std::size_t>(cell)];
            if (c.Alive != kTrue) continue;
            media::Rect strip;
            if (side == Side::Left) strip = {c.X - 3, c.Y, c.X, c.Y + c.Height};
            if (side == Side::Right)
                strip = {c.X + c.Width, c.Y, c.X + c.Width + 3, c.Y + c.Height};
            if (side == Side::Top) strip = {c.X + inset, c.Y - 2, c.X + c.Width - inset, c.Y};
            if (side == Side::Bottom)
                strip = {c.X + inset, c.Y + c.Height, c.X + c.Width - inset, c.Y + c.Height + 2};
            media::Rect overlap;
            if (media::RectsIntersect(ball, strip, overlap)) found = {cell, side};
        }
    }
    return found;
}

TEST(BlockContactOrder, NeighbourhoodScanMatchesTheFullScanEverywhere) {
    std::mt19937 random(7);
    PlayState play;
    ResetGrid(play.StageGrid);
    for (int cell = 0; cell < kGridCells; ++cell) {
        if (random() % 3 != 0) PutBlock(play, cell / kGridColumns, cell % kGridColumns, 0);
    }
    for (int i = 0; i < 20000; ++i) {
        const int size = (i % 2 == 0) ? 12 : 6;
        const int x = static_cast<int>(random() % 700) - 30;
        const int y = static_cast<int>(random() % 560) - 30;
        const media::Rect ball{x, y, x + size, y + size};
        const int inset = size == 12 ? kMainBallInset : kMiniBallInset;
        const BlockContact fast = FindBlockContact(play.StageGrid, ball, inset);
        const BlockContact full = naiveScan(play.StageGrid, ball, inset);
        ASSERT_EQ(fast.cell, full.cell) << "ball at " << x << ", " << y;
        ASSERT_EQ(fast.side, full.side) << "ball at " << x << ", " << y;
    }
}

// ---- the Bar ----------------------------------------------------------------------

struct BarRow {
    const char* name;
    bool mini;
    bool magnet;
    int x, y, dx, dy;
    int expectX, expectY, expectDX, expectDY;
    int barSounds;
};

class BarStrips : public ::testing::TestWithParam<BarRow> {};

TEST_P(BarStrips, ReflectAndPlace) {
    const BarRow& row = GetParam();
    RulesMedia media;
    Game game(media);
    PrepareGameForTest(game);
    game.play.MagnetOn = row.magnet;
    int x, y, dx, dy;
    if (row.mini) {
        game.play.Ball.DX = 0;  // keep the main ball out of it: resting, so untested
        MiniBall& mini = game.play.MiniBallRing.slots[0];
        mini = MiniBall{row.x, row.y, 6, 6, row.dx, row.dy, 1};
        CollisionStep(game);
        x = mini.X, y = mini.Y, dx = mini.DX, dy = mini.DY;
    } else {
        game.play.Ball.X = row.x;
        game.play.Ball.Y = row.y;
        game.play.Ball.DX = row.dx;
        game.play.Ball.DY = row.dy;
        CollisionStep(game);
        x = game.play.Ball.X, y = game.play.Ball.Y, dx = game.play.Ball.DX, dy = game.play.Ball.DY;
    }
    EXPECT_EQ(x, row.expectX);
    EXPECT_EQ(y, row.expectY);
    EXPECT_EQ(dx, row.expectDX);
    EXPECT_EQ(dy, row.expectDY);
    const std::vector<std::string> sounds = media.TakeSounds();
    EXPECT_EQ(static_cast<int>(std::count(sounds.begin(), sounds.end(), "SeBar")), row.barSounds);
}

// The Bar: x 320..448, y 386..398.
INSTANTIATE_TEST_SUITE_P(
    Table, BarStrips,
    ::testing::Values(
        BarRow{"TopStripSendsBallUp", false, false, 350, 376, 3, 5, 350, 374, 3, -5, 1},
        BarRow{"FromBelowMainBallAlwaysLeavesDownward", false, false, 350, 397, 3, -5, 350, 398, 3,
               5, 1},
        BarRow{"FromBelowMainBallKeepsGoingDown", false, false, 350, 397, 3, 5, 350, 398, 3, 5, 1},
        BarRow{"SideContactAlsoTouchesTopOrBottom", false, false, 310, 387, 3, -5, 308, 398, -3, 5,
               2},
        BarRow{"RightEndStrip", false, false, 440, 376, -3, 5, 448, 374, 3, -5, 2},
        BarRow{"MagnetStopsTheBallWhereItLands", false, true, 350, 376, 3, 5, 350, 374, 0, 0, 1},
        BarRow{"MissingTheBarByOnePixel", false, false, 350, 374, 3, 5, 350, 374, 3, 5, 0},
        BarRow{"MiniBallTopStrip", true, false, 350, 381, 2, 4, 350, 380, 2, -4, 1},
        BarRow{"MiniBallBottomStripIsTheBarsLastRow", true, false, 350, 397, 2, -4, 350, 398, 2, 4,
               1},
        BarRow{"MiniBallFromBelowIsSimplyReversed", true, false, 350, 397, 2, 4, 350, 398, 2, -4,
               1},
        BarRow{"MagnetNeverHoldsMiniBalls", true, true, 350, 381, 2, 4, 350, 380, 2, -4, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- walls and loss ---------------------------------------------------------------

struct WallRow {
    const char* name;
    bool mini;
    int x, y, dx, dy;
    int expectX, expectY, expectDX, expectDY;
    int blockSounds;
    bool expectActive;  // mini balls only
};

class Walls : public ::testing::TestWithParam<WallRow> {};

TEST_P(Walls, BounceOrLeave) {
    const WallRow& row = GetParam();
    RulesMedia media;
    Game game(media);
    PrepareGameForTest(game);
    if (row.mini) {
        MiniBall& mini = game.play.MiniBallRing.slots[3];
        mini = MiniBall{row.x, row.y, 6, 6, row.dx, row.dy, 1};
        MotionStep(game);
        EXPECT_EQ(mini.X, row.expectX);
        EXPECT_EQ(mini.Y, row.expectY);
        EXPECT_EQ(mini.DX, row.expectDX);
        EXPECT_EQ(mini.DY, row.expectDY);
        EXPECT_EQ(mini.Active == 1, row.expectActive);
    } else {
        game.play.Ball = BallBody{row.x, row.y, 12, 12, row.dx, row.dy};
        MotionStep(game);
        EXPECT_EQ(game.play.Ball.X, row.expectX);
        EXPECT_EQ(game.play.Ball.Y, row.expectY);
        EXPECT_EQ(game.play.Ball.DX, row.expectDX);
        EXPECT_EQ(game.play.Ball.DY, row.expectDY);
    }
    const std::vector<std::string> sounds = media.TakeSounds();
    EXPECT_EQ(static_cast<int>(std::count(sounds.begin(), sounds.end(), "SeBlock")),
              row.blockSounds);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Walls,
    ::testing::Values(
        WallRow{"LeftWallAtXOne", false, 2, 200, -3, 4, 1, 204, 3, 4, 1, true},
        WallRow{"RightWallLeavesRoomForTheBall", false, 626, 200, 3, 4, 627, 204, -3, 4, 1, true},
        WallRow{"MainBallTopWallAt31", false, 100, 33, 3, -5, 103, 31, 3, 5, 1, true},
        WallRow{"MainBallMayReach31", false, 100, 36, 3, -5, 103, 31, 3, -5, 0, true},
        WallRow{"CornerBouncesTwice", false, 2, 33, -3, -5, 1, 31, 3, 5, 2, true},
        WallRow{"MiniBallTopWallAt30", true, 100, 32, 2, -3, 102, 30, 2, 3, 1, true},
        WallRow{"MiniBallRightWall", true, 632, 100, 3, 3, 633, 103, -3, 3, 1, true},
        WallRow{"MiniBallAt490StaysInPlay", true, 100, 488, 2, 2, 102, 490, 2, 2, 0, true},
        WallRow{"MiniBallPast490IsGone", true, 100, 489, 2, 2, 102, 491, 2, 2, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Walls, MainBallIsLostAt490) {
    RulesMedia media;
    Game game(media);
    PrepareGameForTest(game);
    game.play.Ball = BallBody{100, 489, 12, 12, 0, 1};
    EXPECT_FALSE(CollisionStep(game));
    game.play.Ball.Y = 490;
    EXPECT_TRUE(CollisionStep(game));
}

TEST(Walls, MovingBallRemembersLaunchSpeedsReflectedUpward) {
    RulesMedia media;
    Game game(media);
    PrepareGameForTest(game);
    game.play.Ball = BallBody{100, 200, 12, 12, -3, 6};
    MotionStep(game);
    EXPECT_EQ(game.play.LaunchDX, -3);
    EXPECT_EQ(game.play.LaunchDY, -6);
    game.play.Ball = BallBody{100, 200, 12, 12, 0, 6};  // DX 0: not remembered
    MotionStep(game);
    EXPECT_EQ(game.play.LaunchDX, -3);
}

// ---- the Bar and launch step ------------------------------------------------------

struct BarMoveRow {
    const char* name;
    int stick;
    bool space;
    int buttons;
    int barX, barWidth;
    int ballDX, ballDY;
    int expectBarX, expectBallX, expectDX, expectDY;
};

class BarAndLaunch : public ::testing::TestWithParam<BarMoveRow> {};

TEST_P(BarAndLaunch, MovesAndLaunches) {
    const BarMoveRow& row = GetParam();
    RulesMedia media;
    media.pad.ControllerX = static_cast<std::int16_t>(row.stick);
    media.pad.ControllerButtons = row.buttons;
    if (row.space) media.keys.insert(media::Vk::Space);
    Game game(media);
    PrepareGameForTest(game);
    game.play.Bar.X = static_cast<std::int16_t>(row.barX);
    game.play.Bar.Width = static_cast<std::int16_t>(row.barWidth);
    game.play.Ball.X = 100;
    game.play.Ball.DX = row.ballDX;
    game.play.Ball.DY = row.ballDY;
    BarAndLaunchStep(game);
    EXPECT_EQ(game.play.Bar.X, row.expectBarX);
    EXPECT_EQ(game.play.Ball.X, row.expectBallX);
    EXPECT_EQ(game.play.Ball.DX, row.expectDX);
    EXPECT_EQ(game.play.Ball.DY, row.expectDY);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BarAndLaunch,
    ::testing::Values(
        BarMoveRow{"RestingBallFollowsLeft", -1, false, 0, 200, 128, 0, 0, 192, 92, 0, 0},
        BarMoveRow{"RestingBallFollowsRight", 1, false, 0, 200, 128, 0, 0, 208, 108, 0, 0},
        BarMoveRow{"LeftWallStopsBarAndBallStays", -1, false, 0, 5, 128, 0, 0, 1, 100, 0, 0},
        BarMoveRow{"LeftWallAtExactlyOne", -1, false, 0, 9, 128, 0, 0, 1, 100, 0, 0},
        BarMoveRow{"RightWallDependsOnWidth", 1, false, 0, 505, 128, 0, 0, 511, 100, 0, 0},
        BarMoveRow{"RightWallOfWideBar", 1, false, 0, 200, 432, 0, 0, 207, 100, 0, 0},
        BarMoveRow{"MovingBallDoesNotFollow", 1, false, 0, 200, 128, 3, -4, 208, 100, 3, -4},
        BarMoveRow{"SpaceLaunchesWithLaunchSpeeds", 0, true, 0, 320, 128, 0, 0, 320, 100, 4, -5},
        BarMoveRow{"ButtonThreeAloneLaunches", 0, false, 4, 320, 128, 0, 0, 320, 100, 4, -5},
        BarMoveRow{"ButtonsThreeAndOneDoNotLaunch", 0, false, 5, 320, 128, 0, 0, 320, 100, 0, 0},
        BarMoveRow{"ButtonFourDoesNotLaunch", 0, false, 8, 320, 128, 0, 0, 320, 100, 0, 0},
        BarMoveRow{"NoLaunchWhileDXZeroDYNot", 0, true, 0, 320, 128, 0, 6, 320, 100, 0, 6},
        BarMoveRow{"DXZeroBallDoesNotFollowTheBar", 1, false, 0, 200, 128, 0, 6, 208, 100, 0, 6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BarAndLaunch, LaunchSpeedsBelowOneBecomeOne) {
    RulesMedia media;
    media.keys.insert(media::Vk::Space);
    Game game(media);
    PrepareGameForTest(game);
    game.play.LaunchDX = 0;
    game.play.LaunchDY = 0;
    BarAndLaunchStep(game);
    EXPECT_EQ(game.play.Ball.DX, 1);
    EXPECT_EQ(game.play.Ball.DY, 1);
}

}  // namespace
}  // namespace qon::play::test
