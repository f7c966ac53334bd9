// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace qon::test_support {

// A fresh folder under the system's temporary folder, removed with its contents at the
// end of the test. Each one is private to its test, so tests may run in parallel.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder's path with "/" appended.
    const std::string& path() const { return m_path; }
    // path() + name; the name may hold sub-folders.
    std::string file(std::string_view name) const { return m_path + std::string(name); }
    // Creates a sub-folder (and its parents) and returns its path with "/" appended.
    std::string folder(std::string_view name) const;

  private:
    std::string m_path;
};

}  // namespace qon::test_support
