// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

namespace qon::content {

// A PNG file of 8-bit RGBA pixels (`rgba`: width * height * 4 bytes, rows top-down), the
// image data deflated with zlib at its best compression and every row unfiltered. The
// bytes depend on the pixels only (no time or text chunks).
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgba);

}  // namespace qon::content
