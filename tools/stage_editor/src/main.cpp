// SPDX-License-Identifier: MIT
// Tessel, the stage editor of qon.
#include <QApplication>
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <string>
#include <vector>

#include "qon/data/paths.h"
#include "qon/stage_editor/command_line.h"
#include "qon/stage_editor/stage_project_window.h"
#include "qon/tools_common/application.h"
#include "qon/tools_common/qt_prompter.h"
#include "qon/tools_common/qt_text.h"

namespace {

std::vector<std::string> ArgumentsOf(int argc, char* argv[]) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace

int main(int argc, char* argv[]) {
    using qon::stage_editor::TesselCommandLine;
    // --help and --version answer on the terminal before Qt looks for a display.
    const TesselCommandLine early =
        qon::stage_editor::ParseTesselCommandLine(ArgumentsOf(argc, argv));
    if (early.action == TesselCommandLine::Action::Help) {
        QCoreApplication core(argc, argv);  // for the translations; needs no display
        qon::tools_common::InstallTranslations(core);
        std::fputs(qon::stage_editor::TesselHelpText().c_str(), stdout);
        return 0;
    }
    if (early.action == TesselCommandLine::Action::Version) {
        std::fputs(qon::stage_editor::TesselVersionText().c_str(), stdout);
        return 0;
    }

    QApplication app(argc, argv);  // takes Qt's own options out of argv
    // Before any text is made, the refusal of bad arguments included.
    qon::tools_common::InstallLanguage(app);
    const TesselCommandLine line =
        qon::stage_editor::ParseTesselCommandLine(ArgumentsOf(argc, argv));
    if (line.action == TesselCommandLine::Action::Error) {
        std::fprintf(stderr, "Tessel: %s\n%s", line.error.c_str(),
                     qon::stage_editor::TesselHelpText().c_str());
        return 2;
    }
    QApplication::setApplicationName("Tessel");
    qon::tools_common::QtPrompter prompter;
    qon::stage_editor::StageProjectWindow window(prompter, qon::ProgramFolder());
    window.show();
    if (!line.project.empty()) {
        // Once the window is up, so that a failure's message stands in front of it.
        const QString project = qon::tools_common::toQ(line.project);
        QTimer::singleShot(0, &window, [&window, project] { window.openProjectAt(project); });
    }
    return QApplication::exec();
}
