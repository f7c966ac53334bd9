// SPDX-License-Identifier: MIT
// Tessel, the stage editor of qon.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "qon/data/paths.h"
#include "qon/tessel/main_window.h"
#include "qon/tools/prompter.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tessel");
    // The editor speaks Japanese; let Qt's own dialogs and buttons do the same when
    // its translations are installed (without them they stay in English).
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Japanese), "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);
    qon::tools::QtPrompter prompter;
    qon::tessel::TesselWindow window(prompter, qon::ProgramFolder());
    window.show();
    return QApplication::exec();
}
