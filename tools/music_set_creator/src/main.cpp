// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "qon/music_set_creator/music_set_window.h"
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
    qon::orvinth::MusicSetWindow window(prompter);
    window.show();
    return app.exec();
}
