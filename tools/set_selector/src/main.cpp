// SPDX-License-Identifier: MIT
#include <QApplication>

#include "qon/data/paths.h"
#include "qon/set_selector/set_selector_window.h"
#include "qon/tools/application.h"
#include "qon/tools/prompter.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    qon::tools::InstallJapaneseQtTexts(app);
    qon::tools::QtPrompter prompter;
    // The lists live beside the game, which shares this program's folder.
    qon::sorrel::SetSelectorWindow window(qon::ProgramFolder(), prompter);
    window.Form_Load();
    window.show();
    return app.exec();
}
