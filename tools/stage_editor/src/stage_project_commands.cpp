// SPDX-License-Identifier: MIT
#include "qon/stage_editor/stage_project_commands.h"

#include <QDir>
#include <QFileInfo>
#include <utility>

#include "qon/data/error.h"
#include "qon/data/files.h"
#include "qon/tools_common/qt_text.h"
#include "qon/tools_common/unsaved_changes.h"

#ifndef QON_VERSION
#define QON_VERSION "0.0.0"
#endif

namespace qon::stage_editor {

using tools_common::fromQ;
using tools_common::toQ;

QString ProjectFilter() {
    return QStringLiteral("ステージプロジェクト (*.stp)");
}

QString GraphicSetFilter() {
    return QStringLiteral("QONグラフィックプロジェクト/*.bgp (*.bgp)");
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
            if (last > i) run += QStringLiteral("～Stage%1.stg").arg(stages[last]);
            runs << run;
        } else {
            hidden += static_cast<int>(last - i + 1);
        }
        i = last + 1;
    }
    QString text = runs.join(QStringLiteral("、"));
    if (hidden > 0) text += QStringLiteral(" ほか %1 個").arg(hidden);
    return text;
}

}  // namespace

QString SaveClashQuestion(const SaveClash& clash) {
    if (!clash.any()) return {};
    constexpr int kShownProjects = 5;
    QStringList names;
    for (const OtherProject& other : clash.projects) {
        if (names.size() == kShownProjects) {
            names << QStringLiteral("ほか %1 個")
                         .arg(static_cast<int>(clash.projects.size()) - kShownProjects);
            break;
        }
        names << QStringLiteral("「%1」").arg(toQ(other.fileName));
    }
    QString text = QStringLiteral(
                       "保存先のフォルダには別のステージプロジェクト%1があります。\n"
                       "保存すると、次のファイルが置き換えられます。\n")
                       .arg(names.join(QString()));
    int listed = 0;
    for (const OtherProject& other : clash.projects) {
        if (other.stagesReplaced.empty()) continue;
        if (listed++ == kShownProjects) break;
        text += QStringLiteral("\n・「%1」のステージファイル %2（%3 個）")
                    .arg(toQ(other.fileName), StageFileRanges(other.stagesReplaced),
                         QString::number(other.stagesReplaced.size()));
    }
    if (clash.saveFileReset) {
        text += QStringLiteral(
            "\n・セーブファイル qonsave.sav（遊んだ記録がすべてステージ 1 に戻ります）");
    }
    return text + QStringLiteral("\n\n保存しますか？");
}

StageProjectCommands::StageProjectCommands(StageProjectDocument& document, BlockImages& images,
                                           tools_common::Prompter& prompter,
                                           std::string programFolder)
    : m_document(document),
      m_images(images),
      m_prompter(prompter),
      m_programFolder(std::move(programFolder)) {}

void StageProjectCommands::showChanges() {
    if (m_showChanges) m_showChanges();
}

bool StageProjectCommands::createProject(const NewProjectInput& typed, QWidget* dialog) {
    if (m_saving) return false;
    NewProjectCheck check = CheckNewProject(typed);
    if (!check.stageCount) {
        m_prompter.message(dialog, QStringLiteral("新規作成"), toQ(check.message));
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
    auto path = m_prompter.openFile(m_parent, QStringLiteral("開く"), ProjectFilter());
    if (!path) return false;
    if (auto error = m_document.openProject(fromQ(*path))) {
        m_prompter.message(
            m_parent, QStringLiteral("開く"),
            QStringLiteral("ステージプロジェクトを開けませんでした。\n\n") + toQ(*error));
        return false;
    }
    return true;
}

bool StageProjectCommands::openGraphicSet() {
    auto path = m_prompter.openFile(m_parent, QStringLiteral("グラフィックセットを開く"),
                                    GraphicSetFilter());
    if (!path) return false;
    BlockImages::LoadResult result = m_images.loadGraphicSet(fromQ(*path));
    showChanges();
    if (result.problem.empty()) return true;
    QString head = result.loaded == 0 ? QStringLiteral("グラフィックセットを開けませんでした。\n\n")
                                      : QStringLiteral(
                                            "グラフィックセットを最後まで読み込めませんでした。"
                                            "読み込めた画像だけを使います。\n\n");
    m_prompter.message(m_parent, QStringLiteral("グラフィックセットを開く"),
                       head + toQ(result.problem));
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
        m_prompter.message(m_parent, QStringLiteral("保存"),
                           QStringLiteral("ステージプロジェクトを保存できませんでした。\n\n") +
                               toQ(outcome.error));
    }
    return outcome.result == StageProjectDocument::SaveResult::Saved;
}

bool StageProjectCommands::confirmSaveClash(const std::string& path) {
    const QString question = SaveClashQuestion(FindSaveClash(path, m_document.state().StageCount));
    return question.isEmpty() ||
           m_prompter.askYesNo(m_parent, QStringLiteral("名前を付けて保存"), question);
}

bool StageProjectCommands::saveAs() {
    if (m_saving || !m_document.state().ProjectOpen) return false;
    QString suggested = toQ(m_document.state().ProjectPath);
    if (suggested.isEmpty())
        suggested =
            QDir::home().filePath(toQ(m_document.state().ProjectName).replace('/', '_') + ".stp");
    auto path = m_prompter.saveFile(m_parent, QStringLiteral("名前を付けて保存"), ProjectFilter(),
                                    suggested);
    if (!path) return false;
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
        m_prompter, m_parent, QStringLiteral("QONCreater"),
        QStringLiteral(
            "ステージプロジェクト「%1」には保存していない変更があります。\n保存しますか？")
            .arg(toQ(m_document.state().ProjectName)),
        [this] { return save(); });
}

std::optional<QString> StageProjectCommands::readHelpPage() {
    const std::string path = helpPagePath();
    try {
        return toQ(ReadFileBytes(path, kMaxTextFileBytes));
    } catch (const DataError&) {
        m_prompter.message(m_parent, QStringLiteral("目次"),
                           QStringLiteral("ヘルプファイルが見つかりません。\n\n") + toQ(path));
        return std::nullopt;
    }
}

void StageProjectCommands::showVersion() {
    m_prompter.message(m_parent, QStringLiteral("バージョン情報"),
                       QStringLiteral("Tessel（QONCreater）\nqon のステージエディタ\nバージョン ") +
                           QString::fromLatin1(QON_VERSION));
}

}  // namespace qon::stage_editor
