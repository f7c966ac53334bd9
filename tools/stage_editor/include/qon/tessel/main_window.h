// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>
#include <array>
#include <string>

#include "qon/data/graphic_set.h"
#include "qon/tessel/block_images.h"
#include "qon/tessel/editor_model.h"

class QAction;
class QLabel;
class QPushButton;
class QTextBrowser;

namespace qon::tools {
class Prompter;
}

namespace qon::tessel {

class EditorSurface;
class NewProjectDialog;
class PaletteButton;

// The editor's main window `Form1`. It shows the model and forwards every event to
// it; handlers carry the names of their element and event. Every file dialog and
// message box goes through the Prompter so tests can answer them.
class TesselWindow final : public QMainWindow {
    Q_OBJECT
  public:
    // `programFolder` ends in "/" and holds the help page "Tessel.html".
    TesselWindow(tools::Prompter& prompter, std::string programFolder, QWidget* parent = nullptr);
    ~TesselWindow() override;

    EditorModel& model() { return m_model; }
    BlockImages& images() { return m_images; }
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
    // True when the caller may replace or drop the project: nothing unsaved, the author
    // saved it, or chose to discard it.
    bool mayDiscardProject();
    bool writeTo(const std::string& path);
    // Brings every element in line with the model.
    void refresh();
    void refreshPalette();

    tools::Prompter& m_prompter;
    std::string m_programFolder;
    EditorModel m_model;
    BlockImages m_images;

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

}  // namespace qon::tessel
