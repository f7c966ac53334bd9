// SPDX-License-Identifier: MIT
// The stage rules against stages made to keep or to break them: each rule must be able
// to fail, and must not fail where a ball can in fact get through.
#include "stage_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "qon/data/stage.h"
#include "qon/test_support/rows.h"
#include "stages.h"

namespace qon::content {
namespace {

QON_PRINT_ROWS_BY_NAME

// Rows from the top in the layout characters of the generator.
StageGrid gridOf(const std::vector<std::string>& rows) {
    StageGrid grid;
    ResetEditorGrid(grid);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (std::size_t column = 0; column < rows[row].size(); ++column) {
            grid[row * kGridColumns + column].Kind =
                static_cast<std::int16_t>(KindForSymbol(rows[row][column]));
        }
    }
    return grid;
}

int countOf(const std::vector<std::string>& breaks, std::string_view rule) {
    int count = 0;
    for (const std::string& text : breaks) count += text.starts_with(rule) ? 1 : 0;
    return count;
}

struct RuleRow {
    const char* name;
    std::vector<std::string> rows;
    int expRows = 0;
    int expGaps = 0;
    int expReach = 0;
    bool expPocket = false;
};

std::vector<std::string> rowsAt(int firstRow, std::vector<std::string> rows) {
    std::vector<std::string> all(static_cast<std::size_t>(firstRow), "............");
    all.insert(all.end(), rows.begin(), rows.end());
    return all;
}

const RuleRow kRuleRows[] = {
    {.name = "OpenWallKeepsEveryRule", .rows = rowsAt(3, {"111111111111", "2222B2222222"})},
    {.name = "BlockBelowRow17IsTooCloseToTheBar",
     .rows = rowsAt(17, {"1...........", "1..........."}),
     .expRows = 1},
    {.name = "StageOfSteelAloneWouldClearAtOnce", .rows = {"....####...."}, .expRows = 1},
    {.name = "SteelBoxSealsItsBlocks",
     .rows = rowsAt(2, {"....###.....", "....#1#.....", "....#1#.....", "....###....."}),
     .expReach = 2},
    {.name = "OneColumnOpeningLetsTheBallIn",
     .rows = rowsAt(2, {"....###.....", "....#1#.....", "....#1#.....", "....#.#....."})},
    {.name = "BlocksInTheOpeningGiveWay",
     .rows = rowsAt(2, {"....###.....", "....#1#.....", "....#1#.....", "....#1#....."})},
    {.name = "SpecialBlocksInTheOpeningLetTheBallThrough",
     .rows = rowsAt(2, {"....###.....", "....#1#.....", "....#1#.....", "....#W#....."})},
    {.name = "SteelTouchingAtCornersLeavesNoWay",
     .rows = rowsAt(3, {"..#.........", ".#1#........", ".#1#........", "..#........."}),
     .expReach = 2},
    {.name = "OneRowSlotUnderTheTop",
     .rows = {"............", "####........", "..11........"},
     .expGaps = 4},
    {.name = "OneRowSlotBetweenSteelOfAColumn",
     .rows = rowsAt(3, {"..#.........", "............", "..#.....11.."}),
     .expGaps = 1},
    {.name = "TwoRowsBetweenSteelAreEnough",
     .rows = rowsAt(3, {"..#.........", "............", "............", "..#.....11.."})},
    {.name = "OneRowCorridorIsNoWayUp",
     .rows = rowsAt(
         2, {"111111111111", "............", "###########.", "............", ".###########"}),
     .expGaps = 10,
     .expReach = 12},
    {.name = "BombBlastsTheSteelBoxOpen",
     .rows = rowsAt(2, {"....###.....", "....#1#B....", "....#1#.....", "....###....."})},
    {.name = "BombSealedInNeverGoesOff",
     .rows = rowsAt(2, {"....####....", "....#1B#....", "....#11#....", "....####...."}),
     .expReach = 3},
    {.name = "WarpCouldDropTheBallIntoASealedPocket",
     .rows = rowsAt(
         2, {"...####.....", "...#..#.....", "...#..#.....", "...####.....", "", "W....1......"}),
     .expPocket = true},
    {.name = "SealedPocketIsHarmlessWithoutAWarp",
     .rows = rowsAt(
         2, {"...####.....", "...#..#.....", "...#..#.....", "...####.....", "", ".....1......"})},
};

class StageRules : public ::testing::TestWithParam<RuleRow> {};

TEST_P(StageRules, FindExactlyTheBrokenRules) {
    const RuleRow& row = GetParam();
    const std::vector<std::string> breaks = CheckStageRules(gridOf(row.rows));
    std::string all;
    for (const std::string& text : breaks) all += text + "\n";
    EXPECT_EQ(countOf(breaks, "rows:"), row.expRows) << all;
    EXPECT_EQ(countOf(breaks, "gaps:"), row.expGaps) << all;
    EXPECT_EQ(countOf(breaks, "reach:"), row.expReach) << all;
    EXPECT_EQ(countOf(breaks, "pockets:") > 0, row.expPocket) << all;
}

INSTANTIATE_TEST_SUITE_P(Stages, StageRules, ::testing::ValuesIn(kRuleRows), test_support::RowName);

TEST(StageRulesText, NamesTheRowAndColumnOfTheBlock) {
    const auto breaks = CheckStageRules(
        gridOf(rowsAt(2, {"....###.....", "....#1#.....", "....#.#.....", "....###....."})));
    ASSERT_EQ(breaks.size(), 1u);
    EXPECT_EQ(breaks[0], "reach: row 3, column 5: the ball cannot get to this block");
}

}  // namespace
}  // namespace qon::content
