// SPDX-License-Identifier: MIT
#pragma once

namespace qon {

// The language a program speaks to its user: in message boxes, on its terminal and in the
// reasons of the data library's errors.
enum class Language { Japanese, English };

// The language of the user's locale, by the C library's order of precedence: LC_ALL, then
// LC_MESSAGES, then LANG, the first that is set and not empty decides. English for a
// locale whose language is "en" ("en_US.UTF-8", "en"); Japanese for every other value,
// for "C" and "POSIX", and when none of the three is set: the programs' own texts are
// Japanese, and an author with another language reads those as before.
Language LanguageFromEnvironment();
Language LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang);

// The process's language, chosen once at start-up by each program's main() (the game, each
// tool); everything that builds a text for the user reads it from here. Until a program
// sets it, it is English: a library used on its own (a test, a benchmark) keeps the
// English reasons it always gave.
void SetLanguage(Language language);
Language CurrentLanguage();

}  // namespace qon
