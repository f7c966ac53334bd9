// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>

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

}  // namespace qon::test_support
