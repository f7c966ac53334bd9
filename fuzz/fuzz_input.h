// SPDX-License-Identifier: MIT
#pragma once

// Shared plumbing of the fuzz targets. Every reader of the data library parses bytes, and
// the readers of several files take a file source, so the inputs never touch the disk.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "qon/data/files.h"

namespace qon::fuzz {

// Separates the files of a multi-file input: a line holding only "@@". The line end
// before the marker stays with the file it ends.
inline constexpr std::string_view kFileMarker = "\n@@\n";

// Splits an input at every kFileMarker. Always at least one (possibly empty) piece.
std::vector<std::string_view> SplitFiles(std::string_view input);

// Stands for the folder of the input's files (with its "/") inside list files, whose
// entries are absolute paths: "@/s0" names the file s0 of the folder.
inline constexpr std::string_view kFolderToken = "@/";

// Replaces every kFolderToken by `folder`.
std::string WithFolder(std::string_view text, const std::string& folder);

// The files of one input, held in memory. A path that is not held fails as a missing file
// on the disk does.
class MemoryFiles {
  public:
    // The folder the files are said to be in, with "/" appended.
    static constexpr const char* kFolder = "/fuzz/";

    // Stores the bytes as kFolder + name and returns that path.
    std::string add(std::string_view name, std::string_view bytes);
    // Stores the bytes under a full path.
    void addAt(const std::string& path, std::string_view bytes);
    FileSource source() const;

  private:
    std::map<std::string, std::string> m_files;
};

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Aborts with a message, so libFuzzer records the input: an invariant of a reader broke.
[[noreturn]] void Broken(const std::string& what);

}  // namespace qon::fuzz
