// SPDX-License-Identifier: MIT
// Stage list edits on the document: insert, duplicate, delete, move, go to; each one undo
// step, the stage count kept within 1..32767.
#include <gtest/gtest.h>

#include <string>

#include "painting.h"
#include "qon/stage_editor/stage_project_document.h"
#include "qon/test_support/rows.h"

namespace qon::stage_editor {
namespace {

using test::PaintCell;
using test_support::RowName;

QON_PRINT_ROWS_BY_NAME

// Stage n is marked with kind n - 1 in its top-left cell, so the order reads "12345"; an
// empty stage reads "_".
void MarkStages(StageProjectDocument& document) {
    for (int n = 1; n <= document.state().StageCount; ++n) {
        document.goToStage(n);
        PaintCell(document, 0, 0, n - 1);
    }
}

std::string Order(const StageProjectDocument& document) {
    std::string order;
    for (int n = 1; n <= document.state().StageCount; ++n) {
        const int kind = document.grid(n)[0].Kind;
        order += kind == Kind::kEmpty ? '_' : static_cast<char>('1' + kind);
    }
    return order;
}

struct StageEditRow {
    const char* name;
    StageEdit edit = StageEdit::InsertBefore;
    int stages = 5;
    int edited = 3;
    bool done = true;
    bool renumbered = true;
    const char* order = "";  // after the edit
    int shown = 0;           // the stage shown after the edit
};

class StageListEdit : public ::testing::TestWithParam<StageEditRow> {};

TEST_P(StageListEdit, ChangesTheOrderAsOneUndoStep) {
    const auto& row = GetParam();
    StageProjectDocument document;
    document.newProject("Spring", static_cast<std::int16_t>(row.stages), "Ann");
    MarkStages(document);
    ASSERT_TRUE(document.goToStage(row.edited));
    const std::string before = Order(document);
    const bool undoBefore = document.canUndo();

    EXPECT_EQ(document.canEditStages(row.edit), row.done);
    const StageEditResult result = document.editStages(row.edit);
    EXPECT_EQ(result.done, row.done);
    if (!row.done) {
        EXPECT_EQ(Order(document), before);
        EXPECT_EQ(document.state().EditedStage, row.edited);
        return;
    }
    EXPECT_EQ(result.renumbered, row.renumbered);
    EXPECT_EQ(Order(document), row.order);
    EXPECT_EQ(document.state().StageCount, static_cast<int>(std::string(row.order).size()));
    EXPECT_EQ(document.state().EditedStage, row.shown);
    EXPECT_TRUE(document.isModified());

    document.undo();
    EXPECT_EQ(Order(document), before);
    EXPECT_EQ(document.state().StageCount, row.stages);
    EXPECT_EQ(document.state().EditedStage, row.edited);
    EXPECT_EQ(document.canUndo(), undoBefore);
    document.redo();
    EXPECT_EQ(Order(document), row.order);
    EXPECT_EQ(document.state().EditedStage, row.shown);
}

const StageEditRow kStageEditRows[] = {
    {.name = "InsertBeforeShowsTheNewEmptyStage",
     .edit = StageEdit::InsertBefore,
     .order = "12_345",
     .shown = 3},
    {.name = "InsertBeforeTheFirstStage",
     .edit = StageEdit::InsertBefore,
     .edited = 1,
     .order = "_12345",
     .shown = 1},
    {.name = "InsertAfterShowsTheNewEmptyStage",
     .edit = StageEdit::InsertAfter,
     .order = "123_45",
     .shown = 4},
    {.name = "InsertAfterTheLastStageRenumbersNothing",
     .edit = StageEdit::InsertAfter,
     .edited = 5,
     .renumbered = false,
     .order = "12345_",
     .shown = 6},
    {.name = "DuplicateShowsTheCopy", .edit = StageEdit::Duplicate, .order = "123345", .shown = 4},
    {.name = "DuplicateTheLastStageRenumbersNothing",
     .edit = StageEdit::Duplicate,
     .edited = 5,
     .renumbered = false,
     .order = "123455",
     .shown = 6},
    {.name = "DeleteShowsTheStageThatTookItsPlace",
     .edit = StageEdit::Delete,
     .order = "1245",
     .shown = 3},
    {.name = "DeleteTheLastStageShowsTheNewLast",
     .edit = StageEdit::Delete,
     .edited = 5,
     .renumbered = false,
     .order = "1234",
     .shown = 4},
    {.name = "DeleteTheOnlyStageIsRefused",
     .edit = StageEdit::Delete,
     .stages = 1,
     .edited = 1,
     .done = false},
    {.name = "MoveEarlierFollowsTheStage",
     .edit = StageEdit::MoveEarlier,
     .order = "13245",
     .shown = 2},
    {.name = "MoveEarlierOnTheFirstIsRefused",
     .edit = StageEdit::MoveEarlier,
     .edited = 1,
     .done = false},
    {.name = "MoveLaterFollowsTheStage",
     .edit = StageEdit::MoveLater,
     .order = "12435",
     .shown = 4},
    {.name = "MoveLaterOnTheLastIsRefused",
     .edit = StageEdit::MoveLater,
     .edited = 5,
     .done = false},
    {.name = "MoveLaterInATwoStageProject",
     .edit = StageEdit::MoveLater,
     .stages = 2,
     .edited = 1,
     .order = "21",
     .shown = 2},
};
INSTANTIATE_TEST_SUITE_P(Stages, StageListEdit, ::testing::ValuesIn(kStageEditRows), RowName);

TEST(StageList, NothingIsEditedWithoutAProjectOrDuringAStroke) {
    StageProjectDocument document;
    EXPECT_FALSE(document.canEditStages(StageEdit::InsertAfter));
    EXPECT_FALSE(document.editStages(StageEdit::InsertAfter).done);
    document.newProject("Spring", 3, "Ann");
    document.pointerPressed(test::CellCentreX(0), test::CellCentreY(0));
    EXPECT_FALSE(document.editStages(StageEdit::Delete).done);
    document.pointerReleased();
    EXPECT_TRUE(document.editStages(StageEdit::Delete).done);
    EXPECT_EQ(document.state().StageCount, 2);
}

TEST(StageList, StrokesOnLaterStagesUndoOntoTheRightStage) {
    StageProjectDocument document;
    document.newProject("Spring", 3, "Ann");
    MarkStages(document);  // three strokes, on stages 1, 2 and 3
    document.goToStage(2);
    document.editStages(StageEdit::MoveLater);  // now "132"
    PaintCell(document, 4, 4, 8);               // on the moved stage, now number 3
    ASSERT_EQ(Order(document), "132");
    ASSERT_EQ(document.grid(3)[4 * kGridColumns + 4].Kind, 8);

    document.undo();  // the paint
    EXPECT_EQ(document.grid(3)[4 * kGridColumns + 4].Kind, Kind::kEmpty);
    document.undo();  // the move
    EXPECT_EQ(Order(document), "123");
    document.undo();  // the mark of stage 3, which is stage 3 again
    EXPECT_EQ(Order(document), "12_");
}

TEST(StageList, InsertingIsRefusedAtTheLargestStageCount) {
    StageProjectDocument document;
    document.newProject("Big", kMaxStageCount, "Ann");
    document.goToStage(kMaxStageCount);
    EXPECT_FALSE(document.canEditStages(StageEdit::InsertBefore));
    EXPECT_FALSE(document.editStages(StageEdit::InsertAfter).done);
    EXPECT_FALSE(document.editStages(StageEdit::Duplicate).done);
    EXPECT_EQ(document.state().StageCount, kMaxStageCount);
    EXPECT_TRUE(document.editStages(StageEdit::Delete).done);
    EXPECT_TRUE(document.editStages(StageEdit::Duplicate).done);
    EXPECT_EQ(document.state().StageCount, kMaxStageCount);
    EXPECT_EQ(document.state().EditedStage, kMaxStageCount);
}

struct GoToRow {
    const char* name;
    int target = 1;
    bool shown = true;
};

class GoToStage : public ::testing::TestWithParam<GoToRow> {};

TEST_P(GoToStage, ShowsOnlyStagesThatExist) {
    StageProjectDocument document;
    document.newProject("Spring", 4, "Ann");
    document.goToStage(2);
    EXPECT_EQ(document.goToStage(GetParam().target), GetParam().shown);
    EXPECT_EQ(document.state().EditedStage, GetParam().shown ? GetParam().target : 2);
}

const GoToRow kGoToRows[] = {
    {.name = "FirstStage", .target = 1},
    {.name = "LastStage", .target = 4},
    {.name = "ZeroIsRefused", .target = 0, .shown = false},
    {.name = "OneBeyondTheLastIsRefused", .target = 5, .shown = false},
    {.name = "NegativeIsRefused", .target = -1, .shown = false},
};
INSTANTIATE_TEST_SUITE_P(Numbers, GoToStage, ::testing::ValuesIn(kGoToRows), RowName);

TEST(StageList, GoToWithoutAProjectIsRefused) {
    StageProjectDocument document;
    EXPECT_FALSE(document.goToStage(1));
}

}  // namespace
}  // namespace qon::stage_editor
