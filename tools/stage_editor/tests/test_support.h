// SPDX-License-Identifier: MIT
// Small helpers shared by the stage editor's tests.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "qon/tessel/editor_model.h"

namespace qon::tessel::test {

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
  public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessel-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The path of `name` inside the folder.
    std::string file(const std::string& name) const { return (m_path / name).string(); }

  private:
    std::filesystem::path m_path;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

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
inline void PaintCell(EditorModel& model, int column, int row, int kind) {
    model.selectKind(static_cast<std::int16_t>(kind));
    model.pointerPressed(CellCentreX(column), CellCentreY(row));
    model.pointerReleased();
}

}  // namespace qon::tessel::test
