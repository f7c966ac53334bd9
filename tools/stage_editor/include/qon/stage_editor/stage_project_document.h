// SPDX-License-Identifier: MIT
#pragma once

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
std::optional<CellPos> CellAt(int px, int py);

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

// The message shown when a field is left empty.
inline constexpr const char* kEmptyFieldMessage = "何も入力されていない項目があります。";

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

    // ---- pointer ----------------------------------------------------------------
    // Each returns true when something visible changed (a painted cell, the cursor box).

    // A button went down at (px, py): painting starts with the cell under the pointer.
    bool pointerPressed(int px, int py);
    // The pointer moved to (px, py). While a button is held every cell along the path
    // from the previous sample is painted, so a quick stroke leaves no gaps.
    bool pointerMoved(int px, int py);
    // The button went up: the stroke becomes one undo step.
    void pointerReleased();

    // ---- undo -------------------------------------------------------------------
    // One step is one stroke. Undo and redo show the stage they change. Both are
    // refused while a stroke is in progress.

    bool canUndo() const;
    bool canRedo() const;
    void undo();
    void redo();

    // Used by the undo commands: sets the Kind of a cell without recording it.
    void setCellKind(int stage, int cellIndex, std::int16_t kind);
    void showStage(int stage);

    struct CellChange {
        int cellIndex;
        std::int16_t before;
        std::int16_t after;
    };

  private:
    bool paintAt(int px, int py);
    bool hoverAt(int px, int py);
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
};

}  // namespace qon::stage_editor
