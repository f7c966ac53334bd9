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
    if (!settleUnsavedChanges()) return false;
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
    auto error = m_document.writeProject(path);
    showChanges();
    if (error) {
        m_prompter.message(
            m_parent, QStringLiteral("保存"),
            QStringLiteral("ステージプロジェクトを保存できませんでした。\n\n") + toQ(*error));
        return false;
    }
    return true;
}

bool StageProjectCommands::saveAs() {
    if (!m_document.state().ProjectOpen) return false;
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
    return writeTo(fromQ(*path));
}

bool StageProjectCommands::save() {
    if (!m_document.state().ProjectOpen) return false;
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
