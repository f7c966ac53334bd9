// SPDX-License-Identifier: MIT
// The simple scripted player on its own: it launches a resting ball, follows a flying
// one, and keeps a ball alive in an empty field whatever its speed.
#include "qon/autoplay/simple_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "qon/test_support/rows.h"

namespace qon::autoplay {
namespace {

QON_PRINT_ROWS_BY_NAME

constexpr int kBarSpeed = 8;
constexpr int kBarTop = 386;
constexpr int kBarHeight = 12;
constexpr int kBall = 12;

// The Bar as the game moves it: Speed 8, kept within x 1 to 639 - width.
void moveBar(View& view, int stick) {
    view.barX = std::clamp(view.barX + stick * kBarSpeed, 1, 639 - view.barWidth);
}

struct RestRow {
    const char* name;
    int ballDX = 58;  // the ball's place relative to the Bar's left end
    int ballY = kBarTop - kBall;
    int barX = 320;
};

class RestingBall : public ::testing::TestWithParam<RestRow> {};

// A resting ball moves with the Bar; the player walks it a little way, waits and
// launches, for every seed within the walk and the longest wait.
TEST_P(RestingBall, IsLaunchedAfterAShortWalk) {
    const RestRow& row = GetParam();
    for (std::uint32_t seed = 1; seed <= 50; ++seed) {
        SimplePlayer player(seed);
        View view;
        view.barX = row.barX;
        view.ballX = row.barX + row.ballDX;
        view.ballY = row.ballY;
        int launchedAt = -1;
        for (int frame = 0; frame < 200 && launchedAt < 0; ++frame) {
            const Move move = player.next(view);
            if (move.launch) {
                EXPECT_EQ(move.stick, 0) << "launches only once the Bar stands";
                launchedAt = frame;
            }
            const int before = view.barX;
            moveBar(view, move.stick);
            view.ballX += view.barX - before;
        }
        ASSERT_GE(launchedAt, 0) << "seed " << seed;
        EXPECT_LE(launchedAt, SimplePlayer::kLaunchWalk / kBarSpeed + SimplePlayer::kMaxWait + 2)
            << "seed " << seed;
        EXPECT_LE(std::abs(view.barX - row.barX), SimplePlayer::kLaunchWalk + kBarSpeed);
    }
}

const RestRow kRestRows[] = {
    {.name = "OnTheBarAtTheStart"},
    {.name = "CaughtBesideTheBarByTheMagnet", .ballDX = -kBall, .ballY = kBarTop + 2},
    {.name = "OnABarAgainstTheLeftWall", .ballDX = 20, .barX = 1},
    {.name = "OnABarAgainstTheRightWall", .ballDX = 100, .barX = 511},
};

INSTANTIATE_TEST_SUITE_P(Player, RestingBall, ::testing::ValuesIn(kRestRows),
                         test_support::RowName);

struct FollowRow {
    const char* name;
    int ballX = 0;
    int expStick = 0;
};

class FlyingBall : public ::testing::TestWithParam<FollowRow> {};

TEST_P(FlyingBall, IsFollowedByTheBar) {
    SimplePlayer player(7);
    View view;
    view.barX = 256;  // centre at 320
    view.ballY = 200;
    view.ballX = GetParam().ballX;
    EXPECT_EQ(player.next(view).stick, GetParam().expStick);
}

const FollowRow kFollowRows[] = {
    {.name = "FarLeftOfTheBar", .ballX = 40, .expStick = -1},
    {.name = "FarRightOfTheBar", .ballX = 560, .expStick = 1},
    {.name = "AboveTheBarsCentre", .ballX = 314, .expStick = 0},
    {.name = "JustInsideTheDeadBand", .ballX = 314 + SimplePlayer::kDeadBand, .expStick = 0},
    {.name = "JustOutsideTheDeadBand", .ballX = 315 + SimplePlayer::kDeadBand, .expStick = 1},
};

INSTANTIATE_TEST_SUITE_P(Player, FlyingBall, ::testing::ValuesIn(kFollowRows),
                         test_support::RowName);

struct FieldRow {
    const char* name;
    int dx = 4;
    int dy = -5;
    int barWidth = 128;
    // A ball that keeps one column always lands on the same eight-pixel steps of the
    // Bar, never across an end; and turning it would change nothing.
    bool turnsAtEnds = true;
};

class EmptyField : public ::testing::TestWithParam<FieldRow> {};

// A ball bouncing between the walls, the ceiling and the Bar (the Bar's top strip and its
// one-pixel ends, as the game tests them) for a whole five minutes: the player never
// misses it, sometimes lands it across an end (which turns it), and changes its aim.
TEST_P(EmptyField, BallIsNeverLost) {
    const FieldRow& row = GetParam();
    for (std::uint32_t seed = 1; seed <= 5; ++seed) {
        SimplePlayer player(seed);
        View view;
        view.barWidth = row.barWidth;
        view.barX = 320 - row.barWidth / 2;
        view.ballX = 314;
        view.ballY = 200;
        int dx = row.dx;
        int dy = row.dy;
        int turnsAtAnEnd = 0;
        std::set<int> aims;
        for (int frame = 0; frame < 18000; ++frame) {
            moveBar(view, player.next(view).stick);
            aims.insert(player.offset());
            view.ballX += dx;
            view.ballY += dy;
            if (view.ballX < 1) view.ballX = 1, dx = -dx;
            if (view.ballX > 639 - kBall) view.ballX = 639 - kBall, dx = -dx;
            if (view.ballY < 31) view.ballY = 31, dy = -dy;
            const int left = view.ballX;
            const int right = view.ballX + kBall;
            const int top = view.ballY;
            const int bottom = view.ballY + kBall;
            const int barRight = view.barX + view.barWidth;
            const bool level = top < kBarTop + kBarHeight && bottom > kBarTop;
            if (left < barRight && right > view.barX && top < kBarTop + 1 && bottom > kBarTop) {
                view.ballY = kBarTop - kBall;
                dy = -dy;
            }
            if (level && left < view.barX + 1 && right > view.barX) {
                view.ballX = view.barX - kBall;
                dx = -dx;
                ++turnsAtAnEnd;
            }
            if (level && left < barRight && right > barRight - 1) {
                view.ballX = barRight;
                dx = -dx;
                ++turnsAtAnEnd;
            }
            ASSERT_LT(view.ballY, 490) << "lost at frame " << frame << ", seed " << seed;
        }
        if (row.turnsAtEnds) {
            EXPECT_GT(turnsAtAnEnd, 0) << "seed " << seed;
        }
        EXPECT_GT(aims.size(), 5u) << "seed " << seed;
        for (int aim : aims) EXPECT_LE(std::abs(aim), row.barWidth / 2);
    }
}

const FieldRow kFieldRows[] = {
    {.name = "LaunchSpeed"},
    {.name = "SettledByWinds", .dx = 5, .dy = 5},
    {.name = "FlatFromAPin", .dx = 7, .dy = -1},
    {.name = "SteepFromAPin", .dx = 1, .dy = 7},
    {.name = "StraightUpAndDown", .dx = 0, .dy = 8, .turnsAtEnds = false},
    {.name = "OnAWideBar", .dx = -4, .dy = 5, .barWidth = 432},
};

INSTANTIATE_TEST_SUITE_P(Player, EmptyField, ::testing::ValuesIn(kFieldRows),
                         test_support::RowName);

TEST(SimplePlayer, SameSeedSameMoves) {
    SimplePlayer a(42);
    SimplePlayer b(42);
    View view;
    view.barX = 200;
    for (int frame = 0; frame < 400; ++frame) {
        view.ballX = 300 + (frame * 7) % 200;
        view.ballY = 100 + (frame * 5) % 250;
        const Move ma = a.next(view);
        const Move mb = b.next(view);
        ASSERT_EQ(ma.stick, mb.stick) << frame;
        ASSERT_EQ(ma.launch, mb.launch) << frame;
        moveBar(view, ma.stick);
    }
}

}  // namespace
}  // namespace qon::autoplay
