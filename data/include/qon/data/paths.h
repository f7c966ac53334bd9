// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace qon {

// The folder of the running executable with "/" appended.
std::string ProgramFolder();

// The path cut back to and including its last "/". Throws DataError (file = path,
// line 0) when the path holds no "/".
std::string FolderOf(std::string_view path);

// The characters after the last "/"; a text without "/" is returned whole.
std::string FileNameOf(std::string_view path);

// A list entry as a path to open: an absolute entry ("/home/me/Sets/Easy.stp", what a
// file dialog gives) is used as written; a relative one ("sets/stages/x/X.stp", what the
// starter lists hold) names a file inside the game folder, so a game folder copied or
// moved anywhere keeps finding its own sets. `gameFolder` may lack its trailing "/". An
// empty entry stays empty (it names no file either way).
std::string ResolveListEntry(std::string_view gameFolder, const std::string& entry);

// The value of the leading hexadecimal digits (either case); 0 when the text begins
// with no hexadecimal digit. "1F" -> 31, "ff" -> 255, "g1" -> 0. Saturates instead of
// overflowing on absurdly long digit runs.
long HexToLong(std::string_view text);

}  // namespace qon
