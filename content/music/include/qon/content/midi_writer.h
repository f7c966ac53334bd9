// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qon::content {

// A small writer of standard MIDI files. Events are collected with absolute tick times
// and serialised in time order; delta times are variable-length quantities.

// The largest value a variable-length quantity may carry (four bytes of seven bits).
inline constexpr std::uint32_t kMaxVariableLength = 0x0FFFFFFF;

// Big-endian groups of seven bits, every byte but the last with bit 7 set. Throws
// std::invalid_argument above kMaxVariableLength.
std::vector<std::uint8_t> EncodeVariableLength(std::uint32_t value);

// One "MTrk" chunk. Notes are kept as spans and turned into note-on / note-off pairs
// only when the chunk is built, so the writer can guarantee that every note-on has its
// note-off before the end of the track.
class MidiTrack {
  public:
    // The name is written as the track's first event (meta 03); ASCII only.
    explicit MidiTrack(std::string name);

    // Meta events; they belong in the first track of a format 1 file.
    void tempo(std::uint32_t tick, double beatsPerMinute);
    void timeSignature(std::uint32_t tick, int numerator, int denominator);
    // sharps > 0, flats < 0; minor selects the minor mode.
    void keySignature(std::uint32_t tick, int sharps, bool minor);

    // Channel events. Channels are 0..15 (General MIDI drums are channel 9).
    void programChange(std::uint32_t tick, int channel, int program);
    void controlChange(std::uint32_t tick, int channel, int controller, int value);
    // A note sounding from tick for length ticks. A note that starts while the same key
    // still sounds on the same channel cuts the earlier one short, because MIDI cannot
    // hold one key twice; zero-length notes are dropped.
    void note(std::uint32_t tick, int channel, int key, int velocity, std::uint32_t length);

    // The tick of the end-of-track event. Notes reaching past it are cut at it; other
    // events after it are a programming error (std::logic_error when the chunk is built).
    void endAt(std::uint32_t tick) { m_endTick = tick; }
    std::uint32_t endTick() const { return m_endTick; }

    // The whole chunk: "MTrk", the 32-bit big-endian length, the events, FF 2F 00.
    std::vector<std::uint8_t> chunk() const;

  private:
    struct Event {
        std::uint32_t tick;
        int order;  // among events at one tick: meta, then controls, then offs, then ons
        std::vector<std::uint8_t> bytes;
    };
    struct Note {
        std::uint32_t start;
        std::uint32_t end;
        int channel;
        int key;
        int velocity;
    };

    void add(std::uint32_t tick, int order, std::vector<std::uint8_t> bytes);

    std::string m_name;
    std::vector<Event> m_events;
    std::vector<Note> m_notes;
    std::uint32_t m_endTick = 0;
};

// Header chunk plus the track chunks: format 0 for one track, format 1 otherwise.
// division = ticks per quarter note (1..0x7FFF).
std::vector<std::uint8_t> BuildMidiFile(std::uint16_t division,
                                        const std::vector<MidiTrack>& tracks);

}  // namespace qon::content
