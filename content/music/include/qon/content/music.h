// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace qon::content {

// Writes the starter music sets into subfolders of musicFolder (created as needed): each
// set's ".msp" file and the MIDI files it names, side by side. Returns the absolute paths
// of the ".msp" files, the main set first. Existing files of the same names are replaced
// atomically. Throws qon::DataError naming the file and the reason when something cannot
// be written.
std::vector<std::string> GenerateMusicSets(const std::string& musicFolder);

}  // namespace qon::content
