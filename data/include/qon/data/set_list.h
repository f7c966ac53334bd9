// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "qon/data/files.h"

namespace qon {

enum class SetKind { Stage, BitMap, Music };

// "StageSet.sel", "BitMapSet.sel", "MusicSet.sel".
const char* SetListFileName(SetKind kind);

// The set selector's reading: line 1 the count N (plain non-negative number), then
// exactly N entry lines. Lines after N + 1 are ignored. `name` names the file in errors.
// Throws DataError for a bad count or a file that ends early.
std::vector<std::string> ParseSetList(std::string_view bytes, const std::string& name);

// ParseSetList of the file; a missing file is a DataError too.
std::vector<std::string> ReadSetList(const std::string& path);

// The count and the entries, one per line. Throws DataError naming `name` for more
// entries than the game can count (32767).
std::vector<std::string> FormatSetList(const std::vector<std::string>& entries,
                                       const std::string& name);

// Writes FormatSetList atomically.
void WriteSetList(const std::string& path, const std::vector<std::string>& entries);

// The display name of a listed set: the first line of the listed file, decoded ("" when
// the file is empty). Later lines are not looked at.
std::string ParseDisplayName(std::string_view bytes, const std::string& name);

// The start of a listed file that holds its display name: at most kMaxFirstLineBytes
// (ReadFileStart), so a large set file costs no more than a short one. A first line cut
// by the cap is cut on a whole Shift-JIS character. Throws DataError, as ReadFileBytes
// does, for a file that is missing, unreadable or not an ordinary file.
std::string ReadDisplayNameBytes(const std::string& setPath);

// ParseDisplayName of ReadDisplayNameBytes.
std::string ReadDisplayName(const std::string& setPath);

// One list as the game keeps it.
struct SetList {
    std::int16_t count = 0;
    std::vector<std::string> paths;
    std::vector<std::string> names;
};

struct SetLists {
    SetList stage;
    SetList bitmap;
    SetList music;
    // Set by ReadSetLists when it stopped at a list whose count is 0; names that file.
    std::string stoppedAt;
};

// The game's reading of the three lists from programFolder, in the order stage,
// graphic, music. At a list whose count is 0 the reading stops: that list's count
// becomes 0, its arrays and the lists after it are left as they were, and `stoppedAt`
// names the file. Throws DataError for a missing list, a bad count, too few entries, or
// a listed file that cannot be read. `stoppedAt` is cleared at the start of every call; a
// list is replaced only once its entries and display names have all been read, so a
// failure leaves that list as it was. A programFolder without a trailing "/" gets one.
// The list files are read whole (ReadTextFileBytes), the listed files only as far as
// their display names go (ReadDisplayNameBytes).
void ReadSetLists(const std::string& programFolder, SetLists& lists);

// As above, with every list file and listed file read through `source` (in memory, for
// tests and fuzz targets).
void ReadSetLists(const std::string& programFolder, SetLists& lists, const FileSource& source);

// Where ReadSetLists finds each list file.
using SetListPath = std::function<std::string(SetKind kind)>;

// As above, with each list file read from listPath(kind) and every relative entry taken as
// a file inside `gameFolder` (ResolveListEntry): `paths` holds the paths to open, absolute
// entries as written. The forms above read the lists in programFolder and resolve against
// it. An empty `source` reads the disk.
void ReadSetLists(const SetListPath& listPath, const std::string& gameFolder, SetLists& lists,
                  const FileSource& source = {});

}  // namespace qon
