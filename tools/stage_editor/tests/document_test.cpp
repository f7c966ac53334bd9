// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "painting.h"
#include "qon/data/save_file.h"
#include "qon/data/stage.h"
#include "qon/stage_editor/stage_project_document.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::stage_editor {
namespace {

using test::CellCentreX;
using test::CellCentreY;
using test::CrLf;
using test::PaintCell;
using test_support::Exists;
using test_support::ReadBytes;
using test_support::RowName;
using test_support::ScratchFolder;
using test_support::WriteBytes;

QON_PRINT_ROWS_BY_NAME

const std::string kFixtures = QON_STAGE_EDITOR_FIXTURES;

// ---- pointer to cell ---------------------------------------------------------------

struct CellAtRow {
    const char* name;
    int px = 0;
    int py = 0;
    std::optional<CellPos> expected{};  // std::nullopt: no cell
};

class PointerToCell : public ::testing::TestWithParam<CellAtRow> {};

TEST_P(PointerToCell, MapsPointerToCell) {
    const auto& row = GetParam();
    EXPECT_EQ(CellAt(row.px, row.py), row.expected) << "at " << row.px << "," << row.py;
}

const CellAtRow kCellAtRows[] = {
    {.name = "LeftEdgeX2IsNoCell", .px = 2, .py = 5},
    {.name = "X3IsFirstColumn", .px = 3, .py = 5, .expected = CellPos{0, 0}},
    {.name = "SharedEdgeX55IsLeftCell", .px = 55, .py = 5, .expected = CellPos{0, 0}},
    {.name = "X56IsSecondColumn", .px = 56, .py = 5, .expected = CellPos{1, 0}},
    {.name = "TopEdgeY0IsNoCell", .px = 10, .py = 0},
    {.name = "Y1IsFirstRow", .px = 10, .py = 1, .expected = CellPos{0, 0}},
    {.name = "SharedEdgeY15IsUpperCell", .px = 10, .py = 15, .expected = CellPos{0, 0}},
    {.name = "Y16IsSecondRow", .px = 10, .py = 16, .expected = CellPos{0, 1}},
    {.name = "X638Y450IsLastCell", .px = 638, .py = 450, .expected = CellPos{11, 29}},
    {.name = "BeyondX638IsNoCell", .px = 639, .py = 10},
    {.name = "BelowY450IsNoCell", .px = 10, .py = 451},
    {.name = "PaletteAreaIsNoCell", .px = 100, .py = 540},
    {.name = "NegativeIsNoCell", .px = -60, .py = -20},
};
INSTANTIATE_TEST_SUITE_P(Edges, PointerToCell, ::testing::ValuesIn(kCellAtRows), RowName);

// ---- painting ----------------------------------------------------------------------

StageProjectDocument& WithProject(StageProjectDocument& document, int stages = 3) {
    document.newProject("Spring", static_cast<std::int16_t>(stages), "Ann");
    return document;
}

TEST(Painting, ClickPaintsTheCellUnderThePointer) {
    StageProjectDocument document;
    WithProject(document);
    PaintCell(document, 4, 7, 5);
    EXPECT_EQ(document.kindAt(4, 7), 5);
    EXPECT_EQ(document.kindAt(4, 6), Kind::kEmpty);
    EXPECT_EQ(document.statusText(), "X=4,Y=7,Type=5");
    EXPECT_FALSE(document.state().MouseHeld);
}

TEST(Painting, HoverWithoutButtonOnlyMovesTheCursor) {
    StageProjectDocument document;
    WithProject(document);
    document.selectKind(3);
    document.pointerMoved(CellCentreX(6), CellCentreY(9));
    EXPECT_EQ(document.kindAt(6, 9), Kind::kEmpty);
    EXPECT_EQ(document.state().CursorX, 2 + 53 * 6);
    EXPECT_EQ(document.state().CursorY, 15 * 9);
    EXPECT_EQ(document.statusText(), "X=6,Y=9,Type=255");
}

TEST(Painting, QuickHorizontalStrokeLeavesNoGaps) {
    StageProjectDocument document;
    WithProject(document);
    document.selectKind(Kind::kUnbreakable);
    document.pointerPressed(5, 8);
    document.pointerMoved(636, 8);  // one sample across the whole row
    document.pointerReleased();
    for (int column = 0; column < kGridColumns; ++column)
        EXPECT_EQ(document.kindAt(column, 0), 8) << column;
    EXPECT_EQ(document.kindAt(0, 1), Kind::kEmpty);
}

TEST(Painting, QuickDiagonalStrokeTouchesEveryRowAndColumn) {
    StageProjectDocument document;
    WithProject(document);
    document.selectKind(1);
    document.pointerPressed(4, 1);
    document.pointerMoved(637, 449);
    document.pointerReleased();
    std::array<bool, kGridRows> rows{};
    std::array<bool, kGridColumns> columns{};
    for (int r = 0; r < kGridRows; ++r)
        for (int c = 0; c < kGridColumns; ++c)
            if (document.kindAt(c, r) == 1)
                rows[static_cast<std::size_t>(r)] = columns[static_cast<std::size_t>(c)] = true;
    for (int r = 0; r < kGridRows; ++r)
        EXPECT_TRUE(rows[static_cast<std::size_t>(r)]) << "row " << r;
    for (int c = 0; c < kGridColumns; ++c)
        EXPECT_TRUE(columns[static_cast<std::size_t>(c)]) << "column " << c;
}

TEST(Painting, StrokeEnteringFromOutsideTheGridPaintsOnlyGridCells) {
    StageProjectDocument document;
    WithProject(document);
    document.selectKind(2);
    document.pointerPressed(CellCentreX(3), 540);  // pressed on the palette ground
    document.pointerMoved(CellCentreX(3), CellCentreY(27));
    document.pointerReleased();
    EXPECT_EQ(document.kindAt(3, 29), 2);
    EXPECT_EQ(document.kindAt(3, 28), 2);
    EXPECT_EQ(document.kindAt(3, 27), 2);
    EXPECT_EQ(document.kindAt(3, 26), Kind::kEmpty);
}

TEST(Painting, EraserEmptiesCells) {
    StageProjectDocument document;
    WithProject(document);
    PaintCell(document, 0, 0, 7);
    PaintCell(document, 0, 0, Kind::kEmpty);
    EXPECT_EQ(document.kindAt(0, 0), Kind::kEmpty);
    EXPECT_EQ(document.statusText(), "X=0,Y=0,Type=255");
}

TEST(Painting, WithoutProjectNothingIsPaintedAndStatusKeepsItsFirstText) {
    StageProjectDocument document;
    document.selectKind(4);
    EXPECT_FALSE(document.pointerPressed(CellCentreX(1), CellCentreY(1)));
    EXPECT_TRUE(document.state().MouseHeld);
    document.pointerMoved(CellCentreX(5), CellCentreY(5));
    document.pointerReleased();
    EXPECT_EQ(document.statusText(), "X=0,Y=0,Type=0");
    EXPECT_EQ(document.state().CursorX, 2);
    EXPECT_EQ(document.state().CursorY, 60);
    EXPECT_FALSE(document.isModified());
}

TEST(Painting, CursorStaysOnLastCellWhenPointerLeavesAndAcrossStages) {
    StageProjectDocument document;
    WithProject(document);
    PaintCell(document, 2, 3, 6);
    document.pointerMoved(700, 600);  // off the grid
    EXPECT_EQ(document.state().CursorX, 2 + 53 * 2);
    EXPECT_EQ(document.state().CursorY, 45);
    document.stepGo();
    EXPECT_EQ(document.state().EditedStage, 2);
    EXPECT_EQ(document.state().CursorX, 2 + 53 * 2);
    EXPECT_EQ(document.statusText(), "X=2,Y=3,Type=255");  // the kind of the stage now shown
}

TEST(Painting, SwitchingStageWhileHeldPaintsTheNewStage) {
    StageProjectDocument document;
    WithProject(document);
    document.selectKind(0);
    document.pointerPressed(CellCentreX(0), CellCentreY(0));
    document.stepGo();
    document.pointerMoved(CellCentreX(1), CellCentreY(0));
    document.pointerReleased();
    EXPECT_EQ(document.grid(1)[0].Kind, 0);
    EXPECT_EQ(document.grid(1)[1].Kind, Kind::kEmpty);
    EXPECT_EQ(document.grid(2)[1].Kind, 0);
}

// ---- stage arrows ------------------------------------------------------------------

struct ArrowRow {
    const char* name;
    int stageCount = 0;        // 0: no project
    const char* presses = "";  // '<' back, '>' go
    int expected = 1;
};

class StageArrows : public ::testing::TestWithParam<ArrowRow> {};

TEST_P(StageArrows, ClampsToTheProjectsStages) {
    const auto& row = GetParam();
    StageProjectDocument document;
    if (row.stageCount > 0)
        document.newProject("p", static_cast<std::int16_t>(row.stageCount), "s");
    for (const char* c = row.presses; *c; ++c) *c == '<' ? document.stepBack() : document.stepGo();
    EXPECT_EQ(document.state().EditedStage, row.expected);
}

const ArrowRow kArrowRows[] = {
    {.name = "BackOnFirstStaysOnFirst", .stageCount = 3, .presses = "<", .expected = 1},
    {.name = "GoOnLastStaysOnLast", .stageCount = 3, .presses = ">>>>>", .expected = 3},
    {.name = "GoThenBack", .stageCount = 5, .presses = ">>><", .expected = 3},
    {.name = "SingleStageProject", .stageCount = 1, .presses = "><>", .expected = 1},
    {.name = "GoWithoutProjectStaysOnOne", .presses = ">>", .expected = 1},
    {.name = "BackWithoutProjectStaysOnOne", .presses = "<", .expected = 1},
    {.name = "LargestProjectReachesItsEnd",
     .stageCount = 12,
     .presses = ">>>>>>>>>>>>>",
     .expected = 12},
};
INSTANTIATE_TEST_SUITE_P(Clamping, StageArrows, ::testing::ValuesIn(kArrowRows), RowName);

// ---- new-project input -------------------------------------------------------------

struct NewProjectRow {
    const char* name;
    NewProjectInput input{};
    std::optional<int> expectedCount{};  // std::nullopt: refused with a message
};

class NewProjectInputCheck : public ::testing::TestWithParam<NewProjectRow> {};

TEST_P(NewProjectInputCheck, AcceptsOnlyWholeCountsFromOneTo32767) {
    const auto& row = GetParam();
    NewProjectCheck check = CheckNewProject(row.input);
    if (row.expectedCount) {
        ASSERT_TRUE(check.stageCount.has_value()) << check.message;
        EXPECT_EQ(*check.stageCount, *row.expectedCount);
        EXPECT_TRUE(check.message.empty());
    } else {
        EXPECT_FALSE(check.stageCount.has_value());
        EXPECT_FALSE(check.message.empty());
    }
}

// Typed as the dialog hands it over: project name, stage count, staff name.
NewProjectInput Typed(const char* name, const char* count, const char* staff) {
    return {.projectName = name, .stageCount = count, .staffName = staff};
}

const NewProjectRow kNewProjectRows[] = {
    {.name = "Defaults", .input = Typed("New Stage", "10", "New"), .expectedCount = 10},
    {.name = "EmptyName", .input = Typed("", "10", "New")},
    {.name = "EmptyCount", .input = Typed("New Stage", "", "New")},
    {.name = "EmptyStaff", .input = Typed("New Stage", "10", "")},
    {.name = "ZeroStages", .input = Typed("a", "0", "b")},
    {.name = "OneStage", .input = Typed("a", "1", "b"), .expectedCount = 1},
    {.name = "MostStages", .input = Typed("a", "32767", "b"), .expectedCount = 32767},
    {.name = "OneTooMany", .input = Typed("a", "32768", "b")},
    {.name = "Negative", .input = Typed("a", "-3", "b")},
    {.name = "Fraction", .input = Typed("a", "1.5", "b")},
    {.name = "Letters", .input = Typed("a", "ten", "b")},
    {.name = "SurroundingSpaces", .input = Typed("a", " 12 ", "b"), .expectedCount = 12},
    {.name = "FullWidthDigits", .input = Typed("a", "１２", "b"), .expectedCount = 12},
    {.name = "JapaneseNames", .input = Typed("春のステージ", "3", "山田"), .expectedCount = 3},
    {.name = "EmojiInName", .input = Typed("a\xF0\x9F\x98\x80", "3", "b")},
    {.name = "EmojiInStaff", .input = Typed("a", "3", "\xF0\x9F\x98\x80")},
};
INSTANTIATE_TEST_SUITE_P(Dialog, NewProjectInputCheck, ::testing::ValuesIn(kNewProjectRows),
                         RowName);

TEST(NewProject, EmptyFieldGetsTheEditorsOwnMessage) {
    EXPECT_EQ(CheckNewProject({"", "", ""}).message, kEmptyFieldMessage);
}

TEST(NewProject, ReplacesProjectWithEmptyStagesAndNoPath) {
    StageProjectDocument document;
    WithProject(document, 2);
    PaintCell(document, 0, 0, 1);
    document.newProject("Autumn", 4, "Bo");
    EXPECT_EQ(document.state().StageCount, 4);
    EXPECT_EQ(document.state().EditedStage, 1);
    EXPECT_TRUE(document.state().ProjectPath.empty());
    EXPECT_EQ(document.titleText(), "QONCreater-Autumn-製作者：Bo");
    for (int s = 1; s <= 4; ++s)
        for (const auto& cell : document.grid(s)) ASSERT_EQ(cell.Kind, Kind::kEmpty);
    EXPECT_FALSE(document.canUndo());
}

// ---- saving and opening ------------------------------------------------------------

TEST(ProjectFiles, SavedStagesReadBackByTheGameCellForCell) {
    ScratchFolder dir;
    StageProjectDocument document;
    document.newProject("Spring", 12, "Ann");
    const int kinds[] = {0,   1,   2,   3,   4,   5,   6,   7,   8,   101,
                         102, 103, 104, 105, 106, 107, 108, 109, 110, 111};
    int i = 0;
    for (int kind : kinds) {
        PaintCell(document, i % kGridColumns, i / kGridColumns, kind);
        ++i;
    }
    for (int n = 0; n < 11; ++n) document.stepGo();
    PaintCell(document, 11, 29, 7);
    std::string path = dir.file("Spring.stp");
    ASSERT_EQ(document.writeProject(path), std::nullopt);

    EXPECT_EQ(ReadBytes(path), "Spring\r\n12\r\nAnn\r\n");
    auto header = ReadStageProjectHeader(path);
    EXPECT_EQ(header.StageCount, 12);
    EXPECT_EQ(header.stageStaff, "Ann");

    StageGrid game;
    ResetGrid(game);
    ReadStageFile(path, 1, game);
    for (int cell = 0; cell < kGridCells; ++cell) {
        EXPECT_EQ(game[static_cast<std::size_t>(cell)].Kind,
                  document.grid(1)[static_cast<std::size_t>(cell)].Kind)
            << "cell " << cell;
    }
    EXPECT_EQ(game[8].HitPoints, 9);
    EXPECT_EQ(game[19].Alive, kTrue);
    EXPECT_EQ(ReadBytes(dir.file("Stage1.stg")).substr(0, 26), "000102030405060708656667\r\n");

    // Stage numbers of two digits carry no leading zero or space.
    ResetGrid(game);
    ReadStageFile(path, 12, game);
    EXPECT_EQ(game[kGridCells - 1].Kind, 7);
    EXPECT_TRUE(Exists(dir.file("Stage10.stg")));
    EXPECT_EQ(ReadBytes(dir.file("qonsave.sav")), " 1 \r\n 1 \r\n 1 \r\n 1 \r\n");
}

TEST(ProjectFiles, SaveResetsProgressAndLeavesHigherStageFilesAlone) {
    ScratchFolder dir;
    const std::string stage4 = CrLf(std::vector<std::string>(30, std::string(24, '0')));
    WriteBytes(dir.file("Stage4.stg"), stage4);
    WriteBytes(dir.file("qonsave.sav"), " 3 \r\n 2 \r\n 5 \r\n 1 \r\n");
    StageProjectDocument document;
    WithProject(document, 3);
    ASSERT_EQ(document.writeProject(dir.file("p.stp")), std::nullopt);
    EXPECT_EQ(ReadBytes(dir.file("Stage4.stg")), stage4);
    EXPECT_EQ(ReadSaveFile(dir.file("qonsave.sav")), (SaveSlots{1, 1, 1, 1}));
    EXPECT_TRUE(Exists(dir.file("Stage3.stg")));
}

TEST(ProjectFiles, OpenGivesBackWhatWasSaved) {
    ScratchFolder dir;
    StageProjectDocument saved;
    saved.newProject("春のステージ", 3, "山田");
    PaintCell(saved, 5, 5, 107);
    saved.stepGo();
    saved.stepGo();
    PaintCell(saved, 0, 29, 8);
    std::string path = dir.file("Haru.stp");
    ASSERT_EQ(saved.writeProject(path), std::nullopt);
    EXPECT_FALSE(saved.isModified());
    EXPECT_EQ(saved.state().ProjectPath, path);

    StageProjectDocument opened;
    ASSERT_EQ(opened.openProject(path), std::nullopt);
    EXPECT_EQ(opened.titleText(), "QONCreater-春のステージ-製作者：山田");
    EXPECT_EQ(opened.state().StageCount, 3);
    EXPECT_EQ(opened.state().EditedStage, 1);
    EXPECT_EQ(opened.state().ProjectPath, path);
    EXPECT_FALSE(opened.isModified());
    for (int s = 1; s <= 3; ++s)
        for (int c = 0; c < kGridCells; ++c)
            ASSERT_EQ(opened.grid(s)[static_cast<std::size_t>(c)].Kind,
                      saved.grid(s)[static_cast<std::size_t>(c)].Kind);
}

TEST(ProjectFiles, OpenReadsHandMadeFilesAsTheGameDoes) {
    StageProjectDocument document;
    ASSERT_EQ(document.openProject(kFixtures + "/handmade/Hand.stp"), std::nullopt);
    EXPECT_EQ(document.state().StageCount, 2);
    EXPECT_EQ(document.kindAt(0, 0), Kind::kEmpty);  // "ff"
    EXPECT_EQ(document.kindAt(11, 0), 102);          // extra characters after 24 ignored
    EXPECT_EQ(document.kindAt(1, 1), 8);
    EXPECT_EQ(document.kindAt(2, 1), 0);     // beyond a short line: a one-hit block
    EXPECT_EQ(document.kindAt(0, 2), 0x3c);  // unknown code kept for the author
    document.pointerMoved(CellCentreX(0), CellCentreY(2));
    EXPECT_EQ(document.statusText(), "X=0,Y=2,Type=60");
    PaintCell(document, 0, 2, Kind::kEmpty);  // painting over it replaces it
    EXPECT_EQ(document.kindAt(0, 2), Kind::kEmpty);
    document.stepGo();
    EXPECT_EQ(document.kindAt(4, 29), 111);
}

struct BadOpenRow {
    const char* name;
    const char* projectText = nullptr;  // nullptr: no project file
    int stageFiles = 0;                 // how many valid stage files lie beside it
    int linesInLastStage = 30;          // 30 for a whole file
    const char* reason = "";            // the Japanese reason the author is given
};

class FailedOpen : public ::testing::TestWithParam<BadOpenRow> {};

TEST_P(FailedOpen, KeepsThePreviousProjectIntact) {
    const auto& row = GetParam();
    ScratchFolder dir;
    std::string bad = dir.file("Bad.stp");
    if (row.projectText) WriteBytes(bad, row.projectText);
    for (int n = 1; n <= row.stageFiles; ++n) {
        int lines = n == row.stageFiles ? row.linesInLastStage : 30;
        WriteBytes(
            dir.file("Stage" + std::to_string(n) + ".stg"),
            CrLf(std::vector<std::string>(static_cast<std::size_t>(lines), std::string(24, '1'))));
    }

    ScratchFolder home;
    StageProjectDocument document;
    document.newProject("Keep", 4, "Me");
    ASSERT_EQ(document.writeProject(home.file("Keep.stp")), std::nullopt);
    document.stepGo();
    PaintCell(document, 3, 3, 104);
    const EditorState before = document.state();

    auto error = document.openProject(bad);
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find(dir.file("")), std::string::npos) << *error;  // names the file
    EXPECT_NE(error->find(std::string("\n理由: ") + row.reason), std::string::npos) << *error;
    const EditorState& after = document.state();
    EXPECT_EQ(after.ProjectName, before.ProjectName);
    EXPECT_EQ(after.StaffName, before.StaffName);
    EXPECT_EQ(after.StageCount, 4);
    EXPECT_EQ(after.EditedStage, 2);
    EXPECT_EQ(after.ProjectPath, home.file("Keep.stp"));
    EXPECT_EQ(document.kindAt(3, 3), 104);
    EXPECT_TRUE(document.isModified());
    EXPECT_TRUE(document.canUndo());
    for (int s = 1; s <= 4; ++s)
        EXPECT_EQ(document.grid(s).size(), static_cast<std::size_t>(kGridCells));
}

