// SPDX-License-Identifier: MIT
#pragma once

// Raw file access for tests: no conversion, no line ends added. Tests of the formats work
// in memory; these are for the tests where a file on disk is the point.

#include <string>
#include <string_view>

namespace qon::test_support {

// Writes the bytes to a fresh file (throws std::runtime_error when it cannot).
void WriteBytes(const std::string& path, std::string_view bytes);

// The file's bytes, or "<missing>" when it cannot be read.
std::string ReadBytes(const std::string& path);

bool Exists(const std::string& path);

// Names of the entries of a folder, sorted and joined by single spaces.
std::string ListFolder(const std::string& folder);

}  // namespace qon::test_support
