// SPDX-License-Identifier: MIT
#pragma once

// Shared plumbing of the fuzz targets. The readers take paths, so every input is written
// to files in a scratch folder in memory (/dev/shm) before each run.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qon::fuzz {

// Separates the files of a multi-file input: a line holding only "@@". The line end
// before the marker stays with the file it ends.
inline constexpr std::string_view kFileMarker = "\n@@\n";

// Splits an input at every kFileMarker. Always at least one (possibly empty) piece.
std::vector<std::string_view> SplitFiles(std::string_view input);

// Stands for the scratch folder (with its "/") inside list files, whose entries are
// absolute paths: "@/s0" names the file s0 of the folder.
inline constexpr std::string_view kFolderToken = "@/";

// Replaces every kFolderToken by `folder`.
std::string WithFolder(std::string_view text, const std::string& folder);

// A folder of this process under /dev/shm (or the system's temporary folder), emptied by
// fresh() before each run and removed when the process exits normally.
class ScratchFolder {
  public:
    explicit ScratchFolder(std::string_view targetName);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Removes everything a previous run left, so no file of an earlier input is read.
    void fresh();
    // The folder with "/" appended.
    const std::string& path() const { return m_path; }
    // Writes raw bytes to path() + name and returns that path.
    std::string write(std::string_view name, std::string_view bytes) const;

  private:
    std::string m_path;
};

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Aborts with a message, so libFuzzer records the input: an invariant of a reader broke.
[[noreturn]] void Broken(const std::string& what);

}  // namespace qon::fuzz