const BadOpenRow kBadOpenRows[] = {
    {.name = "MissingProjectFile", .reason = "ファイルがありません。"},
    {.name = "MissingStageFile",
     .projectText = "a\r\n3\r\nb\r\n",
     .stageFiles = 2,
     .reason = "ファイルがありません。"},
    {.name = "ShortStageFile",
     .projectText = "a\r\n2\r\nb\r\n",
     .stageFiles = 2,
     .linesInLastStage = 29,
     .reason = "ファイルが途中で終わっています"},
    {.name = "StageCountNotANumber",
     .projectText = "a\r\nthree\r\nb\r\n",
     .stageFiles = 3,
     .reason = "ステージ数「three」が 1 から 32767 までの整数ではありません。"},
    {.name = "StageCountZero",
     .projectText = "a\r\n0\r\nb\r\n",
     .stageFiles = 1,
     .reason = "ステージ数「0」が範囲外です。1 から 32767 までの整数にしてください。"},
    {.name = "ProjectFileEndsEarly",
     .projectText = "a\r\n2\r\n",
     .stageFiles = 2,
     .reason = "ファイルが途中で終わっています"},
};
INSTANTIATE_TEST_SUITE_P(Open, FailedOpen, ::testing::ValuesIn(kBadOpenRows), RowName);

