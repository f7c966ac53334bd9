// SPDX-License-Identifier: MIT
// Where balls touch: block strips and scan order, the Bar's strips, the walls.

#include <gtest/gtest.h>

#include <random>

#include "qon/test_support/rows.h"
#include "rules_media.h"

namespace qon::play::test {
namespace {

QON_PRINT_ROWS_BY_NAME

// The cell at row 5, column 5 spans x 267..320 and y 105..120.
constexpr int kRow = 5;
constexpr int kColumn = 5;
constexpr int kCell = kRow * kGridColumns + kColumn;

struct ContactRow {
    const char* name;
    media::Rect ball{};
    int inset{};
    int expectedCell{};  // -1: no contact
    Side expectedSide{};
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

INSTANTIATE_TEST_SUITE_P(Table, BlockSideContact,
                         ::testing::Values(ContactRow{.name = "LeftStripThreePixelsWide",
                                                      .ball = {255, 106, 265, 118},
                                                      .inset = 6,
                                                      .expectedCell = kCell,
                                                      .expectedSide = Side::Left},
                                           ContactRow{.name = "LeftStripEndsAtBlockEdge",
                                                      .ball = {250, 106, 264, 118},
                                                      .inset = 6,
                                                      .expectedCell = -1,
                                                      .expectedSide = Side::None},
                                           ContactRow{.name = "RightStrip",
                                                      .ball = {322, 106, 334, 118},
                                                      .inset = 6,
                                                      .expectedCell = kCell,
                                                      .expectedSide = Side::Right},
                                           ContactRow{.name = "RightStripEndsThreePixelsOut",
                                                      .ball = {323, 106, 335, 118},
                                                      .inset = 6,
                                                      .expectedCell = -1,
                                                      .expectedSide = Side::None},
                                           ContactRow{.name = "TopStripTwoPixelsHigh",
                                                      .ball = {285, 92, 297, 104},
                                                      .inset = 6,
                                                      .expectedCell = kCell,
                                                      .expectedSide = Side::Top},
                                           ContactRow{.name = "AboveTopStrip",
                                                      .ball = {285, 91, 297, 103},
                                                      .inset = 6,
                                                      .expectedCell = -1,
                                                      .expectedSide = Side::None},
                                           ContactRow{.name = "BottomStrip",
                                                      .ball = {285, 121, 297, 133},
                                                      .inset = 6,
                                                      .expectedCell = kCell,
                                                      .expectedSide = Side::Bottom},
                                           ContactRow{.name = "BelowBottomStrip",
                                                      .ball = {285, 122, 297, 134},
                                                      .inset = 6,
                                                      .expectedCell = -1,
                                                      .expectedSide = Side::None},
                                           ContactRow{.name = "TopWinsOverLeftAtACorner",
                                                      .ball = {262, 94, 274, 106},
                                                      .inset = 6,
                                                      .expectedCell = kCell,
                                                      .expectedSide = Side::Top},
                                           ContactRow{.name = "MainBallInsetMissesTopCorner",
                                                      .ball = {261, 92, 273, 104},
                                                      .inset = 6,
                                                      .expectedCell = -1,
                                                      .expectedSide = Side::None},
                                           ContactRow{.name = "MiniBallInsetReachesTopCorner",
                                                      .ball = {267, 98, 273, 104},
                                                      .inset = 4,
                                                      .expectedCell = kCell,
                                                      .expectedSide = Side::Top},
                                           ContactRow{.name = "InsideTheBlockTouchesNoStrip",
                                                      .ball = {280, 107, 292, 119},
                                                      .inset = 6,
                                                      .expectedCell = -1,
                                                      .expectedSide = Side::None}),
                         ::qon::test_support::RowName);

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
    bool mini{};
    bool magnet{};
    int x{}, y{}, dx{}, dy{};
    int expectX{}, expectY{}, expectDX{}, expectDY{};
    int barSounds{};
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
INSTANTIATE_TEST_SUITE_P(Table, BarStrips,
                         ::testing::Values(BarRow{.name = "TopStripSendsBallUp",
                                                  .x = 350,
                                                  .y = 376,
                                                  .dx = 3,
                                                  .dy = 5,
                                                  .expectX = 350,
                                                  .expectY = 374,
                                                  .expectDX = 3,
                                                  .expectDY = -5,
                                                  .barSounds = 1},
                                           BarRow{.name = "FromBelowMainBallAlwaysLeavesDownward",
                                                  .x = 350,
                                                  .y = 397,
                                                  .dx = 3,
                                                  .dy = -5,
                                                  .expectX = 350,
                                                  .expectY = 398,
                                                  .expectDX = 3,
                                                  .expectDY = 5,
                                                  .barSounds = 1},
                                           BarRow{.name = "FromBelowMainBallKeepsGoingDown",
                                                  .x = 350,
                                                  .y = 397,
                                                  .dx = 3,
                                                  .dy = 5,
                                                  .expectX = 350,
                                                  .expectY = 398,
                                                  .expectDX = 3,
                                                  .expectDY = 5,
                                                  .barSounds = 1},
                                           BarRow{.name = "SideContactAlsoTouchesTopOrBottom",
                                                  .x = 310,
                                                  .y = 387,
                                                  .dx = 3,
                                                  .dy = -5,
                                                  .expectX = 308,
                                                  .expectY = 398,
                                                  .expectDX = -3,
                                                  .expectDY = 5,
                                                  .barSounds = 2},
                                           BarRow{.name = "RightEndStrip",
                                                  .x = 440,
                                                  .y = 376,
                                                  .dx = -3,
                                                  .dy = 5,
                                                  .expectX = 448,
                                                  .expectY = 374,
                                                  .expectDX = 3,
                                                  .expectDY = -5,
                                                  .barSounds = 2},
                                           BarRow{.name = "MagnetStopsTheBallWhereItLands",
                                                  .magnet = true,
                                                  .x = 350,
                                                  .y = 376,
                                                  .dx = 3,
                                                  .dy = 5,
                                                  .expectX = 350,
                                                  .expectY = 374,
                                                  .barSounds = 1},
                                           BarRow{.name = "MissingTheBarByOnePixel",
                                                  .x = 350,
                                                  .y = 374,
                                                  .dx = 3,
                                                  .dy = 5,
                                                  .expectX = 350,
                                                  .expectY = 374,
                                                  .expectDX = 3,
                                                  .expectDY = 5},
                                           BarRow{.name = "MiniBallTopStrip",
                                                  .mini = true,
                                                  .x = 350,
                                                  .y = 381,
                                                  .dx = 2,
                                                  .dy = 4,
                                                  .expectX = 350,
                                                  .expectY = 380,
                                                  .expectDX = 2,
                                                  .expectDY = -4,
                                                  .barSounds = 1},
                                           BarRow{.name = "MiniBallBottomStripIsTheBarsLastRow",
                                                  .mini = true,
                                                  .x = 350,
                                                  .y = 397,
                                                  .dx = 2,
                                                  .dy = -4,
                                                  .expectX = 350,
                                                  .expectY = 398,
                                                  .expectDX = 2,
                                                  .expectDY = 4,
                                                  .barSounds = 1},
                                           BarRow{.name = "MiniBallFromBelowIsSimplyReversed",
                                                  .mini = true,
                                                  .x = 350,
                                                  .y = 397,
                                                  .dx = 2,
                                                  .dy = 4,
                                                  .expectX = 350,
                                                  .expectY = 398,
                                                  .expectDX = 2,
                                                  .expectDY = -4,
                                                  .barSounds = 1},
                                           BarRow{.name = "MagnetNeverHoldsMiniBalls",
                                                  .mini = true,
                                                  .magnet = true,
                                                  .x = 350,
                                                  .y = 381,
                                                  .dx = 2,
                                                  .dy = 4,
                                                  .expectX = 350,
                                                  .expectY = 380,
                                                  .expectDX = 2,
                                                  .expectDY = -4,
                                                  .barSounds = 1}),
                         ::qon::test_support::RowName);

// ---- walls and loss ---------------------------------------------------------------

struct WallRow {
    const char* name;
    bool mini{};
    int x{}, y{}, dx{}, dy{};
    int expectX{}, expectY{}, expectDX{}, expectDY{};
    int blockSounds{};
    bool expectActive{};  // mini balls only
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

INSTANTIATE_TEST_SUITE_P(Table, Walls,
                         ::testing::Values(WallRow{.name = "LeftWallAtXOne",
                                                   .x = 2,
                                                   .y = 200,
                                                   .dx = -3,
                                                   .dy = 4,
                                                   .expectX = 1,
                                                   .expectY = 204,
                                                   .expectDX = 3,
                                                   .expectDY = 4,
                                                   .blockSounds = 1,
                                                   .expectActive = true},
                                           WallRow{.name = "RightWallLeavesRoomForTheBall",
                                                   .x = 626,
                                                   .y = 200,
                                                   .dx = 3,
                                                   .dy = 4,
                                                   .expectX = 627,
                                                   .expectY = 204,
                                                   .expectDX = -3,
                                                   .expectDY = 4,
                                                   .blockSounds = 1,
                                                   .expectActive = true},
                                           WallRow{.name = "MainBallTopWallAt31",
                                                   .x = 100,
                                                   .y = 33,
                                                   .dx = 3,
                                                   .dy = -5,
                                                   .expectX = 103,
                                                   .expectY = 31,
                                                   .expectDX = 3,
                                                   .expectDY = 5,
                                                   .blockSounds = 1,
                                                   .expectActive = true},
                                           WallRow{.name = "MainBallMayReach31",
                                                   .x = 100,
                                                   .y = 36,
                                                   .dx = 3,
                                                   .dy = -5,
                                                   .expectX = 103,
                                                   .expectY = 31,
                                                   .expectDX = 3,
                                                   .expectDY = -5,
                                                   .expectActive = true},
                                           WallRow{.name = "CornerBouncesTwice",
                                                   .x = 2,
                                                   .y = 33,
                                                   .dx = -3,
                                                   .dy = -5,
                                                   .expectX = 1,
                                                   .expectY = 31,
                                                   .expectDX = 3,
                                                   .expectDY = 5,
                                                   .blockSounds = 2,
                                                   .expectActive = true},
                                           WallRow{.name = "MiniBallTopWallAt30",
                                                   .mini = true,
                                                   .x = 100,
                                                   .y = 32,
                                                   .dx = 2,
                                                   .dy = -3,
                                                   .expectX = 102,
                                                   .expectY = 30,
                                                   .expectDX = 2,
                                                   .expectDY = 3,
                                                   .blockSounds = 1,
                                                   .expectActive = true},
                                           WallRow{.name = "MiniBallRightWall",
                                                   .mini = true,
                                                   .x = 632,
                                                   .y = 100,
                                                   .dx = 3,
                                                   .dy = 3,
                                                   .expectX = 633,
                                                   .expectY = 103,
                                                   .expectDX = -3,
                                                   .expectDY = 3,
                                                   .blockSounds = 1,
                                                   .expectActive = true},
                                           WallRow{.name = "MiniBallAt490StaysInPlay",
                                                   .mini = true,
                                                   .x = 100,
                                                   .y = 488,
                                                   .dx = 2,
                                                   .dy = 2,
                                                   .expectX = 102,
                                                   .expectY = 490,
                                                   .expectDX = 2,
                                                   .expectDY = 2,
                                                   .expectActive = true},
                                           WallRow{.name = "MiniBallPast490IsGone",
                                                   .mini = true,
                                                   .x = 100,
                                                   .y = 489,
                                                   .dx = 2,
                                                   .dy = 2,
                                                   .expectX = 102,
                                                   .expectY = 491,
                                                   .expectDX = 2,
                                                   .expectDY = 2}),
                         ::qon::test_support::RowName);

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
    int stick{};
    bool space{};
    int buttons{};
    int barX{}, barWidth{};
    int ballDX{}, ballDY{};
    int expectBarX{}, expectBallX{}, expectDX{}, expectDY{};
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

INSTANTIATE_TEST_SUITE_P(Table, BarAndLaunch,
                         ::testing::Values(BarMoveRow{.name = "RestingBallFollowsLeft",
                                                      .stick = -1,
                                                      .barX = 200,
                                                      .barWidth = 128,
                                                      .expectBarX = 192,
                                                      .expectBallX = 92},
                                           BarMoveRow{.name = "RestingBallFollowsRight",
                                                      .stick = 1,
                                                      .barX = 200,
                                                      .barWidth = 128,
                                                      .expectBarX = 208,
                                                      .expectBallX = 108},
                                           BarMoveRow{.name = "LeftWallStopsBarAndBallStays",
                                                      .stick = -1,
                                                      .barX = 5,
                                                      .barWidth = 128,
                                                      .expectBarX = 1,
                                                      .expectBallX = 100},
                                           BarMoveRow{.name = "LeftWallAtExactlyOne",
                                                      .stick = -1,
                                                      .barX = 9,
                                                      .barWidth = 128,
                                                      .expectBarX = 1,
                                                      .expectBallX = 100},
                                           BarMoveRow{.name = "RightWallDependsOnWidth",
                                                      .stick = 1,
                                                      .barX = 505,
                                                      .barWidth = 128,
                                                      .expectBarX = 511,
                                                      .expectBallX = 100},
                                           BarMoveRow{.name = "RightWallOfWideBar",
                                                      .stick = 1,
                                                      .barX = 200,
                                                      .barWidth = 432,
                                                      .expectBarX = 207,
                                                      .expectBallX = 100},
                                           BarMoveRow{.name = "MovingBallDoesNotFollow",
                                                      .stick = 1,
                                                      .barX = 200,
                                                      .barWidth = 128,
                                                      .ballDX = 3,
                                                      .ballDY = -4,
                                                      .expectBarX = 208,
                                                      .expectBallX = 100,
                                                      .expectDX = 3,
                                                      .expectDY = -4},
                                           BarMoveRow{.name = "SpaceLaunchesWithLaunchSpeeds",
                                                      .space = true,
                                                      .barX = 320,
                                                      .barWidth = 128,
                                                      .expectBarX = 320,
                                                      .expectBallX = 100,
                                                      .expectDX = 4,
                                                      .expectDY = -5},
                                           BarMoveRow{.name = "ButtonThreeAloneLaunches",
                                                      .buttons = 4,
                                                      .barX = 320,
                                                      .barWidth = 128,
                                                      .expectBarX = 320,
                                                      .expectBallX = 100,
                                                      .expectDX = 4,
                                                      .expectDY = -5},
                                           BarMoveRow{.name = "ButtonsThreeAndOneDoNotLaunch",
                                                      .buttons = 5,
                                                      .barX = 320,
                                                      .barWidth = 128,
                                                      .expectBarX = 320,
                                                      .expectBallX = 100},
                                           BarMoveRow{.name = "ButtonFourDoesNotLaunch",
                                                      .buttons = 8,
                                                      .barX = 320,
                                                      .barWidth = 128,
                                                      .expectBarX = 320,
                                                      .expectBallX = 100},
                                           BarMoveRow{.name = "NoLaunchWhileDXZeroDYNot",
                                                      .space = true,
                                                      .barX = 320,
                                                      .barWidth = 128,
                                                      .ballDY = 6,
                                                      .expectBarX = 320,
                                                      .expectBallX = 100,
                                                      .expectDY = 6},
                                           BarMoveRow{.name = "DXZeroBallDoesNotFollowTheBar",
                                                      .stick = 1,
                                                      .barX = 200,
                                                      .barWidth = 128,
                                                      .ballDY = 6,
                                                      .expectBarX = 208,
                                                      .expectBallX = 100,
                                                      .expectDY = 6}),
                         ::qon::test_support::RowName);

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
