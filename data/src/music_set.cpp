// SPDX-License-Identifier: MIT
#include "qon/data/music_set.h"

#include <cstdint>
#include <optional>

#include "qon/data/error.h"
#include "qon/data/messages.h"
#include "qon/data/paths.h"
#include "qon/data/text.h"

namespace qon {

namespace {

// The game keeps the track count in 16 bits; a larger count is never a real music set.
constexpr long kMaxTrackCount = 32767;

std::string countProblem(const std::string& text) {
    return NumberProblem(Say(Message::TrackCount), text, 0, kMaxTrackCount);
}

// The integer part of the number the text begins with ("3", " 3.7", "3 tracks"), or nullopt
// when the text does not begin with a number. Saturates far beyond any valid count.
std::optional<long> leadingIntegerPart(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    long value = 0;
    bool digits = false;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        digits = true;
        if (value < 1'000'000'000L) {
            value = value * 10 + (text[pos] - '0');
        }
    }
    if (!digits && pos + 1 < text.size() && text[pos] == '.' && text[pos + 1] >= '0' &&
        text[pos + 1] <= '9') {
        digits = true;  // ".5" is a number whose integer part is 0
    }
    if (!digits) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

void readHeader(LineReader& reader, MusicSetFile& set) {
    set.setName = reader.require(Say(Message::SetName));
    set.staffName = reader.require(Say(Message::AuthorName));
    set.titleTrack = reader.require(Say(Message::TitleTrack));
    set.endingTrack = reader.require(Say(Message::EndingTrack));
}

void readTracks(LineReader& reader, long count, MusicSetFile& set) {
    // Grow as lines arrive; never reserve from a count read in the file.
    for (long i = 0; i < count; ++i) {
        set.stageTracks.push_back(reader.require(
            Say(Message::StageTrackOf, {std::to_string(i + 1), std::to_string(count)})));
    }
}

}  // namespace

MusicSetFile ParseMusicSetForEditing(std::string_view bytes, const std::string& name) {
    LineReader reader(name, std::string(bytes));
    MusicSetFile set;
    readHeader(reader, set);
    const std::string countText = reader.require(Say(Message::TrackCount));
    const std::optional<long> count = leadingIntegerPart(countText);
    if (!count || *count < 0 || *count > kMaxTrackCount) {
        reader.fail(countProblem(countText));
    }
    readTracks(reader, *count, set);
    return set;
}

MusicSetFile ReadMusicSetForEditing(const std::string& path) {
    return ParseMusicSetForEditing(ReadTextFileBytes(path), path);
}

MusicSetFile ParseMusicSetForGame(std::string_view bytes, const std::string& name) {
    LineReader reader(name, std::string(bytes));
    MusicSetFile set;
    readHeader(reader, set);
    const std::string countText = reader.require(Say(Message::TrackCount));
    const std::optional<std::int16_t> count = ParseInt16(countText);
    if (!count || *count < 0) {
        reader.fail(countProblem(countText));
    }
    readTracks(reader, *count, set);
    return set;
}

MusicSetFile ReadMusicSetForGame(const std::string& path) {
    return ParseMusicSetForGame(ReadTextFileBytes(path), path);
}

std::string MusicTrackPath(const std::string& setPath, const std::string& trackName) {
    return FolderOf(setPath) + trackName;
}

std::vector<std::string> FormatMusicSetFile(const MusicSetFile& set, const std::string& name) {
    if (set.stageTracks.size() > static_cast<std::size_t>(kMaxTrackCount)) {
        throw DataError(name, 0,
                        Say(Message::TooManyStageTracks, {std::to_string(kMaxTrackCount),
                                                          std::to_string(set.stageTracks.size())}));
    }
    std::vector<std::string> lines = {set.setName, set.staffName, FileNameOf(set.titleTrack),
                                      FileNameOf(set.endingTrack),
                                      std::to_string(set.stageTracks.size())};
    for (const std::string& track : set.stageTracks) {
        lines.push_back(FileNameOf(track));
    }
    return lines;
}

void WriteMusicSetFile(const std::string& path, const MusicSetFile& set) {
    WriteLinesAtomic(path, FormatMusicSetFile(set, path));
}

}  // namespace qon
