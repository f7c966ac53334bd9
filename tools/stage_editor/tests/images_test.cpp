// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QImage>
#include <map>

#include "qon/data/graphic_set.h"
#include "qon/tessel/block_images.h"
#include "test_support.h"

namespace qon::tessel {
namespace {

using test::CrLf;
using test::PaintCell;
using test::TempDir;
using test::WriteBytes;

// A distinct solid colour for each of the 20 palette images (file order).
QRgb SlotColour(int fileSlot) {
    return qRgb(10 + fileSlot * 11, 200 - fileSlot * 7, (fileSlot * 53) % 256);
}

// Writes 20 solid-colour bitmaps and a graphic set file naming them, cut to
// `lines` lines (25 for a whole file).
std::string MakeGraphicSet(const TempDir& dir, int lines, int missingPicture = -1) {
    std::vector<std::string> text = {"Test set", "Painter"};
    for (int slot = 0; slot < kBitmapSlots; ++slot) {
        std::string name = "pic" + std::to_string(slot) + ".bmp";
        text.push_back(name);
        if (slot < 20 && slot != missingPicture) {
            QImage image(53, 15, QImage::Format_RGB888);
            image.fill(SlotColour(slot));
            EXPECT_TRUE(image.save(QString::fromStdString(dir.file(name)), "BMP"));
        }
    }
    text.resize(static_cast<std::size_t>(lines));
    std::string path = dir.file("set.bgp");
    WriteBytes(path, CrLf(text));
    return path;
}

bool SameImage(const QImage& a, const QImage& b) {
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

TEST(TesselBuiltInImages, AreTwentyDistinctTiles) {
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
TEST(TesselGridPicture, EveryCodeShowsTheGamesImage) {
    TempDir dir;
    BlockImages images;
    ASSERT_EQ(images.loadGraphicSet(MakeGraphicSet(dir, 25)).problem, "");

    const std::map<int, int> fileSlotOfCode = {
        {0, 0},    {1, 1},    {2, 2},    {3, 3},    {4, 4},    {5, 5},    {6, 6},
        {7, 7},    {8, 8},    {101, 9},  {102, 10}, {107, 11}, {103, 12}, {104, 13},
        {105, 14}, {106, 15}, {108, 16}, {109, 17}, {110, 18}, {111, 19}};
    EditorModel model;
    model.newProject("p", 1, "s");
    int cell = 0;
    for (const auto& [code, slot] : fileSlotOfCode) {
        PaintCell(model, cell % kGridColumns, cell / kGridColumns, code);
        ++cell;
    }
    model.pointerMoved(700, 600);
    QImage backS(kGridAreaWidth, kGridAreaHeight, QImage::Format_RGB32);
    RedrawGrid(backS, model, images);
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
    int lines;
    int expectedLoaded;
};

class TesselShortGraphicSetTest : public ::testing::TestWithParam<ShortSetRow> {};

TEST_P(TesselShortGraphicSetTest, ReplacesOnlyTheImagesItHolds) {
    const auto& row = GetParam();
    TempDir dir;
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

INSTANTIATE_TEST_SUITE_P(Lines, TesselShortGraphicSetTest,
                         ::testing::Values(ShortSetRow{"NamesOnly", 2, 0},
                                           ShortSetRow{"BlocksAndOneSpecial", 12, 10},
                                           ShortSetRow{"OneSpecialShort", 21, 19},
                                           ShortSetRow{"PartLinesMissing", 22, 20},
                                           ShortSetRow{"Whole", 25, 20}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TesselGraphicSet, StopsAtAPictureThatCannotBeLoaded) {
    TempDir dir;
    BlockImages images;
    const BlockImages builtIn;
    auto result = images.loadGraphicSet(MakeGraphicSet(dir, 25, 12));
    EXPECT_EQ(result.loaded, 12);
    EXPECT_NE(result.problem.find("pic12.bmp"), std::string::npos) << result.problem;
    EXPECT_EQ(images.SBlockS[2].pixel(20, 7), SlotColour(11));
    EXPECT_TRUE(SameImage(images.SBlockS[3], builtIn.SBlockS[3]));
}

TEST(TesselGraphicSet, MissingFileChangesNothingAndNamesTheFile) {
    TempDir dir;
    BlockImages images;
    const BlockImages builtIn;
    auto result = images.loadGraphicSet(dir.file("none.bgp"));
    EXPECT_EQ(result.loaded, 0);
    EXPECT_NE(result.problem.find("none.bgp"), std::string::npos) << result.problem;
    EXPECT_TRUE(SameImage(images.BlockS[0], builtIn.BlockS[0]));
}

TEST(TesselGridPicture, LargePictureShowsItsTopLeftCorner) {
    TempDir dir;
    std::string path = MakeGraphicSet(dir, 25);
    QImage big(100, 40, QImage::Format_RGB888);
    big.fill(qRgb(0, 0, 255));
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 53; ++x) big.setPixel(x, y, qRgb(255, 0, 0));
    ASSERT_TRUE(big.save(QString::fromStdString(dir.file("pic0.bmp")), "BMP"));
    BlockImages images;
    ASSERT_EQ(images.loadGraphicSet(path).problem, "");
    EditorModel model;
    model.newProject("p", 1, "s");
    PaintCell(model, 0, 1, 0);  // cell 0,1 spans x 2..54, y 15..29
    model.pointerMoved(test::CellCentreX(6), test::CellCentreY(20));  // cursor box elsewhere
    QImage backS(kGridAreaWidth, kGridAreaHeight, QImage::Format_RGB32);
    RedrawGrid(backS, model, images);
    EXPECT_EQ(backS.pixel(2, 15), qRgb(255, 0, 0));
    EXPECT_EQ(backS.pixel(54, 29), qRgb(255, 0, 0));
    EXPECT_NE(backS.pixel(55, 29), qRgb(0, 0, 255));  // nothing spills into the next cell
    EXPECT_NE(backS.pixel(54, 30), qRgb(0, 0, 255));
}

TEST(TesselGridPicture, CursorBoxIsOnePixelLargerThanACell) {
    EditorModel model;
    model.newProject("p", 1, "s");
    model.pointerMoved(test::CellCentreX(3), test::CellCentreY(4));
    QImage backS(kGridAreaWidth, kGridAreaHeight, QImage::Format_RGB32);
    RedrawGrid(backS, model, BlockImages());
    int x = 2 + 53 * 3;
    int y = 15 * 4;
    EXPECT_EQ(backS.pixel(x, y), kCursorColour);
    EXPECT_EQ(backS.pixel(x + 53, y + 15), kCursorColour);
    EXPECT_NE(backS.pixel(x + 54, y + 15), kCursorColour);
    EXPECT_NE(backS.pixel(x + 1, y + 1), kCursorColour);
}

}  // namespace
}  // namespace qon::tessel
