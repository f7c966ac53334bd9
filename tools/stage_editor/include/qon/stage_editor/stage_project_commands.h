// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "qon/stage_editor/block_images.h"
#include "qon/stage_editor/editor_settings.h"
#include "qon/stage_editor/stage_project_document.h"
#include "qon/tools_common/prompter.h"

class QWidget;

namespace qon::stage_editor {

// File dialog filters in Qt's form.
QString ProjectFilter();
QString GraphicSetFilter();

// The game's test play command line for `stage` of the project at `projectPath`:
//   --play PROJECT.stp --stage N [--graphic-set SET.bgp]
// The graphic set is left out when none is given; the game then uses its own choice.
QStringList TestPlayArguments(const QString& projectPath, int stage, const QString& graphicSetPath);

// The game program "qon", looked for next to the editor (`programFolder`, ending in "/"),
// then in the game folder a build stages (the editor in build/tools/stage_editor/, the
// game in build/qon/), then in the folders of `searchPath` in order. Empty when it is in
// none of them.
QString FindGameProgram(const QString& programFolder, const QStringList& searchPath);

// The folders of the PATH variable.
QStringList ProgramSearchPath();

// Starts a program that lives on by itself; false when it could not be started.
using ProgramLauncher = std::function<bool(const QString& program, const QStringList& arguments,
                                           const QString& workingFolder)>;
// QProcess::startDetached.
bool StartDetached(const QString& program, const QStringList& arguments,
                   const QString& workingFolder);
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
    // `programFolder` ends in "/" and holds the help pages ("Tessel.html"). Without
    // `settings`, what the commands remember (recent projects, the last folder) lasts only
    // as long as they do.
    StageProjectCommands(StageProjectDocument& document, BlockImages& images,
                         tools_common::Prompter& prompter, std::string programFolder,
                         EditorSettings* settings = nullptr);

    EditorSettings& settings() { return m_settings; }

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
    // `dialog`, with a warning icon), asks about unsaved changes, then starts the project.
    // True when it did.
    bool createProject(const NewProjectInput& typed, QWidget* dialog = nullptr);
    // Asks about unsaved changes, then for a project file, and opens it. The dialog starts
    // in the folder the editor's dialogs last used.
    bool openProject();
    // Asks about unsaved changes and opens the project at `path` without a dialog (a
    // recent project, the command line). A recent project that no longer exists leaves
    // the list.
    bool openProjectAt(const QString& path);
    // Replaces the palette and grid images by those of a graphic set file; a set that
    // stops early keeps the images read before the stop. The set becomes the one test
    // play uses.
    bool openGraphicSet();
    // The graphic set test play passes to the game; empty when none was opened.
    const QString& graphicSetPath() const { return m_graphicSetPath; }
    // Asks for a file name (".stp" is added when none is typed), asks before it would
    // replace files of another project in that folder, and writes the project.
    bool saveAs();
    // Overwrites the project's own file; a project without one is saved as.
    bool save();
    // Before the window closes: asks about unsaved changes. True when it may close.
    bool confirmClose() { return !m_saving && settleUnsavedChanges(); }

    // A stage list edit. When it renumbers stages that existed before, the author is told
    // once per session (or never again, if they ask) that players' save slots count stages
    // by number. True when the edit was made.
    bool editStages(StageEdit edit);
    // Asks for a stage number and shows that stage.
    bool goToStage();

    // Plays the edited stage in the game, started as a program of its own. The game reads
    // the project from the disk, so unsaved work is saved first (the author may cancel).
    // True when the game was started.
    bool testPlay();
    // For tests: how the game is started and where it is looked for.
    void setLauncher(ProgramLauncher launcher) { m_launcher = std::move(launcher); }
    void setGameSearchPath(QStringList folders) { m_gameSearchPath = std::move(folders); }

    // The help page's path, and its text; std::nullopt (after a message) when it cannot
    // be read. The page is "Tessel.html", or the page the tools' translation names in its
    // place ("Tessel_en.html") when that one is there; beside the editor in a build, and
    // in the game's folder (share/games/qon/) when installed.
    std::string helpPagePath() const;
    std::optional<QString> readHelpPage();
    void showVersion();

  private:
    bool settleUnsavedChanges();
    bool openPath(const QString& path);
    bool confirmSaveClash(const std::string& path);
    bool writeTo(const std::string& path);
    void showChanges();
    void rememberFolderOf(const QString& path);
    void noticeRenumbering();
    // Message boxes carry the main window's own title.
    QString boxTitle() const;

    StageProjectDocument& m_document;
    BlockImages& m_images;
    tools_common::Prompter& m_prompter;
    std::string m_programFolder;
    std::unique_ptr<EditorSettings> m_ownSettings;
    EditorSettings& m_settings;
    QWidget* m_parent = nullptr;
    std::function<void()> m_showChanges;
    QString m_graphicSetPath;
    ProgramLauncher m_launcher = StartDetached;
    QStringList m_gameSearchPath = ProgramSearchPath();
    bool m_renumberNoticeShown = false;
    SaveProgressFactory m_makeProgress;
    bool m_saving = false;
};

}  // namespace qon::stage_editor
