// SPDX-License-Identifier: MIT
// The intro, clear and miss banners: frame counts, positions and what runs behind them.

#include <gtest/gtest.h>

#include "play_test_support.h"
#include "qon/test_support/rows.h"

namespace qon::play::test {
namespace {

QON_PRINT_ROWS_BY_NAME

class Banner : public ::testing::Test {
  protected:
    Banner() : game(media) { PrepareGameForTest(game); }
    std::vector<int> xPositionsOf(const std::string& word) {
        std::vector<int> xs;
        for (const TextCall& t : media.texts) {
            if (t.text == word) {
                EXPECT_EQ(t.y, 203);
                EXPECT_EQ(t.size, 24);
                xs.push_back(t.x);
            }
        }
        return xs;
    }
    TestMedia media;
    Game game;
};

TEST_F(Banner, IntroSlidesNinetyOneFramesThenHoldsOneHundredFiftyOne) {
    game.play.StageNumber = 12;
    PutBlock(game.play, 3, 3, 0);
    media.recordDrawing = true;
    ShowStageIntro(game);
    EXPECT_EQ(media.framesPresented(), 91 + 151);
    const std::vector<int> xs = xPositionsOf("STAGE 12");
    // 92 slide drawings (the last one, t = 185, is never shown) of two copies, then the
    // hold.
    ASSERT_EQ(xs.size(), 2u * 92u + 151u);
    EXPECT_EQ(xs[0], -270);
    EXPECT_EQ(xs[1], 707);
    EXPECT_EQ(xs[2 * 90], 180);  // last shown slide frame
    EXPECT_EQ(xs[2 * 90 + 1], 257);
    EXPECT_EQ(xs[2 * 91], 185);  // drawn, not shown
    for (std::size_t i = 2 * 92; i < xs.size(); ++i) EXPECT_EQ(xs[i], 240);
    EXPECT_TRUE(media.blits.empty()) << "the intro shows no blocks, ball or status line";
    EXPECT_EQ(media.texts.size(), xs.size()) << "only the banner word";
    EXPECT_EQ(game.screen, "intro");
}

TEST_F(Banner, ClearRunsTheFrozenFieldBehindEveryDrawing) {
    game.play.ComboTimer = 300;
    game.play.Combo = 3;
    SpawnDebris(game.play, 100, 100);
    media.recordDrawing = true;
    ShowStageClear(game);
    EXPECT_EQ(media.framesPresented(), 242);
    // 243 drawings of the field (one per banner drawing, the unshown one included), so
    // the combo timer ran down 243 frames and the trail blink flipped 243 times.
    EXPECT_EQ(game.play.ComboTimer, 300 - 243);
    EXPECT_TRUE(game.play.TrailBlink);
    EXPECT_EQ(game.play.Combo, 3);
    EXPECT_EQ(game.play.Debris.rings[0][0].Active, 0) << "debris kept flying and died";
    EXPECT_EQ(xPositionsOf("STAGE CLEAR").size(), 2u * 92u + 151u);
    EXPECT_EQ(game.screen, "clear");
}

TEST_F(Banner, ComboRunsOutDuringTheBanner) {
    game.play.ComboTimer = 60;
    game.play.Combo = 9;
    ShowStageClear(game);
    EXPECT_EQ(game.play.Combo, 0);
}

TEST_F(Banner, MissBannerStillRemovesAndScoresBrokenBlocks) {
    PutBlock(game.play, 4, 4, 0);
    game.play.StageGrid[4 * kGridColumns + 4].HitPoints = 0;
    ShowMiss(game);
    EXPECT_EQ(game.play.Score, 10);
    EXPECT_EQ(game.play.StageGrid[4 * kGridColumns + 4].Alive, 0);
}

struct MissRow {
    const char* name;
    int livesBefore{};
    bool expGameOver{};
};

class Miss : public Banner, public ::testing::WithParamInterface<MissRow> {};

TEST_P(Miss, TakesOneLifeAndPutsTheBallBackOnANarrowBar) {
    const MissRow& row = GetParam();
    game.play.Lives = static_cast<std::int16_t>(row.livesBefore);
    game.play.Bar.Width = 288;
    game.play.Bar.X = 40;
    game.play.MagnetOn = true;
    game.play.FireBallOn = true;
    game.play.Score = 120;
    game.play.Ball = BallBody{200, 495, 12, 12, 3, 5};
    game.play.MiniBallRing.slots[7].Active = 1;
    PutBlock(game.play, 1, 1, 5);
    EXPECT_EQ(ShowMiss(game), row.expGameOver);
    EXPECT_EQ(media.framesPresented(), 242) << "the whole banner, even for the last life";
    EXPECT_EQ(game.play.Lives, row.livesBefore - 1);
    EXPECT_EQ(game.play.Bar.Width, 128);
    EXPECT_EQ(game.play.Bar.X, 320);
    EXPECT_EQ(game.play.Ball.X, 378);
    EXPECT_EQ(game.play.Ball.Y, 374);
    EXPECT_EQ(game.play.Ball.DX, 0);
    EXPECT_EQ(game.play.MiniBallRing.slots[7].Active, 0);
    EXPECT_TRUE(game.play.MagnetOn) << "a miss keeps the items";
    EXPECT_TRUE(game.play.FireBallOn);
    EXPECT_EQ(game.play.Score, 120);
    EXPECT_EQ(game.play.StageGrid[1 * kGridColumns + 1].HitPoints, 6) << "blocks stay as they are";
}

INSTANTIATE_TEST_SUITE_P(
    Table, Miss,
    ::testing::Values(MissRow{.name = "FourLivesLeaveThree", .livesBefore = 4},
                      MissRow{.name = "SecondLastLife", .livesBefore = 2},
                      MissRow{.name = "LastLifeIsGameOver", .livesBefore = 1, .expGameOver = true}),
    ::qon::test_support::RowName);

}  // namespace
}  // namespace qon::play::test
