// SPDX-License-Identifier: MIT
#pragma once

// Standard MIDI files (formats 0, 1 and 2, also wrapped in a RIFF "RMID" file) read into
// one flat list of timed events, ready for the music engine's sequencer.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qon::music {

// One event of a piece. Only what reaches the synthesizer is kept: channel messages and
// system exclusive messages. Tempo changes are already folded into the times.
struct MidiEvent {
    std::uint64_t timeUs = 0;  // from the start of the piece
    std::uint8_t status = 0;   // 0x80..0xEF: channel message; 0xF0: system exclusive
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
    // System exclusive only: the message body without its leading F0 and trailing F7,
    // as bytes [sysexOffset, sysexOffset + sysexLength) of MidiSong::sysexBytes.
    std::uint32_t sysexOffset = 0;
    std::uint32_t sysexLength = 0;
};

struct MidiSong {
    // Sorted by time; events of equal time keep the order of the file (track by track).
    std::vector<MidiEvent> events;
    std::vector<std::uint8_t> sysexBytes;
    // Where one play of the piece ends: the latest End of Track, and never before the last
    // event. Repeats start again from 0 at this time, so trailing rests are kept.
    std::uint64_t lengthUs = 0;
};

// Parses a whole file held in memory. Throws MediaError(fileName, reason) when the bytes
// are not a standard MIDI file, end in the middle of an event, or put an event or the end
// more than 24 hours into the piece (a broken tempo or time division).
MidiSong ParseMidiFile(std::span<const std::uint8_t> bytes, const std::string& fileName);

// Reads and parses the file at `path`, at most kMaxMidiFileBytes of it. Throws MediaError
// naming the path when the file is missing, unreadable, too large or not a standard MIDI
// file.
MidiSong ReadMidiFile(const std::string& path);

}  // namespace qon::music
