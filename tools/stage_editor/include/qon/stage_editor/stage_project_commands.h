// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "qon/stage_editor/block_images.h"
#include "qon/stage_editor/stage_project_document.h"
#include "qon/tools_common/prompter.h"

class QWidget;

namespace qon::stage_editor {

// File dialog filters in Qt's form.
QString ProjectFilter();
QString GraphicSetFilter();

// What the author sees of a save while it runs: how far it got, and a way to cancel it.
// One is made for each save and dropped when the save ends. The window's is a modal
// progress dialog, which also holds back every other input until the save is over.
class SaveProgress {
  public:
    virtual ~SaveProgress() = default;
    // Called as the save goes on; false when the author asked to cancel (honoured until
    // the files start going into place, after which the save always completes).
    virtual bool update(const ProjectSaveProgress& progress) = 0;
};
using SaveProgressFactory = std::function<std::unique_ptr<SaveProgress>(QWidget* parent)>;

// The question Save as asks before it replaces files of other projects in the folder it
// saves into: names each project and what of it would be replaced. Empty without a clash.
QString SaveClashQuestion(const SaveClash& clash);

// The editor's file commands (new, open, open graphic set, save as, overwrite), the
// unsaved-changes question, help and the version box, acting on one document and its
// block images. They create no widgets: every dialog and message goes through the
// Prompter, so tests drive them with scripted answers.
//
// Contract shared by the commands: a cancelled dialog or question ends the command before
// anything changes; a failure is reported with one message naming the file.
class StageProjectCommands {
  public:
    // `programFolder` ends in "/" and holds the help page "Tessel.html".
    StageProjectCommands(StageProjectDocument& document, BlockImages& images,
                         tools_common::Prompter& prompter, std::string programFolder);

    // Parent window of the dialogs; nullptr in tests.
    void setDialogParent(QWidget* parent) { m_parent = parent; }
    // Called when a command has changed what the window shows, before any message about
    // it, so the author sees the new state behind the message box.
    void setShowChanges(std::function<void()> showChanges) {
        m_showChanges = std::move(showChanges);
    }
    // How a save shows its progress; without one it runs unseen to its end.
    void setSaveProgress(SaveProgressFactory makeProgress) {
        m_makeProgress = std::move(makeProgress);
    }
    // True while a save runs. Every command that would start another save or replace the
    // project is refused meanwhile.
    bool isSaving() const { return m_saving; }

    // OK of the new-project dialog: checks what was typed (a refusal is shown over
    // `dialog`), asks about unsaved changes, then starts the project. True when it did.
    bool createProject(const NewProjectInput& typed, QWidget* dialog = nullptr);
    // Asks about unsaved changes, then for a project file, and opens it.
    bool openProject();
    // Replaces the palette and grid images by those of a graphic set file; a set that
    // stops early keeps the images read before the stop.
    bool openGraphicSet();
    // Asks for a file name (".stp" is added when none is typed), asks before it would
    // replace files of another project in that folder, and writes the project.
    bool saveAs();
    // Overwrites the project's own file; a project without one is saved as.
    bool save();
    // Before the window closes: asks about unsaved changes. True when it may close.
    bool confirmClose() { return !m_saving && settleUnsavedChanges(); }

    // The help page's path, and its text; std::nullopt (after a message) when it cannot
    // be read.
    std::string helpPagePath() const { return m_programFolder + "Tessel.html"; }
    std::optional<QString> readHelpPage();
    void showVersion();

  private:
    bool settleUnsavedChanges();
    bool confirmSaveClash(const std::string& path);
    bool writeTo(const std::string& path);
    void showChanges();

    StageProjectDocument& m_document;
    BlockImages& m_images;
    tools_common::Prompter& m_prompter;
    std::string m_programFolder;
    QWidget* m_parent = nullptr;
    std::function<void()> m_showChanges;
    SaveProgressFactory m_makeProgress;
    bool m_saving = false;
};

}  // namespace qon::stage_editor
