// SPDX-License-Identifier: MIT
// Tessel, the stage editor of qon.
#include <QApplication>

#include "qon/data/paths.h"
#include "qon/tessel/main_window.h"
#include "qon/tools/application.h"
#include "qon/tools/prompter.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tessel");
    qon::tools::InstallJapaneseQtTexts(app);
    qon::tools::QtPrompter prompter;
    qon::tessel::TesselWindow window(prompter, qon::ProgramFolder());
    window.show();
    return QApplication::exec();
}
