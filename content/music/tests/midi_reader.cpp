// SPDX-License-Identifier: MIT
#include "midi_reader.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <iterator>
#include <map>
#include <stdexcept>

#include "qon/data/files.h"

namespace qon::content::testing {

namespace {

// Far above any generated song, which takes a few kilobytes.
constexpr std::size_t kMaxMidiTestBytes = 16u * 1024u * 1024u;

[[noreturn]] void fault(const std::string& what, std::size_t pos) {
    throw std::runtime_error(what + " at byte " + std::to_string(pos));
}

std::uint32_t readBigEndian(const std::vector<std::uint8_t>& bytes, std::size_t pos, int count) {
    if (pos + static_cast<std::size_t>(count) > bytes.size())
        fault("file ends inside a number", pos);
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = value << 8 | bytes[pos + static_cast<std::size_t>(i)];
    return value;
}

int channelDataLength(std::uint8_t status) {
    switch (status & 0xF0) {
        case 0xC0:
        case 0xD0:
            return 1;
        default:
            return 2;
    }
}

MidiTrackData parseTrack(const std::vector<std::uint8_t>& bytes, std::size_t begin,
                         std::size_t end) {
    MidiTrackData track;
    std::size_t pos = begin;
    std::uint32_t tick = 0;
    std::uint8_t running = 0;
    bool ended = false;
    while (pos < end) {
        if (ended) fault("events after end-of-track", pos);
        tick += ReadVariableLength(bytes, pos);
        if (pos >= end) fault("track ends after a delta time", pos);
        MidiEvent event;
        event.tick = tick;
        std::uint8_t status = bytes[pos];
        if (status & 0x80) {
            ++pos;
        } else {
            if (running == 0) fault("data byte without a running status", pos);
            status = running;
        }
        event.status = status;
        if (status == 0xFF) {
            running = 0;
            if (pos >= end) fault("meta event without a type", pos);
            event.metaType = bytes[pos++];
            const std::uint32_t length = ReadVariableLength(bytes, pos);
            if (pos + length > end) fault("meta event runs past its track", pos);
            event.data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(pos),
                              bytes.begin() + static_cast<std::ptrdiff_t>(pos + length));
            pos += length;
            if (event.metaType == 0x2F) {
                if (length != 0) fault("end-of-track with data", pos);
                ended = true;
                track.endTick = tick;
            }
        } else if (status == 0xF0 || status == 0xF7) {
            running = 0;
            const std::uint32_t length = ReadVariableLength(bytes, pos);
            if (pos + length > end) fault("system exclusive runs past its track", pos);
            pos += length;
        } else if (status >= 0xF0) {
            fault("status byte not allowed in a file", pos);
        } else {
            running = status;
            const int count = channelDataLength(status);
            if (pos + static_cast<std::size_t>(count) > end) fault("channel event cut off", pos);
            for (int i = 0; i < count; ++i) {
                if (bytes[pos] & 0x80) fault("data byte with bit 7 set", pos);
                event.data.push_back(bytes[pos++]);
            }
        }
        track.events.push_back(std::move(event));
    }
    if (!ended) fault("track without end-of-track", pos);
    return track;
}

}  // namespace

std::uint32_t ReadVariableLength(const std::vector<std::uint8_t>& bytes, std::size_t& pos) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        if (pos >= bytes.size()) fault("file ends inside a variable-length quantity", pos);
        const std::uint8_t byte = bytes[pos++];
        value = value << 7 | (byte & 0x7F);
        if (!(byte & 0x80)) return value;
    }
    fault("variable-length quantity longer than four bytes", pos);
}

