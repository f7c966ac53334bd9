// SPDX-License-Identifier: MIT
// Breaking, combos, score, debris and the clear test.

#include <gtest/gtest.h>

#include "qon/test_support/rows.h"
#include "rules_media.h"

namespace qon::play::test {
namespace {

QON_PRINT_ROWS_BY_NAME

class Scoring : public ::testing::Test {
  protected:
    Scoring() : game(media) { PrepareGameForTest(game); }
    void breakBlock(int row, int column) {
        PutBlock(game.play, row, column, 0);
        game.play.StageGrid[static_cast<std::size_t>(row * kGridColumns + column)].HitPoints = 0;
    }
    int countSound(const std::vector<std::string>& sounds, const char* name) {
        return static_cast<int>(std::count(sounds.begin(), sounds.end(), name));
    }
    RulesMedia media;
    Game game;
};

TEST_F(Scoring, ThreeHitBlockKinsTwiceThenBreaksOnTheNextDraw) {
    PutBlock(game.play, 5, 5, 2);
    const BlockContact top{5 * kGridColumns + 5, Side::Top};
    std::vector<std::string> all;
    for (int touch = 0; touch < 3; ++touch) {
        game.play.Ball = BallBody{285, 92, 12, 12, 2, 3};
        MainBallReaction(game, top);
        for (auto& s : media.TakeSounds()) all.push_back(s);
    }
    EXPECT_EQ(all, (std::vector<std::string>{"SeKin", "SeKin"}));
    EXPECT_EQ(game.play.StageGrid[5 * kGridColumns + 5].Alive, kTrue) << "removed only by drawing";
    DrawPlayScreen(game);
    EXPECT_EQ(media.TakeSounds(), std::vector<std::string>{"SeBreak"});
    const BlockCell& cell = game.play.StageGrid[5 * kGridColumns + 5];
    EXPECT_EQ(cell.Alive, 0);
    EXPECT_EQ(cell.Kind, Kind::kEmpty);
    EXPECT_EQ(game.play.Score, 10);
    EXPECT_EQ(game.play.Combo, 1);
    EXPECT_EQ(game.play.ComboTimer, 60);
}

TEST_F(Scoring, BreakThrowsFourDebrisSquaresFromTheCellCentre) {
    breakBlock(5, 5);  // x 267..320, y 105..120: centre 293.5 -> 294 (even), 112.5 -> 112
    DrawPlayScreen(game);
    for (const auto& ring : game.play.Debris.rings) {
        EXPECT_EQ(ring[0].X, 294);
        EXPECT_EQ(ring[0].Y, 112);
        EXPECT_EQ(ring[0].Life, 20);
        EXPECT_EQ(ring[0].Active, kTrue);
    }
    EXPECT_EQ(game.play.Debris.rings[0][0].DX, -1);
    EXPECT_EQ(game.play.Debris.rings[2][0].DY, 1);
    EXPECT_EQ(game.play.Debris.index, 1);
}

TEST_F(Scoring, CellCentreTiesGoToEven) {
    breakBlock(0, 0);  // x 2..55: 28.5 -> 28; y 30..45: 37.5 -> 38
    DrawPlayScreen(game);
    EXPECT_EQ(game.play.Debris.rings[0][0].X, 28);
    EXPECT_EQ(game.play.Debris.rings[0][0].Y, 38);
}

TEST_F(Scoring, DebrisLivesTwentySteps) {
    SpawnDebris(game.play, 100, 100);
    for (int step = 0; step < 19; ++step) DebrisStep(game.play);
    EXPECT_EQ(game.play.Debris.rings[1][0].Active, kTrue);
    EXPECT_EQ(game.play.Debris.rings[1][0].X, 119);
    EXPECT_EQ(game.play.Debris.rings[1][0].Y, 81);
    DebrisStep(game.play);
    EXPECT_EQ(game.play.Debris.rings[1][0].Active, 0);
}

TEST_F(Scoring, DebrisRingWrapsAfterTwentyFour) {
    for (int i = 0; i < 25; ++i) SpawnDebris(game.play, static_cast<std::int16_t>(i), 0);
    EXPECT_EQ(game.play.Debris.index, 1);
    EXPECT_EQ(game.play.Debris.rings[3][0].X, 24);
}

struct ComboRow {
    const char* name;
    int gapFrames{};  // drawn frames between the two breaks
    int expCombo{};
    int expScore{};
};

class ComboTiming : public Scoring, public ::testing::WithParamInterface<ComboRow> {};

TEST_P(ComboTiming, ChainLastsSixtyDrawnFrames) {
    const ComboRow& row = GetParam();
    breakBlock(3, 3);
    DrawPlayScreen(game);
    for (int i = 1; i < row.gapFrames; ++i) DrawPlayScreen(game);
    breakBlock(4, 4);
    DrawPlayScreen(game);
    EXPECT_EQ(game.play.Combo, row.expCombo);
    EXPECT_EQ(game.play.Score, row.expScore);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ComboTiming,
    ::testing::Values(
        ComboRow{.name = "NextFrameGrows", .gapFrames = 1, .expCombo = 2, .expScore = 30},
        ComboRow{.name = "FiftyFramesApartGrows", .gapFrames = 50, .expCombo = 2, .expScore = 30},
        ComboRow{
            .name = "FiftyNineFramesApartGrows", .gapFrames = 59, .expCombo = 2, .expScore = 30},
        ComboRow{.name = "SixtyFramesApartEndsTheChain",
                 .gapFrames = 60,
                 .expCombo = 1,
                 .expScore = 20}),
    ::qon::test_support::RowName);

TEST_F(Scoring, SameFrameBreaksScoreInGridOrder) {
    breakBlock(0, 0);
    breakBlock(1, 0);
    breakBlock(0, 1);
    DrawPlayScreen(game);
    EXPECT_EQ(game.play.Combo, 3);
    EXPECT_EQ(game.play.Score, 10 + 20 + 30);
    EXPECT_EQ(game.play.Debris.rings[0][0].X, 28) << "(0, 0) first";
    EXPECT_EQ(game.play.Debris.rings[0][1].X, 82) << "then (0, 1): 81.5 goes to 82";
}

TEST_F(Scoring, ComboStopsAt999) {
    game.play.Combo = 998;
    game.play.ComboTimer = 30;
    breakBlock(2, 2);
    breakBlock(2, 3);
    DrawPlayScreen(game);
    EXPECT_EQ(game.play.Combo, 999);
    EXPECT_EQ(game.play.Score, 9990 * 2);
}

TEST_F(Scoring, ComboTimerNeverWrapsAround) {
    game.play.ComboTimer = -32767;
    DrawPlayScreen(game);
    DrawPlayScreen(game);
    DrawPlayScreen(game);
    EXPECT_EQ(game.play.ComboTimer, -32768);
    EXPECT_EQ(game.play.Combo, 0);
}

TEST_F(Scoring, FrozenDrawingStillRemovesAndScores) {
    breakBlock(7, 7);
    game.play.ComboTimer = 10;
    game.play.Combo = 4;
    DrawPlayScreen(game);  // as the pause menu, game over and banners do
    EXPECT_EQ(game.play.Score, 50);
    EXPECT_EQ(game.play.Combo, 5);
}

// ---- the clear test ---------------------------------------------------------------

struct ClearRow {
    const char* name;
    int row{}, column{}, kind{};
    bool broken{};  // HitPoints 0 but not yet removed
    bool expClear{};
};

class StageClear : public ::testing::TestWithParam<ClearRow> {};

TEST_P(StageClear, OnlyBreakableBlocksInRowsZeroToTwentySevenCount) {
    const ClearRow& row = GetParam();
    PlayState play;
    ResetGrid(play.StageGrid);
    for (auto& c : play.StageGrid) c.Kind = Kind::kEmpty;
    if (row.kind >= 0) {
        PutBlock(play, row.row, row.column, row.kind);
        if (row.broken)
            play.StageGrid[static_cast<std::size_t>(row.row * 12 + row.column)].HitPoints = 0;
    }
    EXPECT_EQ(IsStageClear(play), row.expClear);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StageClear,
    ::testing::Values(
        ClearRow{.name = "EmptyGrid", .kind = -1, .expClear = true},
        ClearRow{.name = "OneHitBlockInRowZero"},
        ClearRow{.name = "EightHitBlockInRow27", .row = 27, .column = 11, .kind = 7},
        ClearRow{.name = "BlockInRow28DoesNotCount", .row = 28, .expClear = true},
        ClearRow{.name = "BlockInRow29DoesNotCount",
                 .row = 29,
                 .column = 11,
                 .kind = 7,
                 .expClear = true},
        ClearRow{
            .name = "UnbreakableDoesNotCount", .row = 3, .column = 3, .kind = 8, .expClear = true},
        ClearRow{.name = "PinDoesNotCount", .row = 3, .column = 3, .kind = 101, .expClear = true},
        ClearRow{.name = "BombDoesNotCount", .row = 3, .column = 3, .kind = 111, .expClear = true},
        ClearRow{
            .name = "BrokenButNotYetRemovedStillCounts", .row = 3, .column = 3, .broken = true}),
    ::qon::test_support::RowName);

TEST(PlayStateResets, RestartStepsTheTrackBackButNotBelowMinusOne) {
    PlayState play;
    play.StageMusicIndex = 2;
    play.Score = 900;
    play.Lives = 1;
    play.Combo = 7;
    play.ComboTimer = 33;
    play.MagnetOn = play.FireBallOn = play.TrailBlink = true;
    play.Bar.Width = 288;
    Restart(play);
    EXPECT_EQ(play.StageMusicIndex, 1);
    EXPECT_EQ(play.Score, 0);
    EXPECT_EQ(play.Lives, 4);
    EXPECT_EQ(play.Combo, 7) << "the chain is left as it was";
    EXPECT_EQ(play.ComboTimer, 33);
    EXPECT_FALSE(play.MagnetOn || play.FireBallOn || play.TrailBlink);
    EXPECT_EQ(play.Bar.Width, 128);
    play.StageMusicIndex = -1;
    Restart(play);
    EXPECT_EQ(play.StageMusicIndex, -1);
}

TEST(PlayStateResets, NextStageKeepsLivesScoreAndChain) {
    PlayState play;
    play.Lives = 2;
    play.Score = 450;
    play.Combo = 3;
    play.ComboTimer = 12;
    play.MagnetOn = true;
    play.TrailRadius = {1, 1, 1, 1};
    SpawnDebris(play, 10, 10);
    ResetForNextStage(play);
    EXPECT_EQ(play.Lives, 2);
    EXPECT_EQ(play.Score, 450);
    EXPECT_EQ(play.Combo, 3);
    EXPECT_EQ(play.ComboTimer, 12);
    EXPECT_FALSE(play.MagnetOn);
    EXPECT_EQ(play.TrailRadius, (std::array<std::int16_t, 4>{6, 5, 4, 3}));
    EXPECT_EQ(play.Debris.index, 0);
    EXPECT_EQ(play.Debris.rings[0][0].Active, 0);
    EXPECT_EQ(play.Ball.X, 378);
    EXPECT_EQ(play.Ball.Y, 374);
}

TEST(PlayStateResets, NewGameKeepsTheWindToggle) {
    PlayState play;
    play.WindToggle = true;
    play.Combo = 5;
    play.StageMusicIndex = 3;
    ResetForNewGame(play);
    EXPECT_TRUE(play.WindToggle);
    EXPECT_EQ(play.Combo, 0);
    EXPECT_EQ(play.StageMusicIndex, -1);
    EXPECT_EQ(play.Lives, 4);
}

}  // namespace
}  // namespace qon::play::test
