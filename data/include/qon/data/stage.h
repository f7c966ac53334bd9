// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "qon/data/files.h"

namespace qon {

inline constexpr int kGridRows = 30;
inline constexpr int kGridColumns = 12;
inline constexpr int kGridCells = kGridRows * kGridColumns;  // cell index = row * 12 + column
inline constexpr int kCellWidth = 53;
inline constexpr int kCellHeight = 15;

// Block codes of a stage file.
namespace Kind {
inline constexpr std::int16_t kNormalFirst = 0;  // 0..7: breaks after Kind + 1 hits
inline constexpr std::int16_t kNormalLast = 7;
inline constexpr std::int16_t kUnbreakable = 8;
inline constexpr std::int16_t Pin = 101;
inline constexpr std::int16_t MiniBallItem = 102;
inline constexpr std::int16_t WindLeft = 103;
inline constexpr std::int16_t WindRight = 104;
inline constexpr std::int16_t WindDown = 105;
inline constexpr std::int16_t WindUp = 106;
inline constexpr std::int16_t Magnet = 107;
inline constexpr std::int16_t Warp = 108;
inline constexpr std::int16_t BarExtend = 109;
inline constexpr std::int16_t FireBall = 110;
inline constexpr std::int16_t Bomb = 111;
inline constexpr std::int16_t kEmpty = 255;
}  // namespace Kind

// True for the codes of the table: 0..8, 101..111 and 255.
bool IsKnownKind(int kind);
// True for 101..111.
bool IsSpecialKind(int kind);

// Flags are -1 for true and 0 for false.
inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

struct BlockCell {
    std::int16_t Width = kCellWidth;
    std::int16_t Height = kCellHeight;
    std::int16_t X = 0;
    std::int16_t Y = 0;
    std::int16_t Kind = 0;
    std::int16_t HitPoints = 0;
    std::int16_t Alive = 0;
};

using StageGrid = std::array<BlockCell, kGridCells>;

// Game geometry: X = 53 * column + 2, Y = 15 * row + 30; Kind, HitPoints, Alive 0.
void ResetGrid(StageGrid& grid);

// Editor geometry: X = 53 * column + 2, Y = 15 * row; Kind 255, HitPoints 0, Alive 0.
void ResetEditorGrid(StageGrid& grid);

// FolderOf(projectPath) + "Stage" + N + ".stg" (no leading zeros).
std::string StageFilePath(const std::string& projectPath, int stageNumber);

// One stage line: 12 cells of two upper-case hex digits ("0A", "FF").
std::string FormatStageLine(const StageGrid& grid, int row);

// The 30 lines of a stage file, row 0 first.
std::vector<std::string> FormatStageFile(const StageGrid& grid);

// ---- game side ---------------------------------------------------------------

struct StageProjectHeader {
    std::string projectName;      // line 1, not used in play
    std::int16_t StageCount = 0;  // line 2
    std::string stageStaff;       // line 3
};

// The three lines of a project file; `name` names the file in errors. Throws DataError
// for a file that ends early or a stage count that is not a number from 1 to 32767.
StageProjectHeader ParseStageProjectHeader(std::string_view bytes, const std::string& name);

// ParseStageProjectHeader of the project file; a missing file is a DataError too.
StageProjectHeader ReadStageProjectHeader(const std::string& projectPath);

// Reads the 30 rows of a stage file into the grid, which must have been reset with
// ResetGrid: sets Kind, HitPoints (Kind + 1 for Kind <= 8, else 1) and Alive (-1 unless
// Kind is 255) of every cell. A cell beyond the end of a short line reads as Kind 0;
// characters after the 24th are ignored. A Kind outside the table reads as an empty
// cell (255) so that no invisible live block can make a stage impossible to clear.
// Throws DataError for a file of fewer than 30 lines, and then leaves the grid as it was.
void ParseStageFile(std::string_view bytes, const std::string& name, StageGrid& grid);

// ParseStageFile of stage file `stageNumber` of the project; a missing file is a
// DataError too.
void ReadStageFile(const std::string& projectPath, int stageNumber, StageGrid& grid);

// ---- editor side -------------------------------------------------------------

struct StageProject {
    std::string projectName = "New Stage";
    std::string staffName = "New";
    // One grid per stage, stages 1..N at positions 0..N-1, editor geometry.
    std::vector<StageGrid> stages;
};

// The editor's reading of one stage file: a grid in editor geometry whose Kind values are
// kept exactly as the hex digits give them (a value outside the table is kept; the editor
// shows it as unknown). Throws DataError for a file of fewer than 30 lines.
StageGrid ParseStageFileForEditing(std::string_view bytes, const std::string& name);

// Reads the project file and all its stage files, each one through `source`. Throws
// DataError naming the failing file and line.
StageProject ReadStageProject(const std::string& projectPath,
                              const FileSource& source = ReadTextFileBytes);

// The three lines of the project file: project name, stage count, staff name. Throws
// DataError naming `name` for a project of no stages or of more than 32767.
std::vector<std::string> FormatStageProjectFile(const StageProject& project,
                                                const std::string& name);

// A file as it goes to the disk: its path and its bytes.
struct FileBytes {
    std::string path;
    std::string bytes;
};

// Every file a save of the project writes, encoded: stage files 1..N, the project file,
// then a fresh "qonsave.sav" (four slots of 1). Throws DataError when a name cannot be
// encoded or the stage count is out of range.
std::vector<FileBytes> FormatStageProjectFiles(const std::string& projectPath,
                                               const StageProject& project);

// Writes FormatStageProjectFiles as one: the folder holds either the old project or the
// new one, never a mix (SaveStageProject in project_save.h, which also reports progress).
// Stage files above N are left alone. Nothing is written when the files cannot be
// formatted.
void WriteStageProject(const std::string& projectPath, const StageProject& project);

}  // namespace qon
