// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <string>

#include "qon/set_selector/selection_lists_commands.h"
#include "qon/set_selector/selection_lists_document.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace qon::set_selector {

// What each list item carries besides its text, which is the entry's path: the display
// name of the listed set and its EntryInfo::State (as an int).
inline constexpr int kDisplayNameRole = Qt::UserRole + 1;
inline constexpr int kEntryStateRole = Qt::UserRole + 2;

// Form1: three list boxes with their add and delete buttons. All state lives in the
// document; this window only shows it and forwards clicks to the commands.
class SelectionListsWindow : public QWidget {
  public:
    SelectionListsWindow(std::string listFolder, tools_common::Prompter& prompter,
                         QWidget* parent = nullptr);
    // The lists of an installed or read-only game, kept in the per-user folder.
    SelectionListsWindow(GameFolders folders, tools_common::Prompter& prompter,
                         QWidget* parent = nullptr);

    // Loads the lists, reporting a failure once. Call before showing the window.
    void Form_Load();

    const SelectionListsDocument& document() const { return m_document; }

    void cmdStageApp_Click() { addEntry(SetKind::Stage); }
    void Command1_Click() { addEntry(SetKind::BitMap); }
    void Command4_Click() { addEntry(SetKind::Music); }
    void cmdDel_Click() { deleteEntry(SetKind::Stage); }
    void Command2_Click() { deleteEntry(SetKind::BitMap); }
    void Command3_Click() { deleteEntry(SetKind::Music); }

  protected:
    // Form_Unload: the lists are written whenever the window closes.
    void closeEvent(QCloseEvent* event) override;

  private:
    QListWidget* listBox(SetKind kind) const;
    void addEntry(SetKind kind);
    void deleteEntry(SetKind kind);
    void appendItem(SetKind kind, const std::string& path);
    void showList(SetKind kind);
    // Shows the document's selection of the list; the widget's own changes of it (a
    // removed row making the next one current) never reach the document.
    void showSelection(SetKind kind);

    SelectionListsDocument m_document;
    SelectionListsCommands m_commands;
    QLabel* m_labStage;
    QListWidget* m_lisSelectStage;
    QPushButton* m_cmdStageApp;
    QPushButton* m_cmdDel;
    QLabel* m_label1;
    QListWidget* m_lisBitMap;
    QPushButton* m_command1;
    QPushButton* m_command2;
    QLabel* m_label2;
    QListWidget* m_lisMusicData;
    QPushButton* m_command4;
    QPushButton* m_command3;
    // Where the lists are written, below the lists.
    QLabel* m_labListFolder;
};

}  // namespace qon::set_selector
