// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QImage>
#include <chrono>
#include <map>

#include "graphic_set_files.h"
#include "painting.h"
#include "qon/data/graphic_set.h"
#include "qon/stage_editor/block_images.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/media_bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"
#include "qon/tools_common/testing/watchdog.h"

namespace qon::stage_editor {
namespace {

using test::BmpColour;
using test::MakeGraphicSet;
using test::PaintCell;
using test::SameImage;
using test::SlotColour;
using test_support::BmpBytes;
using test_support::RowName;
using test_support::ScratchFolder;
using test_support::WriteBytes;

QON_PRINT_ROWS_BY_NAME

TEST(BuiltInImages, AreTwentyDistinctTiles) {
    BlockImages images;
    std::vector<QImage> all(images.BlockS.begin(), images.BlockS.end());
    all.insert(all.end(), images.SBlockS.begin(), images.SBlockS.end());
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].size(), QSize(53, 15)) << i;
        EXPECT_EQ(all[i].depth(), 24) << i;
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_FALSE(SameImage(all[i], all[j])) << i << " vs " << j;
    }
}

// Every code is drawn with the picture the game uses for it: codes 103..107 are not
// in slot order.
TEST(GridPicture, EveryCodeShowsTheGamesImage) {
    ScratchFolder dir;
    BlockImages images;
    ASSERT_EQ(images.loadGraphicSet(MakeGraphicSet(dir, 25)).problem, "");

    const std::map<int, int> fileSlotOfCode = {
        {0, 0},    {1, 1},    {2, 2},    {3, 3},    {4, 4},    {5, 5},    {6, 6},
        {7, 7},    {8, 8},    {101, 9},  {102, 10}, {107, 11}, {103, 12}, {104, 13},
        {105, 14}, {106, 15}, {108, 16}, {109, 17}, {110, 18}, {111, 19}};
    StageProjectDocument document;
    document.newProject("p", 1, "s");
    int cell = 0;
    for (const auto& [code, slot] : fileSlotOfCode) {
        PaintCell(document, cell % kGridColumns, cell / kGridColumns, code);
        ++cell;
    }
    document.pointerMoved(700, 600);
    QImage backS(kGridAreaWidth, kGridAreaHeight, QImage::Format_RGB32);
    RedrawGrid(backS, document, images);
    cell = 0;
    for (const auto& [code, slot] : fileSlotOfCode) {
        int x = 2 + 53 * (cell % kGridColumns) + 26;
        int y = 15 * (cell / kGridColumns) + 7;
        EXPECT_EQ(backS.pixel(x, y), SlotColour(slot)) << "code " << code;
        ++cell;
    }
}

struct ShortSetRow {
    const char* name;
    int lines = 25;
    int expectedLoaded = 0;
};

class ShortGraphicSet : public ::testing::TestWithParam<ShortSetRow> {};

TEST_P(ShortGraphicSet, ReplacesOnlyTheImagesItHolds) {
    const auto& row = GetParam();
    ScratchFolder dir;
    BlockImages images;
    const BlockImages builtIn;
    std::string path = MakeGraphicSet(dir, row.lines);
    auto result = images.loadGraphicSet(path);
    EXPECT_EQ(result.loaded, row.expectedLoaded);
    if (row.expectedLoaded < 20)
        EXPECT_NE(result.problem.find(path), std::string::npos) << result.problem;
    else
        EXPECT_EQ(result.problem, "");
    for (int slot = 0; slot < 20; ++slot) {
        const QImage& now = slot < 9 ? images.BlockS[static_cast<std::size_t>(slot)]
                                     : images.SBlockS[static_cast<std::size_t>(slot - 9)];
        const QImage& old = slot < 9 ? builtIn.BlockS[static_cast<std::size_t>(slot)]
                                     : builtIn.SBlockS[static_cast<std::size_t>(slot - 9)];
        if (slot < row.expectedLoaded)
            EXPECT_EQ(now.pixel(20, 7), SlotColour(slot)) << slot;
        else
            EXPECT_TRUE(SameImage(now, old)) << slot;
    }
}

const ShortSetRow kShortSetRows[] = {
    {.name = "NamesOnly", .lines = 2, .expectedLoaded = 0},
    {.name = "BlocksAndOneSpecial", .lines = 12, .expectedLoaded = 10},
    {.name = "OneSpecialShort", .lines = 21, .expectedLoaded = 19},
    {.name = "PartLinesMissing", .lines = 22, .expectedLoaded = 20},
    {.name = "Whole", .lines = 25, .expectedLoaded = 20},
};
INSTANTIATE_TEST_SUITE_P(Lines, ShortGraphicSet, ::testing::ValuesIn(kShortSetRows), RowName);

