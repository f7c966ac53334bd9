// SPDX-License-Identifier: MIT
// Tessel, the stage editor of qon.
#include <QApplication>

#include "qon/data/paths.h"
#include "qon/stage_editor/stage_project_window.h"
#include "qon/tools_common/application.h"
#include "qon/tools_common/qt_prompter.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tessel");
    qon::tools_common::InstallJapaneseQtTexts(app);
    qon::tools_common::QtPrompter prompter;
    qon::stage_editor::StageProjectWindow window(prompter, qon::ProgramFolder());
    window.show();
    return QApplication::exec();
}
