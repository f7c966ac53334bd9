// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>
#include <string>

#include "qon/music_set_creator/music_set_document.h"
#include "qon/tools_common/prompter.h"

class QWidget;

namespace qon::music_set_creator {

// Every menu and button command of the music set creator, with its dialogs and messages,
// acting on one document. Creates no widgets itself: every dialog and message goes
// through the Prompter, so tests drive the commands with scripted answers; the window
// shows the document after each command and forwards typing to the document.
class MusicSetCommands {
  public:
    static constexpr const char* kTitle = "QONOrvinth";

    MusicSetCommands(MusicSetDocument& document, tools_common::Prompter& prompter);

    void setDialogParent(QWidget* parent) { m_parent = parent; }

    // Each command returns true when it completed; false when it was cancelled or failed,
    // in which case nothing changed (failures are reported through the prompter).
    bool ChooseTitleTrack();
    bool ChooseEndingTrack();
    bool AddStageTrack();
    // Removes the selected stage track, leaving nothing selected; with nothing selected it
    // does nothing.
    bool RemoveStageTrack();
    bool NewSet();
    bool OpenSet();
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
    bool writeTo(const std::string& path);

    MusicSetDocument& m_document;
    tools_common::Prompter& m_prompter;
    QWidget* m_parent = nullptr;
};

}  // namespace qon::music_set_creator
