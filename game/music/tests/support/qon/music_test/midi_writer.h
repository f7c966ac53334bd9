// SPDX-License-Identifier: MIT
#pragma once

// A tiny standard MIDI file writer for tests and the benchmark: tracks of timed events,
// written with delta times and an End of Track at a chosen tick.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace qon::music_test {

class MidiWriter {
  public:
    explicit MidiWriter(int ticksPerQuarter = 480, int format = 1)
        : m_ticksPerQuarter(ticksPerQuarter), m_format(format) {}

    // Starts a new track; later events go to it.
    MidiWriter& track() {
        m_tracks.emplace_back();
        return *this;
    }
    MidiWriter& event(std::uint32_t tick, std::vector<std::uint8_t> bytes) {
        if (m_tracks.empty()) track();
        m_tracks.back().events.push_back({tick, std::move(bytes)});
        return *this;
    }
    MidiWriter& tempo(std::uint32_t tick, std::uint32_t usPerQuarter) {
        return event(tick, {0xFF, 0x51, 3, static_cast<std::uint8_t>(usPerQuarter >> 16),
                            static_cast<std::uint8_t>(usPerQuarter >> 8),
                            static_cast<std::uint8_t>(usPerQuarter)});
    }
    MidiWriter& program(std::uint32_t tick, int channel, int program) {
        return event(
            tick, {static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(program)});
    }
    MidiWriter& cc(std::uint32_t tick, int channel, int controller, int value) {
        return event(
            tick, {static_cast<std::uint8_t>(0xB0 | channel), static_cast<std::uint8_t>(controller),
                   static_cast<std::uint8_t>(value)});
    }
    MidiWriter& note(std::uint32_t tick, std::uint32_t length, int channel, int key,
                     int velocity = 100) {
        event(tick, {static_cast<std::uint8_t>(0x90 | channel), static_cast<std::uint8_t>(key),
                     static_cast<std::uint8_t>(velocity)});
        return event(tick + length, {static_cast<std::uint8_t>(0x80 | channel),
                                     static_cast<std::uint8_t>(key), 0});
    }
    // The End of Track of the current track; without it the track ends at its last event.
    MidiWriter& end(std::uint32_t tick) {
        if (m_tracks.empty()) track();
        m_tracks.back().endTick = tick;
        return *this;
    }

    std::vector<std::uint8_t> bytes() const {
        std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
        put(out, static_cast<std::uint32_t>(m_format), 2);
        put(out, static_cast<std::uint32_t>(m_tracks.size()), 2);
        put(out, static_cast<std::uint32_t>(m_ticksPerQuarter), 2);
        for (Track track : m_tracks) {
            std::stable_sort(track.events.begin(), track.events.end(),
                             [](const Event& a, const Event& b) { return a.tick < b.tick; });
            std::uint32_t lastTick = track.events.empty() ? 0 : track.events.back().tick;
            track.events.push_back({std::max(track.endTick, lastTick), {0xFF, 0x2F, 0}});
            std::vector<std::uint8_t> body;
            std::uint32_t tick = 0;
            for (const Event& e : track.events) {
                putVariable(body, e.tick - tick);
                tick = e.tick;
                body.insert(body.end(), e.bytes.begin(), e.bytes.end());
            }
            out.insert(out.end(), {'M', 'T', 'r', 'k'});
            put(out, static_cast<std::uint32_t>(body.size()), 4);
            out.insert(out.end(), body.begin(), body.end());
        }
        return out;
    }

    // The bytes as a string, ready for a file.
    std::string text() const {
        const auto data = bytes();
        return std::string(data.begin(), data.end());
    }

    static void putVariable(std::vector<std::uint8_t>& out, std::uint32_t value) {
        std::uint8_t groups[5];
        int count = 0;
        do {
            groups[count++] = value & 0x7F;
            value >>= 7;
        } while (value != 0);
        while (count > 1) out.push_back(groups[--count] | 0x80);
        out.push_back(groups[0]);
    }

  private:
    struct Event {
        std::uint32_t tick;
        std::vector<std::uint8_t> bytes;
    };
    struct Track {
        std::vector<Event> events;
        std::uint32_t endTick = 0;
    };

    static void put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
        for (int i = bytes - 1; i >= 0; --i)
            out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }

    int m_ticksPerQuarter;
    int m_format;
    std::vector<Track> m_tracks;
};

}  // namespace qon::music_test
