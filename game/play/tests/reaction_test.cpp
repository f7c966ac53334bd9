// SPDX-License-Identifier: MIT
// What touched blocks do to the main ball, to mini balls and to the play state.

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

#include "rules_media.h"

namespace qon::play::test {
namespace {

constexpr int kAny = INT_MIN;
// The block under test: row 5, column 5 (x 267..320, y 105..120).
constexpr int kRow = 5;
constexpr int kColumn = 5;
constexpr int kCell = kRow * kGridColumns + kColumn;
// A mini ball under test sits in slot 10 so that released mini balls (slots 0..4) do
// not replace it.
constexpr int kMiniSlot = 10;

struct ReactionRow {
    const char* name;
    int kind;
    bool mini;
    bool fire;
    int x, y, dx, dy;              // the ball before the collision step
    int expX, expY, expDX, expDY;  // kAny: not checked
    int expHitPoints;
    bool expMagnet;
    bool expFire;
    int expActiveMinis;
    int expBarWidth;
    std::vector<std::string> expSounds;
};

class BlockReaction : public ::testing::TestWithParam<ReactionRow> {};

TEST_P(BlockReaction, ActsOnBallAndState) {
    const ReactionRow& row = GetParam();
    RulesMedia media;
    Game game(media);
    PrepareGameForTest(game);
    PutBlock(game.play, kRow, kColumn, row.kind);
    game.play.FireBallOn = row.fire;

    const std::int32_t *x, *y, *dx, *dy;
    if (row.mini) {
        MiniBall& mini = game.play.MiniBallRing.slots[kMiniSlot];
        mini = MiniBall{row.x, row.y, 6, 6, row.dx, row.dy, 1};
        x = &mini.X, y = &mini.Y, dx = &mini.DX, dy = &mini.DY;
    } else {
        game.play.Ball = BallBody{row.x, row.y, 12, 12, row.dx, row.dy};
        x = &game.play.Ball.X, y = &game.play.Ball.Y, dx = &game.play.Ball.DX,
        dy = &game.play.Ball.DY;
    }
    CollisionStep(game);

    if (row.expX != kAny) {
        EXPECT_EQ(*x, row.expX);
    }
    if (row.expY != kAny) {
        EXPECT_EQ(*y, row.expY);
    }
    if (row.expDX != kAny) {
        EXPECT_EQ(*dx, row.expDX);
    }
    if (row.expDY != kAny) {
        EXPECT_EQ(*dy, row.expDY);
    }
    EXPECT_EQ(game.play.StageGrid[kCell].HitPoints, row.expHitPoints);
    EXPECT_EQ(game.play.MagnetOn, row.expMagnet);
    EXPECT_EQ(game.play.FireBallOn, row.expFire);
    int active = 0;
    for (const MiniBall& m : game.play.MiniBallRing.slots) active += m.Active;
    EXPECT_EQ(active, row.expActiveMinis);
    EXPECT_EQ(game.play.Bar.Width, row.expBarWidth);
    EXPECT_EQ(media.TakeSounds(), row.expSounds);
    // Reactions never remove a block: that happens while drawing.
    EXPECT_EQ(game.play.StageGrid[kCell].Alive, kTrue);
}

using S = std::vector<std::string>;
// Main ball from above: (285, 92) touches the top strip only. Mini ball from above:
// (285, 99). Pushed out above: main y 105 - 12 - 2 = 91, mini 105 - 6 - 2 = 97.
INSTANTIATE_TEST_SUITE_P(
    MainBall, BlockReaction,
    ::testing::Values(ReactionRow{"OneHitBlockBreaksSilently", 0, false, false, 285, 92, 2, 3, 285,
                                  91, 2, -3, 0, false, false, 0, 128, S{}},
                      ReactionRow{"ThreeHitBlockLosesOneWithKin", 2, false, false, 285, 92, 2, 3,
                                  285, 91, 2, -3, 2, false, false, 0, 128, S{"SeKin"}},
                      ReactionRow{"UnbreakableTurnsBack", 8, false, false, 285, 92, 2, 3, 285, 91,
                                  2, -3, 9, false, false, 0, 128, S{"SeBlock"}},
                      ReactionRow{"UnbreakableFromBelow", 8, false, false, 285, 121, 2, -3, 285,
                                  122, 2, 3, 9, false, false, 0, 128, S{"SeBlock"}},
                      ReactionRow{"UnbreakableFromLeftPushesFourAway", 8, false, false, 255, 106, 2,
                                  3, 251, 106, -2, 3, 9, false, false, 0, 128, S{"SeBlock"}},
                      ReactionRow{"UnbreakableFromRightPushesFourAway", 8, false, false, 322, 106,
                                  -2, 3, 324, 106, 2, 3, 9, false, false, 0, 128, S{"SeBlock"}},
                      ReactionRow{"PinEdgeStripWithoutCoreDoesNothing", 101, false, false, 285, 92,
                                  2, 3, 285, 92, 2, 3, 1, false, false, 0, 128, S{}},
                      ReactionRow{"MiniBallItemReleasesFiveAndBreaks", 102, false, false, 285, 92,
                                  2, 3, 285, 92, 2, 3, 0, false, false, 5, 128, S{}},
                      ReactionRow{"WindLeftStepsLeft", 103, false, false, 285, 92, 2, 3, 285, 92, 1,
                                  3, 1, false, false, 0, 128, S{}},
                      ReactionRow{"WindRightStepsRight", 104, false, false, 285, 92, 2, 3, 285, 92,
                                  3, 3, 1, false, false, 0, 128, S{}},
                      ReactionRow{"WindDownFourBecomesFive", 105, false, false, 285, 92, 2, 3, 285,
                                  92, 2, 5, 1, false, false, 0, 128, S{}},
                      ReactionRow{"WindUpStepsUp", 106, false, false, 285, 92, 2, 3, 285, 92, 2, 2,
                                  1, false, false, 0, 128, S{}},
                      ReactionRow{"MagnetTurnsOnAndBreaks", 107, false, false, 285, 92, 2, 3, 285,
                                  91, 2, -3, 0, true, false, 0, 128, S{}},
                      ReactionRow{"MagnetUnderFireBallNoPushOut", 107, false, true, 285, 92, 2, 3,
                                  285, 92, 2, 3, 0, true, true, 0, 128, S{}},
                      ReactionRow{"WarpKeepsSpeeds", 108, false, false, 285, 92, 2, 3, kAny, kAny,
                                  2, 3, 1, false, false, 0, 128, S{"SeBlack"}},
                      ReactionRow{"BarExtendWidensAndBreaks", 109, false, false, 285, 92, 2, 3, 285,
                                  91, 2, -3, 0, false, false, 0, 192, S{}},
                      ReactionRow{"BarExtendUnderFireBallNoPushOut", 109, false, true, 285, 92, 2,
                                  3, 285, 92, 2, 3, 0, false, true, 0, 192, S{}},
                      ReactionRow{"FireBallTurnsOnWithoutPushOut", 110, false, false, 285, 92, 2, 3,
                                  285, 92, 2, 3, 0, false, true, 0, 128, S{}},
                      ReactionRow{"BombBreaksItselfWithoutPushOut", 111, false, false, 285, 92, 2,
                                  3, 285, 92, 2, 3, 0, false, false, 0, 128, S{}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    FireBall, BlockReaction,
    ::testing::Values(ReactionRow{"BreaksAnyNormalBlockAtFirstTouchAndFliesOn", 7, false, true, 285,
                                  92, 2, 3, 285, 92, 2, 3, 0, false, true, 0, 128, S{}},
                      ReactionRow{"UnbreakableTopWidePushOut", 8, false, true, 285, 92, 2, 3, 285,
                                  89, 2, -3, 9, false, true, 0, 128, S{"SeBlock"}},
                      ReactionRow{"UnbreakableBottomWidePushOut", 8, false, true, 285, 121, 2, -3,
                                  285, 124, 2, 3, 9, false, true, 0, 128, S{"SeBlock"}},
                      ReactionRow{"UnbreakableSideStillFourPixels", 8, false, true, 255, 106, 2, 3,
                                  251, 106, -2, 3, 9, false, true, 0, 128, S{"SeBlock"}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    MiniBall, BlockReaction,
    ::testing::Values(ReactionRow{"OneHitBlockBreaks", 0, true, false, 285, 99, 2, 3, 285, 97, 2,
                                  -3, 0, false, false, 1, 128, S{}},
                      ReactionRow{"UnbreakableTurnsBack", 8, true, false, 285, 99, 2, 3, 285, 97, 2,
                                  -3, 9, false, false, 1, 128, S{"SeBlock"}},
                      ReactionRow{"FireBallDoesNotHelpMiniBalls", 7, true, true, 285, 99, 2, 3, 285,
                                  97, 2, -3, 7, false, true, 1, 128, S{"SeKin"}},
                      ReactionRow{"FromBelow", 3, true, false, 285, 121, 2, -3, 285, 122, 2, 3, 3,
                                  false, false, 1, 128, S{"SeKin"}},
                      ReactionRow{"PinEdgeStripWithoutCoreDoesNothing", 101, true, false, 285, 99,
                                  2, 3, 285, 99, 2, 3, 1, false, false, 1, 128, S{}},
                      ReactionRow{"MiniBallItemReleasesFive", 102, true, false, 285, 99, 2, 3, 285,
                                  99, 2, 3, 0, false, false, 6, 128, S{}},
                      ReactionRow{"WindRight", 104, true, false, 285, 99, 2, 3, 285, 99, 3, 3, 1,
                                  false, false, 1, 128, S{}},
                      ReactionRow{"WindUp", 106, true, false, 285, 99, 2, 3, 285, 99, 2, 2, 1,
                                  false, false, 1, 128, S{}},
                      ReactionRow{"PassesThroughMagnet", 107, true, false, 285, 99, 2, 3, 285, 99,
                                  2, 3, 1, false, false, 1, 128, S{}},
                      ReactionRow{"Warp", 108, true, false, 285, 99, 2, 3, kAny, kAny, 2, 3, 1,
                                  false, false, 1, 128, S{"SeBlack"}},
                      ReactionRow{"BarExtendAlwaysPushesOut", 109, true, true, 285, 99, 2, 3, 285,
                                  97, 2, -3, 0, false, true, 1, 192, S{}},
                      ReactionRow{"FireBallTurnsOnAndPushesOut", 110, true, false, 285, 99, 2, 3,
                                  285, 97, 2, -3, 0, false, true, 1, 128, S{}},
                      ReactionRow{"Bomb", 111, true, false, 285, 99, 2, 3, 285, 99, 2, 3, 0, false,
                                  false, 1, 128, S{}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SpecialBlocks, PinCoreSendsBallInARandomDirection) {
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        RulesMedia media(seed);
        PlayState twin;
        SeedRandom(twin, seed);
        Game game(media);
        PrepareGameForTest(game);
        PutBlock(game.play, kRow, kColumn, Kind::Pin);
        // Top strip and core (289..299, 107..115) at once.
        game.play.Ball = BallBody{285, 100, 12, 12, 2, 3};
        CollisionStep(game);
        const int a = RandomInt(twin, 0, 8);
        const int b = RandomInt(twin, 0, 8);
        const int expDX = a < 6 ? -a : a;
        const int expDY = b < 6 ? -(8 - a) : 8 - a;
        EXPECT_EQ(game.play.Ball.DX, expDX) << "seed " << seed;
        EXPECT_EQ(game.play.Ball.DY, expDY) << "seed " << seed;
        EXPECT_EQ(std::abs(game.play.Ball.DX) + std::abs(game.play.Ball.DY), 8);
        EXPECT_EQ(game.play.Ball.Y, 100) << "no push-out";
        EXPECT_EQ(media.TakeSounds(), std::vector<std::string>{"SeBlock"});
        EXPECT_EQ(game.play.StageGrid[kCell].HitPoints, 1) << "a pin stays";
    }
}

TEST(SpecialBlocks, WarpLandsInsideTheField) {
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
        RulesMedia media(seed);
        Game game(media);
        PrepareGameForTest(game);
        PutBlock(game.play, kRow, kColumn, Kind::Warp);
        game.play.Ball = BallBody{285, 92, 12, 12, 2, 3};
        CollisionStep(game);
        EXPECT_GE(game.play.Ball.X, 1);
        EXPECT_LE(game.play.Ball.X, 639);
        EXPECT_GE(game.play.Ball.Y, 32);
        EXPECT_LE(game.play.Ball.Y, game.play.Bar.Y + 11);
    }
}

TEST(SpecialBlocks, SixtyMiniBallsFillTheFortyNineSlots) {
    RulesMedia media;
    Game game(media);
    PrepareGameForTest(game);
    for (int i = 0; i < 12; ++i) SpawnMiniBalls(game, 100, static_cast<std::int16_t>(50 + i));
    EXPECT_EQ(game.play.MiniBallRing.index, 60 % 49);
    for (const MiniBall& m : game.play.MiniBallRing.slots) {
        EXPECT_EQ(m.Active, 1);
        EXPECT_GE(m.DX, 1);
        EXPECT_LE(m.DX, 6);
        EXPECT_GE(m.DY, 1);
        EXPECT_LE(m.DY, 6);
        EXPECT_EQ(m.Width, 6);
    }
    // Mini balls 49..59 replaced the earliest ones: the last spawn (y 61) ends in slot
    // 10, while slot 11 still holds mini ball 11 of the third spawn (y 52).
    EXPECT_EQ(game.play.MiniBallRing.slots[10].Y, 61);
    EXPECT_EQ(game.play.MiniBallRing.slots[11].Y, 52);
}

// ---- bombs ------------------------------------------------------------------------

struct BombRow {
    const char* name;
    int row, column;
    int broken;
};

class Bomb : public ::testing::TestWithParam<BombRow> {};

TEST_P(Bomb, BreaksItsNeighboursWhateverTheirKind) {
    const BombRow& row = GetParam();
    RulesMedia media;
    Game game(media);
    PrepareGameForTest(game);
    for (int cell = 0; cell < kGridCells; ++cell) {
        PutBlock(game.play, cell / kGridColumns, cell % kGridColumns,
                 cell % 3 == 0 ? Kind::kUnbreakable : (cell % 3 == 1 ? Kind::Pin : 7));
    }
    PutBlock(game.play, row.row, row.column, Kind::Bomb);
    MainBallReaction(game, BlockContact{row.row * kGridColumns + row.column, Side::Top});
    int broken = 0;
    for (int cell = 0; cell < kGridCells; ++cell) {
        const int r = cell / kGridColumns;
        const int c = cell % kGridColumns;
        const bool neighbour = std::abs(r - row.row) <= 1 && std::abs(c - row.column) <= 1;
        const BlockCell& b = game.play.StageGrid[static_cast<std::size_t>(cell)];
        EXPECT_EQ(b.HitPoints == 0, neighbour) << "cell " << r << ", " << c;
        broken += b.HitPoints == 0 ? 1 : 0;
    }
    EXPECT_EQ(broken, row.broken);
    // Drawing removes them all, scored one after another in grid order.
    DrawPlayScreen(game);
    EXPECT_EQ(game.play.Combo, row.broken);
    EXPECT_EQ(game.play.Score, 10 * row.broken * (row.broken + 1) / 2);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Bomb,
    ::testing::Values(BombRow{"TopLeftCorner", 0, 0, 4}, BombRow{"BottomRightCorner", 29, 11, 4},
                      BombRow{"TopEdge", 0, 5, 6}, BombRow{"LeftEdge", 10, 0, 6},
                      BombRow{"BottomEdge", 29, 6, 6}, BombRow{"Inside", 10, 5, 9}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- wind -------------------------------------------------------------------------

struct WindRow {
    const char* name;
    int kind;
    int dx, dy;
    bool toggleOn;
    int frames;
    int expDX, expDY;
};

class WindSequence : public ::testing::TestWithParam<WindRow> {};

TEST_P(WindSequence, StepsEverySecondFrameOfContact) {
    const WindRow& row = GetParam();
    RulesMedia media;
    Game game(media);
    PrepareGameForTest(game);
    PutBlock(game.play, kRow, kColumn, row.kind);
    game.play.WindToggle = row.toggleOn;
    game.play.Ball = BallBody{285, 92, 12, 12, row.dx, row.dy};
    for (int i = 0; i < row.frames; ++i) {
        MainBallReaction(game, BlockContact{kCell, Side::Top});
    }
    EXPECT_EQ(game.play.Ball.DX, row.expDX);
    EXPECT_EQ(game.play.Ball.DY, row.expDY);
    EXPECT_EQ(game.play.Ball.Y, 92) << "wind blocks never push out";
}

INSTANTIATE_TEST_SUITE_P(
    Table, WindSequence,
    ::testing::Values(WindRow{"RightFromThreeForFourFramesEndsAtFive", 104, 3, -2, false, 4, 5, -2},
                      WindRow{"RightFromMinusOneSkipsZeroToTwo", 104, -1, -2, false, 1, 2, -2},
                      WindRow{"RightOffFrameStillLiftsZeroToTwo", 104, 0, -2, true, 1, 2, -2},
                      WindRow{"LeftOffFrameStillLiftsZeroToMinusTwo", 103, 0, -2, true, 1, -2, -2},
                      WindRow{"LeftPastMinusFourIsMinusFive", 103, -3, 2, false, 2, -5, 2},
                      WindRow{"LeftTurnsAFastRightBallSlowly", 103, 5, 2, false, 6, 2, 2},
                      WindRow{"DownFromMinusOneSkipsZeroToTwo", 105, 3, -1, false, 1, 3, 2},
                      WindRow{"DownOffFrameLeavesZero", 105, 3, 0, true, 1, 3, 0},
                      WindRow{"UpFromFiveForEightFrames", 106, 3, 5, false, 8, 3, 1},
                      WindRow{"UpFromOneSkipsZeroToMinusTwo", 106, 3, 1, false, 1, 3, -2},
                      WindRow{"UpCapsAtMinusFive", 106, 3, -5, false, 1, 3, -5}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WindSequence, OneToggleIsSharedByAllBalls) {
    RulesMedia media;
    Game game(media);
    PrepareGameForTest(game);
    PutBlock(game.play, kRow, kColumn, Kind::WindRight);
    game.play.Ball = BallBody{285, 92, 12, 12, 2, 3};
    game.play.MiniBallRing.slots[kMiniSlot] = MiniBall{300, 99, 6, 6, 2, 3, 1};
    CollisionStep(game);
    EXPECT_EQ(game.play.Ball.DX, 3) << "main ball turned the toggle on";
    EXPECT_EQ(game.play.MiniBallRing.slots[kMiniSlot].DX, 2) << "mini ball turned it off";
    EXPECT_FALSE(game.play.WindToggle);
}

// ---- BarExtend ------------------------------------------------------------------------

TEST(BarExtend, GrowsByHalfRoundedToEvenThenStopsAtTheCap) {
    PlayState play;
    ResetBallAndBar(play);
    const int expected[] = {192, 288, 432, 432, 432};
    for (int width : expected) {
        ExtendBar(play);
        EXPECT_EQ(play.Bar.Width, width);
        EXPECT_GE(play.Bar.X, kLeftWall);
        EXPECT_LE(play.Bar.X + play.Bar.Width, kRightWall);
    }
}

struct ExtendRow {
    const char* name;
    int barX, width;
    bool ballResting;
    int expBarX, expWidth, expBallX;
};

class BarExtendPlacement : public ::testing::TestWithParam<ExtendRow> {};

TEST_P(BarExtendPlacement, KeepsTheBarInsideTheWalls) {
    const ExtendRow& row = GetParam();
    PlayState play;
    ResetBallAndBar(play);
    play.Bar.X = static_cast<std::int16_t>(row.barX);
    play.Bar.Width = static_cast<std::int16_t>(row.width);
    play.Ball.X = 400;
    if (!row.ballResting) play.Ball.DY = -5;
    ExtendBar(play);
    EXPECT_EQ(play.Bar.X, row.expBarX);
    EXPECT_EQ(play.Bar.Width, row.expWidth);
    EXPECT_EQ(play.Ball.X, row.expBallX);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BarExtendPlacement,
    ::testing::Values(ExtendRow{"GrowsToTheRight", 100, 128, true, 100, 192, 400},
                      ExtendRow{"ExactlyFitsAtTheWall", 447, 128, true, 447, 192, 400},
                      ExtendRow{"PushedBackFromTheRightWall", 500, 128, true, 447, 192, 347},
                      ExtendRow{"MovingBallIsNotShifted", 500, 128, false, 447, 192, 400},
                      ExtendRow{"OddWidthRoundsHalfToEven", 10, 129, true, 10, 194, 400},
                      ExtendRow{"CapAtTheRightWall", 300, 288, true, 207, 432, 307}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qon::play::test
