// SPDX-License-Identifier: MIT
#include <QApplication>

#include "qon/pavane/image_loader.h"
#include "qon/pavane/pavane_window.h"
#include "qon/tools/application.h"
#include "qon/tools/prompter.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pavane"));
    qon::tools::InstallJapaneseQtTexts(app);
    qon::tools::QtPrompter prompter;
    qon::pavane::FileImageLoader loader;
    qon::pavane::PavaneWindow window(prompter, loader);
    window.show();
    return QApplication::exec();
}
