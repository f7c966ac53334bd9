// SPDX-License-Identifier: MIT
#include "qon/music/midi_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "qon/data/files.h"
#include "qon/media/media_file.h"

namespace qon::music {
namespace {

constexpr std::uint32_t kDefaultTempoUsPerQuarter = 500000;  // 120 beats a minute
// No piece of music lasts a day. A file whose time division and tempo put an event later
// (one tick per quarter at 16.7 s a quarter reaches it after 5200 ticks) is refused, so
// times stay far inside what microseconds and sample frames can count.
constexpr double kMaxPieceUs = 24.0 * 60 * 60 * 1e6;

// A parse failure with the reason only; ParseMidiFile adds the file name.
struct BadMidi {
    std::string reason;
};

std::uint32_t bigEndian(const std::uint8_t* p, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value = (value << 8) | p[i];
    return value;
}

std::uint32_t littleEndian(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool hasTag(std::span<const std::uint8_t> bytes, std::size_t at, const char* tag) {
    return at + 4 <= bytes.size() && std::memcmp(bytes.data() + at, tag, 4) == 0;
}

// A RIFF "RMID" file carries the standard MIDI file in its "data" chunk.
std::span<const std::uint8_t> unwrapRiff(std::span<const std::uint8_t> bytes) {
    if (!hasTag(bytes, 0, "RIFF")) return bytes;
    if (!hasTag(bytes, 8, "RMID")) throw BadMidi{"is a RIFF file but not a RIFF MIDI (RMID) file"};
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::size_t size = littleEndian(bytes.data() + at + 4);
        if (hasTag(bytes, at, "data")) {
            return bytes.subspan(at + 8, std::min(size, bytes.size() - at - 8));
        }
        at += 8 + size + (size & 1);  // RIFF chunks are padded to even sizes
    }
    throw BadMidi{"is a RIFF MIDI file without its \"data\" chunk"};
}

struct TempoChange {
    std::uint64_t tick = 0;
    std::uint32_t usPerQuarter = kDefaultTempoUsPerQuarter;
};

class TrackReader {
  public:
    TrackReader(std::span<const std::uint8_t> bytes, int trackNumber)
        : m_bytes(bytes), m_trackNumber(trackNumber) {}

    bool atEnd() const { return m_at >= m_bytes.size(); }

    std::uint8_t byte() {
        if (atEnd()) fail("ends in the middle of an event");
        return m_bytes[m_at++];
    }
    std::uint8_t peek() const {
        if (atEnd()) fail("ends in the middle of an event");
        return m_bytes[m_at];
    }

    std::uint32_t variableLength() {
        std::uint32_t value = 0;
        for (int count = 0; count < 4; ++count) {
            const std::uint8_t b = byte();
            value = (value << 7) | (b & 0x7F);
            if ((b & 0x80) == 0) return value;
        }
        fail("has a delay or length longer than 4 bytes");
    }

    std::span<const std::uint8_t> take(std::uint32_t length) {
        if (length > m_bytes.size() - m_at) fail("ends in the middle of an event");
        const auto part = m_bytes.subspan(m_at, length);
        m_at += length;
        return part;
    }

    [[noreturn]] void fail(const std::string& what) const {
        throw BadMidi{"track " + std::to_string(m_trackNumber) + " " + what};
    }

