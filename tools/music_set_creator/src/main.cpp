// SPDX-License-Identifier: MIT
// Orvinth, the music set creator of qon.
#include <QApplication>

#include "qon/music_set_creator/music_set_window.h"
#include "qon/tools_common/application.h"
#include "qon/tools_common/qt_prompter.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    qon::tools_common::InstallJapaneseQtTexts(app);
    qon::tools_common::QtPrompter prompter;
    qon::music_set_creator::MusicSetWindow window(prompter);
    window.show();
    return app.exec();
}
