// SPDX-License-Identifier: MIT
#include "qon/stage_editor/stage_project_document.h"

#include <QUndoCommand>
#include <QUndoStack>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <utility>

#include "qon/data/error.h"
#include "qon/data/text.h"

namespace qon::stage_editor {

namespace {

constexpr int kGridLeft = 2;
constexpr int kGridRight = kGridLeft + kCellWidth * kGridColumns;  // 638
constexpr int kGridBottom = kCellHeight * kGridRows;               // 450

// Full-width digits (U+FF10..U+FF19, UTF-8 EF BC 90..99) and the ideographic space
// (U+3000, E3 80 80) become their ASCII forms; everything else is kept.
std::string NormaliseDigits(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
        if (i + 2 < text.size() && byte(i) == 0xEF && byte(i + 1) == 0xBC && byte(i + 2) >= 0x90 &&
            byte(i + 2) <= 0x99) {
            out += static_cast<char>('0' + (byte(i + 2) - 0x90));
            i += 2;
        } else if (i + 2 < text.size() && byte(i) == 0xE3 && byte(i + 1) == 0x80 &&
                   byte(i + 2) == 0x80) {
            out += ' ';
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

class StrokeCommand final : public QUndoCommand {
  public:
    StrokeCommand(StageProjectDocument& document, int stage,
                  std::vector<StageProjectDocument::CellChange> changes)
        : m_document(document), m_stage(stage), m_changes(std::move(changes)) {}

    // The first redo() comes from QUndoStack::push after the stroke has already been
    // painted; writing the same values again is harmless.
    void redo() override {
        for (const auto& change : m_changes)
            m_document.setCellKind(m_stage, change.cellIndex, change.after);
        m_document.showStage(m_stage);
    }
    void undo() override {
        for (auto it = m_changes.rbegin(); it != m_changes.rend(); ++it)
            m_document.setCellKind(m_stage, it->cellIndex, it->before);
        m_document.showStage(m_stage);
    }

  private:
    StageProjectDocument& m_document;
    int m_stage;
    std::vector<StageProjectDocument::CellChange> m_changes;
};

}  // namespace

std::optional<CellPos> CellAt(int px, int py) {
    if (px <= kGridLeft || px > kGridRight || py <= 0 || py > kGridBottom) return std::nullopt;
    return CellPos{(px - kGridLeft - 1) / kCellWidth, (py - 1) / kCellHeight};
}

NewProjectCheck CheckNewProject(const NewProjectInput& input) {
    NewProjectCheck check;
    if (input.projectName.empty() || input.stageCount.empty() || input.staffName.empty()) {
        check.message = kEmptyFieldMessage;
        return check;
    }
    auto count = ParseInt16(NormaliseDigits(input.stageCount));
    if (!count || *count < 1) {
        check.message = "ステージ数には 1 から 32767 までの整数を入力してください。";
        return check;
    }
    if (!IsCp932Representable(input.projectName)) {
        check.message =
            "ステージセット名に、ファイルに保存できない文字（絵文字など）が含まれています。";
        return check;
    }
    if (!IsCp932Representable(input.staffName)) {
        check.message = "製作者名に、ファイルに保存できない文字（絵文字など）が含まれています。";
        return check;
    }
    check.stageCount = *count;
    return check;
}

StageProjectDocument::StageProjectDocument() : m_undo(std::make_unique<QUndoStack>()) {}

StageProjectDocument::~StageProjectDocument() {
    // The undo commands refer to this document; drop them while it is still whole.
    m_undo->clear();
}

const StageGrid& StageProjectDocument::grid(int stage) const {
    return m_project.stages.at(static_cast<std::size_t>(stage - 1));
}

int StageProjectDocument::kindAt(int column, int row) const {
    if (!m_state.ProjectOpen) return Kind::kEmpty;
    return grid(m_state.EditedStage)[static_cast<std::size_t>(row * kGridColumns + column)].Kind;
}

std::string StageProjectDocument::titleText() const {
    if (!m_state.ProjectOpen) return "QONCreater";
    return "QONCreater-" + m_state.ProjectName + "-製作者：" + m_state.StaffName;
}

std::string StageProjectDocument::statusText() const {
    // Until a project is open nothing has been drawn, and the pane keeps its first text.
    int kind = m_state.ProjectOpen ? kindAt(m_state.HoverColumn, m_state.HoverRow) : 0;
    return "X=" + std::to_string(m_state.HoverColumn) + ",Y=" + std::to_string(m_state.HoverRow) +
           ",Type=" + std::to_string(kind);
}

bool StageProjectDocument::isModified() const {
    return m_state.ProjectOpen && (!m_undo->isClean() || !m_stroke.empty());
}

void StageProjectDocument::replaceProject(StageProject project, std::string path) {
    m_stroke.clear();
    m_undo->clear();
    m_project = std::move(project);
    m_state.ProjectName = m_project.projectName;
    m_state.StaffName = m_project.staffName;
    m_state.StageCount = static_cast<std::int16_t>(m_project.stages.size());
    m_state.EditedStage = 1;
    m_state.ProjectOpen = true;
    m_state.ProjectPath = std::move(path);
    m_strokeStage = 1;
}

void StageProjectDocument::newProject(const std::string& projectName, std::int16_t stageCount,
                                      const std::string& staffName) {
    StageProject project;
    project.projectName = projectName;
    project.staffName = staffName;
    project.stages.resize(static_cast<std::size_t>(std::clamp<int>(stageCount, 1, kMaxStageCount)));
    for (auto& grid : project.stages) ResetEditorGrid(grid);
    replaceProject(std::move(project), {});
}

std::optional<std::string> StageProjectDocument::openProject(const std::string& path) {
    StageProject project;
    try {
        // Everything is read into a separate project first, so a failure half-way
        // leaves the open project untouched.
        project = OpenStageProject(path);
    } catch (const DataError& error) {
        return std::string(error.what());
    } catch (const std::bad_alloc&) {
        return path + ": メモリが足りないため読み込めません。";
    } catch (const std::exception& error) {
        return path + ": " + error.what();
    }
    if (project.stages.empty() || project.stages.size() > static_cast<std::size_t>(kMaxStageCount))
        return path + ", line 2: ステージ数が 1 から 32767 の範囲にありません。";
    replaceProject(std::move(project), path);
    return std::nullopt;
}

StageProjectDocument::SaveOutcome StageProjectDocument::saveProject(
    const std::string& path, const ProjectSaveReport& report) {
    if (!m_state.ProjectOpen) {
        return {SaveResult::Failed, path + ": 保存するステージプロジェクトがありません。"};
    }
    // A save in the middle of a stroke closes the stroke, so the saved state is one
    // undo step and "modified" is false right after the save.
    commitStroke();
    try {
        if (SaveStageProject(path, m_project, report) == ProjectSaveResult::Cancelled) {
            return {SaveResult::Cancelled, {}};
        }
    } catch (const DataError& error) {
        return {SaveResult::Failed, error.what()};
    } catch (const std::bad_alloc&) {
        return {SaveResult::Failed, path + ": メモリが足りないため保存できません。"};
    } catch (const std::exception& error) {
        return {SaveResult::Failed, path + ": " + error.what()};
    }
    m_state.ProjectPath = path;
    m_undo->setClean();
    return {};
}

std::optional<std::string> StageProjectDocument::writeProject(const std::string& path) {
    SaveOutcome outcome = saveProject(path);
    if (outcome.result == SaveResult::Saved) return std::nullopt;
    return outcome.error;
}

void StageProjectDocument::selectKind(std::int16_t kind) {
    m_state.SelectedKind = kind;
}

void StageProjectDocument::stepBack() {
    commitStroke();
    m_state.EditedStage = static_cast<std::int16_t>(std::max(1, m_state.EditedStage - 1));
    m_strokeStage = m_state.EditedStage;
}

void StageProjectDocument::stepGo() {
    commitStroke();
    int next = std::min<int>(m_state.EditedStage + 1, m_state.StageCount);
    if (m_state.StageCount == 0) next = 1;
    m_state.EditedStage = static_cast<std::int16_t>(next);
    m_strokeStage = m_state.EditedStage;
}

void StageProjectDocument::showStage(int stage) {
    if (stage >= 1 && stage <= m_state.StageCount)
        m_state.EditedStage = static_cast<std::int16_t>(stage);
}

void StageProjectDocument::setCellKind(int stage, int cellIndex, std::int16_t kind) {
    m_project.stages.at(static_cast<std::size_t>(stage - 1))
        .at(static_cast<std::size_t>(cellIndex))
        .Kind = kind;
}

bool StageProjectDocument::paintAt(int px, int py) {
    auto cell = CellAt(px, py);
    if (!cell) return false;
    int index = cell->row * kGridColumns + cell->column;
    auto& target = m_project.stages[static_cast<std::size_t>(m_state.EditedStage - 1)]
                                   [static_cast<std::size_t>(index)];
    if (target.Kind == m_state.SelectedKind) return false;
    auto known = std::find_if(m_stroke.begin(), m_stroke.end(),
                              [&](const CellChange& c) { return c.cellIndex == index; });
    if (known == m_stroke.end())
        m_stroke.push_back({index, target.Kind, m_state.SelectedKind});
    else
        known->after = m_state.SelectedKind;
    target.Kind = m_state.SelectedKind;
    return true;
}

bool StageProjectDocument::hoverAt(int px, int py) {
    auto cell = CellAt(px, py);
    if (!cell) return false;  // off the grid the cursor box stays on the last cell
    if (cell->column == m_state.HoverColumn && cell->row == m_state.HoverRow &&
        m_state.CursorX == 2 + kCellWidth * cell->column &&
        m_state.CursorY == kCellHeight * cell->row)
        return false;
    m_state.HoverColumn = cell->column;
    m_state.HoverRow = cell->row;
    m_state.CursorX = 2 + kCellWidth * cell->column;
    m_state.CursorY = kCellHeight * cell->row;
    return true;
}

void StageProjectDocument::beginStroke() {
    m_stroke.clear();
    m_strokeStage = m_state.EditedStage;
}

void StageProjectDocument::commitStroke() {
    std::vector<CellChange> changes;
    for (const auto& change : m_stroke)
        if (change.before != change.after) changes.push_back(change);
    m_stroke.clear();
    if (changes.empty()) return;
    m_undo->push(new StrokeCommand(*this, m_strokeStage, std::move(changes)));
}

bool StageProjectDocument::pointerPressed(int px, int py) {
    m_state.MouseHeld = true;
    m_lastX = px;
    m_lastY = py;
    if (!m_state.ProjectOpen) return false;
    beginStroke();
    bool painted = paintAt(px, py);
    bool moved = hoverAt(px, py);
    return painted || moved;
}

bool StageProjectDocument::pointerMoved(int px, int py) {
    int fromX = m_lastX;
    int fromY = m_lastY;
    m_lastX = px;
    m_lastY = py;
    if (!m_state.ProjectOpen) return false;
    bool changed = false;
    if (m_state.MouseHeld) {
        // Pointer samples may lie far apart on a quick stroke: walk the segment in
        // one-pixel steps along its longer axis so every cell it crosses is painted.
        int dx = px - fromX;
        int dy = py - fromY;
        int steps = std::max(std::abs(dx), std::abs(dy));
        for (int i = 1; i <= steps; ++i) {
            int x = fromX + static_cast<int>(std::lround(static_cast<double>(dx) * i / steps));
            int y = fromY + static_cast<int>(std::lround(static_cast<double>(dy) * i / steps));
            changed = paintAt(x, y) || changed;
        }
        if (steps == 0) changed = paintAt(px, py) || changed;
    }
    changed = hoverAt(px, py) || changed;
    return changed;
}

void StageProjectDocument::pointerReleased() {
    m_state.MouseHeld = false;
    commitStroke();
}

bool StageProjectDocument::canUndo() const {
    return !m_state.MouseHeld && m_undo->canUndo();
}
bool StageProjectDocument::canRedo() const {
    return !m_state.MouseHeld && m_undo->canRedo();
}

void StageProjectDocument::undo() {
    if (canUndo()) m_undo->undo();
}

void StageProjectDocument::redo() {
    if (canRedo()) m_undo->redo();
}

}  // namespace qon::stage_editor
