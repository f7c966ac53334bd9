// SPDX-License-Identifier: MIT
// The painting tools (rectangle, flood fill, eyedropper) and the pointer at a zoom factor,
// driven on the document without a window.
#include <gtest/gtest.h>

#include <optional>

#include "painting.h"
#include "qon/stage_editor/block_images.h"
#include "qon/stage_editor/stage_project_document.h"
#include "qon/test_support/rows.h"

namespace qon::stage_editor {
namespace {

using test::CellCentreX;
using test::CellCentreY;
using test::PaintCell;
using test_support::RowName;

QON_PRINT_ROWS_BY_NAME

// ---- pointer to cell at a zoom factor ----------------------------------------------

struct ZoomedCellRow {
    const char* name;
    int zoom = 1;
    int px = 0;
    int py = 0;
    std::optional<CellPos> expected{};  // std::nullopt: no cell
};

class ZoomedPointerToCell : public ::testing::TestWithParam<ZoomedCellRow> {};

TEST_P(ZoomedPointerToCell, KeepsTheEdgeRuleDividedByTheFactor) {
    const auto& row = GetParam();
    EXPECT_EQ(CellAt(row.px, row.py, row.zoom), row.expected) << "at " << row.px << "," << row.py;
}

const ZoomedCellRow kZoomedCellRows[] = {
    {.name = "TwiceLeftEdgeX4IsNoCell", .zoom = 2, .px = 4, .py = 10},
    {.name = "TwiceX5IsFirstColumn", .zoom = 2, .px = 5, .py = 10, .expected = CellPos{0, 0}},
    {.name = "TwiceSharedEdgeX110IsLeftCell",
     .zoom = 2,
     .px = 110,
     .py = 10,
     .expected = CellPos{0, 0}},
    {.name = "TwiceX111IsSecondColumn", .zoom = 2, .px = 111, .py = 10, .expected = CellPos{1, 0}},
    {.name = "TwiceTopEdgeY0IsNoCell", .zoom = 2, .px = 10, .py = 0},
    {.name = "TwiceSharedEdgeY30IsUpperRow",
     .zoom = 2,
     .px = 10,
     .py = 30,
     .expected = CellPos{0, 0}},
    {.name = "TwiceY31IsSecondRow", .zoom = 2, .px = 10, .py = 31, .expected = CellPos{0, 1}},
    {.name = "TwiceX1276Y900IsLastCell",
     .zoom = 2,
     .px = 1276,
     .py = 900,
     .expected = CellPos{11, 29}},
    {.name = "TwiceBeyondX1276IsNoCell", .zoom = 2, .px = 1277, .py = 10},
    {.name = "TwiceBelowY900IsNoCell", .zoom = 2, .px = 10, .py = 901},
    {.name = "ThriceLeftEdgeX6IsNoCell", .zoom = 3, .px = 6, .py = 10},
    {.name = "ThriceSharedEdgeX165IsLeftCell",
     .zoom = 3,
     .px = 165,
     .py = 10,
     .expected = CellPos{0, 0}},
    {.name = "ThriceX166IsSecondColumn", .zoom = 3, .px = 166, .py = 10, .expected = CellPos{1, 0}},
    {.name = "ThriceSharedEdgeY45IsUpperRow",
     .zoom = 3,
     .px = 10,
     .py = 45,
     .expected = CellPos{0, 0}},
    {.name = "ThriceY46IsSecondRow", .zoom = 3, .px = 10, .py = 46, .expected = CellPos{0, 1}},
    {.name = "ThriceBeyondX1914IsNoCell", .zoom = 3, .px = 1915, .py = 10},
    {.name = "ZeroFactorCountsAsOne", .zoom = 0, .px = 56, .py = 5, .expected = CellPos{1, 0}},
};
INSTANTIATE_TEST_SUITE_P(Edges, ZoomedPointerToCell, ::testing::ValuesIn(kZoomedCellRows), RowName);

StageProjectDocument& WithProject(StageProjectDocument& document) {
    document.newProject("Spring", 2, "Ann");
    return document;
}

TEST(ZoomedPainting, ADragAtTwiceTheSizePaintsTheCellsItCrosses) {
    StageProjectDocument document;
    WithProject(document);
    document.setZoom(2);
    document.selectKind(4);
    document.pointerPressed(2 * CellCentreX(1), 2 * CellCentreY(3));
    document.pointerMoved(2 * CellCentreX(3), 2 * CellCentreY(3));
    document.pointerReleased();
    for (int column = 1; column <= 3; ++column) EXPECT_EQ(document.kindAt(column, 3), 4) << column;
    EXPECT_EQ(document.kindAt(0, 3), Kind::kEmpty);
    EXPECT_EQ(document.kindAt(4, 3), Kind::kEmpty);
    // The cursor box stands where the cell is in the grid's own pixels.
    EXPECT_EQ(document.state().CursorX, 2 + 53 * 3);
    EXPECT_EQ(document.state().CursorY, 15 * 3);
}

// ---- rectangle -----------------------------------------------------------------------

int CountKind(const StageProjectDocument& document, int kind) {
    int count = 0;
    for (int row = 0; row < kGridRows; ++row)
        for (int column = 0; column < kGridColumns; ++column)
            count += document.kindAt(column, row) == kind ? 1 : 0;
    return count;
}

TEST(RectangleTool, PaintsTheRectangleBetweenPressAndReleaseAsOneStep) {
    StageProjectDocument document;
    WithProject(document);
    document.setTool(PaintTool::Rectangle);
    document.selectKind(Kind::Bomb);
    document.pointerPressed(CellCentreX(4), CellCentreY(6));
    document.pointerMoved(CellCentreX(2), CellCentreY(3));  // up and to the left
    // Nothing is painted before the release; the pending rectangle is shown instead.
    EXPECT_EQ(CountKind(document, Kind::Bomb), 0);
    ASSERT_TRUE(document.pendingRectangle().has_value());
    EXPECT_EQ(document.pendingRectangle()->left(), 2);
    EXPECT_EQ(document.pendingRectangle()->right(), 4);
    EXPECT_EQ(document.pendingRectangle()->top(), 3);
    EXPECT_EQ(document.pendingRectangle()->bottom(), 6);
    document.pointerReleased();
    EXPECT_FALSE(document.pendingRectangle().has_value());
    EXPECT_EQ(CountKind(document, Kind::Bomb), 3 * 4);
    EXPECT_EQ(document.kindAt(2, 3), Kind::Bomb);
    EXPECT_EQ(document.kindAt(4, 6), Kind::Bomb);
    EXPECT_EQ(document.kindAt(5, 6), Kind::kEmpty);

    document.undo();
    EXPECT_EQ(CountKind(document, Kind::Bomb), 0);
    EXPECT_FALSE(document.canUndo());
}

TEST(RectangleTool, ReleaseOffTheGridEndsOnTheLastCellReached) {
    StageProjectDocument document;
    WithProject(document);
    document.setTool(PaintTool::Rectangle);
    document.selectKind(1);
    document.pointerPressed(CellCentreX(10), 540);  // pressed on the panel ground
    document.pointerMoved(CellCentreX(10), CellCentreY(28));
    document.pointerMoved(CellCentreX(11), CellCentreY(29));
    document.pointerMoved(700, 600);  // out of the grid again
    document.pointerReleased();
    EXPECT_EQ(CountKind(document, 1), 4);
    EXPECT_EQ(document.kindAt(10, 28), 1);
    EXPECT_EQ(document.kindAt(11, 29), 1);
}

TEST(RectangleTool, PressAndReleaseOnOneCellPaintsThatCell) {
    StageProjectDocument document;
    WithProject(document);
    document.setTool(PaintTool::Rectangle);
    PaintCell(document, 7, 7, 102);
    EXPECT_EQ(CountKind(document, 102), 1);
    EXPECT_EQ(document.kindAt(7, 7), 102);
}

// ---- flood fill ------------------------------------------------------------------------

TEST(FillTool, FillsTheCellsOfTheSameKindJoinedBySides) {
    StageProjectDocument document;
    WithProject(document);
    // A wall of unbreakable blocks down column 5; a diagonal neighbour across it does not join.
    for (int row = 0; row < kGridRows; ++row) PaintCell(document, 5, row, Kind::kUnbreakable);
    PaintCell(document, 6, 0, 3);
    document.setTool(PaintTool::Fill);
    document.selectKind(0);
    document.pointerPressed(CellCentreX(2), CellCentreY(10));
    document.pointerReleased();
    EXPECT_EQ(CountKind(document, 0), 5 * kGridRows);  // columns 0..4
    EXPECT_EQ(document.kindAt(4, 29), 0);
    EXPECT_EQ(document.kindAt(5, 10), Kind::kUnbreakable);
    EXPECT_EQ(document.kindAt(6, 1), Kind::kEmpty);
    EXPECT_EQ(document.kindAt(6, 0), 3);

    document.undo();  // the whole fill is one step
    EXPECT_EQ(CountKind(document, 0), 0);
    EXPECT_EQ(document.kindAt(5, 10), Kind::kUnbreakable);
}

TEST(FillTool, FillingWithTheSameKindIsNoStep) {
    StageProjectDocument document;
    WithProject(document);
    document.setTool(PaintTool::Fill);
    document.selectKind(Kind::kEmpty);
    document.pointerPressed(CellCentreX(2), CellCentreY(2));
    document.pointerReleased();
    EXPECT_EQ(document.kindAt(2, 2), Kind::kEmpty);
    EXPECT_FALSE(document.canUndo());
    EXPECT_FALSE(document.isModified());
}

TEST(FillTool, DraggingAfterTheFillPaintsNothingMore) {
    StageProjectDocument document;
    WithProject(document);
    PaintCell(document, 0, 0, 2);
    document.setTool(PaintTool::Fill);
    document.selectKind(6);
    document.pointerPressed(CellCentreX(0), CellCentreY(0));
    document.pointerMoved(CellCentreX(3), CellCentreY(3));
    document.pointerReleased();
    EXPECT_EQ(document.kindAt(0, 0), 6);
    EXPECT_EQ(CountKind(document, 6), 1);
}

// ---- eyedropper --------------------------------------------------------------------------

TEST(Eyedropper, TakesTheKindAndHandsBackToThePreviousTool) {
    StageProjectDocument document;
    WithProject(document);
    PaintCell(document, 3, 4, Kind::Warp);
    document.setTool(PaintTool::Rectangle);
    document.setTool(PaintTool::Eyedropper);
    document.selectKind(1);
    document.pointerPressed(CellCentreX(3), CellCentreY(4));
    document.pointerMoved(CellCentreX(6), CellCentreY(6));
    document.pointerReleased();
    EXPECT_EQ(document.state().SelectedKind, Kind::Warp);
    EXPECT_EQ(document.tool(), PaintTool::Rectangle);
    EXPECT_EQ(CountKind(document, Kind::Warp), 1);  // picking paints nothing
    EXPECT_EQ(document.statusTextWithName(), "X=6,Y=6,Type=255 (空)");
}

TEST(Eyedropper, AltClickPicksWithAnyToolAndPaintsNothing) {
    StageProjectDocument document;
    WithProject(document);
    PaintCell(document, 1, 1, 7);
    document.selectKind(Kind::Pin);
    document.pointerPressed(CellCentreX(1), CellCentreY(1), /*pick=*/true);
    document.pointerMoved(CellCentreX(4), CellCentreY(1));
    document.pointerReleased();
    EXPECT_EQ(document.state().SelectedKind, 7);
    EXPECT_EQ(document.tool(), PaintTool::Pen);
    EXPECT_EQ(CountKind(document, Kind::Pin), 0);
    EXPECT_EQ(document.kindAt(4, 1), Kind::kEmpty);
}

TEST(Eyedropper, AMissStaysTheEyedropper) {
    StageProjectDocument document;
    WithProject(document);
    document.setTool(PaintTool::Eyedropper);
    document.selectKind(3);
    document.pointerPressed(100, 540);  // the panel, no cell
    document.pointerReleased();
    EXPECT_EQ(document.tool(), PaintTool::Eyedropper);
    EXPECT_EQ(document.state().SelectedKind, 3);
}

// ---- names on the status bar ---------------------------------------------------------------

TEST(StatusText, AddsTheNameOfTheKindUnderThePointer) {
    StageProjectDocument document;
    EXPECT_EQ(document.statusTextWithName(), "X=0,Y=0,Type=0");  // nothing to name yet
    WithProject(document);
    PaintCell(document, 3, 12, Kind::Pin);
    EXPECT_EQ(document.statusText(), "X=3,Y=12,Type=101");
    EXPECT_EQ(document.statusTextWithName(), "X=3,Y=12,Type=101 (ピン)");
    // A code no block has (only a hand-made file holds one) is named as unknown.
    EXPECT_EQ(KindName(60), "不明");
}

// ---- enlarged pictures -----------------------------------------------------------------------

TEST(ScaleWhole, EveryPixelBecomesASquareOfItsColour) {
    QImage image(2, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 0, 255));
    const QImage scaled = ScaleWhole(image, 3);
    ASSERT_EQ(scaled.size(), QSize(6, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(scaled.pixel(x, y), x < 3 ? qRgb(255, 0, 0) : qRgb(0, 0, 255))
                << x << "," << y;
    EXPECT_EQ(ScaleWhole(image, 1), image);
}

}  // namespace
}  // namespace qon::stage_editor