TEST(ProjectFiles, FailedSaveReportsTheFileAndKeepsState) {
    ScratchFolder dir;
    StageProjectDocument document;
    WithProject(document);
    PaintCell(document, 1, 1, 1);
    std::string path = dir.file("missing-folder/p.stp");
    auto error = document.writeProject(path);
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("missing-folder"), std::string::npos) << *error;
    EXPECT_TRUE(document.state().ProjectPath.empty());
    EXPECT_TRUE(document.isModified());
}

// ---- undo and redo -----------------------------------------------------------------

TEST(Undo, OneStrokePerStep) {
    StageProjectDocument document;
    WithProject(document);
    document.selectKind(3);
    document.pointerPressed(CellCentreX(0), CellCentreY(0));
    document.pointerMoved(CellCentreX(2), CellCentreY(0));
    document.pointerReleased();
    PaintCell(document, 5, 5, 110);
    PaintCell(document, 0, 0, Kind::kEmpty);  // erasing is a stroke too

    document.undo();
    EXPECT_EQ(document.kindAt(0, 0), 3);
    document.undo();
    EXPECT_EQ(document.kindAt(5, 5), Kind::kEmpty);
    EXPECT_EQ(document.kindAt(2, 0), 3);
    document.undo();
    EXPECT_EQ(document.kindAt(0, 0), Kind::kEmpty);
    EXPECT_EQ(document.kindAt(1, 0), Kind::kEmpty);
    EXPECT_EQ(document.kindAt(2, 0), Kind::kEmpty);
    EXPECT_FALSE(document.canUndo());

    document.redo();
    EXPECT_EQ(document.kindAt(1, 0), 3);
    EXPECT_EQ(document.kindAt(5, 5), Kind::kEmpty);
    document.redo();
    EXPECT_EQ(document.kindAt(5, 5), 110);
}

