// SPDX-License-Identifier: MIT
// Pointer and text helpers shared by the stage editor's tests.
#pragma once

#include <string>
#include <vector>

#include "qon/stage_editor/stage_project_document.h"

namespace qon::stage_editor::test {

// Joins lines with CR LF after each.
inline std::string CrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

// Client pixel in the middle of a cell.
inline int CellCentreX(int column) {
    return 2 + 53 * column + 27;
}
inline int CellCentreY(int row) {
    return 15 * row + 8;
}

// A click (press and release without moving) on a cell with the given kind.
inline void PaintCell(StageProjectDocument& document, int column, int row, int kind) {
    document.selectKind(static_cast<std::int16_t>(kind));
    document.pointerPressed(CellCentreX(column), CellCentreY(row));
    document.pointerReleased();
}

}  // namespace qon::stage_editor::test