TEST(GraphicSet, StopsAtAPictureThatCannotBeLoaded) {
    ScratchFolder dir;
    BlockImages images;
    const BlockImages builtIn;
    auto result = images.loadGraphicSet(MakeGraphicSet(dir, 25, 12));
    EXPECT_EQ(result.loaded, 12);
    EXPECT_NE(result.problem.find("pic12.bmp"), std::string::npos) << result.problem;
    EXPECT_EQ(images.SBlockS[2].pixel(20, 7), SlotColour(11));
    EXPECT_TRUE(SameImage(images.SBlockS[3], builtIn.SBlockS[3]));
}

// A named pipe never delivers a picture and must not hold the editor: opening it for
// reading would block until some other program wrote to it.
TEST(GraphicSet, NamedPipeAsABitmapStopsTheLoadAtOnce) {
    ScratchFolder dir;
    const std::string path = MakeGraphicSet(dir, 25, 3);
    ASSERT_EQ(::mkfifo(dir.file("pic3.bmp").c_str(), 0600), 0);
    BlockImages images;
    const BlockImages builtIn;
    BlockImages::LoadResult result;
    {
        tools_common::testing::Watchdog watchdog(std::chrono::seconds(20),
                                                 "opening a graphic set with a pipe as a bitmap");
        result = images.loadGraphicSet(path);
    }
    EXPECT_EQ(result.loaded, 3);
    EXPECT_NE(result.problem.find("pic3.bmp"), std::string::npos) << result.problem;
    EXPECT_EQ(images.BlockS[2].pixel(20, 7), SlotColour(2));
    EXPECT_TRUE(SameImage(images.BlockS[3], builtIn.BlockS[3]));
}

TEST(GraphicSet, MissingFileChangesNothingAndNamesTheFile) {
    ScratchFolder dir;
    BlockImages images;
    const BlockImages builtIn;
    auto result = images.loadGraphicSet(dir.file("none.bgp"));
    EXPECT_EQ(result.loaded, 0);
    EXPECT_NE(result.problem.find("none.bgp"), std::string::npos) << result.problem;
    EXPECT_TRUE(SameImage(images.BlockS[0], builtIn.BlockS[0]));
}

TEST(GridPicture, LargePictureShowsItsTopLeftCorner) {
    ScratchFolder dir;
    std::string path = MakeGraphicSet(dir, 25);
    // Red in the top-left 53 x 15 pixels, blue elsewhere.
    WriteBytes(dir.file("pic0.bmp"), BmpBytes(100, 40, [](int x, int y) {
                   return x < 53 && y < 15 ? BmpColour(qRgb(255, 0, 0))
                                           : BmpColour(qRgb(0, 0, 255));
               }));
    BlockImages images;
    ASSERT_EQ(images.loadGraphicSet(path).problem, "");
    StageProjectDocument document;
    document.newProject("p", 1, "s");
    PaintCell(document, 0, 1, 0);  // cell 0,1 spans x 2..54, y 15..29
    document.pointerMoved(test::CellCentreX(6), test::CellCentreY(20));  // cursor box elsewhere
    QImage backS(kGridAreaWidth, kGridAreaHeight, QImage::Format_RGB32);
    RedrawGrid(backS, document, images);
    EXPECT_EQ(backS.pixel(2, 15), qRgb(255, 0, 0));
    EXPECT_EQ(backS.pixel(54, 29), qRgb(255, 0, 0));
    EXPECT_NE(backS.pixel(55, 29), qRgb(0, 0, 255));  // nothing spills into the next cell
    EXPECT_NE(backS.pixel(54, 30), qRgb(0, 0, 255));
}

TEST(GridPicture, CursorBoxIsOnePixelLargerThanACell) {
    StageProjectDocument document;
    document.newProject("p", 1, "s");
    document.pointerMoved(test::CellCentreX(3), test::CellCentreY(4));
    QImage backS(kGridAreaWidth, kGridAreaHeight, QImage::Format_RGB32);
    RedrawGrid(backS, document, BlockImages());
    int x = 2 + 53 * 3;
    int y = 15 * 4;
    EXPECT_EQ(backS.pixel(x, y), kCursorColour);
    EXPECT_EQ(backS.pixel(x + 53, y + 15), kCursorColour);
    EXPECT_NE(backS.pixel(x + 54, y + 15), kCursorColour);
    EXPECT_NE(backS.pixel(x + 1, y + 1), kCursorColour);
}

}  // namespace
}  // namespace qon::stage_editor
