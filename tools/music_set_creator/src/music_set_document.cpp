// SPDX-License-Identifier: MIT
#include "qon/music_set_creator/music_set_document.h"

#include <algorithm>
#include <utility>

#include "qon/data/paths.h"

namespace qon::music_set_creator {

namespace {

// A track line left empty in the file stays an empty box rather than showing the folder.
std::string trackPathFromFile(const std::string& setPath, const std::string& name) {
    return name.empty() ? std::string() : MusicTrackPath(setPath, name);
}

}  // namespace

void MusicSetDocument::reset() {
    m_setName = kInitialName;
    m_staffName = kInitialName;
    m_titleTrack.clear();
    m_endingTrack.clear();
    m_stageTracks.clear();
    m_selectedStageTrack = -1;
    m_fileOpened = false;
    m_modified = false;
}

void MusicSetDocument::edit(std::string& field, const std::string& text) {
    if (field == text) return;
    field = text;
    m_modified = true;
}

void MusicSetDocument::setSetName(const std::string& text) {
    edit(m_setName, text);
}
void MusicSetDocument::setStaffName(const std::string& text) {
    edit(m_staffName, text);
}
void MusicSetDocument::setTitleTrack(const std::string& text) {
    edit(m_titleTrack, text);
}
void MusicSetDocument::setEndingTrack(const std::string& text) {
    edit(m_endingTrack, text);
}

void MusicSetDocument::addStageTrack(std::string path) {
    m_stageTracks.push_back(std::move(path));
    m_selectedStageTrack = static_cast<int>(m_stageTracks.size()) - 1;
    m_modified = true;
}

void MusicSetDocument::selectStageTrack(int index) {
    const bool inside = index >= 0 && static_cast<std::size_t>(index) < m_stageTracks.size();
    m_selectedStageTrack = inside ? index : -1;
}

bool MusicSetDocument::removeSelectedStageTrack() {
    if (m_selectedStageTrack < 0) return false;
    m_stageTracks.erase(m_stageTracks.begin() + m_selectedStageTrack);
    m_selectedStageTrack = -1;
    m_modified = true;
    return true;
}

bool MusicSetDocument::moveStageTrack(int from, int to) {
    const int count = static_cast<int>(m_stageTracks.size());
    if (from < 0 || from >= count || to < 0 || to >= count || from == to) return false;
    auto first = m_stageTracks.begin();
    if (from < to) {
        std::rotate(first + from, first + from + 1, first + to + 1);
    } else {
        std::rotate(first + to, first + from, first + from + 1);
    }
    if (m_selectedStageTrack == from) {
        m_selectedStageTrack = to;
    } else if (m_selectedStageTrack >= std::min(from, to) &&
               m_selectedStageTrack <= std::max(from, to)) {
        m_selectedStageTrack += from < to ? -1 : 1;
    }
    m_modified = true;
    return true;
}

void MusicSetDocument::relocateTrack(const std::string& from, const std::string& to) {
    if (from.empty()) return;
    for (std::string* field : {&m_titleTrack, &m_endingTrack}) {
        if (*field == from) *field = to;
    }
    for (std::string& track : m_stageTracks) {
        if (track == from) track = to;
    }
}

void MusicSetDocument::openedFrom(const std::string& path, const MusicSetFile& file) {
    // Every path is made before anything is replaced: a path that cannot be made (it
    // throws) leaves the content as it was.
    std::string title = trackPathFromFile(path, file.titleTrack);
    std::string ending = trackPathFromFile(path, file.endingTrack);
    std::vector<std::string> stages;
    for (const std::string& name : file.stageTracks)
        stages.push_back(trackPathFromFile(path, name));
    // The opened set replaces the content: its tracks are not appended to the old ones.
    m_setName = file.setName;
    m_staffName = file.staffName;
    m_titleTrack = std::move(title);
    m_endingTrack = std::move(ending);
    m_stageTracks = std::move(stages);
    m_selectedStageTrack = -1;
    m_trackCount = static_cast<std::int32_t>(file.stageTracks.size());
    m_currentFile = path;
    m_fileOpened = true;
    m_modified = false;
}

MusicSetFile MusicSetDocument::toFile() const {
    MusicSetFile file;
    file.setName = m_setName;
    file.staffName = m_staffName;
    file.titleTrack = FileNameOf(m_titleTrack);
    file.endingTrack = FileNameOf(m_endingTrack);
    for (const std::string& track : m_stageTracks) file.stageTracks.push_back(FileNameOf(track));
    return file;
}

void MusicSetDocument::markSaved(std::string path) {
    m_trackCount = static_cast<std::int32_t>(m_stageTracks.size());
    m_currentFile = std::move(path);
    m_fileOpened = true;
    m_modified = false;
}

}  // namespace qon::music_set_creator
