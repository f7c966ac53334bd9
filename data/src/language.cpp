// SPDX-License-Identifier: MIT
#include "qon/data/language.h"

#include <atomic>
#include <cstdlib>
#include <string_view>

namespace qon {

namespace {

std::atomic<Language> g_language{Language::English};

}  // namespace

Language LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (value == nullptr || *value == '\0') continue;
        const std::string_view locale(value);
        // "en", "en_US", "en_GB.UTF-8", "en@euro": the language part is "en".
        const bool english =
            locale.substr(0, 2) == "en" &&
            (locale.size() == 2 || locale[2] == '_' || locale[2] == '.' || locale[2] == '@');
        return english ? Language::English : Language::Japanese;
    }
    return Language::Japanese;
}

Language LanguageFromEnvironment() {
    return LanguageFromLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                              std::getenv("LANG"));
}

void SetLanguage(Language language) {
    g_language.store(language, std::memory_order_relaxed);
}

Language CurrentLanguage() {
    return g_language.load(std::memory_order_relaxed);
}

}  // namespace qon
