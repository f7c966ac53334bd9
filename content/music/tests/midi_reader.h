// SPDX-License-Identifier: MIT
#pragma once

// A strict reader of standard MIDI files for the tests, written apart from the writer so
// the two do not share mistakes. Every structural fault throws std::runtime_error saying
// where the file went wrong.

#include <cstdint>
#include <string>
#include <vector>

namespace qon::content::testing {

struct MidiEvent {
    std::uint32_t tick = 0;   // absolute
    std::uint8_t status = 0;  // 0xFF for meta events
    std::uint8_t metaType = 0;
    std::vector<std::uint8_t> data;
};

struct MidiTrackData {
    std::vector<MidiEvent> events;  // the end-of-track event is the last one
    std::uint32_t endTick = 0;
};

struct MidiFileData {
    int format = 0;
    int division = 0;
    std::vector<MidiTrackData> tracks;
};

// Decodes a variable-length quantity at pos, moving pos past it. At most four bytes.
std::uint32_t ReadVariableLength(const std::vector<std::uint8_t>& bytes, std::size_t& pos);

MidiFileData ParseMidi(const std::vector<std::uint8_t>& bytes);

// The whole file, read through the data library's file layer. Throws qon::DataError.
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

// A fresh, empty folder for one test process under the build's test output folder; the
// process id keeps test processes that ctest runs in parallel apart.
std::string ScratchFolderFor(const std::string& purpose);

// Seconds from tick 0 to tick, following every tempo event of every track (120 bpm
// until the first one).
double SecondsAt(const MidiFileData& file, std::uint32_t tick);

// Describes the first note-on without its note-off, or note-off without a note-on;
// empty when every note of the track is properly closed before its end.
std::string FindNoteFault(const MidiTrackData& track);

}  // namespace qon::content::testing
