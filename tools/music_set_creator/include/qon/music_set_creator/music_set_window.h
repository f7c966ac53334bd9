// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>

#include "qon/music_set_creator/music_set_commands.h"
#include "qon/music_set_creator/music_set_document.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qon::music_set_creator {

// The music set creator's one window. It shows the document after every command, hands
// typing to the document and clicks to the MusicSetCommands.
class MusicSetWindow : public QMainWindow {
  public:
    explicit MusicSetWindow(tools_common::Prompter& prompter, QWidget* parent = nullptr);

    const MusicSetDocument& document() const { return m_document; }

    void cmdTitle_Click();
    void cmdEnd_Click();
    void cmdComon_Click();
    void cmdDel_Click();
    void NewFile_Click();
    void FileOpen_Click();
    void FileSave_Click();
    void FileVSave_Click();
    void FileEnd_Click();

  protected:
    // Asks about unsaved changes before the window goes.
    void closeEvent(QCloseEvent* event) override;

  private:
    void showDocument();

    MusicSetDocument m_document;
    MusicSetCommands m_commands;
    QLineEdit* m_texTitle;
    QLineEdit* m_texEnd;
    QLineEdit* m_texName;
    QLineEdit* m_texStaff;
    QListWidget* m_lisMusicData;
    QLabel* m_fileLabel;
};

}  // namespace qon::music_set_creator
