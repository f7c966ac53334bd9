// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qon::content {

// The sizes of the programs' icons, in pixels (square).
inline constexpr std::array<int, 3> kIconSizes{48, 128, 256};

// The desktop ids of the game and its four tools, whose icons are "<id>.png".
inline constexpr std::array<const char*, 5> kIconIds{
    "org.qonproject.Qon", "org.qonproject.Tessel", "org.qonproject.Sorrel", "org.qonproject.Pavane",
    "org.qonproject.Orvinth"};

struct IconFile {
    // Inside the game folder, laid out as the icon theme is:
    // "icons/hicolor/48x48/apps/org.qonproject.Qon.png".
    std::string path;
    std::vector<std::uint8_t> png;
};

// Every program's icon at every size, game first.
std::vector<IconFile> MakeIcons();

}  // namespace qon::content
