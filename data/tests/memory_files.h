// SPDX-License-Identifier: MIT
#pragma once

// Files held in memory for the readers of several files (ReadStageProject, ReadSetLists).

#include <map>
#include <string>
#include <vector>

#include "qon/data/error.h"
#include "qon/data/files.h"
#include "qon/data/stage.h"
#include "qon/data/text.h"

namespace qon::test {

class MemoryFiles {
  public:
    void add(const std::string& path, std::string bytes) { m_files[path] = std::move(bytes); }
    // The lines as a writer would store them (CP932, CR LF).
    void addLines(const std::string& path, const std::vector<std::string>& lines) {
        add(path, FormatLines(lines, path));
    }
    void add(const std::vector<FileBytes>& files) {
        for (const FileBytes& file : files) add(file.path, file.bytes);
    }
    void remove(const std::string& path) { m_files.erase(path); }
    const std::string& at(const std::string& path) const { return m_files.at(path); }
    bool has(const std::string& path) const { return m_files.count(path) != 0; }

    // A file that is not held fails as a missing file on the disk does.
    FileSource source() const {
        return [this](const std::string& path) {
            const auto file = m_files.find(path);
            if (file == m_files.end()) throw DataError(path, 0, "the file does not exist");
            return file->second;
        };
    }

  private:
    std::map<std::string, std::string> m_files;
};

}  // namespace qon::test