TEST(Undo, RestoresWhatWasUnderTheStroke) {
    StageProjectDocument document;
    WithProject(document);
    PaintCell(document, 0, 0, 1);
    document.selectKind(2);
    document.pointerPressed(CellCentreX(0), CellCentreY(0));
    document.pointerMoved(CellCentreX(1), CellCentreY(0));
    document.pointerMoved(CellCentreX(0), CellCentreY(0));  // back over the first cell
    document.pointerReleased();
    document.undo();
    EXPECT_EQ(document.kindAt(0, 0), 1);
    EXPECT_EQ(document.kindAt(1, 0), Kind::kEmpty);
}

TEST(Undo, ShowsTheStageItChanges) {
    StageProjectDocument document;
    WithProject(document);
    document.stepGo();
    document.stepGo();
    PaintCell(document, 1, 1, 4);
    document.stepBack();
    document.stepBack();
    document.undo();
    EXPECT_EQ(document.state().EditedStage, 3);
    EXPECT_EQ(document.kindAt(1, 1), Kind::kEmpty);
    document.stepBack();
    document.redo();
    EXPECT_EQ(document.state().EditedStage, 3);
    EXPECT_EQ(document.kindAt(1, 1), 4);
}

TEST(Undo, TracksWhetherTheProjectIsSaved) {
    ScratchFolder dir;
    StageProjectDocument document;
    WithProject(document);
    EXPECT_FALSE(document.isModified());
    PaintCell(document, 1, 1, 4);
    EXPECT_TRUE(document.isModified());
    ASSERT_EQ(document.writeProject(dir.file("p.stp")), std::nullopt);
    EXPECT_FALSE(document.isModified());
    document.undo();
    EXPECT_TRUE(document.isModified());
    document.redo();
    EXPECT_FALSE(document.isModified());
    PaintCell(document, 1, 1, 4);  // same kind again: no change, no step
    EXPECT_FALSE(document.isModified());
}

