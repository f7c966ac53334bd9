// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace qon::media {

// Throws MediaError naming the file when it is missing or not a readable .wav file.
void CheckWaveFile(const std::string& path);

// Throws MediaError naming the file when it is missing or not a standard MIDI file.
void CheckMidiFile(const std::string& path);

}  // namespace qon::media
