// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qon::content {

// Replaces the file atomically (temporary file beside it, flushed, renamed over it), so
// an interrupted build never leaves half a bitmap or sound. Throws qon::DataError.
void writeBinaryAtomic(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Creates the folder and its parents. Throws qon::DataError.
void makeFolders(const std::string& path);

}  // namespace qon::content
