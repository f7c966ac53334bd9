// SPDX-License-Identifier: MIT
#include "qon/content/midi_writer.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace qon::content {

namespace {

constexpr int kOrderMeta = 0;
constexpr int kOrderControl = 1;
constexpr int kOrderNoteOff = 2;
constexpr int kOrderNoteOn = 3;

void appendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
    }
}

std::uint8_t dataByte(int value, const char* what) {
    if (value < 0 || value > 127) {
        throw std::invalid_argument(std::string("MIDI ") + what +
                                    " out of range 0..127: " + std::to_string(value));
    }
    return static_cast<std::uint8_t>(value);
}

std::uint8_t statusByte(int kind, int channel) {
    if (channel < 0 || channel > 15) {
        throw std::invalid_argument("MIDI channel out of range 0..15: " + std::to_string(channel));
    }
    return static_cast<std::uint8_t>(kind | channel);
}

}  // namespace

std::vector<std::uint8_t> EncodeVariableLength(std::uint32_t value) {
    if (value > kMaxVariableLength) {
        throw std::invalid_argument("variable-length quantity too large: " + std::to_string(value));
    }
    std::vector<std::uint8_t> groups{static_cast<std::uint8_t>(value & 0x7F)};
    for (value >>= 7; value != 0; value >>= 7) {
        groups.push_back(static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
    }
    std::reverse(groups.begin(), groups.end());
    return groups;
}

MidiTrack::MidiTrack(std::string name) : m_name(std::move(name)) {}

void MidiTrack::add(std::uint32_t tick, int order, std::vector<std::uint8_t> bytes) {
    m_events.push_back(Event{tick, order, std::move(bytes)});
}

void MidiTrack::tempo(std::uint32_t tick, double beatsPerMinute) {
    if (!(beatsPerMinute >= 4.0 && beatsPerMinute <= 1000.0)) {
        throw std::invalid_argument("tempo out of range: " + std::to_string(beatsPerMinute));
    }
    const auto microsPerQuarter = static_cast<std::uint32_t>(std::lround(60e6 / beatsPerMinute));
    std::vector<std::uint8_t> bytes{0xFF, 0x51, 0x03};
    appendBigEndian(bytes, microsPerQuarter, 3);
    add(tick, kOrderMeta, std::move(bytes));
}

void MidiTrack::timeSignature(std::uint32_t tick, int numerator, int denominator) {
    int power = 0;
    while ((1 << power) < denominator && power < 7) ++power;
    if (numerator < 1 || numerator > 32 || (1 << power) != denominator) {
        throw std::invalid_argument("bad time signature");
    }
    // 24 MIDI clocks per metronome click, 8 notated 32nds per quarter.
    add(tick, kOrderMeta,
        {0xFF, 0x58, 0x04, static_cast<std::uint8_t>(numerator), static_cast<std::uint8_t>(power),
         24, 8});
}

void MidiTrack::keySignature(std::uint32_t tick, int sharps, bool minor) {
    if (sharps < -7 || sharps > 7) throw std::invalid_argument("bad key signature");
    add(tick, kOrderMeta,
        {0xFF, 0x59, 0x02, static_cast<std::uint8_t>(static_cast<std::int8_t>(sharps)),
         static_cast<std::uint8_t>(minor ? 1 : 0)});
}

void MidiTrack::programChange(std::uint32_t tick, int channel, int program) {
    add(tick, kOrderControl, {statusByte(0xC0, channel), dataByte(program, "program")});
}

void MidiTrack::controlChange(std::uint32_t tick, int channel, int controller, int value) {
    add(tick, kOrderControl,
        {statusByte(0xB0, channel), dataByte(controller, "controller"),
         dataByte(value, "controller value")});
}

void MidiTrack::note(std::uint32_t tick, int channel, int key, int velocity, std::uint32_t length) {
    statusByte(0x90, channel);
    dataByte(key, "key");
    // Velocity 0 would be read as a note-off.
    if (velocity < 1 || velocity > 127) {
        throw std::invalid_argument("MIDI velocity out of range 1..127: " +
                                    std::to_string(velocity));
    }
    if (length == 0) return;
    m_notes.push_back(Note{tick, tick + length, channel, key, velocity});
}

std::vector<std::uint8_t> MidiTrack::chunk() const {
    std::vector<Event> events;
    std::vector<std::uint8_t> nameBytes{0xFF, 0x03};
    const auto nameLength = EncodeVariableLength(static_cast<std::uint32_t>(m_name.size()));
    nameBytes.insert(nameBytes.end(), nameLength.begin(), nameLength.end());
    nameBytes.insert(nameBytes.end(), m_name.begin(), m_name.end());
    events.push_back(Event{0, kOrderMeta, std::move(nameBytes)});

    for (const Event& event : m_events) {
        if (event.tick > m_endTick) {
            throw std::logic_error("MIDI event at tick " + std::to_string(event.tick) +
                                   " after the end of track \"" + m_name + "\"");
        }
        events.push_back(event);
    }

    // Resolve overlaps on one key: the earlier note ends where the later one starts.
    std::vector<Note> notes = m_notes;
    std::stable_sort(notes.begin(), notes.end(), [](const Note& a, const Note& b) {
        if (a.channel != b.channel) return a.channel < b.channel;
        if (a.key != b.key) return a.key < b.key;
        return a.start < b.start;
    });
    for (std::size_t i = 0; i < notes.size(); ++i) {
        Note& current = notes[i];
        current.end = std::min(current.end, m_endTick);
        if (i + 1 < notes.size() && notes[i + 1].channel == current.channel &&
            notes[i + 1].key == current.key) {
            current.end = std::min(current.end, notes[i + 1].start);
        }
        if (current.end <= current.start) continue;
        const auto key = static_cast<std::uint8_t>(current.key);
        events.push_back(Event{
            current.start,
            kOrderNoteOn,
            {statusByte(0x90, current.channel), key, static_cast<std::uint8_t>(current.velocity)}});
        // Note-off as note-on with velocity 0 would be equally valid; 0x80 reads plainer.
        events.push_back(
            Event{current.end, kOrderNoteOff, {statusByte(0x80, current.channel), key, 64}});
    }

    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        if (a.tick != b.tick) return a.tick < b.tick;
        return a.order < b.order;
    });

    std::vector<std::uint8_t> body;
    std::uint32_t now = 0;
    for (const Event& event : events) {
        const auto delta = EncodeVariableLength(event.tick - now);
        body.insert(body.end(), delta.begin(), delta.end());
        body.insert(body.end(), event.bytes.begin(), event.bytes.end());
        now = event.tick;
    }
    const auto delta = EncodeVariableLength(m_endTick - now);
    body.insert(body.end(), delta.begin(), delta.end());
    body.insert(body.end(), {0xFF, 0x2F, 0x00});

    std::vector<std::uint8_t> out{'M', 'T', 'r', 'k'};
    appendBigEndian(out, static_cast<std::uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::vector<std::uint8_t> BuildMidiFile(std::uint16_t division,
                                        const std::vector<MidiTrack>& tracks) {
    if (division == 0 || division > 0x7FFF) {
        throw std::invalid_argument("MIDI division must be 1..32767 ticks per quarter");
    }
    if (tracks.empty() || tracks.size() > 0xFFFF) {
        throw std::invalid_argument("a MIDI file needs 1..65535 tracks");
    }
    std::vector<std::uint8_t> out{'M', 'T', 'h', 'd', 0, 0, 0, 6};
    appendBigEndian(out, tracks.size() == 1 ? 0 : 1, 2);
    appendBigEndian(out, static_cast<std::uint32_t>(tracks.size()), 2);
    appendBigEndian(out, division, 2);
    for (const MidiTrack& track : tracks) {
        const auto chunk = track.chunk();
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}

}  // namespace qon::content
