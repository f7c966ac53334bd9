// SPDX-License-Identifier: MIT
// The bar wipe of the logo and the ending pages, drawn into the headless back buffer.

#include <gtest/gtest.h>

#include "qon/headless/headless.h"
#include "qon/test_support/rows.h"
#include "screen_style.h"

namespace qon::shell {
namespace {

QON_PRINT_ROWS_BY_NAME

struct WipeRow {
    const char* name;
    int width = 1;
    int firstBlack = 0;  // columns around x = 100 that the bar covers
    int lastBlack = 0;
};

class BarWipeTest : public ::testing::TestWithParam<WipeRow> {};

TEST_P(BarWipeTest, BarsHaveTheirWidthAroundEveryTenthColumn) {
    const WipeRow& row = GetParam();
    headless::HeadlessMedia media;
    media::Surface& back = media.BackBuffer();
    const std::uint32_t white = media.ToSurfaceColor(detail::kWhite);
    media.FillSurface(back, white);
    detail::DrawBarWipe(media, row.width);
    for (int y : {0, 240, 479}) {
        EXPECT_EQ(media.PixelAt(back, 100 + row.firstBlack, y), 0u);
        EXPECT_EQ(media.PixelAt(back, 100 + row.lastBlack, y), 0u);
        EXPECT_EQ(media.PixelAt(back, 100 + row.firstBlack - 1, y), white);
        EXPECT_EQ(media.PixelAt(back, 100 + row.lastBlack + 1, y), white);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, BarWipeTest,
    ::testing::Values(
        WipeRow{.name = "ThinnestBar", .width = 1},
        WipeRow{.name = "MiddleBar", .width = 5, .firstBlack = -2, .lastBlack = 2},
        WipeRow{.name = "WidestBarLeavesOneGap", .width = 9, .firstBlack = -4, .lastBlack = 4}),
    test_support::RowName);

}  // namespace
}  // namespace qon::shell
