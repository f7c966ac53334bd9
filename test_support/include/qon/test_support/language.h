// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>
#include <regex>
#include <set>
#include <string>
#include <string_view>

#include "qon/data/language.h"

namespace qon {

// For gtest: a language reads as its name in failures and parameter lists.
inline void PrintTo(Language language, std::ostream* out) {
    *out << (language == Language::Japanese ? "Japanese" : "English");
}

}  // namespace qon

namespace qon::test_support {

// Speaks `language` for the life of the object, then the language from before again: a
// test of texts in one language leaves none behind for the next test.
class LanguageScope {
  public:
    explicit LanguageScope(Language language) : m_before(CurrentLanguage()) {
        SetLanguage(language);
    }
    ~LanguageScope() { SetLanguage(m_before); }
    LanguageScope(const LanguageScope&) = delete;
    LanguageScope& operator=(const LanguageScope&) = delete;

  private:
    Language m_before;
};

// The placeholders {1} to {9} of a message template, as often as each stands: the two
// forms of a message must fill the same ones.
inline std::multiset<std::string> Placeholders(std::string_view text) {
    static const std::regex kPlaceholder("\\{[1-9]\\}");
    std::multiset<std::string> found;
    const std::string copy(text);
    for (auto it = std::sregex_iterator(copy.begin(), copy.end(), kPlaceholder);
         it != std::sregex_iterator(); ++it)
        found.insert(it->str());
    return found;
}

}  // namespace qon::test_support
