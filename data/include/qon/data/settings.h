// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "qon/data/set_list.h"

namespace qon {

inline constexpr const char* kSettingsFileName = "Init.bse";

struct GameSettings {
    std::int16_t StageSetIndex = 0;
    std::int16_t BitMapSetIndex = 0;
    std::int16_t MusicSetIndex = 0;
};

// Reads the three indices. Throws DataError for a missing file, fewer than three lines
// or a line that is not a number.
GameSettings ReadSettingsFile(const std::string& path);

// As ReadSettingsFile, but a missing file is first created with three lines of 0.
GameSettings ReadOrCreateSettingsFile(const std::string& path);

// Bounds each index against its list: an index past the end of its list becomes 0,
// and so does a negative one (it must never index a list).
GameSettings BoundSettings(GameSettings settings, const SetLists& lists);

// Writes the three indices as plain digits, atomically.
void WriteSettingsFile(const std::string& path, const GameSettings& settings);

}  // namespace qon
