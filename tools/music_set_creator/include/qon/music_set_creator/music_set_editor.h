// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "qon/tools/prompter.h"

class QWidget;

namespace qon::orvinth {

// What the window shows. Track fields hold full paths; only their file names are saved.
struct MusicSetDocument {
    std::string setName = "New";
    std::string staffName = "New";
    std::string titleTrack;
    std::string endingTrack;
    std::vector<std::string> stageTracks;  // play order; duplicates allowed
};

// The music set creator without its window: the document, the current file and every
// menu and button command with its dialogs and messages. Creates no widgets itself; the
// window shows document() after each command and forwards typing to the setters.
class MusicSetEditor {
  public:
    static constexpr const char* kTitle = "QONOrvinth";

    explicit MusicSetEditor(tools::Prompter& prompter);

    void setDialogParent(QWidget* parent) { m_parent = parent; }

    const MusicSetDocument& document() const { return m_document; }
    bool fileOpened() const { return m_fileOpened; }
    // The file that "上書き保存" writes while fileOpened() holds.
    const std::string& currentFile() const { return m_currentFile; }
    // The number of stage tracks last read or written.
    std::int32_t trackCount() const { return m_trackCount; }
    // True when the document differs from what was last opened, saved or started.
    bool isModified() const { return m_modified; }

    // Typing in the text boxes.
    void setSetName(const std::string& text);
    void setStaffName(const std::string& text);
    void setTitleTrack(const std::string& text);
    void setEndingTrack(const std::string& text);

    // Each command returns true when it completed; false when it was cancelled or failed,
    // in which case nothing changed (failures are reported through the prompter).
    bool ChooseTitleTrack();
    bool ChooseEndingTrack();
    bool AddStageTrack();
    // Removes the entry at `index`; an index outside the list (nothing selected) does nothing.
    bool RemoveStageTrack(int index);
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
    void edit(std::string& field, const std::string& text);

    tools::Prompter& m_prompter;
    QWidget* m_parent = nullptr;
    MusicSetDocument m_document;
    std::string m_currentFile;
    std::int32_t m_trackCount = 0;
    bool m_fileOpened = false;
    bool m_modified = false;
};

}  // namespace qon::orvinth