TEST(Undo, NewStrokeDropsTheRedoneSteps) {
    StageProjectDocument document;
    WithProject(document);
    PaintCell(document, 0, 0, 1);
    document.undo();
    EXPECT_TRUE(document.canRedo());
    PaintCell(document, 1, 0, 2);
    EXPECT_FALSE(document.canRedo());
}

TEST(Undo, RefusedInTheMiddleOfAStroke) {
    StageProjectDocument document;
    WithProject(document);
    PaintCell(document, 0, 0, 1);
    document.selectKind(5);
    document.pointerPressed(CellCentreX(3), CellCentreY(3));
    EXPECT_FALSE(document.canUndo());
    document.undo();
    EXPECT_EQ(document.kindAt(0, 0), 1);
    EXPECT_EQ(document.kindAt(3, 3), 5);
    document.pointerReleased();
    document.undo();
    EXPECT_EQ(document.kindAt(3, 3), Kind::kEmpty);
}

TEST(Undo, OpenAndNewStartWithAnEmptyHistory) {
    ScratchFolder dir;
    StageProjectDocument document;
    WithProject(document);
    PaintCell(document, 0, 0, 1);
    ASSERT_EQ(document.writeProject(dir.file("p.stp")), std::nullopt);
    ASSERT_EQ(document.openProject(dir.file("p.stp")), std::nullopt);
    EXPECT_FALSE(document.canUndo());
    EXPECT_EQ(document.kindAt(0, 0), 1);
}

}  // namespace
}  // namespace qon::stage_editor
