// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>

#include "qon/music_set_creator/music_set_editor.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qon::orvinth {

// The music set creator's one window. The MusicSetEditor holds the document; this window
// shows it after every command and hands typing and clicks to it.
class MusicSetWindow : public QMainWindow {
  public:
    explicit MusicSetWindow(tools::Prompter& prompter, QWidget* parent = nullptr);

    const MusicSetEditor& editor() const { return m_editor; }

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

    MusicSetEditor m_editor;
    QLineEdit* m_texTitle;
    QLineEdit* m_texEnd;
    QLineEdit* m_texName;
    QLineEdit* m_texStaff;
    QListWidget* m_lisMusicData;
    QLabel* m_fileLabel;
};

}  // namespace qon::orvinth
