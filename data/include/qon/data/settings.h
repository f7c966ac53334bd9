// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "qon/data/set_list.h"

namespace qon {

inline constexpr const char* kSettingsFileName = "Init.bse";

struct GameSettings {
    std::int16_t StageSetIndex = 0;
    std::int16_t BitMapSetIndex = 0;
    std::int16_t MusicSetIndex = 0;
};

// The three indices; `name` names the file in errors. Throws DataError for fewer than
// three lines or a line that is not a number.
GameSettings ParseSettingsFile(std::string_view bytes, const std::string& name);

// ParseSettingsFile of the file; a missing file is a DataError too.
GameSettings ReadSettingsFile(const std::string& path);

// As ReadSettingsFile, but a missing file is first created with three lines of 0.
GameSettings ReadOrCreateSettingsFile(const std::string& path);

// Bounds each index against its list: an index past the end of its list becomes 0,
// and so does a negative one (it must never index a list).
GameSettings BoundSettings(GameSettings settings, const SetLists& lists);

// The three indices as plain digits, one per line.
std::vector<std::string> FormatSettingsFile(const GameSettings& settings);

// Writes FormatSettingsFile atomically.
void WriteSettingsFile(const std::string& path, const GameSettings& settings);

}  // namespace qon
