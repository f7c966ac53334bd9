// SPDX-License-Identifier: MIT
#include "qon/data/stage.h"

#include <cassert>
#include <string_view>

#include "qon/data/error.h"
#include "qon/data/messages.h"
#include "qon/data/paths.h"
#include "qon/data/save_file.h"
#include "qon/data/text.h"

namespace qon {

namespace {

constexpr int kCharsPerCell = 2;
constexpr int kMaxStageCount = 32767;

// The two characters of `column` on a stage line. Characters, not bytes: a hand-edited line
// holding a Japanese character must shift the later cells by one character, not by the
// three bytes UTF-8 spends on it. A cell past the end of a short line is empty text.
std::array<std::string_view, kGridColumns> splitCells(std::string_view line) {
    std::array<std::string_view, kGridColumns> cells{};
    std::size_t pos = 0;
    for (int column = 0; column < kGridColumns && pos < line.size(); ++column) {
        const std::size_t start = pos;
        for (int i = 0; i < kCharsPerCell && pos < line.size(); ++i) {
            ++pos;
            while (pos < line.size() && (static_cast<unsigned char>(line[pos]) & 0xC0) == 0x80) {
                ++pos;
            }
        }
        cells[column] = line.substr(start, pos - start);
    }
    return cells;
}

// The cell's Kind exactly as written: the value of its leading hex digits, 0 when it has none.
std::int16_t cellKind(std::string_view cell) {
    // Two hex digits never exceed 0xFF.
    return static_cast<std::int16_t>(HexToLong(cell));
}

std::string rowWhat(int row) {
    return Say(Message::StageRowOf, {std::to_string(row + 1), std::to_string(kGridRows)});
}

std::int16_t parseStageCount(LineReader& reader) {
    const std::string text = reader.require(Say(Message::StageCount));
    const std::optional<std::int16_t> count = ParseInt16(text);
    if (!count || *count < 1) {
        reader.fail(NumberProblem(Say(Message::StageCount), text, 1, kMaxStageCount));
    }
    return *count;
}

void resetCells(StageGrid& grid, int topOffset, std::int16_t kind) {
    for (int row = 0; row < kGridRows; ++row) {
        for (int column = 0; column < kGridColumns; ++column) {
            BlockCell& cell = grid[row * kGridColumns + column];
            cell.Width = kCellWidth;
            cell.Height = kCellHeight;
            cell.X = static_cast<std::int16_t>(kCellWidth * column + 2);
            cell.Y = static_cast<std::int16_t>(kCellHeight * row + topOffset);
            cell.Kind = kind;
            cell.HitPoints = 0;
            cell.Alive = kFalse;
        }
    }
}

// Reads the 30 rows of one stage file, handing each cell's raw Kind to `store`.
template <typename Store>
void parseStageRows(std::string_view bytes, const std::string& name, Store&& store) {
    LineReader reader(name, std::string(bytes));
    for (int row = 0; row < kGridRows; ++row) {
        const std::string line = reader.require(rowWhat(row));
        const auto cells = splitCells(line);
        for (int column = 0; column < kGridColumns; ++column) {
            store(row * kGridColumns + column, cellKind(cells[column]));
        }
    }
}

}  // namespace

bool IsKnownKind(int kind) {
    return (kind >= Kind::kNormalFirst && kind <= Kind::kUnbreakable) || IsSpecialKind(kind) ||
           kind == Kind::kEmpty;
}

bool IsSpecialKind(int kind) {
    return kind >= Kind::Pin && kind <= Kind::Bomb;
}

void ResetGrid(StageGrid& grid) {
    resetCells(grid, 30, 0);
}

void ResetEditorGrid(StageGrid& grid) {
    resetCells(grid, 0, Kind::kEmpty);
}

std::string StageFilePath(const std::string& projectPath, int stageNumber) {
    return FolderOf(projectPath) + "Stage" + std::to_string(stageNumber) + ".stg";
}

std::string FormatStageLine(const StageGrid& grid, int row) {
    assert(row >= 0 && row < kGridRows && "FormatStageLine: row out of range");
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string line;
    line.reserve(kGridColumns * kCharsPerCell);
    for (int column = 0; column < kGridColumns; ++column) {
        const int kind = grid[row * kGridColumns + column].Kind;
        assert(kind >= 0 && kind <= 0xFF && "a Kind must fit two hex digits");
        const int byte = kind & 0xFF;
        line += kDigits[byte >> 4];
        line += kDigits[byte & 0xF];
    }
    return line;
}

std::vector<std::string> FormatStageFile(const StageGrid& grid) {
    std::vector<std::string> rows;
    rows.reserve(kGridRows);
    for (int row = 0; row < kGridRows; ++row) {
        rows.push_back(FormatStageLine(grid, row));
    }
    return rows;
}

StageProjectHeader ParseStageProjectHeader(std::string_view bytes, const std::string& name) {
    LineReader reader(name, std::string(bytes));
    StageProjectHeader header;
    header.projectName = reader.require(Say(Message::ProjectName));
    header.StageCount = parseStageCount(reader);
    header.stageStaff = reader.require(Say(Message::StaffName));
    return header;
}

StageProjectHeader ReadStageProjectHeader(const std::string& projectPath) {
    return ParseStageProjectHeader(ReadTextFileBytes(projectPath), projectPath);
}

void ParseStageFile(std::string_view bytes, const std::string& name, StageGrid& grid) {
    // Fill a copy so that a file failing half-way leaves the caller's grid as it was.
    StageGrid loaded = grid;
    parseStageRows(bytes, name, [&](int index, std::int16_t kind) {
        BlockCell& cell = loaded[index];
        // A Kind outside the table would be a live block that nothing draws or breaks, and the
        // stage could never be cleared: read it as an empty cell.
        cell.Kind = IsKnownKind(kind) ? kind : Kind::kEmpty;
        cell.HitPoints =
            static_cast<std::int16_t>(cell.Kind <= Kind::kUnbreakable ? cell.Kind + 1 : 1);
        cell.Alive = cell.Kind == Kind::kEmpty ? kFalse : kTrue;
    });
    grid = loaded;
}

void ReadStageFile(const std::string& projectPath, int stageNumber, StageGrid& grid) {
    const std::string path = StageFilePath(projectPath, stageNumber);
    ParseStageFile(ReadTextFileBytes(path), path, grid);
}

StageGrid ParseStageFileForEditing(std::string_view bytes, const std::string& name) {
    StageGrid grid;
    ResetEditorGrid(grid);
    parseStageRows(bytes, name, [&](int index, std::int16_t kind) { grid[index].Kind = kind; });
    return grid;
}

StageProject ReadStageProject(const std::string& projectPath, const FileSource& source) {
    const StageProjectHeader header = ParseStageProjectHeader(source(projectPath), projectPath);
    StageProject project;
    project.projectName = header.projectName;
    project.staffName = header.stageStaff;
    // Grow one stage at a time: a count of 32767 over three stage files fails at the fourth
    // file, having allocated only what was read.
    for (int stage = 1; stage <= header.StageCount; ++stage) {
        const std::string path = StageFilePath(projectPath, stage);
        project.stages.push_back(ParseStageFileForEditing(source(path), path));
    }
    return project;
}

std::vector<std::string> FormatStageProjectFile(const StageProject& project,
                                                const std::string& name) {
    const std::size_t count = project.stages.size();
    if (count < 1 || count > static_cast<std::size_t>(kMaxStageCount)) {
        throw DataError(name, 0,
                        Say(Message::StageCountOutOfRange,
                            {std::to_string(kMaxStageCount), std::to_string(count)}));
    }
    return {project.projectName, std::to_string(count), project.staffName};
}

std::vector<FileBytes> FormatStageProjectFiles(const std::string& projectPath,
                                               const StageProject& project) {
    const std::string folder = FolderOf(projectPath);
    // The project file is formatted first: a refused name or count stops the save before
    // any stage file has been encoded.
    std::string projectFile =
        FormatLines(FormatStageProjectFile(project, projectPath), projectPath);
    std::vector<FileBytes> files;
    files.reserve(project.stages.size() + 2);
    for (std::size_t stage = 1; stage <= project.stages.size(); ++stage) {
        std::string path = StageFilePath(projectPath, static_cast<int>(stage));
        std::string bytes = FormatLines(FormatStageFile(project.stages[stage - 1]), path);
        files.push_back({std::move(path), std::move(bytes)});
    }
    files.push_back({projectPath, std::move(projectFile)});
    SaveSlots fresh;
    fresh.fill(1);
    const std::string savePath = folder + kSaveFileName;
    files.push_back({savePath, FormatLines(FormatSaveFile(fresh), savePath)});
    return files;
}

}  // namespace qon
