// SPDX-License-Identifier: MIT
// Compiled into every test program of the tools: the data library's reasons come in
// Japanese, as a tool gives them with no locale set. A test of English chooses it for its
// own scope (test_support::LanguageScope).
#include "qon/data/language.h"

namespace {

[[maybe_unused]] const bool kJapaneseByDefault = [] {
    qon::SetLanguage(qon::Language::Japanese);
    return true;
}();

}  // namespace
