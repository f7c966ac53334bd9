// SPDX-License-Identifier: MIT
#include "qon/data/set_list.h"

#include <optional>

#include "qon/data/error.h"
#include "qon/data/messages.h"
#include "qon/data/paths.h"
#include "qon/data/text.h"

namespace qon {

namespace {

// The game reads the count into 16 bits.
constexpr std::size_t kMaxEntries = 32767;

std::int16_t readCount(LineReader& reader) {
    const std::string text = reader.require(Say(Message::EntryCount));
    const std::optional<std::int16_t> count = ParseInt16(text);
    if (!count || *count < 0) {
        reader.fail(NumberProblem(Say(Message::EntryCount), text, 0, kMaxEntries));
    }
    return *count;
}

std::vector<std::string> readEntries(LineReader& reader, int count) {
    // Grow as lines arrive; never reserve from a count read in the file.
    std::vector<std::string> entries;
    for (int i = 0; i < count; ++i) {
        entries.push_back(
            reader.require(Say(Message::EntryOf, {std::to_string(i + 1), std::to_string(count)})));
    }
    return entries;
}

// The length of the longest run of whole Shift-JIS characters at the start of `bytes`: a
// lead byte whose second byte was cut off is left out.
std::size_t wholeCharacters(std::string_view bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        const unsigned char c = static_cast<unsigned char>(bytes[at]);
        const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        const std::size_t length = lead ? 2 : 1;
        if (at + length > bytes.size()) break;
        at += length;
    }
    return at;
}

std::string withSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

void readSetLists(const SetListPath& listPath, const std::string& gameFolder, SetLists& lists,
                  const FileSource& source, const FileSource& nameSource) {
    lists.stoppedAt.clear();
    const std::pair<SetKind, SetList*> order[] = {
        {SetKind::Stage, &lists.stage},
        {SetKind::BitMap, &lists.bitmap},
        {SetKind::Music, &lists.music},
    };
    for (const auto& [kind, list] : order) {
        const std::string path = listPath(kind);
        std::vector<std::string> paths;
        {
            LineReader reader(path, source(path));
            const std::int16_t count = readCount(reader);
            if (count == 0) {
                // The game stops here; this list's old arrays and every later list stay as
                // they were, and the caller must not take them for current.
                list->count = 0;
                lists.stoppedAt = path;
                return;
            }
            paths = readEntries(reader, count);
        }
        for (std::string& entry : paths) entry = ResolveListEntry(gameFolder, entry);
        std::vector<std::string> names;
        for (const std::string& setPath : paths) {
            names.push_back(ParseDisplayName(nameSource(setPath), setPath));
        }
        // Replace the list only once it has been read whole.
        list->count = static_cast<std::int16_t>(paths.size());
        list->paths = std::move(paths);
        list->names = std::move(names);
    }
}

}  // namespace

const char* SetListFileName(SetKind kind) {
    switch (kind) {
        case SetKind::Stage:
            return "StageSet.sel";
        case SetKind::BitMap:
            return "BitMapSet.sel";
        case SetKind::Music:
            return "MusicSet.sel";
    }
    return "";
}

std::vector<std::string> ParseSetList(std::string_view bytes, const std::string& name) {
    LineReader reader(name, std::string(bytes));
    const int count = readCount(reader);
    return readEntries(reader, count);
}

std::vector<std::string> ReadSetList(const std::string& path) {
    return ParseSetList(ReadTextFileBytes(path), path);
}

std::vector<std::string> FormatSetList(const std::vector<std::string>& entries,
                                       const std::string& name) {
    if (entries.size() > kMaxEntries) {
        throw DataError(name, 0,
                        Say(Message::ListTooLong,
                            {std::to_string(kMaxEntries), std::to_string(entries.size())}));
    }
    std::vector<std::string> lines;
    lines.reserve(entries.size() + 1);
    lines.push_back(std::to_string(entries.size()));
    lines.insert(lines.end(), entries.begin(), entries.end());
    return lines;
}

void WriteSetList(const std::string& path, const std::vector<std::string>& entries) {
    WriteLinesAtomic(path, FormatSetList(entries, path));
}

std::string ParseDisplayName(std::string_view bytes, const std::string& name) {
    LineReader reader(name, std::string(bytes));
    return reader.next().value_or(std::string());
}

std::string ReadDisplayNameBytes(const std::string& setPath) {
    std::string start = ReadFileStart(setPath, kMaxFirstLineBytes);
    if (start.size() == kMaxFirstLineBytes && start.find('\n') == std::string::npos) {
        start.resize(wholeCharacters(start));
    }
    return start;
}

std::string ReadDisplayName(const std::string& setPath) {
    return ParseDisplayName(ReadDisplayNameBytes(setPath), setPath);
}

namespace {

SetListPath listsIn(const std::string& programFolder) {
    return [folder = withSlash(programFolder)](SetKind kind) {
        return folder + SetListFileName(kind);
    };
}

}  // namespace

void ReadSetLists(const std::string& programFolder, SetLists& lists) {
    ReadSetLists(listsIn(programFolder), programFolder, lists);
}

void ReadSetLists(const std::string& programFolder, SetLists& lists, const FileSource& source) {
    ReadSetLists(listsIn(programFolder), programFolder, lists, source);
}

void ReadSetLists(const SetListPath& listPath, const std::string& gameFolder, SetLists& lists,
                  const FileSource& source) {
    if (source) {
        readSetLists(listPath, gameFolder, lists, source, source);
    } else {
        readSetLists(listPath, gameFolder, lists, ReadTextFileBytes, ReadDisplayNameBytes);
    }
}

}  // namespace qon