  private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_at = 0;
    int m_trackNumber;
};

// Reads one track chunk's events, each with its tick in timeUs for now. Returns the tick of
// its End of Track (or of its last event when the marker is missing).
std::uint64_t readTrack(std::span<const std::uint8_t> chunk, int trackNumber,
                        std::uint64_t tickOffset, std::vector<MidiEvent>& events,
                        std::vector<TempoChange>& tempos, std::vector<std::uint8_t>& sysexBytes) {
    TrackReader in(chunk, trackNumber);
    std::uint64_t tick = tickOffset;
    std::uint8_t runningStatus = 0;
    while (!in.atEnd()) {
        tick += in.variableLength();
        std::uint8_t status = in.peek();
        if (status < 0x80) {
            // Running status: the data byte belongs to the previous channel message.
            if (runningStatus == 0) {
                in.fail("has a data byte before its first status byte");
            }
            status = runningStatus;
        } else {
            in.byte();
        }

        if (status == 0xFF) {
            const std::uint8_t type = in.byte();
            const auto body = in.take(in.variableLength());
            if (type == 0x2F) return tick;  // End of Track: bytes after it are not events
            if (type == 0x51 && body.size() >= 3) {
                const std::uint32_t tempo = bigEndian(body.data(), 3);
                // A tempo of 0 would make time stand still; such files are broken.
                if (tempo > 0) tempos.push_back({tick, tempo});
            }
            continue;
        }
        if (status == 0xF0) {
            auto body = in.take(in.variableLength());
            if (!body.empty() && body.back() == 0xF7) body = body.first(body.size() - 1);
            MidiEvent event;
            event.timeUs = tick;
            event.status = 0xF0;
            event.sysexOffset = static_cast<std::uint32_t>(sysexBytes.size());
            event.sysexLength = static_cast<std::uint32_t>(body.size());
            sysexBytes.insert(sysexBytes.end(), body.begin(), body.end());
            events.push_back(event);
            continue;
        }
        if (status == 0xF7) {
            // An escaped packet (a split system exclusive or raw bytes): no synthesizer
            // needs these, skip them.
            in.take(in.variableLength());
            continue;
        }
        if (status >= 0xF0) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", status);
            in.fail(std::string("has an unknown event byte ") + hex);
        }

        runningStatus = status;
        MidiEvent event;
        event.timeUs = tick;
        event.status = status;
        event.data1 = in.byte() & 0x7F;
        const std::uint8_t kind = status & 0xF0;
        if (kind != 0xC0 && kind != 0xD0) event.data2 = in.byte() & 0x7F;
        events.push_back(event);
    }
    return tick;
}

// Microseconds of every tick, from the tempo changes sorted by tick.
class TempoMap {
  public:
    TempoMap(std::vector<TempoChange> tempos, int ticksPerQuarter, double smpteUsPerTick)
        : m_tempos(std::move(tempos)),
          m_ticksPerQuarter(ticksPerQuarter),
          m_smpteUsPerTick(smpteUsPerTick) {
        std::stable_sort(
            m_tempos.begin(), m_tempos.end(),
            [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    }

    // Ticks must be asked in rising order. The time is worked out in floating point and
    // refused past kMaxPieceUs before it becomes an integer, so no tempo and division can
    // overflow it.
    std::uint64_t microseconds(std::uint64_t tick) {
        double us = 0;
        if (m_smpteUsPerTick > 0) {
            us = static_cast<double>(tick) * m_smpteUsPerTick;
        } else {
            while (m_next < m_tempos.size() && m_tempos[m_next].tick <= tick) {
                m_segmentUs += usFor(m_tempos[m_next].tick - m_segmentTick);
                m_segmentTick = m_tempos[m_next].tick;
                m_usPerQuarter = m_tempos[m_next].usPerQuarter;
                ++m_next;
            }
            // Measured from the last tempo change, so rounding never accumulates.
            us = m_segmentUs + usFor(tick - m_segmentTick);
        }
        if (!(us <= kMaxPieceUs)) {
            throw BadMidi{"lasts longer than 24 hours: its time division and tempo put tick " +
                          std::to_string(tick) + " at " +
                          std::to_string(static_cast<long long>(std::min(us, 1e18) / 3.6e9)) +
                          " hours. It is not a piece the game can play"};
        }
        return static_cast<std::uint64_t>(us + 0.5);
    }

  private:
    double usFor(std::uint64_t ticks) const {
        return static_cast<double>(ticks) * m_usPerQuarter / m_ticksPerQuarter;
    }

    std::vector<TempoChange> m_tempos;
    int m_ticksPerQuarter;
    double m_smpteUsPerTick;
    std::size_t m_next = 0;
    std::uint64_t m_segmentTick = 0;
    double m_segmentUs = 0;
    double m_usPerQuarter = kDefaultTempoUsPerQuarter;
};

MidiSong parse(std::span<const std::uint8_t> file) {
    const auto bytes = unwrapRiff(file);
    if (!hasTag(bytes, 0, "MThd")) {
        throw BadMidi{"is not a standard MIDI file (it does not begin with \"MThd\")"};
    }
    if (bytes.size() < 14 || bigEndian(bytes.data() + 4, 4) < 6) {
        throw BadMidi{"is not a standard MIDI file (its header is cut short)"};
    }
    const std::uint32_t format = bigEndian(bytes.data() + 8, 2);
    const std::uint32_t declaredTracks = bigEndian(bytes.data() + 10, 2);
    const std::uint32_t division = bigEndian(bytes.data() + 12, 2);
    if (format > 2) {
        throw BadMidi{"has the unknown MIDI file format " + std::to_string(format)};
    }
    if (declaredTracks == 0) throw BadMidi{"holds no track"};

    int ticksPerQuarter = 0;
    double smpteUsPerTick = 0;
    if (division & 0x8000) {
        // SMPTE time: the high byte is minus the frame rate, the low byte ticks per frame.
        const int framesPerSecond = 256 - static_cast<int>(division >> 8);
        const int ticksPerFrame = static_cast<int>(division & 0xFF);
        const double rate = framesPerSecond == 29 ? 29.97 : framesPerSecond;
        if (ticksPerFrame == 0 || framesPerSecond <= 0) {
            throw BadMidi{"has an invalid SMPTE time division"};
        }
        smpteUsPerTick = 1e6 / (rate * ticksPerFrame);
    } else {
        ticksPerQuarter = static_cast<int>(division);
        if (ticksPerQuarter == 0) throw BadMidi{"has a time division of 0 ticks"};
    }

    std::vector<TempoChange> tempos;
    MidiSong song;
    std::uint64_t endTick = 0;
    std::uint32_t tracksFound = 0;
    std::size_t at = 8 + bigEndian(bytes.data() + 4, 4);
    while (tracksFound < declaredTracks && at + 8 <= bytes.size()) {
        const std::size_t length = bigEndian(bytes.data() + at + 4, 4);
        const std::size_t available = std::min(length, bytes.size() - at - 8);
        if (hasTag(bytes, at, "MTrk")) {
            ++tracksFound;
            // Format 2 holds independent patterns: they play one after another.
            const std::uint64_t offset = format == 2 ? endTick : 0;
            const std::uint64_t trackEnd =
                readTrack(bytes.subspan(at + 8, available), static_cast<int>(tracksFound), offset,
                          song.events, tempos, song.sysexBytes);
            endTick = std::max(endTick, trackEnd);
        }
        // Chunks of other types are skipped, as the format asks of readers.
        at += 8 + length;
    }
    if (tracksFound < declaredTracks) {
        throw BadMidi{"declares " + std::to_string(declaredTracks) + " tracks but holds only " +
                      std::to_string(tracksFound)};
    }

    // Until here timeUs holds each event's tick. One track (format 0, the usual case) is in
    // order already; the stable sort keeps equal ticks in the order of the file.
    const auto byTick = [](const MidiEvent& a, const MidiEvent& b) { return a.timeUs < b.timeUs; };
    if (!std::is_sorted(song.events.begin(), song.events.end(), byTick)) {
        std::stable_sort(song.events.begin(), song.events.end(), byTick);
    }
    if (!song.events.empty()) endTick = std::max(endTick, song.events.back().timeUs);
    TempoMap tempoMap(std::move(tempos), ticksPerQuarter, smpteUsPerTick);
    for (MidiEvent& event : song.events) event.timeUs = tempoMap.microseconds(event.timeUs);
    song.lengthUs = tempoMap.microseconds(endTick);
    return song;
}

}  // namespace

MidiSong ParseMidiFile(std::span<const std::uint8_t> bytes, const std::string& fileName) {
    try {
        return parse(bytes);
    } catch (const BadMidi& bad) {
        throw media::MediaError(fileName, bad.reason);
    }
}

MidiSong ReadMidiFile(const std::string& path) {
    const std::string bytes = media::ReadMediaFile(path, kMaxMidiFileBytes);
    return ParseMidiFile(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), path);
}

}  // namespace qon::music
