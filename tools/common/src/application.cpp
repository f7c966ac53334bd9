// SPDX-License-Identifier: MIT
#include "qon/tools_common/application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace qon::tools_common {

void InstallJapaneseQtTexts(QApplication& app) {
    auto* texts = new QTranslator(&app);  // lives as long as the application
    if (texts->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        app.installTranslator(texts);
    } else {
        delete texts;
    }
}

}  // namespace qon::tools_common
