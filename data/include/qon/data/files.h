// SPDX-License-Identifier: MIT
#pragma once

// The one door to the disk. Every program reads a file through ReadFileBytes (an
// ordinary file only, with a size cap that fits the file's purpose) and replaces a file
// through WriteFileAtomic. The formats themselves parse and format bytes in memory.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace qon {

// Size caps by purpose. A file larger than its cap is refused before it is read.
inline constexpr std::size_t kMaxTextFileBytes = 16u * 1024u * 1024u;  // data text files

// Reads a whole ordinary file. A folder, FIFO, device or socket is refused before it is
// opened, so a named pipe can never block the reader; the file is then opened without
// blocking and checked again, in case it was swapped in between. Throws DataError
// (file = path, line 0) for a missing, unreadable or unordinary file, and for one larger
// than maxBytes.
std::string ReadFileBytes(const std::string& path, std::size_t maxBytes);

// ReadFileBytes with kMaxTextFileBytes: how the data text readers meet the disk.
std::string ReadTextFileBytes(const std::string& path);

// Where a reader of several files gets the bytes of each one: the disk (ReadTextFileBytes)
// by default, a map in tests and fuzz targets. Throws DataError (file = path) for a file
// it cannot give.
using FileSource = std::function<std::string(const std::string& path)>;

// As ReadFileBytes, but reads at most maxBytes from the start of the file and never
// refuses a file for its size: for a caller that needs only the first line.
std::string ReadFileStart(const std::string& path, std::size_t maxBytes);

// True when path names an ordinary file (following symbolic links).
bool IsOrdinaryFile(const std::string& path);

// Replaces the file atomically: the bytes go to a temporary file beside the target,
// which is flushed to disk and renamed over it, so a crash leaves either the old file or
// the new one, never half of one. A folder, device or pipe at path is refused. An
// existing file keeps its permissions (a new one gets 0644); a symbolic link is followed,
// so the file it points at is replaced. On any failure the previous file is left as it
// was, no temporary remains, and a DataError names the file and the reason ("No space
// left on device").
void WriteFileAtomic(const std::string& path, std::string_view bytes);

}  // namespace qon
