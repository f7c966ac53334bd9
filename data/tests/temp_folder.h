// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace qon::test {

// A fresh folder under the system's temporary folder, removed with its contents at the end
// of the test.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path with "/" appended.
    const std::string& path() const { return m_path; }
    std::string file(std::string_view name) const { return m_path + std::string(name); }

  private:
    std::string m_path;
};

// Writes raw bytes (no conversion, no line ends added).
void WriteBytes(const std::string& path, std::string_view bytes);

// Reads raw bytes; an empty string when the file cannot be read.
std::string ReadBytes(const std::string& path);

bool Exists(const std::string& path);

// Names of the entries of a folder, sorted.
std::string ListFolder(const std::string& folder);

}  // namespace qon::test
