// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qon {

struct MusicSetFile {
    std::string setName;                   // line 1
    std::string staffName;                 // line 2
    std::string titleTrack;                // line 3, bare file name
    std::string endingTrack;               // line 4, bare file name
    std::vector<std::string> stageTracks;  // lines 6..5+n, bare file names
};

// The creator's reading: whole lines; line 5 is the integer part of its numeric value
// (leading number of the text, like "3" or "3.7"); then exactly n lines. `name` names
// the file in errors. Throws DataError for a count that is negative or absurd, or a file
// that ends before its n track lines.
MusicSetFile ParseMusicSetForEditing(std::string_view bytes, const std::string& name);

// ParseMusicSetForEditing of the file; a missing file is a DataError too.
MusicSetFile ReadMusicSetForEditing(const std::string& path);

// The game's reading (LoadMusicSet). It reads whole lines, like the creator, so that
// every file the creator writes (set names with commas included) reads back the same;
// line 5 must be a plain number from 0 to 32767. Lines after 5 + n are ignored.
MusicSetFile ParseMusicSetForGame(std::string_view bytes, const std::string& name);

// ParseMusicSetForGame of the file; a missing file is a DataError too.
MusicSetFile ReadMusicSetForGame(const std::string& path);

// FolderOf(setPath) + track name.
std::string MusicTrackPath(const std::string& setPath, const std::string& trackName);

// Lines 1..5 and the n track names; names through FileNameOf. Throws DataError naming
// `name` for more stage tracks than the game can count (32767).
std::vector<std::string> FormatMusicSetFile(const MusicSetFile& set, const std::string& name);

// Writes FormatMusicSetFile atomically.
void WriteMusicSetFile(const std::string& path, const MusicSetFile& set);

}  // namespace qon
