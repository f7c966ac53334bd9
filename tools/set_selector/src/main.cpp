// SPDX-License-Identifier: MIT
// Sorrel, the set selector of qon.
#include <QApplication>
#include <utility>

#include "qon/data/game_folders.h"
#include "qon/data/paths.h"
#include "qon/set_selector/selection_lists_window.h"
#include "qon/tools_common/application.h"
#include "qon/tools_common/command_line.h"
#include "qon/tools_common/qt_prompter.h"
#include "qon/tools_common/qt_text.h"

int main(int argc, char* argv[]) {
    const qon::tools_common::ToolDescription tool{
        .program = "Sorrel",
        .summary =
            QT_TRANSLATE_NOOP("ToolCommandLine",
                              "qon のセット選択ツールです。ゲームで遊べるステージプロジェクト、"
                              "グラフィックセットとミュージックセットの一覧を編集します。\n"
                              "一覧はゲームのフォルダにあり、ウィンドウを閉じたときに保存されます。"
                              "ゲームのフォルダに書き込めないとき（インストールしたゲーム）は、"
                              "~/.local/share/qon の一覧を編集します。")};
    // Before the application: it needs a display, and help needs none.
    if (auto status = qon::tools_common::AnswerHelpOrVersion(argc, argv, tool)) return *status;

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("qon"));
    QApplication::setApplicationName(QStringLiteral("Sorrel"));
    // Before any text is made, the refusal of bad arguments included.
    qon::tools_common::InstallLanguage(app);
    QString none;
    if (auto status = qon::tools_common::RefuseBadArguments(QApplication::arguments(), tool, none))
        return *status;

    // The lists live in the game folder, beside this program in a staged build; an
    // installed game keeps them in the player's own folder. The add dialog starts in the
    // game folder, where the starter sets are, and then keeps its last folder.
    qon::GameFolders folders = qon::FindGameFolders(qon::ProgramFolder());
    qon::tools_common::QtPrompter prompter(
        qon::tools_common::DialogFolder(nullptr, {}, qon::tools_common::toQ(folders.game)));
    qon::set_selector::SelectionListsWindow window(std::move(folders), prompter);
    window.Form_Load();
    window.show();
    return app.exec();
}
