// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "qon/data/project_save.h"
#include "qon/data/stage.h"

class QUndoStack;

namespace qon::stage_editor {

// Size of the drawing area that shows one stage.
inline constexpr int kGridAreaWidth = 640;
inline constexpr int kGridAreaHeight = 480;
inline constexpr std::int16_t kMaxStageCount = 32767;

struct CellPos {
    int column = 0;
    int row = 0;
    bool operator==(const CellPos&) const = default;
};

// The cell under a pointer at client pixel (px, py). A cell owns X < px <= X + 53 and
// Y < py <= Y + 15: its left and top edges belong to the neighbour, so x = 55 is column
// 0 and x = 56 column 1. x <= 2, y <= 0, x > 638 and y > 450 hit no cell.
//
// With the grid shown `zoom` times larger (a whole factor of 1 or more), (px, py) are
// pixels of the enlarged picture and the same rule holds for px / zoom and py / zoom,
// compared exactly: at 2x, x = 110 is still column 0 and x = 111 column 1.
std::optional<CellPos> CellAt(int px, int py, int zoom = 1);

// A rectangle of cells, corners included, in any order of its two corners.
struct CellRect {
    CellPos first;
    CellPos last;
    int left() const { return first.column < last.column ? first.column : last.column; }
    int right() const { return first.column < last.column ? last.column : first.column; }
    int top() const { return first.row < last.row ? first.row : last.row; }
    int bottom() const { return first.row < last.row ? last.row : first.row; }
    bool operator==(const CellRect&) const = default;
};

// What a held button does on the grid. Every tool paints with any button; Alt with a
// click picks the kind whatever the tool.
enum class PaintTool {
    Pen,         // paints every cell the pointer passes
    Rectangle,   // paints the rectangle between the press and the release
    Fill,        // paints the cell and every cell of the same kind joined to it by sides
    Eyedropper,  // takes the clicked cell's kind, then hands back to the previous tool
};

// The stage list edits of the Stage menu.
enum class StageEdit {
    InsertBefore,  // an empty stage in place of the edited one, which moves one on
    InsertAfter,   // an empty stage after the edited one
    Duplicate,     // a copy of the edited stage after it
    Delete,        // the edited stage; refused for the only stage
    MoveEarlier,   // the edited stage swaps places with the one before it
    MoveLater,     // the edited stage swaps places with the one after it
};

// What a stage list edit did: `done` when it happened, `renumbered` when stages that
// existed before it now have other numbers (the save slots of players count by number).
struct StageEditResult {
    bool done = false;
    bool renumbered = false;
};

// The name of a kind as the palette calls it ("ピン", "空"), for the status bar;
// "不明" for a code no block has.
std::string KindName(int kind);

// Editor state; field names follow the editor's own vocabulary so that the window,
// the tests and the documentation speak of the same things.
struct EditorState {
    std::string ProjectName;
    std::int16_t StageCount = 0;
    std::string StaffName;
    std::int16_t EditedStage = 1;
    std::int16_t SelectedKind = Kind::kEmpty;
    bool MouseHeld = false;
    std::int32_t HoverColumn = 0;
    std::int32_t HoverRow = 0;
    // Top-left pixel of the cursor box; at start it stands on column 0, row 4.
    std::int32_t CursorX = 2;
    std::int32_t CursorY = 60;
    bool ProjectOpen = false;
    std::string ProjectPath;
};

// What the new-project dialog hands over, as typed.
struct NewProjectInput {
    std::string projectName;
    std::string stageCount;
    std::string staffName;
};

// Result of checking NewProjectInput: either a stage count or a message for the author.
struct NewProjectCheck {
    std::optional<std::int16_t> stageCount;
    std::string message;  // empty when the input is accepted
};

// Empty fields, stage counts that are not a whole number from 1 to 32767 (full-width
// digits are accepted, as a Japanese input method types them) and names that cannot
// be stored in a Shift-JIS file are refused.
NewProjectCheck CheckNewProject(const NewProjectInput& input);

// The message shown when a field is left empty (translated as it is shown).
inline constexpr const char* kEmptyFieldMessage =
    QT_TRANSLATE_NOOP("StageProjectDocument", "何も入力されていない項目があります。");

class StageProjectDocument {
  public:
    StageProjectDocument();
    ~StageProjectDocument();
    StageProjectDocument(const StageProjectDocument&) = delete;
    StageProjectDocument& operator=(const StageProjectDocument&) = delete;

    const EditorState& state() const { return m_state; }

    // Grid of stage 1..StageCount. Precondition: a project is open and the stage exists.
    const StageGrid& grid(int stage) const;
    // Kind of a cell of the edited stage; 255 when no project is open.
    int kindAt(int column, int row) const;

