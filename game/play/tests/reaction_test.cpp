// SPDX-License-Identifier: MIT
// What touched blocks do to the main ball, to mini balls and to the play state.

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

#include "qon/test_support/rows.h"
#include "rules_media.h"

namespace qon::play::test {
namespace {

QON_PRINT_ROWS_BY_NAME

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
    int kind{};
    bool mini{};
    bool fire{};
    int x{}, y{}, dx{}, dy{};              // the ball before the collision step
    int expX{}, expY{}, expDX{}, expDY{};  // kAny: not checked
    int expHitPoints{};
    bool expMagnet{};
    bool expFire{};
    int expActiveMinis{};
    int expBarWidth{};
    std::vector<std::string> expSounds{};
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
INSTANTIATE_TEST_SUITE_P(MainBall, BlockReaction,
                         ::testing::Values(ReactionRow{.name = "OneHitBlockBreaksSilently",
                                                       .x = 285,
                                                       .y = 92,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 91,
                                                       .expDX = 2,
                                                       .expDY = -3,
                                                       .expBarWidth = 128},
                                           ReactionRow{.name = "ThreeHitBlockLosesOneWithKin",
                                                       .kind = 2,
                                                       .x = 285,
                                                       .y = 92,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 91,
                                                       .expDX = 2,
                                                       .expDY = -3,
                                                       .expHitPoints = 2,
                                                       .expBarWidth = 128,
                                                       .expSounds = S{"SeKin"}},
                                           ReactionRow{.name = "UnbreakableTurnsBack",
                                                       .kind = 8,
                                                       .x = 285,
                                                       .y = 92,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 91,
                                                       .expDX = 2,
                                                       .expDY = -3,
                                                       .expHitPoints = 9,
                                                       .expBarWidth = 128,
                                                       .expSounds = S{"SeBlock"}},
                                           ReactionRow{.name = "UnbreakableFromBelow",
                                                       .kind = 8,
                                                       .x = 285,
                                                       .y = 121,
                                                       .dx = 2,
                                                       .dy = -3,
                                                       .expX = 285,
                                                       .expY = 122,
                                                       .expDX = 2,
                                                       .expDY = 3,
                                                       .expHitPoints = 9,
                                                       .expBarWidth = 128,
                                                       .expSounds = S{"SeBlock"}},
                                           ReactionRow{.name = "UnbreakableFromLeftPushesFourAway",
                                                       .kind = 8,
                                                       .x = 255,
                                                       .y = 106,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 251,
                                                       .expY = 106,
                                                       .expDX = -2,
                                                       .expDY = 3,
                                                       .expHitPoints = 9,
                                                       .expBarWidth = 128,
                                                       .expSounds = S{"SeBlock"}},
                                           ReactionRow{.name = "UnbreakableFromRightPushesFourAway",
                                                       .kind = 8,
                                                       .x = 322,
                                                       .y = 106,
                                                       .dx = -2,
                                                       .dy = 3,
                                                       .expX = 324,
                                                       .expY = 106,
                                                       .expDX = 2,
                                                       .expDY = 3,
                                                       .expHitPoints = 9,
                                                       .expBarWidth = 128,
                                                       .expSounds = S{"SeBlock"}},
                                           ReactionRow{.name = "PinEdgeStripWithoutCoreDoesNothing",
                                                       .kind = 101,
                                                       .x = 285,
                                                       .y = 92,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 92,
                                                       .expDX = 2,
                                                       .expDY = 3,
                                                       .expHitPoints = 1,
                                                       .expBarWidth = 128},
                                           ReactionRow{.name = "MiniBallItemReleasesFiveAndBreaks",
                                                       .kind = 102,
                                                       .x = 285,
                                                       .y = 92,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 92,
                                                       .expDX = 2,
                                                       .expDY = 3,
                                                       .expActiveMinis = 5,
                                                       .expBarWidth = 128},
                                           ReactionRow{.name = "WindLeftStepsLeft",
                                                       .kind = 103,
                                                       .x = 285,
                                                       .y = 92,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 92,
                                                       .expDX = 1,
                                                       .expDY = 3,
                                                       .expHitPoints = 1,
                                                       .expBarWidth = 128},
                                           ReactionRow{.name = "WindRightStepsRight",
                                                       .kind = 104,
                                                       .x = 285,
                                                       .y = 92,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 92,
                                                       .expDX = 3,
                                                       .expDY = 3,
                                                       .expHitPoints = 1,
                                                       .expBarWidth = 128},
                                           ReactionRow{.name = "WindDownFourBecomesFive",
                                                       .kind = 105,
                                                       .x = 285,
                                                       .y = 92,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 92,
                                                       .expDX = 2,
                                                       .expDY = 5,
                                                       .expHitPoints = 1,
                                                       .expBarWidth = 128},
                                           ReactionRow{.name = "WindUpStepsUp",
                                                       .kind = 106,
                                                       .x = 285,
                                                       .y = 92,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 92,
                                                       .expDX = 2,
                                                       .expDY = 2,
                                                       .expHitPoints = 1,
                                                       .expBarWidth = 128},
                                           ReactionRow{.name = "MagnetTurnsOnAndBreaks",
                                                       .kind = 107,
                                                       .x = 285,
                                                       .y = 92,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 91,
                                                       .expDX = 2,
                                                       .expDY = -3,
                                                       .expMagnet = true,
                                                       .expBarWidth = 128},
                                           ReactionRow{.name = "MagnetUnderFireBallNoPushOut",
                                                       .kind = 107,
                                                       .fire = true,
                                                       .x = 285,
                                                       .y = 92,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 92,
                                                       .expDX = 2,
                                                       .expDY = 3,
                                                       .expMagnet = true,
                                                       .expFire = true,
                                                       .expBarWidth = 128},
                                           ReactionRow{.name = "WarpKeepsSpeeds",
                                                       .kind = 108,
                                                       .x = 285,
                                                       .y = 92,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = kAny,
                                                       .expY = kAny,
                                                       .expDX = 2,
                                                       .expDY = 3,
                                                       .expHitPoints = 1,
                                                       .expBarWidth = 128,
                                                       .expSounds = S{"SeBlack"}},
                                           ReactionRow{.name = "BarExtendWidensAndBreaks",
                                                       .kind = 109,
                                                       .x = 285,
                                                       .y = 92,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 91,
                                                       .expDX = 2,
                                                       .expDY = -3,
                                                       .expBarWidth = 192},
                                           ReactionRow{.name = "BarExtendUnderFireBallNoPushOut",
                                                       .kind = 109,
                                                       .fire = true,
                                                       .x = 285,
                                                       .y = 92,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 92,
                                                       .expDX = 2,
                                                       .expDY = 3,
                                                       .expFire = true,
                                                       .expBarWidth = 192},
                                           ReactionRow{.name = "FireBallTurnsOnWithoutPushOut",
                                                       .kind = 110,
                                                       .x = 285,
                                                       .y = 92,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 92,
                                                       .expDX = 2,
                                                       .expDY = 3,
                                                       .expFire = true,
                                                       .expBarWidth = 128},
                                           ReactionRow{.name = "BombBreaksItselfWithoutPushOut",
                                                       .kind = 111,
                                                       .x = 285,
                                                       .y = 92,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 92,
                                                       .expDX = 2,
                                                       .expDY = 3,
                                                       .expBarWidth = 128}),
                         ::qon::test_support::RowName);

INSTANTIATE_TEST_SUITE_P(
    FireBall, BlockReaction,
    ::testing::Values(ReactionRow{.name = "BreaksAnyNormalBlockAtFirstTouchAndFliesOn",
                                  .kind = 7,
                                  .fire = true,
                                  .x = 285,
                                  .y = 92,
                                  .dx = 2,
                                  .dy = 3,
                                  .expX = 285,
                                  .expY = 92,
                                  .expDX = 2,
                                  .expDY = 3,
                                  .expFire = true,
                                  .expBarWidth = 128},
                      ReactionRow{.name = "UnbreakableTopWidePushOut",
                                  .kind = 8,
                                  .fire = true,
                                  .x = 285,
                                  .y = 92,
                                  .dx = 2,
                                  .dy = 3,
                                  .expX = 285,
                                  .expY = 89,
                                  .expDX = 2,
                                  .expDY = -3,
                                  .expHitPoints = 9,
                                  .expFire = true,
                                  .expBarWidth = 128,
                                  .expSounds = S{"SeBlock"}},
                      ReactionRow{.name = "UnbreakableBottomWidePushOut",
                                  .kind = 8,
                                  .fire = true,
                                  .x = 285,
                                  .y = 121,
                                  .dx = 2,
                                  .dy = -3,
                                  .expX = 285,
                                  .expY = 124,
                                  .expDX = 2,
                                  .expDY = 3,
                                  .expHitPoints = 9,
                                  .expFire = true,
                                  .expBarWidth = 128,
                                  .expSounds = S{"SeBlock"}},
                      ReactionRow{.name = "UnbreakableSideStillFourPixels",
                                  .kind = 8,
                                  .fire = true,
                                  .x = 255,
                                  .y = 106,
                                  .dx = 2,
                                  .dy = 3,
                                  .expX = 251,
                                  .expY = 106,
                                  .expDX = -2,
                                  .expDY = 3,
                                  .expHitPoints = 9,
                                  .expFire = true,
                                  .expBarWidth = 128,
                                  .expSounds = S{"SeBlock"}}),
    ::qon::test_support::RowName);

INSTANTIATE_TEST_SUITE_P(MiniBall, BlockReaction,
                         ::testing::Values(ReactionRow{.name = "OneHitBlockBreaks",
                                                       .mini = true,
                                                       .x = 285,
                                                       .y = 99,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 97,
                                                       .expDX = 2,
                                                       .expDY = -3,
                                                       .expActiveMinis = 1,
                                                       .expBarWidth = 128},
                                           ReactionRow{.name = "UnbreakableTurnsBack",
                                                       .kind = 8,
                                                       .mini = true,
                                                       .x = 285,
                                                       .y = 99,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 97,
                                                       .expDX = 2,
                                                       .expDY = -3,
                                                       .expHitPoints = 9,
                                                       .expActiveMinis = 1,
                                                       .expBarWidth = 128,
                                                       .expSounds = S{"SeBlock"}},
                                           ReactionRow{.name = "FireBallDoesNotHelpMiniBalls",
                                                       .kind = 7,
                                                       .mini = true,
                                                       .fire = true,
                                                       .x = 285,
                                                       .y = 99,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 97,
                                                       .expDX = 2,
                                                       .expDY = -3,
                                                       .expHitPoints = 7,
                                                       .expFire = true,
                                                       .expActiveMinis = 1,
                                                       .expBarWidth = 128,
                                                       .expSounds = S{"SeKin"}},
                                           ReactionRow{.name = "FromBelow",
                                                       .kind = 3,
                                                       .mini = true,
                                                       .x = 285,
                                                       .y = 121,
                                                       .dx = 2,
                                                       .dy = -3,
                                                       .expX = 285,
                                                       .expY = 122,
                                                       .expDX = 2,
                                                       .expDY = 3,
                                                       .expHitPoints = 3,
                                                       .expActiveMinis = 1,
                                                       .expBarWidth = 128,
                                                       .expSounds = S{"SeKin"}},
                                           ReactionRow{.name = "PinEdgeStripWithoutCoreDoesNothing",
                                                       .kind = 101,
                                                       .mini = true,
                                                       .x = 285,
                                                       .y = 99,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 99,
                                                       .expDX = 2,
                                                       .expDY = 3,
                                                       .expHitPoints = 1,
                                                       .expActiveMinis = 1,
                                                       .expBarWidth = 128},
                                           ReactionRow{.name = "MiniBallItemReleasesFive",
                                                       .kind = 102,
                                                       .mini = true,
                                                       .x = 285,
                                                       .y = 99,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 99,
                                                       .expDX = 2,
                                                       .expDY = 3,
                                                       .expActiveMinis = 6,
                                                       .expBarWidth = 128},
                                           ReactionRow{.name = "WindRight",
                                                       .kind = 104,
                                                       .mini = true,
                                                       .x = 285,
                                                       .y = 99,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 99,
                                                       .expDX = 3,
                                                       .expDY = 3,
                                                       .expHitPoints = 1,
                                                       .expActiveMinis = 1,
                                                       .expBarWidth = 128},
                                           ReactionRow{.name = "WindUp",
                                                       .kind = 106,
                                                       .mini = true,
                                                       .x = 285,
                                                       .y = 99,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 99,
                                                       .expDX = 2,
                                                       .expDY = 2,
                                                       .expHitPoints = 1,
                                                       .expActiveMinis = 1,
                                                       .expBarWidth = 128},
                                           ReactionRow{.name = "PassesThroughMagnet",
                                                       .kind = 107,
                                                       .mini = true,
                                                       .x = 285,
                                                       .y = 99,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 99,
                                                       .expDX = 2,
                                                       .expDY = 3,
                                                       .expHitPoints = 1,
                                                       .expActiveMinis = 1,
                                                       .expBarWidth = 128},
                                           ReactionRow{.name = "Warp",
                                                       .kind = 108,
                                                       .mini = true,
                                                       .x = 285,
                                                       .y = 99,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = kAny,
                                                       .expY = kAny,
                                                       .expDX = 2,
                                                       .expDY = 3,
                                                       .expHitPoints = 1,
                                                       .expActiveMinis = 1,
                                                       .expBarWidth = 128,
                                                       .expSounds = S{"SeBlack"}},
                                           ReactionRow{.name = "BarExtendAlwaysPushesOut",
                                                       .kind = 109,
                                                       .mini = true,
                                                       .fire = true,
                                                       .x = 285,
                                                       .y = 99,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 97,
                                                       .expDX = 2,
                                                       .expDY = -3,
                                                       .expFire = true,
                                                       .expActiveMinis = 1,
                                                       .expBarWidth = 192},
                                           ReactionRow{.name = "FireBallTurnsOnAndPushesOut",
                                                       .kind = 110,
                                                       .mini = true,
                                                       .x = 285,
                                                       .y = 99,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 97,
                                                       .expDX = 2,
                                                       .expDY = -3,
                                                       .expFire = true,
                                                       .expActiveMinis = 1,
                                                       .expBarWidth = 128},
                                           ReactionRow{.name = "Bomb",
                                                       .kind = 111,
                                                       .mini = true,
                                                       .x = 285,
                                                       .y = 99,
                                                       .dx = 2,
                                                       .dy = 3,
                                                       .expX = 285,
                                                       .expY = 99,
                                                       .expDX = 2,
                                                       .expDY = 3,
                                                       .expActiveMinis = 1,
                                                       .expBarWidth = 128}),
                         ::qon::test_support::RowName);

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
    int row{}, column{};
    int broken{};
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
    ::testing::Values(BombRow{.name = "TopLeftCorner", .broken = 4},
                      BombRow{.name = "BottomRightCorner", .row = 29, .column = 11, .broken = 4},
                      BombRow{.name = "TopEdge", .column = 5, .broken = 6},
                      BombRow{.name = "LeftEdge", .row = 10, .broken = 6},
                      BombRow{.name = "BottomEdge", .row = 29, .column = 6, .broken = 6},
                      BombRow{.name = "Inside", .row = 10, .column = 5, .broken = 9}),
    ::qon::test_support::RowName);

// ---- wind -------------------------------------------------------------------------

struct WindRow {
    const char* name;
    int kind{};
    int dx{}, dy{};
    bool toggleOn{};
    int frames{};
    int expDX{}, expDY{};
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

INSTANTIATE_TEST_SUITE_P(Table, WindSequence,
                         ::testing::Values(WindRow{.name = "RightFromThreeForFourFramesEndsAtFive",
                                                   .kind = 104,
                                                   .dx = 3,
                                                   .dy = -2,
                                                   .frames = 4,
                                                   .expDX = 5,
                                                   .expDY = -2},
                                           WindRow{.name = "RightFromMinusOneSkipsZeroToTwo",
                                                   .kind = 104,
                                                   .dx = -1,
                                                   .dy = -2,
                                                   .frames = 1,
                                                   .expDX = 2,
                                                   .expDY = -2},
                                           WindRow{.name = "RightOffFrameStillLiftsZeroToTwo",
                                                   .kind = 104,
                                                   .dy = -2,
                                                   .toggleOn = true,
                                                   .frames = 1,
                                                   .expDX = 2,
                                                   .expDY = -2},
                                           WindRow{.name = "LeftOffFrameStillLiftsZeroToMinusTwo",
                                                   .kind = 103,
                                                   .dy = -2,
                                                   .toggleOn = true,
                                                   .frames = 1,
                                                   .expDX = -2,
                                                   .expDY = -2},
                                           WindRow{.name = "LeftPastMinusFourIsMinusFive",
                                                   .kind = 103,
                                                   .dx = -3,
                                                   .dy = 2,
                                                   .frames = 2,
                                                   .expDX = -5,
                                                   .expDY = 2},
                                           WindRow{.name = "LeftTurnsAFastRightBallSlowly",
                                                   .kind = 103,
                                                   .dx = 5,
                                                   .dy = 2,
                                                   .frames = 6,
                                                   .expDX = 2,
                                                   .expDY = 2},
                                           WindRow{.name = "DownFromMinusOneSkipsZeroToTwo",
                                                   .kind = 105,
                                                   .dx = 3,
                                                   .dy = -1,
                                                   .frames = 1,
                                                   .expDX = 3,
                                                   .expDY = 2},
                                           WindRow{.name = "DownOffFrameLeavesZero",
                                                   .kind = 105,
                                                   .dx = 3,
                                                   .toggleOn = true,
                                                   .frames = 1,
                                                   .expDX = 3},
                                           WindRow{.name = "UpFromFiveForEightFrames",
                                                   .kind = 106,
                                                   .dx = 3,
                                                   .dy = 5,
                                                   .frames = 8,
                                                   .expDX = 3,
                                                   .expDY = 1},
                                           WindRow{.name = "UpFromOneSkipsZeroToMinusTwo",
                                                   .kind = 106,
                                                   .dx = 3,
                                                   .dy = 1,
                                                   .frames = 1,
                                                   .expDX = 3,
                                                   .expDY = -2},
                                           WindRow{.name = "UpCapsAtMinusFive",
                                                   .kind = 106,
                                                   .dx = 3,
                                                   .dy = -5,
                                                   .frames = 1,
                                                   .expDX = 3,
                                                   .expDY = -5}),
                         ::qon::test_support::RowName);

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
    int barX{}, width{};
    bool ballResting{};
    int expBarX{}, expWidth{}, expBallX{};
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

INSTANTIATE_TEST_SUITE_P(Table, BarExtendPlacement,
                         ::testing::Values(ExtendRow{.name = "GrowsToTheRight",
                                                     .barX = 100,
                                                     .width = 128,
                                                     .ballResting = true,
                                                     .expBarX = 100,
                                                     .expWidth = 192,
                                                     .expBallX = 400},
                                           ExtendRow{.name = "ExactlyFitsAtTheWall",
                                                     .barX = 447,
                                                     .width = 128,
                                                     .ballResting = true,
                                                     .expBarX = 447,
                                                     .expWidth = 192,
                                                     .expBallX = 400},
                                           ExtendRow{.name = "PushedBackFromTheRightWall",
                                                     .barX = 500,
                                                     .width = 128,
                                                     .ballResting = true,
                                                     .expBarX = 447,
                                                     .expWidth = 192,
                                                     .expBallX = 347},
                                           ExtendRow{.name = "MovingBallIsNotShifted",
                                                     .barX = 500,
                                                     .width = 128,
                                                     .expBarX = 447,
                                                     .expWidth = 192,
                                                     .expBallX = 400},
                                           ExtendRow{.name = "OddWidthRoundsHalfToEven",
                                                     .barX = 10,
                                                     .width = 129,
                                                     .ballResting = true,
                                                     .expBarX = 10,
                                                     .expWidth = 194,
                                                     .expBallX = 400},
                                           ExtendRow{.name = "CapAtTheRightWall",
                                                     .barX = 300,
                                                     .width = 288,
                                                     .ballResting = true,
                                                     .expBarX = 207,
                                                     .expWidth = 432,
                                                     .expBallX = 307}),
                         ::qon::test_support::RowName);

}  // namespace
}  // namespace qon::play::test
