// SPDX-License-Identifier: MIT
#include "broken_folder.h"

#include <filesystem>
#include <stdexcept>
#include <vector>

#include "qon/data/graphic_set.h"
#include "qon/data/paths.h"
#include "qon/data/set_list.h"
#include "qon/data/settings.h"
#include "qon/data/stage.h"

namespace fs = std::filesystem;

namespace qon::bad_content {
namespace {

std::vector<std::string> splitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) end = bytes.size();
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes;
}

}  // namespace

BrokenFolder::BrokenFolder(const std::string& stagedFolder) {
    m_path = m_scratch.path();
    std::string staged = stagedFolder;
    if (staged.empty() || staged.back() != '/') staged += '/';
    for (const char* name : {"Logo.bmp", "Se", "sets"}) {
        fs::copy(staged + name, m_path + name, fs::copy_options::recursive);
    }
    // The staged lists name their sets relative to the folder, which finds the copies here;
    // a list of absolute paths into the staged folder (an older staging) is pointed here.
    const SetKind kinds[] = {SetKind::Stage, SetKind::BitMap, SetKind::Music};
    std::string* chosen[] = {&m_stageProject, &m_graphicSet, &m_musicSet};
    for (int i = 0; i < 3; ++i) {
        const char* name = SetListFileName(kinds[i]);
        std::vector<std::string> entries = ReadSetList(staged + name);
        for (std::string& entry : entries) {
            if (entry.rfind(staged, 0) == 0) entry = m_path + entry.substr(staged.size());
        }
        if (entries.empty()) throw std::runtime_error(std::string("empty staged ") + name);
        *chosen[i] = ResolveListEntry(m_path, entries.front());
        WriteSetList(m_path + name, entries);
    }
    WriteSettingsFile(m_path + kSettingsFileName, GameSettings{});
}

BrokenFolder::~BrokenFolder() {
    // A case may have taken the write permission away; the scratch folder's own removal
    // follows.
    std::error_code error;
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, error);
}

std::string BrokenFolder::stageFile(int n) const {
    return StageFilePath(m_stageProject, n);
}

std::string BrokenFolder::bitmap(int slot) const {
    const GraphicSetFile set = ReadGraphicSetFile(m_graphicSet);
    return GraphicBitmapPath(m_graphicSet, set.bitmaps.at(static_cast<std::size_t>(slot)));
}

void ReplaceLine(const std::string& path, int line, std::string_view text) {
    std::vector<std::string> lines = splitLines(ReadBytes(path));
    lines.at(static_cast<std::size_t>(line - 1)) = std::string(text);
    WriteBytes(path, joinLines(lines));
}

void KeepLines(const std::string& path, int lines) {
    std::vector<std::string> all = splitLines(ReadBytes(path));
    all.resize(static_cast<std::size_t>(lines));
    WriteBytes(path, joinLines(all));
}

std::string EmptyStageFile() {
    std::string bytes;
    for (int row = 0; row < kGridRows; ++row) bytes += std::string(2 * kGridColumns, 'F') + "\r\n";
    return bytes;
}

}  // namespace qon::bad_content
