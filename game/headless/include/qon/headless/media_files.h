// SPDX-License-Identifier: MIT
#pragma once

// The checks both platforms make of sound files, so that a broken file is reported the
// same way whether or not anything plays it. MIDI files are read by the music library's
// reader (qon/music/midi_file.h) on both.

#include <string>

namespace qon::headless {

// The bytes of a .wav file, read through the one door and checked to decode. Throws
// MediaError naming the file when it is missing, unreadable or not a readable WAV sound.
std::string ReadWaveFile(const std::string& path);

}  // namespace qon::headless
