// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "qon/data/music_set.h"

namespace qon::music_set_creator {

// The music set being assembled: the set and author names, the title, ending and stage
// tracks, and which file it belongs to. No widgets and no dialogs; the operations that
// ask the author live in MusicSetCommands.
//
// Track fields hold full paths (a dialog's choice, or the set file's folder joined to the
// name read from it); only their file names are saved.
class MusicSetDocument {
  public:
    static constexpr const char* kInitialName = "New";

    MusicSetDocument() = default;

    // Back to a fresh set: names "New", no tracks, no current file, nothing modified. The
    // path of the last file is kept: a later save-as starts in its folder.
    void reset();

    const std::string& setName() const { return m_setName; }
    const std::string& staffName() const { return m_staffName; }
    const std::string& titleTrack() const { return m_titleTrack; }
    const std::string& endingTrack() const { return m_endingTrack; }
    // In play order; duplicates allowed.
    const std::vector<std::string>& stageTracks() const { return m_stageTracks; }

    // Typing in the text boxes, or a track chosen in a dialog; a change only when the
    // text differs.
    void setSetName(const std::string& text);
    void setStaffName(const std::string& text);
    void setTitleTrack(const std::string& text);
    void setEndingTrack(const std::string& text);
    // Appends a stage track and selects it.
    void addStageTrack(std::string path);

    // The selected stage track, -1 when none is. A new or opened set has none.
    int selectedStageTrack() const { return m_selectedStageTrack; }
    // Selects the entry at `index`; an index outside the list selects nothing.
    void selectStageTrack(int index);
    // Removes the selected stage track, the entries after it moving up, and leaves nothing
    // selected, so that a second press of the button (a double click) removes nothing more.
    // False, changing nothing, when nothing is selected.
    bool removeSelectedStageTrack();
    // Moves the entry at `from` so that it ends up at `to`, the entries between shifting
    // by one: the play order is the list order. The selection follows the moved entry.
    // False, with nothing changed, when either index is outside the list or they are equal.
    bool moveStageTrack(int from, int to);
    // The track file `from` was copied to `to`: every field naming it names the copy. The
    // file names written stay the same, so nothing counts as changed.
    void relocateTrack(const std::string& from, const std::string& to);

    // Replaces the whole content by a set read from `path` (bare names joined to the
    // file's folder; an empty name stays an empty field). Throws DataError, with nothing
    // changed, when a path cannot be made.
    void openedFrom(const std::string& path, const MusicSetFile& file);
    // The lines to write: every track passed through FileNameOf.
    MusicSetFile toFile() const;
    // The content is now that of `path`, just written.
    void markSaved(std::string path);

    // A current music set file is known: overwriting needs no dialog.
    bool fileOpened() const { return m_fileOpened; }
    // The file that "上書き保存" writes while fileOpened() holds.
    const std::string& currentFile() const { return m_currentFile; }
    // The number of stage tracks last read or written.
    std::int32_t trackCount() const { return m_trackCount; }
    // True when the content differs from what was last opened, saved or started.
    bool isModified() const { return m_modified; }

  private:
    void edit(std::string& field, const std::string& text);

    std::string m_setName = kInitialName;
    std::string m_staffName = kInitialName;
    std::string m_titleTrack;
    std::string m_endingTrack;
    std::vector<std::string> m_stageTracks;
    int m_selectedStageTrack = -1;
    std::string m_currentFile;
    std::int32_t m_trackCount = 0;
    bool m_fileOpened = false;
    bool m_modified = false;
};

}  // namespace qon::music_set_creator
