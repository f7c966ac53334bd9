// SPDX-License-Identifier: MIT
#include <QApplication>

#include "qon/music_set_creator/music_set_window.h"
#include "qon/tools/application.h"
#include "qon/tools/prompter.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    qon::tools::InstallJapaneseQtTexts(app);
    qon::tools::QtPrompter prompter;
    qon::orvinth::MusicSetWindow window(prompter);
    window.show();
    return app.exec();
}
