// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <cstddef>
#include <optional>
#include <string>

#include "qon/music_set_creator/music_set_document.h"
#include "qon/tools_common/beside_set.h"
#include "qon/tools_common/prompter.h"
#include "qon/tools_common/recent_files.h"

class QWidget;

namespace qon::music_set_creator {

// Every menu and button command of the music set creator, with its dialogs and messages,
// acting on one document. Creates no widgets itself: every dialog and message goes
// through the Prompter, so tests drive the commands with scripted answers; the window
// shows the document after each command and forwards typing to the document.
class MusicSetCommands {
  public:
    // The window's title, which every message box of the tool carries too.
    static constexpr const char* kTitle = "QONOrvinth";
    // The largest MIDI file copied beside a set: the game reads none larger.
    static constexpr std::size_t kMaxMidiFileBytes = 16u * 1024u * 1024u;

    MusicSetCommands(MusicSetDocument& document, tools_common::Prompter& prompter);

    void setDialogParent(QWidget* parent);
    // Where opened and saved files are listed; none in most tests.
    void setRecentFiles(tools_common::RecentFiles* recent) { m_recent = recent; }

    // Each command returns true when it completed; false when it was cancelled or failed,
    // in which case nothing changed (failures are reported through the prompter).
    bool ChooseTitleTrack();
    bool ChooseEndingTrack();
    bool AddStageTrack();
    // Removes the selected stage track, leaving nothing selected; with nothing selected it
    // does nothing.
    bool RemoveStageTrack();
    // Reorders the stage tracks, which is their play order; an index outside the list, or
    // a move past either end, does nothing. A selected track stays selected where it goes.
    bool MoveStageTrack(int from, int to);
    bool MoveStageTrackUp(int index) { return MoveStageTrack(index, index - 1); }
    bool MoveStageTrackDown(int index) { return MoveStageTrack(index, index + 1); }
    bool NewSet();
    bool OpenSet();
    // Opens `path` without a dialog (the recent files menu, the command line). A file
    // that is no longer there is said so and leaves the recent files.
    bool OpenSetFrom(const std::string& path);
    // Both saves list the MIDI files that lie outside the folder the set is saved to and
    // offer to copy them beside it: yes copies, no saves the set as it is, cancel saves
    // nothing.
    bool SaveSetAs();
    bool SaveSet();

    // Before the window closes: asks about unsaved changes. True when it may close.
    bool confirmClose() { return settleUnsavedChanges(); }

    static QString midiFilter();
    static QString setFilter();

  private:
    std::optional<std::string> chooseMidiFile(const QString& caption);
    // Save, discard or cancel when the document is modified. True when the caller may go on.
    bool settleUnsavedChanges();
    // The first reason the document cannot be written as it is, for a message.
    std::optional<QString> unsavableText() const;
    bool openPath(const std::string& path);
    // Copies stray MIDI files beside the set when the author wants; false to stop the save.
    bool bringTracksBeside(const std::string& setPath);
    bool writeTo(const std::string& path);

    MusicSetDocument& m_document;
    tools_common::Prompter& m_prompter;
    QWidget* m_parent = nullptr;
    tools_common::RecentFiles* m_recent = nullptr;
    tools_common::BesideSetCopier m_copier;
};

}  // namespace qon::music_set_creator
