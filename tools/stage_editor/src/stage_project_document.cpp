// SPDX-License-Identifier: MIT
#include "qon/stage_editor/stage_project_document.h"

#include <QCoreApplication>
#include <QUndoCommand>
#include <QUndoStack>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <utility>

#include "qon/data/error.h"
#include "qon/data/text.h"
#include "qon/stage_editor/problem_text.h"
#include "qon/tools_common/qt_text.h"

namespace qon::stage_editor {

namespace {

// A text of the editor in its language, kept as the data library keeps strings.
std::string say(const QString& text) {
    return tools_common::fromQ(text);
}

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

// A stage put in at `stage` (a new empty one or a copy). Undo shows the stage that was
// edited before.
class InsertStageCommand final : public QUndoCommand {
  public:
    InsertStageCommand(StageProjectDocument& document, int stage, const StageGrid& grid,
                       int shownBefore)
        : m_document(document), m_stage(stage), m_grid(grid), m_shownBefore(shownBefore) {}
    void redo() override {
        m_document.insertStageGrid(m_stage, m_grid);
        m_document.showStage(m_stage);
    }
    void undo() override {
        m_document.removeStageGrid(m_stage);
        m_document.showStage(m_shownBefore);
    }

  private:
    StageProjectDocument& m_document;
    int m_stage;
    StageGrid m_grid;
    int m_shownBefore;
};

// A stage taken out; the grid is kept here so that undo can put it back.
class RemoveStageCommand final : public QUndoCommand {
  public:
    RemoveStageCommand(StageProjectDocument& document, int stage)
        : m_document(document), m_stage(stage) {}
    void redo() override {
        m_grid = m_document.removeStageGrid(m_stage);
        m_document.showStage(std::min<int>(m_stage, m_document.state().StageCount));
    }
    void undo() override {
        m_document.insertStageGrid(m_stage, m_grid);
        m_document.showStage(m_stage);
    }

  private:
    StageProjectDocument& m_document;
    int m_stage;
    StageGrid m_grid{};
};

class MoveStageCommand final : public QUndoCommand {
  public:
    MoveStageCommand(StageProjectDocument& document, int from, int to)
        : m_document(document), m_from(from), m_to(to) {}
    void redo() override {
        m_document.moveStageGrid(m_from, m_to);
        m_document.showStage(m_to);
    }
    void undo() override {
        m_document.moveStageGrid(m_to, m_from);
        m_document.showStage(m_from);
    }

