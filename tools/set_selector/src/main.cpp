// SPDX-License-Identifier: MIT
// Sorrel, the set selector of qon.
#include <QApplication>

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
                              "一覧はこのプログラムのフォルダ（ゲームのフォルダ）にあり、"
                              "ウィンドウを閉じたときに保存されます。")};
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

    // The lists live beside the game, which shares this program's folder; the add dialog
    // starts there, where the starter sets are, and then keeps its last folder.
    const std::string gameFolder = qon::ProgramFolder();
    qon::tools_common::QtPrompter prompter(
        qon::tools_common::DialogFolder(nullptr, {}, qon::tools_common::toQ(gameFolder)));
    qon::set_selector::SelectionListsWindow window(gameFolder, prompter);
    window.Form_Load();
    window.show();
    return app.exec();
}
