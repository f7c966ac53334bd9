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
// Data text files: the largest real ones (a list of thousands of sets) stay far below.
inline constexpr std::size_t kMaxTextFileBytes = 16u * 1024u * 1024u;
// The first line of a listed set, its display name: only this much of the file is read.
inline constexpr std::size_t kMaxFirstLineBytes = 4u * 1024u;
// Bitmaps: no picture of the game is larger than its 640 x 480 screen (bitmap_header.h
// checks the sides); at 32 bits a pixel that is 1.2 MB, with room here for headers, a
// palette and an embedded colour profile.
inline constexpr std::size_t kMaxBitmapFileBytes = 640u * 480u * 4u + 64u * 1024u;
// Sound effects are short; a minute of CD-quality stereo is far beyond any of them.
inline constexpr std::size_t kMaxWaveFileBytes = 64u * 1024u * 1024u;
// Standard MIDI files of whole pieces stay well below a megabyte; every event read costs
// memory many times its size in the file, so the cap is kept low.
inline constexpr std::size_t kMaxMidiFileBytes = 4u * 1024u * 1024u;

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
