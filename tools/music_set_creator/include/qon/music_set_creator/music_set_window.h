// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>

#include "qon/music_set_creator/music_set_commands.h"
#include "qon/music_set_creator/music_set_document.h"
#include "qon/tools_common/recent_files.h"

class QLabel;
class QSettings;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qon::music_set_creator {

// The music set creator's one window. It shows the document after every command, hands
// typing to the document and clicks to the MusicSetCommands.
class MusicSetWindow : public QMainWindow {
  public:
    // The recent files live in `settings` (null: for this session only), which must
    // outlive the window.
    explicit MusicSetWindow(tools_common::Prompter& prompter, QSettings* settings = nullptr,
                            QWidget* parent = nullptr);

    const MusicSetDocument& document() const { return m_document; }

    // Opens a set given on the command line, as "開く" would after its dialog.
    void openAtStart(const QString& path);

    void cmdTitle_Click();
    void cmdEnd_Click();
    void cmdComon_Click();
    void cmdDel_Click();
    // Move the selected stage track one place earlier / later in the play order.
    void cmdUp_Click();
    void cmdDown_Click();
    void NewFile_Click();
    void FileOpen_Click();
    void FileSave_Click();
    void FileVSave_Click();
    void FileEnd_Click();

  protected:
    // Asks about unsaved changes before the window goes.
    void closeEvent(QCloseEvent* event) override;
    // The Delete key on the stage list removes the selected track.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showDocument();
    int selectedRow() const;
    void moveSelected(int by);
    // A drag in the list has moved a row; the document follows.
    void stageRowDragged(int from, int to);
    void updateMoveButtons();

    MusicSetDocument m_document;
    MusicSetCommands m_commands;
    tools_common::RecentFiles m_recent;
    QLineEdit* m_texTitle;
    QLineEdit* m_texEnd;
    QLineEdit* m_texName;
    QLineEdit* m_texStaff;
    QListWidget* m_lisMusicData;
    QPushButton* m_cmdUp;
    QPushButton* m_cmdDown;
    QLabel* m_fileLabel;
};

}  // namespace qon::music_set_creator
