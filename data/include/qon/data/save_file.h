// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qon {

inline constexpr int kSaveSlotCount = 4;
using SaveSlots = std::array<std::int16_t, kSaveSlotCount>;

inline constexpr const char* kSaveFileName = "qonsave.sav";

// FolderOf(projectPath) + "qonsave.sav".
std::string SaveFilePath(const std::string& projectPath);

// Four lines, each a 16-bit integer with surrounding spaces allowed; `name` names the
// file in errors. Throws DataError for fewer than four lines or a line that is not a
// number.
SaveSlots ParseSaveFile(std::string_view bytes, const std::string& name);

// ParseSaveFile of the file; a missing file is a DataError too.
SaveSlots ReadSaveFile(const std::string& path);

// As ReadSaveFile, but a missing file is first created with four slots of 1.
SaveSlots ReadOrCreateSaveFile(const std::string& path);

// As above for a save read in one place and written in another (the per-user save of a
// read-only project): reads `readPath`; when it is missing, the fresh file is written to
// `writePath`, whose folder is created first.
SaveSlots ReadOrCreateSaveFile(const std::string& readPath, const std::string& writePath);

// The four slots in the print statement's form (" 1 "), one per line.
std::vector<std::string> FormatSaveFile(const SaveSlots& slots);

// Writes FormatSaveFile atomically.
void WriteSaveFile(const std::string& path, const SaveSlots& slots);

// "STAGE " + (value - 1) + "までクリア": 3 -> "STAGE 2までクリア".
std::string SaveSlotLabel(std::int16_t value);

}  // namespace qon
