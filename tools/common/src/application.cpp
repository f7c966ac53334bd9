// SPDX-License-Identifier: MIT
#include "qon/tools_common/application.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "qon/data/language.h"

namespace qon::tools_common {

namespace {

// Marks the translators InstallTranslations made, so that RemoveTranslations finds them
// among whatever else the application owns.
constexpr auto kTranslatorName = "qon_tools_translator";

// Installs `translator` when it loaded; otherwise drops it. A missing Qt translation is not
// an error: Qt's buttons then keep their English names.
void installIfLoaded(QTranslator* translator, bool loaded) {
    if (!loaded) {
        delete translator;
        return;
    }
    translator->setObjectName(QString::fromLatin1(kTranslatorName));
    QCoreApplication::installTranslator(translator);
}

}  // namespace

ToolLanguage LanguageFor(const QLocale& locale) {
    return locale.language() == QLocale::English ? ToolLanguage::English : ToolLanguage::Japanese;
}

ToolLanguage InstallTranslations(QCoreApplication& app) {
    return InstallTranslations(app, QLocale::system());
}

ToolLanguage InstallTranslations(QCoreApplication& app, const QLocale& locale) {
    RemoveTranslations(app);
    const ToolLanguage language = LanguageFor(locale);
    if (language == ToolLanguage::English) {
        // Built into the tool as a resource (see tools/translations), so a staged or
        // installed tool finds it wherever it lies. Qt's own texts are English already.
        auto* texts = new QTranslator(&app);  // lives as long as the application
        installIfLoaded(texts, texts->load(QStringLiteral(":/i18n/qon_tools_en.qm")));
    } else {
        auto* qtTexts = new QTranslator(&app);
        installIfLoaded(qtTexts, qtTexts->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"),
                                               QStringLiteral("_"),
                                               QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    }
    return language;
}

void RemoveTranslations(QCoreApplication& app) {
    const auto translators = app.findChildren<QTranslator*>(QString::fromLatin1(kTranslatorName),
                                                            Qt::FindDirectChildrenOnly);
    for (QTranslator* translator : translators) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

ToolLanguage InstallLanguage(QCoreApplication& app) {
    const ToolLanguage language = InstallTranslations(app);
    SetLanguage(language == ToolLanguage::English ? Language::English : Language::Japanese);
    return language;
}

}  // namespace qon::tools_common