MidiFileData ParseMidi(const std::vector<std::uint8_t>& bytes) {
    static constexpr std::array<std::uint8_t, 4> kHeader{'M', 'T', 'h', 'd'};
    static constexpr std::array<std::uint8_t, 4> kTrack{'M', 'T', 'r', 'k'};
    if (bytes.size() < 14 || !std::equal(kHeader.begin(), kHeader.end(), bytes.begin())) {
        fault("no MThd header", 0);
    }
    if (readBigEndian(bytes, 4, 4) != 6) fault("MThd length is not 6", 4);
    MidiFileData file;
    file.format = static_cast<int>(readBigEndian(bytes, 8, 2));
    const auto trackCount = readBigEndian(bytes, 10, 2);
    file.division = static_cast<int>(readBigEndian(bytes, 12, 2));
    if (file.format > 2) fault("unknown format", 8);
    if (trackCount == 0 || (file.format == 0 && trackCount != 1)) fault("bad track count", 10);
    if (file.division == 0 || (file.division & 0x8000))
        fault("division is not ticks per quarter", 12);

    std::size_t pos = 14;
    while (pos < bytes.size()) {
        if (pos + 8 > bytes.size()) fault("chunk header cut off", pos);
        const auto length = readBigEndian(bytes, pos + 4, 4);
        const std::size_t begin = pos + 8;
        if (begin + length > bytes.size()) fault("chunk length runs past the file", pos);
        if (!std::equal(kTrack.begin(), kTrack.end(),
                        bytes.begin() + static_cast<std::ptrdiff_t>(pos))) {
            fault("chunk that is not MTrk", pos);
        }
        file.tracks.push_back(parseTrack(bytes, begin, begin + length));
        pos = begin + length;
    }
    if (file.tracks.size() != trackCount) fault("track count differs from the header", 10);
    return file;
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    // The game reads MIDI files through the same door, so a generated file must pass it.
    const std::string bytes = qon::ReadFileBytes(path, kMaxMidiTestBytes);
    return {bytes.begin(), bytes.end()};
}

std::string ScratchFolderFor(const std::string& purpose) {
    const auto folder =
        std::filesystem::path(QON_MUSIC_TEST_OUTPUT) / (purpose + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string();
}

double SecondsAt(const MidiFileData& file, std::uint32_t tick) {
    std::map<std::uint32_t, std::uint32_t> tempos{{0, 500000}};
    for (const MidiTrackData& track : file.tracks) {
        for (const MidiEvent& event : track.events) {
            if (event.status == 0xFF && event.metaType == 0x51 && event.data.size() == 3) {
                tempos[event.tick] = static_cast<std::uint32_t>(event.data[0] << 16 |
                                                                event.data[1] << 8 | event.data[2]);
            }
        }
    }
    double seconds = 0;
    for (auto it = tempos.begin(); it != tempos.end() && it->first < tick; ++it) {
        const auto next = std::next(it);
        const std::uint32_t until = next == tempos.end() ? tick : std::min(tick, next->first);
        seconds += static_cast<double>(until - it->first) * it->second / 1e6 / file.division;
    }
    return seconds;
}

std::string FindNoteFault(const MidiTrackData& track) {
    std::map<int, std::uint32_t> sounding;  // channel * 128 + key -> start tick
    for (const MidiEvent& event : track.events) {
        const int kind = event.status & 0xF0;
        if (event.status == 0xFF || (kind != 0x80 && kind != 0x90)) continue;
        const int id = (event.status & 0x0F) * 128 + event.data[0];
        const std::string where = "key " + std::to_string(event.data[0]) + " on channel " +
                                  std::to_string(event.status & 0x0F) + " at tick " +
                                  std::to_string(event.tick);
        if (kind == 0x90 && event.data[1] > 0) {
            if (sounding.count(id)) return "note-on of a sounding " + where;
            sounding[id] = event.tick;
        } else {
            if (!sounding.erase(id)) return "note-off without note-on, " + where;
        }
    }
    if (!sounding.empty()) {
        const int id = sounding.begin()->first;
        return "key " + std::to_string(id % 128) + " on channel " + std::to_string(id / 128) +
               " from tick " + std::to_string(sounding.begin()->second) + " never ends";
    }
    return {};
}

}  // namespace qon::content::testing
