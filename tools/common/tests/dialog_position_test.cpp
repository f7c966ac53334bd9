// SPDX-License-Identifier: MIT
// File dialogs open beside their window, where the screen has room.
#include <gtest/gtest.h>

#include "qon/test_support/rows.h"
#include "qon/tools_common/qt_prompter.h"

namespace qon::tools_common {
namespace {

using test_support::RowName;

QON_PRINT_ROWS_BY_NAME

struct PlaceRow {
    const char* name;
    QRect window{};
    QSize dialog{};
    std::optional<QPoint> position{};
};

class DialogBeside : public ::testing::TestWithParam<PlaceRow> {};

TEST_P(DialogBeside, KeepsTheWindowInSight) {
    const PlaceRow& row = GetParam();
    const QRect screen(0, 0, 1280, 1024);
    const auto position = DialogPositionBeside(row.window, row.dialog, screen);
    EXPECT_EQ(position, row.position);
    if (position) {
        const QRect placed(*position, row.dialog);
        EXPECT_FALSE(placed.intersects(row.window));
        EXPECT_TRUE(screen.contains(placed));
    }
}

const PlaceRow kPlaces[] = {
    {.name = "RightOfASmallWindow",
     .window = QRect(0, 0, 560, 360),
     .dialog = QSize(640, 430),
     .position = QPoint(567, 0)},
    {.name = "LeftWhenTheRightIsFull",
     .window = QRect(660, 100, 600, 400),
     .dialog = QSize(640, 430),
     .position = QPoint(12, 100)},
    {.name = "BelowAWideWindow",
     .window = QRect(0, 0, 713, 430),
     .dialog = QSize(640, 430),
     .position = QPoint(0, 437)},
    {.name = "KeptOnScreenWhenTheWindowIsLow",
     .window = QRect(0, 800, 560, 200),
     .dialog = QSize(640, 430),
     .position = QPoint(567, 593)},
    {.name = "CentredWhenThereIsNoRoom",
     .window = QRect(100, 100, 1000, 800),
     .dialog = QSize(640, 430)},
};
INSTANTIATE_TEST_SUITE_P(Screens, DialogBeside, ::testing::ValuesIn(kPlaces), RowName);

}  // namespace
}  // namespace qon::tools_common
