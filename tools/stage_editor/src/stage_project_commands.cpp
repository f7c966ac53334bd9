// SPDX-License-Identifier: MIT
#include "qon/stage_editor/stage_project_commands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>
#include <system_error>
#include <utility>

#include "qon/data/error.h"
#include "qon/data/files.h"
#include "qon/data/game_folders.h"
#include "qon/stage_editor/problem_text.h"
#include "qon/tools_common/qt_text.h"
#include "qon/tools_common/unsaved_changes.h"

#ifndef QON_VERSION
#define QON_VERSION "0.0.0"
#endif

namespace qon::stage_editor {

using tools_common::fromQ;
using tools_common::toQ;

QString ProjectFilter() {
    return QCoreApplication::translate("StageProjectCommands", "ステージプロジェクト (*.stp)");
}

QString GraphicSetFilter() {
    return QCoreApplication::translate("StageProjectCommands",
                                       "QONグラフィックプロジェクト/*.bgp (*.bgp)");
}

QStringList TestPlayArguments(const QString& projectPath, int stage,
                              const QString& graphicSetPath) {
    QStringList arguments{QStringLiteral("--play"), projectPath, QStringLiteral("--stage"),
                          QString::number(stage)};
    if (!graphicSetPath.isEmpty()) arguments << QStringLiteral("--graphic-set") << graphicSetPath;
    return arguments;
}

QString FindGameProgram(const QString& programFolder, const QStringList& searchPath) {
    auto runnable = [](const QString& path) {
        const QFileInfo info(path);
        return info.isFile() && info.isExecutable();
    };
    const QStringList beside{programFolder + QStringLiteral("qon"),
                             programFolder + QStringLiteral("../../qon/qon")};
    for (const QString& candidate : beside)
        if (runnable(candidate)) return QFileInfo(candidate).canonicalFilePath();
    for (const QString& folder : searchPath) {
        if (folder.isEmpty()) continue;  // an empty PATH entry would mean the current folder
        const QString candidate = QDir(folder).filePath(QStringLiteral("qon"));
        if (runnable(candidate)) return QFileInfo(candidate).absoluteFilePath();
    }
    return {};
}

QStringList ProgramSearchPath() {
    return QProcessEnvironment::systemEnvironment()
        .value(QStringLiteral("PATH"))
        .split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

bool StartDetached(const QString& program, const QStringList& arguments,
                   const QString& workingFolder) {
    return QProcess::startDetached(program, arguments, workingFolder);
}

namespace {

// "Stage1.stg～Stage3.stg、Stage7.stg": runs of numbers shown as ranges, the first few only.
QString StageFileRanges(const std::vector<int>& stages) {
    constexpr int kShownRuns = 4;
    QStringList runs;
    int hidden = 0;
    for (std::size_t i = 0; i < stages.size();) {
        std::size_t last = i;
        while (last + 1 < stages.size() && stages[last + 1] == stages[last] + 1) ++last;
        if (runs.size() < kShownRuns) {
            QString run = QStringLiteral("Stage%1.stg").arg(stages[i]);
            if (last > i)
                run += QCoreApplication::translate("StageProjectCommands", "～Stage%1.stg")
                           .arg(stages[last]);
            runs << run;
        } else {
            hidden += static_cast<int>(last - i + 1);
        }
        i = last + 1;
    }
    QString text = runs.join(QCoreApplication::translate("StageProjectCommands", "、"));
    if (hidden > 0)
        text += QCoreApplication::translate("StageProjectCommands", " ほか %1 個").arg(hidden);
    return text;
}

}  // namespace

QString SaveClashQuestion(const SaveClash& clash) {
    if (!clash.any()) return {};
    constexpr int kShownProjects = 5;
    QStringList names;
    for (const OtherProject& other : clash.projects) {
        if (names.size() == kShownProjects) {
            names << QCoreApplication::translate("StageProjectCommands", "ほか %1 個")
                         .arg(static_cast<int>(clash.projects.size()) - kShownProjects);
            break;
        }
        names << QCoreApplication::translate("StageProjectCommands", "「%1」")
                     .arg(toQ(other.fileName));
    }
    QString text =
        QCoreApplication::translate("StageProjectCommands",
                                    "保存先のフォルダには別のステージプロジェクト%1があります。\n"
                                    "保存すると、次のファイルが置き換えられます。\n")
            .arg(names.join(QString()));
    int listed = 0;
    for (const OtherProject& other : clash.projects) {
        if (other.stagesReplaced.empty()) continue;
        if (listed++ == kShownProjects) break;
        text += QCoreApplication::translate("StageProjectCommands",
                                            "\n・「%1」のステージファイル %2（%3 個）")
                    .arg(toQ(other.fileName), StageFileRanges(other.stagesReplaced),
                         QString::number(other.stagesReplaced.size()));
    }
    if (clash.saveFileReset) {
        text += QCoreApplication::translate(
            "StageProjectCommands",
            "\n・セーブファイル qonsave.sav（遊んだ記録がすべてステージ 1 に戻ります）");
    }
    return text + QCoreApplication::translate("StageProjectCommands", "\n\n保存しますか？");
}

StageProjectCommands::StageProjectCommands(StageProjectDocument& document, BlockImages& images,
                                           tools_common::Prompter& prompter,
                                           std::string programFolder, EditorSettings* settings)
    : m_document(document),
      m_images(images),
      m_prompter(prompter),
      m_programFolder(std::move(programFolder)),
      m_ownSettings(settings ? nullptr : EditorSettings::InMemory()),
      m_settings(settings ? *settings : *m_ownSettings) {}

void StageProjectCommands::showChanges() {
    if (m_showChanges) m_showChanges();
}

QString StageProjectCommands::boxTitle() const {
    return toQ(m_document.titleText());
}

void StageProjectCommands::rememberFolderOf(const QString& path) {
    m_settings.setLastFolder(QFileInfo(path).absolutePath());
}

bool StageProjectCommands::createProject(const NewProjectInput& typed, QWidget* dialog) {
    if (m_saving) return false;
    NewProjectCheck check = CheckNewProject(typed);
    if (!check.stageCount) {
        // Titled like the dialog it stands in front of.
        m_prompter.message(dialog, QCoreApplication::translate("StageProjectCommands", "新規作成"),
                           toQ(check.message), tools_common::Prompter::MessageKind::Warning);
        return false;  // the dialog stays open with what was typed
    }
    // Asked here, not when the dialog opens: the dialog does not block the window, so
    // the author may paint more while it is open.
    if (!settleUnsavedChanges()) return false;
    m_document.newProject(typed.projectName, *check.stageCount, typed.staffName);
    return true;
}

bool StageProjectCommands::openProject() {
    if (m_saving || !settleUnsavedChanges()) return false;
    auto path =
        m_prompter.openFile(m_parent, QCoreApplication::translate("StageProjectCommands", "開く"),
                            ProjectFilter(), m_settings.lastFolder());
    if (!path) return false;
    rememberFolderOf(*path);
    return openPath(*path);
}

bool StageProjectCommands::openProjectAt(const QString& path) {
    if (!settleUnsavedChanges()) return false;
    return openPath(path);
}

bool StageProjectCommands::openPath(const QString& chosen) {
    // Stage files are found beside the project file, so the path must name its folder.
    const QString path = QFileInfo(chosen).absoluteFilePath();
    if (auto error = m_document.openProject(fromQ(path))) {
        if (!QFileInfo::exists(path)) m_settings.removeRecentProject(path);
        m_prompter.message(
            m_parent, boxTitle(),
            QCoreApplication::translate("StageProjectCommands",
                                        "ステージプロジェクトを開けませんでした。\n\n") +
                toQ(*error),
            tools_common::Prompter::MessageKind::Warning);
        return false;
    }
    m_settings.addRecentProject(path);
    return true;
}

bool StageProjectCommands::openGraphicSet() {
    auto path = m_prompter.openFile(
        m_parent, QCoreApplication::translate("StageProjectCommands", "グラフィックセットを開く"),
        GraphicSetFilter(), m_settings.lastFolder());
    if (!path) return false;
    rememberFolderOf(*path);
    BlockImages::LoadResult result = m_images.loadGraphicSet(fromQ(*path));
    // A set read at least in part is the one the author chose to see; test play hands it
    // to the game, which says what is wrong with it if anything is.
    if (result.loaded > 0 || result.problem.empty())
        m_graphicSetPath = QFileInfo(*path).absoluteFilePath();
    showChanges();
    if (result.problem.empty()) return true;
    QString head =
        result.loaded == 0
            ? QCoreApplication::translate("StageProjectCommands",
                                          "グラフィックセットを開けませんでした。\n\n")
            : QCoreApplication::translate("StageProjectCommands",
                                          "グラフィックセットを最後まで読み込めませんでした。"
                                          "読み込めた画像だけを使います。\n\n");
    m_prompter.message(m_parent, boxTitle(), head + toQ(result.problem),
                       tools_common::Prompter::MessageKind::Warning);
    return false;
}

bool StageProjectCommands::writeTo(const std::string& path) {
    // A save shows its progress and lets events through (a repaint, the cancel button): a
    // second save requested meanwhile must not start inside the first one.
    if (m_saving) return false;
    m_saving = true;
    StageProjectDocument::SaveOutcome outcome;
    {
        std::unique_ptr<SaveProgress> progress =
            m_makeProgress ? m_makeProgress(m_parent) : nullptr;
        outcome = m_document.saveProject(path, [&progress](const ProjectSaveProgress& step) {
            return !progress || progress->update(step);
        });
    }
    m_saving = false;
    showChanges();
    if (outcome.result == StageProjectDocument::SaveResult::Failed) {
        m_prompter.message(
            m_parent, boxTitle(),
            QCoreApplication::translate("StageProjectCommands",
                                        "ステージプロジェクトを保存できませんでした。\n\n") +
                toQ(outcome.error),
            tools_common::Prompter::MessageKind::Warning);
    }
    if (outcome.result != StageProjectDocument::SaveResult::Saved) return false;
    m_settings.addRecentProject(toQ(path));
    return true;
}

bool StageProjectCommands::confirmSaveClash(const std::string& path) {
    const QString question = SaveClashQuestion(FindSaveClash(path, m_document.state().StageCount));
    return question.isEmpty() || m_prompter.askYesNo(m_parent, boxTitle(), question);
}

bool StageProjectCommands::saveAs() {
    if (m_saving || !m_document.state().ProjectOpen) return false;
    QString suggested = toQ(m_document.state().ProjectPath);
    if (suggested.isEmpty()) {
        const QString folder = m_settings.lastFolder();
        suggested = QDir(folder.isEmpty() ? QDir::homePath() : folder)
                        .filePath(toQ(m_document.state().ProjectName).replace('/', '_') + ".stp");
    }
    auto path = m_prompter.saveFile(
        m_parent, QCoreApplication::translate("StageProjectCommands", "名前を付けて保存"),
        ProjectFilter(), suggested);
    if (!path) return false;
    rememberFolderOf(*path);
    // The file dialog does not add the extension by itself; the game's lists and the
    // Open dialog look for ".stp".
    if (QFileInfo(*path).suffix().isEmpty()) *path += ".stp";
    const std::string target = fromQ(*path);
    // Only here: an overwrite goes back where the author already chose to save.
    if (!confirmSaveClash(target)) return false;
    return writeTo(target);
}

bool StageProjectCommands::save() {
    if (m_saving || !m_document.state().ProjectOpen) return false;
    if (m_document.state().ProjectPath.empty()) return saveAs();
    return writeTo(m_document.state().ProjectPath);
}

bool StageProjectCommands::settleUnsavedChanges() {
    if (!m_document.isModified()) return true;
    return tools_common::SettleUnsavedChanges(
        m_prompter, m_parent, boxTitle(),
        QCoreApplication::translate(
            "StageProjectCommands",
            "ステージプロジェクト「%1」には保存していない変更があります。\n保存しますか？")
            .arg(toQ(m_document.state().ProjectName)),
        [this] { return save(); });
}

std::string StageProjectCommands::helpPagePath() const {
    // Beside the editor in a build; in the game's folder when installed.
    std::string folder = m_programFolder;
    std::error_code ignored;
    if (!std::filesystem::exists(folder + "Tessel.html", ignored)) {
        const std::string installed = FindGameFolder(m_programFolder);
        if (std::filesystem::exists(installed + "Tessel.html", ignored)) folder = installed;
    }
    const std::string japanese = folder + "Tessel.html";
    const std::string translated =
        folder + fromQ(QCoreApplication::translate("StageProjectCommands", "Tessel.html"));
    return translated != japanese && IsOrdinaryFile(translated) ? translated : japanese;
}

std::optional<QString> StageProjectCommands::readHelpPage() {
    const std::string path = helpPagePath();
    try {
        return toQ(ReadFileBytes(path, kMaxTextFileBytes));
    } catch (const DataError&) {
        m_prompter.message(m_parent, boxTitle(),
                           QCoreApplication::translate("StageProjectCommands",
                                                       "ヘルプファイルが見つかりません。\n\n") +
                               toQ(DescribeProblem(path, 0, "ファイルがないか、読み込めません。")),
                           tools_common::Prompter::MessageKind::Warning);
        return std::nullopt;
    }
}

void StageProjectCommands::showVersion() {
    m_prompter.message(
        m_parent, boxTitle(),
        QCoreApplication::translate("StageProjectCommands",
                                    "Tessel（QONCreater）\nqon のステージエディタ\nバージョン ") +
            QString::fromLatin1(QON_VERSION));
}

bool StageProjectCommands::editStages(StageEdit edit) {
    const StageEditResult result = m_document.editStages(edit);
    if (!result.done) return false;
    if (result.renumbered) noticeRenumbering();
    return true;
}

void StageProjectCommands::noticeRenumbering() {
    if (m_renumberNoticeShown || m_settings.renumberNoticeOptedOut()) return;
    m_renumberNoticeShown = true;
    showChanges();  // the new order stands behind the notice
    const bool optedOut = m_prompter.noticeWithOptOut(
        m_parent, boxTitle(),
        QCoreApplication::translate(
            "StageProjectCommands",
            "ステージの番号が変わりました。\n\n"
            "ゲームのセーブデータ（qonsave.sav）は続きをステージの番号で覚えています。"
            "このプロジェクトを前の版で遊んだ人のセーブデータは、番号の変わったあとでは"
            "別のステージを指すことがあります。\n\n"
            "（Tessel で保存すると、このフォルダの qonsave.sav はすべて最初のステージに"
            "戻ります。）"));
    if (optedOut) m_settings.optOutOfRenumberNotice();
}

bool StageProjectCommands::goToStage() {
    const EditorState& state = m_document.state();
    if (!state.ProjectOpen) return false;
    auto stage = m_prompter.askNumber(
        m_parent, boxTitle(),
        QCoreApplication::translate("StageProjectCommands", "表示するステージの番号（1～%1）")
            .arg(state.StageCount),
        state.EditedStage, 1, state.StageCount);
    if (!stage) return false;
    return m_document.goToStage(*stage);
}

bool StageProjectCommands::testPlay() {
    if (!m_document.state().ProjectOpen) return false;
    if (m_document.isModified() || m_document.state().ProjectPath.empty()) {
        const QString why =
            m_document.state().ProjectPath.empty()
                ? QCoreApplication::translate("StageProjectCommands",
                                              "このプロジェクトはまだ保存されていません。")
                : QCoreApplication::translate("StageProjectCommands",
                                              "保存していない変更があります。");
        if (!m_prompter.askToSave(
                m_parent, boxTitle(),
                QCoreApplication::translate(
                    "StageProjectCommands",
                    "テストプレイでは、保存されたステージプロジェクトをゲームが"
                    "読み込みます。\n") +
                    why +
                    QCoreApplication::translate("StageProjectCommands", "\n先に保存しますか？")))
            return false;
        if (!save()) return false;
    }
    const QString game = FindGameProgram(toQ(m_programFolder), m_gameSearchPath);
    if (game.isEmpty()) {
        m_prompter.message(m_parent, boxTitle(),
                           QCoreApplication::translate(
                               "StageProjectCommands",
                               "ゲーム（qon）が見つからないため、テストプレイできません。\n\n"
                               "Tessel と同じフォルダ、ビルドしたゲームのフォルダ（build/qon/）、"
                               "PATH のフォルダの順に探しました。"),
                           tools_common::Prompter::MessageKind::Warning);
        return false;
    }
    const QStringList arguments = TestPlayArguments(
        toQ(m_document.state().ProjectPath), m_document.state().EditedStage, m_graphicSetPath);
    if (!m_launcher(game, arguments, QFileInfo(game).absolutePath())) {
        m_prompter.message(
            m_parent, boxTitle(),
            QCoreApplication::translate("StageProjectCommands",
                                        "ゲームを起動できませんでした。\n\n") +
                toQ(DescribeProblem(fromQ(game), 0, "プログラムを起動できませんでした。")),
            tools_common::Prompter::MessageKind::Warning);
        return false;
    }
    return true;
}

}  // namespace qon::stage_editor
