// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>
#include <array>
#include <memory>
#include <string>

#include "qon/data/graphic_set.h"
#include "qon/stage_editor/block_images.h"
#include "qon/stage_editor/editor_settings.h"
#include "qon/stage_editor/stage_project_commands.h"
#include "qon/stage_editor/stage_project_document.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
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
    // `programFolder` ends in "/" and holds the help page "Tessel.html". Without
    // `settings` the window keeps the user's own settings of Tessel.
    StageProjectWindow(tools_common::Prompter& prompter, std::string programFolder,
                       EditorSettings* settings = nullptr, QWidget* parent = nullptr);
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

    // Additions around the grid: stage list edits, tools, zoom, test play, recent files.
    void EditStages_Click(StageEdit edit);
    void GoToStage_Click();
    void Tool_Click(PaintTool tool);
    void Zoom_Click(Zoom zoom);
    void ZoomStep_Click(int step);
    void TestPlay_Click();
    void RecentFile_Click(const QString& path);
    // Opens a project without a dialog (the command line).
    void openProjectAt(const QString& path);

  protected:
    // Form_QueryUnload: closing asks first when there are unsaved changes.
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildSurface();
    void buildToolButtons();
    void buildMenus();
    void fillRecentMenu();
    // Brings every element in line with the document.
    void refresh();
    void refreshPalette();
    // Checks the palette button of the selected kind (it may have been picked from the grid).
    void showSelectedKind();
    // Grows or shrinks the window to show the zoomed grid whole, within the screen.
    void fitWindowToZoom();

    StageProjectDocument m_document;
    BlockImages m_images;
    std::unique_ptr<EditorSettings> m_ownSettings;
    EditorSettings& m_settings;
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
    std::array<std::pair<StageEdit, QAction*>, 6> m_stageEdits{};
    QAction* m_goToStage = nullptr;
    QAction* m_testPlay = nullptr;
    std::array<std::pair<PaintTool, QAction*>, 4> m_tools{};
    std::array<std::pair<Zoom, QAction*>, 4> m_zooms{};
    QMenu* m_recentMenu = nullptr;
    QLabel* m_zoomText = nullptr;
    std::int16_t m_shownKind = Kind::kEmpty;
};

}  // namespace qon::stage_editor
