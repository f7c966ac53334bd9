// SPDX-License-Identifier: MIT
#pragma once

// The one check of a .bmp file before anything decodes it, shared by the game and the
// tools. A decoder allocates the whole picture from the size its header claims before it
// reads a pixel, so a 1 KB run-length file claiming 4096 x 4096 pixels would cost tens of
// megabytes each time it is loaded: the claimed size is checked first, from the header.

#include <string>
#include <string_view>

namespace qon {

// No picture the game shows is larger than its screen.
inline constexpr int kMaxBitmapWidth = 640;
inline constexpr int kMaxBitmapHeight = 480;

struct BitmapSide {
    int width = 0;
    int height = 0;
};

// The size the header of a .bmp claims (a negative height, stored top-down, counts by its
// size). Throws DataError(name, 0, reason) when the bytes do not begin with a BMP header,
// when the header is cut short, and when the claimed size is not from 1 x 1 to 640 x 480.
BitmapSide CheckBitmapHeader(std::string_view bytes, const std::string& name);

// The bytes of the .bmp at `path`, read through the one door with kMaxBitmapFileBytes and
// checked with CheckBitmapHeader. Throws DataError.
std::string ReadBitmapFile(const std::string& path);

}  // namespace qon
