// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "qon/data/save_file.h"
#include "qon/data/stage.h"
#include "qon/tessel/editor_model.h"
#include "test_support.h"

namespace qon::tessel {
namespace {

using test::CellCentreX;
using test::CellCentreY;
using test::CrLf;
using test::PaintCell;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const std::string kFixtures = QON_TESSEL_FIXTURES;

// ---- pointer to cell ---------------------------------------------------------------

struct CellAtRow {
    const char* name;
    int px;
    int py;
    std::optional<CellPos> expected;
};

class TesselCellAtTest : public ::testing::TestWithParam<CellAtRow> {};

TEST_P(TesselCellAtTest, MapsPointerToCell) {
    const auto& row = GetParam();
    EXPECT_EQ(CellAt(row.px, row.py), row.expected) << "at " << row.px << "," << row.py;
}

INSTANTIATE_TEST_SUITE_P(
    Edges, TesselCellAtTest,
    ::testing::Values(CellAtRow{"LeftEdgeX2IsNoCell", 2, 5, std::nullopt},
                      CellAtRow{"X3IsFirstColumn", 3, 5, CellPos{0, 0}},
                      CellAtRow{"SharedEdgeX55IsLeftCell", 55, 5, CellPos{0, 0}},
                      CellAtRow{"X56IsSecondColumn", 56, 5, CellPos{1, 0}},
                      CellAtRow{"TopEdgeY0IsNoCell", 10, 0, std::nullopt},
                      CellAtRow{"Y1IsFirstRow", 10, 1, CellPos{0, 0}},
                      CellAtRow{"SharedEdgeY15IsUpperCell", 10, 15, CellPos{0, 0}},
                      CellAtRow{"Y16IsSecondRow", 10, 16, CellPos{0, 1}},
                      CellAtRow{"X638Y450IsLastCell", 638, 450, CellPos{11, 29}},
                      CellAtRow{"BeyondX638IsNoCell", 639, 10, std::nullopt},
                      CellAtRow{"BelowY450IsNoCell", 10, 451, std::nullopt},
                      CellAtRow{"PaletteAreaIsNoCell", 100, 540, std::nullopt},
                      CellAtRow{"NegativeIsNoCell", -60, -20, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- painting ----------------------------------------------------------------------

EditorModel& WithProject(EditorModel& model, int stages = 3) {
    model.newProject("Spring", static_cast<std::int16_t>(stages), "Ann");
    return model;
}

TEST(TesselPainting, ClickPaintsTheCellUnderThePointer) {
    EditorModel model;
    WithProject(model);
    PaintCell(model, 4, 7, 5);
    EXPECT_EQ(model.kindAt(4, 7), 5);
    EXPECT_EQ(model.kindAt(4, 6), Kind::kEmpty);
    EXPECT_EQ(model.statusText(), "X=4,Y=7,Type=5");
    EXPECT_FALSE(model.state().MouseHeld);
}

TEST(TesselPainting, HoverWithoutButtonOnlyMovesTheCursor) {
    EditorModel model;
    WithProject(model);
    model.selectKind(3);
    model.pointerMoved(CellCentreX(6), CellCentreY(9));
    EXPECT_EQ(model.kindAt(6, 9), Kind::kEmpty);
    EXPECT_EQ(model.state().CursorX, 2 + 53 * 6);
    EXPECT_EQ(model.state().CursorY, 15 * 9);
    EXPECT_EQ(model.statusText(), "X=6,Y=9,Type=255");
}

TEST(TesselPainting, QuickHorizontalStrokeLeavesNoGaps) {
    EditorModel model;
    WithProject(model);
    model.selectKind(Kind::kUnbreakable);
    model.pointerPressed(5, 8);
    model.pointerMoved(636, 8);  // one sample across the whole row
    model.pointerReleased();
    for (int column = 0; column < kGridColumns; ++column)
        EXPECT_EQ(model.kindAt(column, 0), 8) << column;
    EXPECT_EQ(model.kindAt(0, 1), Kind::kEmpty);
}

TEST(TesselPainting, QuickDiagonalStrokeTouchesEveryRowAndColumn) {
    EditorModel model;
    WithProject(model);
    model.selectKind(1);
    model.pointerPressed(4, 1);
    model.pointerMoved(637, 449);
    model.pointerReleased();
    std::array<bool, kGridRows> rows{};
    std::array<bool, kGridColumns> columns{};
    for (int r = 0; r < kGridRows; ++r)
        for (int c = 0; c < kGridColumns; ++c)
            if (model.kindAt(c, r) == 1)
                rows[static_cast<std::size_t>(r)] = columns[static_cast<std::size_t>(c)] = true;
    for (int r = 0; r < kGridRows; ++r)
        EXPECT_TRUE(rows[static_cast<std::size_t>(r)]) << "row " << r;
    for (int c = 0; c < kGridColumns; ++c)
        EXPECT_TRUE(columns[static_cast<std::size_t>(c)]) << "column " << c;
}

TEST(TesselPainting, StrokeEnteringFromOutsideTheGridPaintsOnlyGridCells) {
    EditorModel model;
    WithProject(model);
    model.selectKind(2);
    model.pointerPressed(CellCentreX(3), 540);  // pressed on the palette ground
    model.pointerMoved(CellCentreX(3), CellCentreY(27));
    model.pointerReleased();
    EXPECT_EQ(model.kindAt(3, 29), 2);
    EXPECT_EQ(model.kindAt(3, 28), 2);
    EXPECT_EQ(model.kindAt(3, 27), 2);
    EXPECT_EQ(model.kindAt(3, 26), Kind::kEmpty);
}

TEST(TesselPainting, EraserEmptiesCells) {
    EditorModel model;
    WithProject(model);
    PaintCell(model, 0, 0, 7);
    PaintCell(model, 0, 0, Kind::kEmpty);
    EXPECT_EQ(model.kindAt(0, 0), Kind::kEmpty);
    EXPECT_EQ(model.statusText(), "X=0,Y=0,Type=255");
}

TEST(TesselPainting, WithoutProjectNothingIsPaintedAndStatusKeepsItsFirstText) {
    EditorModel model;
    model.selectKind(4);
    EXPECT_FALSE(model.pointerPressed(CellCentreX(1), CellCentreY(1)));
    EXPECT_TRUE(model.state().MouseHeld);
    model.pointerMoved(CellCentreX(5), CellCentreY(5));
    model.pointerReleased();
    EXPECT_EQ(model.statusText(), "X=0,Y=0,Type=0");
    EXPECT_EQ(model.state().CursorX, 2);
    EXPECT_EQ(model.state().CursorY, 60);
    EXPECT_FALSE(model.isModified());
}

TEST(TesselPainting, CursorStaysOnLastCellWhenPointerLeavesAndAcrossStages) {
    EditorModel model;
    WithProject(model);
    PaintCell(model, 2, 3, 6);
    model.pointerMoved(700, 600);  // off the grid
    EXPECT_EQ(model.state().CursorX, 2 + 53 * 2);
    EXPECT_EQ(model.state().CursorY, 45);
    model.stepGo();
    EXPECT_EQ(model.state().EditedStage, 2);
    EXPECT_EQ(model.state().CursorX, 2 + 53 * 2);
    EXPECT_EQ(model.statusText(), "X=2,Y=3,Type=255");  // the kind of the stage now shown
}

TEST(TesselPainting, SwitchingStageWhileHeldPaintsTheNewStage) {
    EditorModel model;
    WithProject(model);
    model.selectKind(0);
    model.pointerPressed(CellCentreX(0), CellCentreY(0));
    model.stepGo();
    model.pointerMoved(CellCentreX(1), CellCentreY(0));
    model.pointerReleased();
    EXPECT_EQ(model.grid(1)[0].Kind, 0);
    EXPECT_EQ(model.grid(1)[1].Kind, Kind::kEmpty);
    EXPECT_EQ(model.grid(2)[1].Kind, 0);
}

// ---- stage arrows ------------------------------------------------------------------

struct ArrowRow {
    const char* name;
    int stageCount;       // 0: no project
    const char* presses;  // '<' back, '>' go
    int expected;
};

class TesselArrowTest : public ::testing::TestWithParam<ArrowRow> {};

TEST_P(TesselArrowTest, ClampsToTheProjectsStages) {
    const auto& row = GetParam();
    EditorModel model;
    if (row.stageCount > 0) model.newProject("p", static_cast<std::int16_t>(row.stageCount), "s");
    for (const char* c = row.presses; *c; ++c) *c == '<' ? model.stepBack() : model.stepGo();
    EXPECT_EQ(model.state().EditedStage, row.expected);
}

INSTANTIATE_TEST_SUITE_P(Clamping, TesselArrowTest,
                         ::testing::Values(ArrowRow{"BackOnFirstStaysOnFirst", 3, "<", 1},
                                           ArrowRow{"GoOnLastStaysOnLast", 3, ">>>>>", 3},
                                           ArrowRow{"GoThenBack", 5, ">>><", 3},
                                           ArrowRow{"SingleStageProject", 1, "><>", 1},
                                           ArrowRow{"GoWithoutProjectStaysOnOne", 0, ">>", 1},
                                           ArrowRow{"BackWithoutProjectStaysOnOne", 0, "<", 1},
                                           ArrowRow{"LargestProjectReachesItsEnd", 12,
                                                    ">>>>>>>>>>>>>", 12}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- new-project input -------------------------------------------------------------

struct NewProjectRow {
    const char* name;
    NewProjectInput input;
    std::optional<int> expectedCount;
};

class TesselNewProjectTest : public ::testing::TestWithParam<NewProjectRow> {};

TEST_P(TesselNewProjectTest, AcceptsOnlyWholeCountsFromOneTo32767) {
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

INSTANTIATE_TEST_SUITE_P(
    Dialog, TesselNewProjectTest,
    ::testing::Values(NewProjectRow{"Defaults", {"New Stage", "10", "New"}, 10},
                      NewProjectRow{"EmptyName", {"", "10", "New"}, std::nullopt},
                      NewProjectRow{"EmptyCount", {"New Stage", "", "New"}, std::nullopt},
                      NewProjectRow{"EmptyStaff", {"New Stage", "10", ""}, std::nullopt},
                      NewProjectRow{"ZeroStages", {"a", "0", "b"}, std::nullopt},
                      NewProjectRow{"OneStage", {"a", "1", "b"}, 1},
                      NewProjectRow{"MostStages", {"a", "32767", "b"}, 32767},
                      NewProjectRow{"OneTooMany", {"a", "32768", "b"}, std::nullopt},
                      NewProjectRow{"Negative", {"a", "-3", "b"}, std::nullopt},
                      NewProjectRow{"Fraction", {"a", "1.5", "b"}, std::nullopt},
                      NewProjectRow{"Letters", {"a", "ten", "b"}, std::nullopt},
                      NewProjectRow{"SurroundingSpaces", {"a", " 12 ", "b"}, 12},
                      NewProjectRow{"FullWidthDigits", {"a", "１２", "b"}, 12},
                      NewProjectRow{"JapaneseNames", {"春のステージ", "3", "山田"}, 3},
                      NewProjectRow{"EmojiInName", {"a\xF0\x9F\x98\x80", "3", "b"}, std::nullopt},
                      NewProjectRow{"EmojiInStaff", {"a", "3", "\xF0\x9F\x98\x80"}, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TesselNewProject, EmptyFieldGetsTheEditorsOwnMessage) {
    EXPECT_EQ(CheckNewProject({"", "", ""}).message, kEmptyFieldMessage);
}

TEST(TesselNewProject, ReplacesProjectWithEmptyStagesAndNoPath) {
    EditorModel model;
    WithProject(model, 2);
    PaintCell(model, 0, 0, 1);
    model.newProject("Autumn", 4, "Bo");
    EXPECT_EQ(model.state().StageCount, 4);
    EXPECT_EQ(model.state().EditedStage, 1);
    EXPECT_TRUE(model.state().ProjectPath.empty());
    EXPECT_EQ(model.titleText(), "QONCreater-Autumn-製作者：Bo");
    for (int s = 1; s <= 4; ++s)
        for (const auto& cell : model.grid(s)) ASSERT_EQ(cell.Kind, Kind::kEmpty);
    EXPECT_FALSE(model.canUndo());
}

// ---- saving and opening ------------------------------------------------------------

TEST(TesselFiles, SavedStagesReadBackByTheGameCellForCell) {
    TempDir dir;
    EditorModel model;
    model.newProject("Spring", 12, "Ann");
    const int kinds[] = {0,   1,   2,   3,   4,   5,   6,   7,   8,   101,
                         102, 103, 104, 105, 106, 107, 108, 109, 110, 111};
    int i = 0;
    for (int kind : kinds) {
        PaintCell(model, i % kGridColumns, i / kGridColumns, kind);
        ++i;
    }
    for (int n = 0; n < 11; ++n) model.stepGo();
    PaintCell(model, 11, 29, 7);
    std::string path = dir.file("Spring.stp");
    ASSERT_EQ(model.writeProject(path), std::nullopt);

    EXPECT_EQ(ReadBytes(path), "Spring\r\n12\r\nAnn\r\n");
    auto header = ReadStageProjectHeader(path);
    EXPECT_EQ(header.StageCount, 12);
    EXPECT_EQ(header.stageStaff, "Ann");

    StageGrid game;
    ResetGrid(game);
    ReadStageFile(path, 1, game);
    for (int cell = 0; cell < kGridCells; ++cell) {
        EXPECT_EQ(game[static_cast<std::size_t>(cell)].Kind,
                  model.grid(1)[static_cast<std::size_t>(cell)].Kind)
            << "cell " << cell;
    }
    EXPECT_EQ(game[8].HitPoints, 9);
    EXPECT_EQ(game[19].Alive, kTrue);
    EXPECT_EQ(ReadBytes(dir.file("Stage1.stg")).substr(0, 26), "000102030405060708656667\r\n");

    // Stage numbers of two digits carry no leading zero or space.
    ResetGrid(game);
    ReadStageFile(path, 12, game);
    EXPECT_EQ(game[kGridCells - 1].Kind, 7);
    EXPECT_TRUE(std::filesystem::exists(dir.file("Stage10.stg")));
    EXPECT_EQ(ReadBytes(dir.file("qonsave.sav")), " 1 \r\n 1 \r\n 1 \r\n 1 \r\n");
}

TEST(TesselFiles, SaveResetsProgressAndLeavesHigherStageFilesAlone) {
    TempDir dir;
    const std::string stage4 = CrLf(std::vector<std::string>(30, std::string(24, '0')));
    WriteBytes(dir.file("Stage4.stg"), stage4);
    WriteBytes(dir.file("qonsave.sav"), " 3 \r\n 2 \r\n 5 \r\n 1 \r\n");
    EditorModel model;
    WithProject(model, 3);
    ASSERT_EQ(model.writeProject(dir.file("p.stp")), std::nullopt);
    EXPECT_EQ(ReadBytes(dir.file("Stage4.stg")), stage4);
    EXPECT_EQ(ReadSaveFile(dir.file("qonsave.sav")), (SaveSlots{1, 1, 1, 1}));
    EXPECT_TRUE(std::filesystem::exists(dir.file("Stage3.stg")));
}

TEST(TesselFiles, OpenGivesBackWhatWasSaved) {
    TempDir dir;
    EditorModel saved;
    saved.newProject("春のステージ", 3, "山田");
    PaintCell(saved, 5, 5, 107);
    saved.stepGo();
    saved.stepGo();
    PaintCell(saved, 0, 29, 8);
    std::string path = dir.file("Haru.stp");
    ASSERT_EQ(saved.writeProject(path), std::nullopt);
    EXPECT_FALSE(saved.isModified());
    EXPECT_EQ(saved.state().ProjectPath, path);

    EditorModel opened;
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

TEST(TesselFiles, OpenReadsHandMadeFilesAsTheGameDoes) {
    EditorModel model;
    ASSERT_EQ(model.openProject(kFixtures + "/handmade/Hand.stp"), std::nullopt);
    EXPECT_EQ(model.state().StageCount, 2);
    EXPECT_EQ(model.kindAt(0, 0), Kind::kEmpty);  // "ff"
    EXPECT_EQ(model.kindAt(11, 0), 102);          // extra characters after 24 ignored
    EXPECT_EQ(model.kindAt(1, 1), 8);
    EXPECT_EQ(model.kindAt(2, 1), 0);     // beyond a short line: a one-hit block
    EXPECT_EQ(model.kindAt(0, 2), 0x3c);  // unknown code kept for the author
    model.pointerMoved(CellCentreX(0), CellCentreY(2));
    EXPECT_EQ(model.statusText(), "X=0,Y=2,Type=60");
    PaintCell(model, 0, 2, Kind::kEmpty);  // painting over it replaces it
    EXPECT_EQ(model.kindAt(0, 2), Kind::kEmpty);
    model.stepGo();
    EXPECT_EQ(model.kindAt(4, 29), 111);
}

struct BadOpenRow {
    const char* name;
    const char* projectText;  // nullptr: no project file
    int stageFiles;           // how many valid stage files lie beside it
    int linesInLastStage;     // 30 for a whole file
};

class TesselFailedOpenTest : public ::testing::TestWithParam<BadOpenRow> {};

TEST_P(TesselFailedOpenTest, KeepsThePreviousProjectIntact) {
    const auto& row = GetParam();
    TempDir dir;
    std::string bad = dir.file("Bad.stp");
    if (row.projectText) WriteBytes(bad, row.projectText);
    for (int n = 1; n <= row.stageFiles; ++n) {
        int lines = n == row.stageFiles ? row.linesInLastStage : 30;
        WriteBytes(
            dir.file("Stage" + std::to_string(n) + ".stg"),
            CrLf(std::vector<std::string>(static_cast<std::size_t>(lines), std::string(24, '1'))));
    }

    TempDir home;
    EditorModel model;
    model.newProject("Keep", 4, "Me");
    ASSERT_EQ(model.writeProject(home.file("Keep.stp")), std::nullopt);
    model.stepGo();
    PaintCell(model, 3, 3, 104);
    const EditorState before = model.state();

    auto error = model.openProject(bad);
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find(dir.file("")), std::string::npos) << *error;  // names the file
    const EditorState& after = model.state();
    EXPECT_EQ(after.ProjectName, before.ProjectName);
    EXPECT_EQ(after.StaffName, before.StaffName);
    EXPECT_EQ(after.StageCount, 4);
    EXPECT_EQ(after.EditedStage, 2);
    EXPECT_EQ(after.ProjectPath, home.file("Keep.stp"));
    EXPECT_EQ(model.kindAt(3, 3), 104);
    EXPECT_TRUE(model.isModified());
    EXPECT_TRUE(model.canUndo());
    for (int s = 1; s <= 4; ++s)
        EXPECT_EQ(model.grid(s).size(), static_cast<std::size_t>(kGridCells));
}

INSTANTIATE_TEST_SUITE_P(Open, TesselFailedOpenTest,
                         ::testing::Values(BadOpenRow{"MissingProjectFile", nullptr, 0, 30},
                                           BadOpenRow{"MissingStageFile", "a\r\n3\r\nb\r\n", 2, 30},
                                           BadOpenRow{"ShortStageFile", "a\r\n2\r\nb\r\n", 2, 29},
                                           BadOpenRow{"StageCountNotANumber", "a\r\nthree\r\nb\r\n",
                                                      3, 30},
                                           BadOpenRow{"StageCountZero", "a\r\n0\r\nb\r\n", 1, 30},
                                           BadOpenRow{"ProjectFileEndsEarly", "a\r\n2\r\n", 2, 30}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TesselFiles, FailedSaveReportsTheFileAndKeepsState) {
    TempDir dir;
    EditorModel model;
    WithProject(model);
    PaintCell(model, 1, 1, 1);
    std::string path = dir.file("missing-folder/p.stp");
    auto error = model.writeProject(path);
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("missing-folder"), std::string::npos) << *error;
    EXPECT_TRUE(model.state().ProjectPath.empty());
    EXPECT_TRUE(model.isModified());
}

// ---- undo and redo -----------------------------------------------------------------

TEST(TesselUndo, OneStrokePerStep) {
    EditorModel model;
    WithProject(model);
    model.selectKind(3);
    model.pointerPressed(CellCentreX(0), CellCentreY(0));
    model.pointerMoved(CellCentreX(2), CellCentreY(0));
    model.pointerReleased();
    PaintCell(model, 5, 5, 110);
    PaintCell(model, 0, 0, Kind::kEmpty);  // erasing is a stroke too

    model.undo();
    EXPECT_EQ(model.kindAt(0, 0), 3);
    model.undo();
    EXPECT_EQ(model.kindAt(5, 5), Kind::kEmpty);
    EXPECT_EQ(model.kindAt(2, 0), 3);
    model.undo();
    EXPECT_EQ(model.kindAt(0, 0), Kind::kEmpty);
    EXPECT_EQ(model.kindAt(1, 0), Kind::kEmpty);
    EXPECT_EQ(model.kindAt(2, 0), Kind::kEmpty);
    EXPECT_FALSE(model.canUndo());

    model.redo();
    EXPECT_EQ(model.kindAt(1, 0), 3);
    EXPECT_EQ(model.kindAt(5, 5), Kind::kEmpty);
    model.redo();
    EXPECT_EQ(model.kindAt(5, 5), 110);
}

TEST(TesselUndo, RestoresWhatWasUnderTheStroke) {
    EditorModel model;
    WithProject(model);
    PaintCell(model, 0, 0, 1);
    model.selectKind(2);
    model.pointerPressed(CellCentreX(0), CellCentreY(0));
    model.pointerMoved(CellCentreX(1), CellCentreY(0));
    model.pointerMoved(CellCentreX(0), CellCentreY(0));  // back over the first cell
    model.pointerReleased();
    model.undo();
    EXPECT_EQ(model.kindAt(0, 0), 1);
    EXPECT_EQ(model.kindAt(1, 0), Kind::kEmpty);
}

TEST(TesselUndo, ShowsTheStageItChanges) {
    EditorModel model;
    WithProject(model);
    model.stepGo();
    model.stepGo();
    PaintCell(model, 1, 1, 4);
    model.stepBack();
    model.stepBack();
    model.undo();
    EXPECT_EQ(model.state().EditedStage, 3);
    EXPECT_EQ(model.kindAt(1, 1), Kind::kEmpty);
    model.stepBack();
    model.redo();
    EXPECT_EQ(model.state().EditedStage, 3);
    EXPECT_EQ(model.kindAt(1, 1), 4);
}

TEST(TesselUndo, TracksWhetherTheProjectIsSaved) {
    TempDir dir;
    EditorModel model;
    WithProject(model);
    EXPECT_FALSE(model.isModified());
    PaintCell(model, 1, 1, 4);
    EXPECT_TRUE(model.isModified());
    ASSERT_EQ(model.writeProject(dir.file("p.stp")), std::nullopt);
    EXPECT_FALSE(model.isModified());
    model.undo();
    EXPECT_TRUE(model.isModified());
    model.redo();
    EXPECT_FALSE(model.isModified());
    PaintCell(model, 1, 1, 4);  // same kind again: no change, no step
    EXPECT_FALSE(model.isModified());
}

TEST(TesselUndo, NewStrokeDropsTheRedoneSteps) {
    EditorModel model;
    WithProject(model);
    PaintCell(model, 0, 0, 1);
    model.undo();
    EXPECT_TRUE(model.canRedo());
    PaintCell(model, 1, 0, 2);
    EXPECT_FALSE(model.canRedo());
}

TEST(TesselUndo, RefusedInTheMiddleOfAStroke) {
    EditorModel model;
    WithProject(model);
    PaintCell(model, 0, 0, 1);
    model.selectKind(5);
    model.pointerPressed(CellCentreX(3), CellCentreY(3));
    EXPECT_FALSE(model.canUndo());
    model.undo();
    EXPECT_EQ(model.kindAt(0, 0), 1);
    EXPECT_EQ(model.kindAt(3, 3), 5);
    model.pointerReleased();
    model.undo();
    EXPECT_EQ(model.kindAt(3, 3), Kind::kEmpty);
}

TEST(TesselUndo, OpenAndNewStartWithAnEmptyHistory) {
    TempDir dir;
    EditorModel model;
    WithProject(model);
    PaintCell(model, 0, 0, 1);
    ASSERT_EQ(model.writeProject(dir.file("p.stp")), std::nullopt);
    ASSERT_EQ(model.openProject(dir.file("p.stp")), std::nullopt);
    EXPECT_FALSE(model.canUndo());
    EXPECT_EQ(model.kindAt(0, 0), 1);
}

}  // namespace
}  // namespace qon::tessel
