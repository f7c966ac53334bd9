// SPDX-License-Identifier: MIT
#pragma once

// A private copy of the staged starter game folder that a test may break at will. The
// copy's lists point into the copy, and "Init.bse" chooses the first entry of each, so
// the files a case breaks are the ones the game (and a tool) will read.

#include <string>
#include <string_view>

#include "qon/test_support/bytes.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::bad_content {

class BrokenFolder {
  public:
    // Copies `stagedFolder` (Logo.bmp, Se/, the lists, sets/) into a fresh scratch folder.
    explicit BrokenFolder(const std::string& stagedFolder);
    ~BrokenFolder();
    BrokenFolder(const BrokenFolder&) = delete;
    BrokenFolder& operator=(const BrokenFolder&) = delete;

    // The game folder, ending in "/".
    const std::string& path() const { return m_path; }
    std::string file(std::string_view name) const { return m_path + std::string(name); }

    // The chosen sets (entry 0 of each list).
    const std::string& stageProject() const { return m_stageProject; }
    const std::string& graphicSet() const { return m_graphicSet; }
    const std::string& musicSet() const { return m_musicSet; }
    // FolderOf(stageProject()) + "Stage" + n + ".stg".
    std::string stageFile(int n) const;
    // The bitmap of a graphic set slot (0..22), as the game forms its path.
    std::string bitmap(int slot) const;

  private:
    test_support::ScratchFolder m_scratch;
    std::string m_path;
    std::string m_stageProject;
    std::string m_graphicSet;
    std::string m_musicSet;
};

// Raw file helpers: bytes in and out, no conversion.
using test_support::ReadBytes;
using test_support::WriteBytes;
// Replaces line `line` (1-based) of a CR LF text file, keeping every other byte.
void ReplaceLine(const std::string& path, int line, std::string_view text);
// Keeps the first `lines` lines of a text file.
void KeepLines(const std::string& path, int lines);

// A stage file of 30 empty rows: a stage that is cleared as soon as it starts.
std::string EmptyStageFile();

}  // namespace qon::bad_content
