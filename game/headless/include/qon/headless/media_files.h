// SPDX-License-Identifier: MIT
#pragma once

// The checks both platforms make of sound files, so that a broken file is reported the
// same way whether or not anything plays it.

#include <string>

namespace qon::headless {

// The bytes of a .wav file, read through the one door and checked to decode. Throws
// MediaError naming the file when it is missing, unreadable or not a readable WAV sound.
std::string ReadWaveFile(const std::string& path);

// The bytes of a MIDI file, read through the one door and checked for the header of a
// standard MIDI file ("MThd") or of a RIFF-wrapped one (.rmi). Throws MediaError naming
// the file otherwise.
std::string ReadMidiFileBytes(const std::string& path);

}  // namespace qon::headless
