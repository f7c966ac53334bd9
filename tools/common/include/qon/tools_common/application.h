// SPDX-License-Identifier: MIT
#pragma once

class QCoreApplication;
class QLocale;

namespace qon::tools_common {

// The language the tools' windows speak. The texts in the sources are the Japanese ones;
// English comes from the translation built into every tool.
enum class ToolLanguage { Japanese, English };

// English for an English locale (en_*); Japanese for every other one, C and POSIX included,
// so that an unset LANG keeps the tools as they always were.
ToolLanguage LanguageFor(const QLocale& locale);

// Installs the tools' own texts and Qt's (its standard buttons and dialogs) in the language
// of the user's locale (QLocale::system(): LC_ALL, LC_MESSAGES, LANG) and returns it. Call
// once in main(), after the application is made and before any window or message is built:
// texts are translated as they are made, never afterwards.
ToolLanguage InstallTranslations(QCoreApplication& app);
// The same for a chosen locale; tests use it to build windows in either language.
ToolLanguage InstallTranslations(QCoreApplication& app, const QLocale& locale);
// What each tool's main() calls once: installs the translations of the user's locale and
// makes the data library's reasons speak the same language, so that a message and its
// details never mix two languages.
ToolLanguage InstallLanguage(QCoreApplication& app);
// Takes out what InstallTranslations put in: texts made afterwards are the Japanese sources.
void RemoveTranslations(QCoreApplication& app);

}  // namespace qon::tools_common
