// SPDX-License-Identifier: MIT
// Sorrel, the set selector of qon.
#include <QApplication>

#include "qon/data/paths.h"
#include "qon/set_selector/selection_lists_window.h"
#include "qon/tools_common/application.h"
#include "qon/tools_common/qt_prompter.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    qon::tools_common::InstallJapaneseQtTexts(app);
    qon::tools_common::QtPrompter prompter;
    // The lists live beside the game, which shares this program's folder.
    qon::set_selector::SelectionListsWindow window(qon::ProgramFolder(), prompter);
    window.Form_Load();
    window.show();
    return app.exec();
}