    // "QONCreater", or "QONCreater-" + name + "-製作者：" + staff with a project.
    std::string titleText() const;
    // "X=3,Y=12,Type=255": the last hovered cell and its Kind in the edited stage.
    std::string statusText() const;
    // statusText() and the kind's name: "X=3,Y=12,Type=101 (ピン)". Without a project
    // there is no cell to name, and it is statusText() alone.
    std::string statusTextWithName() const;
    // True when the project holds paint that no save has written yet.
    bool isModified() const;

    // ---- project ----------------------------------------------------------------

    // Replaces the project by `stageCount` empty stages. `stageCount` must be 1..32767.
    void newProject(const std::string& projectName, std::int16_t stageCount,
                    const std::string& staffName);

    // Reads a project file and all its stage files, first finishing a save of its folder
    // that was interrupted. On failure returns the reason (naming the file) and leaves the
    // current project exactly as it was.
    std::optional<std::string> openProject(const std::string& path);

    enum class SaveResult { Saved, Cancelled, Failed };
    struct SaveOutcome {
        SaveResult result = SaveResult::Saved;
        std::string error;  // the reason, naming the file, when Failed
    };

    // Writes the project file, its stage files and a fresh save file as one: the folder
    // then holds the old project or the new one, never a mix. `report` follows the save
    // and may cancel it until the files start going into place. When saved, the path
    // becomes ProjectPath and the project counts as saved; a cancelled or failed save
    // changes no state.
    SaveOutcome saveProject(const std::string& path, const ProjectSaveReport& report = {});

    // saveProject without progress: std::nullopt when saved, else the reason.
    std::optional<std::string> writeProject(const std::string& path);

    // ---- palette and stage arrows -----------------------------------------------

    void selectKind(std::int16_t kind);
    // One stage back, never below 1.
    void stepBack();
    // One stage on, never beyond StageCount; stays 1 without a project.
    void stepGo();
    // Shows stage n; false (and nothing changes) when there is no such stage.
    bool goToStage(int n);

    // ---- stage list -------------------------------------------------------------
    // Each edit is one undo step; undo and redo show the stage they touch. The stage
    // count stays within 1..32767: an edit that would leave that range is refused.

    bool canEditStages(StageEdit edit) const;
    StageEditResult editStages(StageEdit edit);

    // ---- tools and zoom -----------------------------------------------------------

    void setTool(PaintTool tool);
    PaintTool tool() const { return m_tool; }
    // The whole factor (1 or more) by which the grid is shown enlarged; pointer
    // coordinates are pixels of the enlarged picture.
    void setZoom(int zoom);
    int zoom() const { return m_zoom; }
    // The rectangle the Rectangle tool would paint if the button went up now.
    std::optional<CellRect> pendingRectangle() const;
    // ---- pointer ----------------------------------------------------------------
    // Each returns true when something visible changed (a painted cell, the cursor box).

    // A button went down at (px, py): the tool starts with the cell under the pointer.
    // `pick` (Alt held) takes the cell's kind instead, whatever the tool.
    bool pointerPressed(int px, int py, bool pick = false);
    // The pointer moved to (px, py). While a button is held every cell along the path
    // from the previous sample is painted, so a quick stroke leaves no gaps.
    bool pointerMoved(int px, int py);
    // The button went up: the stroke, rectangle or fill becomes one undo step.
    void pointerReleased();

    // ---- undo -------------------------------------------------------------------
    // One step is one stroke. Undo and redo show the stage they change. Both are
    // refused while a stroke is in progress.

    bool canUndo() const;
    bool canRedo() const;
    void undo();
    void redo();

    // Used by the undo commands: sets the Kind of a cell, or changes the stage list,
    // without recording it.
    void setCellKind(int stage, int cellIndex, std::int16_t kind);
    void showStage(int stage);
    void insertStageGrid(int stage, const StageGrid& grid);
    StageGrid removeStageGrid(int stage);
    void moveStageGrid(int from, int to);

    struct CellChange {
        int cellIndex;
        std::int16_t before;
        std::int16_t after;
    };

  private:
    bool paintAt(int px, int py);
    bool paintCell(int column, int row);
    bool hoverAt(int px, int py);
    bool pickAt(int px, int py);
    bool fillFrom(int px, int py);
    bool paintRectangle();
    void beginStroke();
    void commitStroke();
    void replaceProject(StageProject project, std::string path);

    EditorState m_state;
    StageProject m_project;
    std::unique_ptr<QUndoStack> m_undo;
    // The stroke being painted: its stage and every cell it changed (first change only
    // keeps `before`, later ones update `after`).
    int m_strokeStage = 0;
    std::vector<CellChange> m_stroke;
    int m_lastX = 0;
    int m_lastY = 0;
    PaintTool m_tool = PaintTool::Pen;
    PaintTool m_toolBeforeEyedropper = PaintTool::Pen;
    int m_zoom = 1;
    // The press of a rectangle: its first corner, once the held pointer has been on a cell.
    std::optional<CellPos> m_rectangleAnchor;
    // The pointer's press is a pick (Alt or the eyedropper): the rest of it paints nothing.
    bool m_picking = false;
};

}  // namespace qon::stage_editor
