// SPDX-License-Identifier: MIT
#pragma once

#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "qon/data/error.h"
#include "qon/data/files.h"
#include "qon/data/project_save.h"

namespace qon::data_testing {

// The disk's file operations, numbered as they happen. Before each one `beforeStep` may
// throw (a failing disk) or end the process (a kill), so a test can stop a save at every
// step in turn.
class StepOperations final : public FileOperations {
  public:
    using Hook = std::function<void(int step, std::string_view operation, const std::string& path)>;
    Hook beforeStep;

    // Steps taken so far, and whether one of them put a save's journal in place.
    int steps() const { return m_steps; }
    bool committed() const { return m_committed; }
    const std::vector<std::string>& log() const { return m_log; }

    PathInfo inspect(const std::string& path) override {
        step("inspect", path);
        return m_disk.inspect(path);
    }
    std::vector<std::string> listFolder(const std::string& folder) override {
        step("listFolder", folder);
        return m_disk.listFolder(folder);
    }
    std::string readFile(const std::string& path, std::size_t maxBytes) override {
        step("readFile", path);
        return m_disk.readFile(path, maxBytes);
    }
    std::unique_ptr<FolderLock> lockFolder(const std::string& folder) override {
        step("lockFolder", folder);
        return m_disk.lockFolder(folder);
    }
    std::string makeTemporaryFolder(const std::string& folder, const std::string& prefix) override {
        step("makeTemporaryFolder", folder);
        return m_disk.makeTemporaryFolder(folder, prefix);
    }
    void writeNewFile(const std::string& path, std::string_view bytes, unsigned mode) override {
        step("writeNewFile", path);
        m_disk.writeNewFile(path, bytes, mode);
    }
    void syncFileSystem(const std::string& folder) override {
        step("syncFileSystem", folder);
        m_disk.syncFileSystem(folder);
    }
    void syncFolder(const std::string& folder) override {
        step("syncFolder", folder);
        m_disk.syncFolder(folder);
    }
    void overwriteFile(const std::string& path, std::string_view bytes) override {
        step("overwriteFile", path);
        m_disk.overwriteFile(path, bytes);
    }
    void renameFile(const std::string& from, const std::string& to) override {
        step("renameFile", to);
        m_disk.renameFile(from, to);
        const std::string_view journal = kSaveJournalName;
        if (to.size() >= journal.size() &&
            to.compare(to.size() - journal.size(), journal.size(), journal) == 0) {
            m_committed = true;
        }
    }
    void removeFile(const std::string& path) override {
        step("removeFile", path);
        m_disk.removeFile(path);
    }
    void removeFolder(const std::string& path) override {
        step("removeFolder", path);
        m_disk.removeFolder(path);
    }
    bool removeAbandonedTemporary(const std::string& path) override {
        step("removeAbandonedTemporary", path);
        return m_disk.removeAbandonedTemporary(path);
    }

  private:
    void step(std::string_view operation, const std::string& path) {
        const int number = m_steps++;
        m_log.push_back(std::string(operation) + " " + path);
        if (beforeStep) beforeStep(number, operation, path);
    }

    DiskFileOperations m_disk;
    int m_steps = 0;
    bool m_committed = false;
    std::vector<std::string> m_log;
};

// A hook that fails step `failing` as a full disk does.
inline StepOperations::Hook FailStep(int failing) {
    return [failing](int step, std::string_view, const std::string& path) {
        if (step == failing) throw DataError(path, 0, std::strerror(ENOSPC));
    };
}

}  // namespace qon::data_testing
