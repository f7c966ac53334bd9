// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "qon/data/paths.h"
#include "qon/set_selector/set_selector_window.h"
#include "qon/tools/prompter.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The tool speaks Japanese; let Qt's own buttons (Save, Cancel, Open...) do so too when
    // its translations are installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);
    qon::tools::QtPrompter prompter;
    // The lists live beside the game, which shares this program's folder.
    qon::sorrel::SetSelectorWindow window(qon::ProgramFolder(), prompter);
    window.Form_Load();
    window.show();
    return app.exec();
}
