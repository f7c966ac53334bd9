// SPDX-License-Identifier: MIT
// Play's random generator: the ranges the rules draw from, and a seed that survives
// every reset.

#include <gtest/gtest.h>

#include <set>

#include "qon/play/play_state.h"
#include "qon/test_support/rows.h"

namespace qon::play::test {
namespace {

QON_PRINT_ROWS_BY_NAME

struct RandomRow {
    const char* name;
    int base = 0;
    int range = 1;
};

class RandomIntTest : public ::testing::TestWithParam<RandomRow> {};

TEST_P(RandomIntTest, StaysInRangeAndReachesBothEnds) {
    const RandomRow& row = GetParam();
    PlayState play;
    SeedRandom(play, 7);
    std::set<int> seen;
    for (int i = 0; i < 20000; ++i) {
        const int value = RandomInt(play, row.base, row.range);
        ASSERT_GE(value, row.base);
        ASSERT_LE(value, row.base + row.range - 1);
        seen.insert(value);
    }
    EXPECT_EQ(*seen.begin(), row.base);
    EXPECT_EQ(*seen.rbegin(), row.base + row.range - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RandomIntTest,
    ::testing::Values(RandomRow{.name = "MiniBallSpeed", .base = 1, .range = 6},
                      RandomRow{.name = "PinDirectionNeverEight", .range = 8},
                      RandomRow{.name = "WarpX", .base = 1, .range = 639},
                      RandomRow{.name = "WarpYAboveBar", .base = 32, .range = 386 - 20},
                      RandomRow{.name = "RangeOneIsBase", .base = 5}),
    test_support::RowName);

TEST(RandomInt, SameSeedSameSequence) {
    PlayState a;
    PlayState b;
    SeedRandom(a, 7);
    SeedRandom(b, 7);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(RandomInt(a, 0, 1000), RandomInt(b, 0, 1000));
}

TEST(RandomInt, NegativeRangeRoundsTowardMinusInfinity) {
    PlayState play;
    SeedRandom(play, 7);
    for (int i = 0; i < 1000; ++i) {
        const int value = RandomInt(play, 0, -4);
        ASSERT_GE(value, -4);
        ASSERT_LE(value, 0);
    }
}

TEST(RandomInt, AnUnseededStateDrawsAsSeedOne) {
    PlayState fresh;
    PlayState seeded;
    SeedRandom(seeded, 1);
    for (int i = 0; i < 20; ++i) ASSERT_EQ(RandomInt(fresh, 0, 1000), RandomInt(seeded, 0, 1000));
}

// The shell seeds before it resets for a new game; no reset may restart the sequence.
TEST(RandomInt, ResetsLeaveTheSequenceWhereItWas) {
    PlayState reset;
    PlayState untouched;
    SeedRandom(reset, 42);
    SeedRandom(untouched, 42);
    (void)RandomInt(reset, 0, 8);
    (void)RandomInt(untouched, 0, 8);
    ResetForNewGame(reset);
    Restart(reset);
    ResetForNextStage(reset);
    ResetBallAndBar(reset);
    for (int i = 0; i < 20; ++i)
        ASSERT_EQ(RandomInt(reset, 0, 1000), RandomInt(untouched, 0, 1000));
}

}  // namespace
}  // namespace qon::play::test
