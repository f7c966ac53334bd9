// SPDX-License-Identifier: MIT
// Pavane, the graphic set creator of qon.
#include <QApplication>

#include "qon/graphic_set_creator/graphic_set_window.h"
#include "qon/graphic_set_creator/image_loader.h"
#include "qon/tools_common/application.h"
#include "qon/tools_common/qt_prompter.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pavane"));
    qon::tools_common::InstallJapaneseQtTexts(app);
    qon::tools_common::QtPrompter prompter;
    qon::graphic_set_creator::FileImageLoader loader;
    qon::graphic_set_creator::GraphicSetWindow window(prompter, loader);
    window.show();
    return QApplication::exec();
}
