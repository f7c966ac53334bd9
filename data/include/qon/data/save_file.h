// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace qon {

inline constexpr int kSaveSlotCount = 4;
using SaveSlots = std::array<std::int16_t, kSaveSlotCount>;

inline constexpr const char* kSaveFileName = "qonsave.sav";

// FolderOf(projectPath) + "qonsave.sav".
std::string SaveFilePath(const std::string& projectPath);

// Reads four lines, each a 16-bit integer with surrounding spaces allowed. Throws
// DataError for a missing file, fewer than four lines or a line that is not a number.
SaveSlots ReadSaveFile(const std::string& path);

// As ReadSaveFile, but a missing file is first created with four slots of 1.
SaveSlots ReadOrCreateSaveFile(const std::string& path);

// Writes the four slots in the print statement's form (" 1 ") atomically.
void WriteSaveFile(const std::string& path, const SaveSlots& slots);

// "STAGE " + (value - 1) + "までクリア": 3 -> "STAGE 2までクリア".
std::string SaveSlotLabel(std::int16_t value);

}  // namespace qon
