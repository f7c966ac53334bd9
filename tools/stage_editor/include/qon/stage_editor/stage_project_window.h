// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>
#include <array>
#include <string>

#include "qon/data/graphic_set.h"
#include "qon/stage_editor/block_images.h"
#include "qon/stage_editor/stage_project_commands.h"
#include "qon/stage_editor/stage_project_document.h"

class QAction;
class QLabel;
class QPushButton;
class QTextBrowser;

namespace qon::stage_editor {

class EditorSurface;
class NewProjectDialog;
class PaletteButton;

// The editor's main window `Form1`. It shows the document and forwards every event: edits
// to the document, file commands to StageProjectCommands. Handlers carry the names of
// their element and event.
class StageProjectWindow final : public QMainWindow {
    Q_OBJECT
  public:
    // `programFolder` ends in "/" and holds the help page "Tessel.html".
    StageProjectWindow(tools_common::Prompter& prompter, std::string programFolder,
                       QWidget* parent = nullptr);
    ~StageProjectWindow() override;

    StageProjectDocument& document() { return m_document; }
    BlockImages& images() { return m_images; }
    StageProjectCommands& commands() { return m_commands; }
    EditorSurface* surface() const { return m_surface; }
    NewProjectDialog* frmDia() const { return m_frmDia; }

    // Element handlers.
    void cmdBlock_Click(int index);
    void cmdSBlockS_Click(int index);
    void cmdCrea_Click();
    void cmdBack_Click();
    void cmdGo_Click();
    void NewFile_Click();
    void OKButton_Click();
    void OpenFile_Click();
    void OpenGRA_Click();
    // Both return true when the project was written.
    bool Save_Click();
    bool VSave_Click();
    void EndFile_Click();
    void HelpOpen_Click();
    void Ver_Click();
    void Undo_Click();
    void Redo_Click();

  protected:
    // Form_QueryUnload: closing asks first when there are unsaved changes.
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildSurface();
    void buildMenus();
    // Brings every element in line with the document.
    void refresh();
    void refreshPalette();

    StageProjectDocument m_document;
    BlockImages m_images;
    StageProjectCommands m_commands;

    EditorSurface* m_surface = nullptr;
    std::array<PaletteButton*, kBlockSlots> m_cmdBlock{};
    std::array<PaletteButton*, kSpecialSlots> m_cmdSBlockS{};
    PaletteButton* m_cmdCrea = nullptr;
    QLabel* m_picParet = nullptr;
    QLabel* m_Label3 = nullptr;
    QLabel* m_statusText = nullptr;
    NewProjectDialog* m_frmDia = nullptr;
    QTextBrowser* m_help = nullptr;

    QAction* m_save = nullptr;
    QAction* m_vSave = nullptr;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
};

}  // namespace qon::stage_editor