  private:
    StageProjectDocument& m_document;
    int m_from;
    int m_to;
};

StageGrid EmptyEditorGrid() {
    StageGrid grid;
    ResetEditorGrid(grid);
    return grid;
}

}  // namespace

std::optional<CellPos> CellAt(int px, int py, int zoom) {
    // Exact for every whole factor: X < px / zoom <= X + 53 is zoom * X < px <= zoom * (X + 53).
    const int z = std::max(zoom, 1);
    if (px <= kGridLeft * z || px > kGridRight * z || py <= 0 || py > kGridBottom * z)
        return std::nullopt;
    return CellPos{(px - kGridLeft * z - 1) / (kCellWidth * z), (py - 1) / (kCellHeight * z)};
}

std::string KindName(int kind) {
    if (kind >= Kind::kNormalFirst && kind <= Kind::kNormalLast)
        return say(
            QCoreApplication::translate("StageProjectDocument", "ブロック %1 回").arg(kind + 1));
    switch (kind) {
        case Kind::kUnbreakable:
            return say(QCoreApplication::translate("StageProjectDocument", "壊れないブロック"));
        case Kind::Pin:
            return say(QCoreApplication::translate("StageProjectDocument", "ピン"));
        case Kind::MiniBallItem:
            return say(QCoreApplication::translate("StageProjectDocument", "ミニボール"));
        case Kind::WindLeft:
            return say(QCoreApplication::translate("StageProjectDocument", "風（←）"));
        case Kind::WindRight:
            return say(QCoreApplication::translate("StageProjectDocument", "風（→）"));
        case Kind::WindDown:
            return say(QCoreApplication::translate("StageProjectDocument", "風（↓）"));
        case Kind::WindUp:
            return say(QCoreApplication::translate("StageProjectDocument", "風（↑）"));
        case Kind::Magnet:
            return say(QCoreApplication::translate("StageProjectDocument", "磁石"));
        case Kind::Warp:
            return say(QCoreApplication::translate("StageProjectDocument", "ワープ"));
        case Kind::BarExtend:
            return say(QCoreApplication::translate("StageProjectDocument", "バー伸びる"));
        case Kind::FireBall:
            return say(QCoreApplication::translate("StageProjectDocument", "ファイアボール"));
        case Kind::Bomb:
            return say(QCoreApplication::translate("StageProjectDocument", "ボム"));
        case Kind::kEmpty:
            return say(QCoreApplication::translate("StageProjectDocument", "空"));
        default:
            return say(QCoreApplication::translate("StageProjectDocument", "不明"));
    }
}

NewProjectCheck CheckNewProject(const NewProjectInput& input) {
    NewProjectCheck check;
    if (input.projectName.empty() || input.stageCount.empty() || input.staffName.empty()) {
        check.message =
            say(QCoreApplication::translate("StageProjectDocument", kEmptyFieldMessage));
        return check;
    }
    auto count = ParseInt16(NormaliseDigits(input.stageCount));
    if (!count || *count < 1) {
        check.message = say(QCoreApplication::translate(
            "StageProjectDocument", "ステージ数には 1 から 32767 までの整数を入力してください。"));
        return check;
    }
    if (!IsCp932Representable(input.projectName)) {
        check.message = say(QCoreApplication::translate(
            "StageProjectDocument",
            "ステージセット名に、ファイルに保存できない文字（絵文字など）が含まれています。"));
        return check;
    }
    if (!IsCp932Representable(input.staffName)) {
        check.message = say(QCoreApplication::translate(
            "StageProjectDocument",
            "製作者名に、ファイルに保存できない文字（絵文字など）が含まれています。"));
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
    return say(
        QCoreApplication::translate("StageProjectDocument", "QONCreater-%1-製作者：%2")
            .arg(tools_common::toQ(m_state.ProjectName), tools_common::toQ(m_state.StaffName)));
}

std::string StageProjectDocument::statusText() const {
    // Until a project is open nothing has been drawn, and the pane keeps its first text.
    int kind = m_state.ProjectOpen ? kindAt(m_state.HoverColumn, m_state.HoverRow) : 0;
    return "X=" + std::to_string(m_state.HoverColumn) + ",Y=" + std::to_string(m_state.HoverRow) +
           ",Type=" + std::to_string(kind);
}

std::string StageProjectDocument::statusTextWithName() const {
    if (!m_state.ProjectOpen) return statusText();
    return statusText() + " (" + KindName(kindAt(m_state.HoverColumn, m_state.HoverRow)) + ")";
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
        return DescribeProblem(error);
    } catch (const std::bad_alloc&) {
        return DescribeProblem(path, 0, "メモリが足りないため読み込めません。");
    } catch (const std::exception&) {
        return DescribeProblem(path, 0, "ファイルを読み込めませんでした。");
    }
    if (project.stages.empty() || project.stages.size() > static_cast<std::size_t>(kMaxStageCount))
        return DescribeProblem(path, 2, "ステージ数が 1 から 32767 の範囲にありません。");
    replaceProject(std::move(project), path);
    return std::nullopt;
}

StageProjectDocument::SaveOutcome StageProjectDocument::saveProject(
    const std::string& path, const ProjectSaveReport& report) {
    if (!m_state.ProjectOpen) {
        return {SaveResult::Failed,
                DescribeProblem(path, 0, "保存するステージプロジェクトがありません。")};
    }
    // A save in the middle of a stroke closes the stroke, so the saved state is one
    // undo step and "modified" is false right after the save.
    commitStroke();
    try {
        if (SaveStageProject(path, m_project, report) == ProjectSaveResult::Cancelled) {
            return {SaveResult::Cancelled, {}};
        }
    } catch (const DataError& error) {
        return {SaveResult::Failed, DescribeProblem(error)};
    } catch (const std::bad_alloc&) {
        return {SaveResult::Failed,
                DescribeProblem(path, 0, "メモリが足りないため保存できません。")};
    } catch (const std::exception&) {
        return {SaveResult::Failed, DescribeProblem(path, 0, "ファイルを書き込めませんでした。")};
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

bool StageProjectDocument::goToStage(int n) {
    if (!m_state.ProjectOpen || n < 1 || n > m_state.StageCount) return false;
    commitStroke();
    m_state.EditedStage = static_cast<std::int16_t>(n);
    m_strokeStage = n;
    return true;
}

bool StageProjectDocument::canEditStages(StageEdit edit) const {
    if (!m_state.ProjectOpen || m_state.MouseHeld) return false;
    switch (edit) {
        case StageEdit::InsertBefore:
        case StageEdit::InsertAfter:
        case StageEdit::Duplicate:
            return m_state.StageCount < kMaxStageCount;
        case StageEdit::Delete:
            return m_state.StageCount > 1;
        case StageEdit::MoveEarlier:
            return m_state.EditedStage > 1;
        case StageEdit::MoveLater:
            return m_state.EditedStage < m_state.StageCount;
    }
    return false;
}

StageEditResult StageProjectDocument::editStages(StageEdit edit) {
    if (!canEditStages(edit)) return {};
    commitStroke();
    const int stage = m_state.EditedStage;
    const bool isLast = stage == m_state.StageCount;
    StageEditResult result{.done = true, .renumbered = !isLast};
    switch (edit) {
        case StageEdit::InsertBefore:
            m_undo->push(new InsertStageCommand(*this, stage, EmptyEditorGrid(), stage));
            result.renumbered = true;
            break;
        case StageEdit::InsertAfter:
            m_undo->push(new InsertStageCommand(*this, stage + 1, EmptyEditorGrid(), stage));
            break;
        case StageEdit::Duplicate:
            m_undo->push(new InsertStageCommand(*this, stage + 1, grid(stage), stage));
            break;
        case StageEdit::Delete:
            m_undo->push(new RemoveStageCommand(*this, stage));
            break;
        case StageEdit::MoveEarlier:
            m_undo->push(new MoveStageCommand(*this, stage, stage - 1));
            result.renumbered = true;
            break;
        case StageEdit::MoveLater:
            m_undo->push(new MoveStageCommand(*this, stage, stage + 1));
            result.renumbered = true;
            break;
    }
    m_strokeStage = m_state.EditedStage;
    return result;
}

void StageProjectDocument::insertStageGrid(int stage, const StageGrid& grid) {
    m_project.stages.insert(m_project.stages.begin() + (stage - 1), grid);
    m_state.StageCount = static_cast<std::int16_t>(m_project.stages.size());
}

StageGrid StageProjectDocument::removeStageGrid(int stage) {
    const auto at = m_project.stages.begin() + (stage - 1);
    StageGrid removed = *at;
    m_project.stages.erase(at);
    m_state.StageCount = static_cast<std::int16_t>(m_project.stages.size());
    m_state.EditedStage = std::min(m_state.EditedStage, m_state.StageCount);
    return removed;
}

void StageProjectDocument::moveStageGrid(int from, int to) {
    StageGrid moved = removeStageGrid(from);
    insertStageGrid(to, moved);
}

void StageProjectDocument::setTool(PaintTool tool) {
    if (tool == PaintTool::Eyedropper && m_tool != PaintTool::Eyedropper)
        m_toolBeforeEyedropper = m_tool;
    m_tool = tool;
}

void StageProjectDocument::setZoom(int zoom) {
    m_zoom = std::max(zoom, 1);
}

std::optional<CellRect> StageProjectDocument::pendingRectangle() const {
    if (!m_state.MouseHeld || m_picking || m_tool != PaintTool::Rectangle || !m_rectangleAnchor)
        return std::nullopt;
    return CellRect{*m_rectangleAnchor, CellPos{m_state.HoverColumn, m_state.HoverRow}};
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
    auto cell = CellAt(px, py, m_zoom);
    if (!cell) return false;
    return paintCell(cell->column, cell->row);
}

bool StageProjectDocument::paintCell(int column, int row) {
    int index = row * kGridColumns + column;
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

bool StageProjectDocument::pickAt(int px, int py) {
    auto cell = CellAt(px, py, m_zoom);
    if (!cell) return false;
    const int kind = kindAt(cell->column, cell->row);
    // A code no block has cannot be painted: the editor writes only real kinds.
    if (!IsKnownKind(kind)) return false;
    m_state.SelectedKind = static_cast<std::int16_t>(kind);
    return true;
}

bool StageProjectDocument::fillFrom(int px, int py) {
    auto start = CellAt(px, py, m_zoom);
    if (!start) return false;
    const int replaced = kindAt(start->column, start->row);
    if (replaced == m_state.SelectedKind) return false;
    // Cells of the replaced kind joined by their sides; painting a cell changes its kind,
    // so a cell is never visited twice.
    std::vector<CellPos> pending{*start};
    bool painted = false;
    while (!pending.empty()) {
        const CellPos cell = pending.back();
        pending.pop_back();
        if (cell.column < 0 || cell.column >= kGridColumns || cell.row < 0 || cell.row >= kGridRows)
            continue;
        if (kindAt(cell.column, cell.row) != replaced) continue;
        painted = paintCell(cell.column, cell.row) || painted;
        pending.push_back({cell.column - 1, cell.row});
        pending.push_back({cell.column + 1, cell.row});
        pending.push_back({cell.column, cell.row - 1});
        pending.push_back({cell.column, cell.row + 1});
    }
    return painted;
}

bool StageProjectDocument::paintRectangle() {
    auto rectangle = pendingRectangle();
    if (!rectangle) return false;
    bool painted = false;
    for (int row = rectangle->top(); row <= rectangle->bottom(); ++row)
        for (int column = rectangle->left(); column <= rectangle->right(); ++column)
            painted = paintCell(column, row) || painted;
    return painted;
}

bool StageProjectDocument::hoverAt(int px, int py) {
    auto cell = CellAt(px, py, m_zoom);
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

bool StageProjectDocument::pointerPressed(int px, int py, bool pick) {
    m_state.MouseHeld = true;
    m_lastX = px;
    m_lastY = py;
    m_rectangleAnchor.reset();
    m_picking = pick || m_tool == PaintTool::Eyedropper;
    if (!m_state.ProjectOpen) return false;
    beginStroke();
    bool changed = false;
    if (m_picking) {
        changed = pickAt(px, py);
        if (changed && m_tool == PaintTool::Eyedropper) m_tool = m_toolBeforeEyedropper;
    } else {
        switch (m_tool) {
            case PaintTool::Pen:
                changed = paintAt(px, py);
                break;
            case PaintTool::Rectangle:
                m_rectangleAnchor = CellAt(px, py, m_zoom);
                changed = m_rectangleAnchor.has_value();
                break;
            case PaintTool::Fill:
                changed = fillFrom(px, py);
                break;
            case PaintTool::Eyedropper:
                break;
        }
    }
    changed = hoverAt(px, py) || changed;
    return changed;
}

bool StageProjectDocument::pointerMoved(int px, int py) {
    int fromX = m_lastX;
    int fromY = m_lastY;
    m_lastX = px;
    m_lastY = py;
    if (!m_state.ProjectOpen) return false;
    bool changed = false;
    if (m_state.MouseHeld && !m_picking && m_tool == PaintTool::Rectangle && !m_rectangleAnchor) {
        // Pressed off the grid: the rectangle starts at the first cell the pointer reaches.
        m_rectangleAnchor = CellAt(px, py, m_zoom);
        changed = m_rectangleAnchor.has_value();
    }
    if (m_state.MouseHeld && !m_picking && m_tool == PaintTool::Pen) {
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
    if (m_state.MouseHeld && m_state.ProjectOpen && !m_picking && m_tool == PaintTool::Rectangle)
        paintRectangle();
    m_state.MouseHeld = false;
    m_rectangleAnchor.reset();
    m_picking = false;
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
