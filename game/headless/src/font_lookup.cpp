// SPDX-License-Identifier: MIT
#include "font_lookup.h"

#include <fontconfig/fontconfig.h>

#include <string_view>
#include <vector>

namespace qon::headless {
namespace {

// Asks fontconfig for `family` with lang=ja and bold. With `requireFamily`, the answer
// counts only when it really is that family (fontconfig always answers something).
FontChoice match(FcConfig* config, const char* family, bool requireFamily) {
    FontChoice choice;
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return choice;
    if (family != nullptr) {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    }
    FcLangSet* langs = FcLangSetCreate();
    FcLangSetAdd(langs, reinterpret_cast<const FcChar8*>("ja"));
    FcPatternAddLangSet(pattern, FC_LANG, langs);
    FcLangSetDestroy(langs);
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_BOLD);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);

    FcResult result = FcResultNoMatch;
    FcPattern* found = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (found == nullptr) return choice;

    bool familyMatches = family == nullptr;
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(found, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        const std::string_view text(reinterpret_cast<const char*>(name));
        if (choice.family.empty()) choice.family = std::string(text);
        if (family != nullptr && text == family) familyMatches = true;
    }
    FcLangSet* foundLangs = nullptr;
    const bool hasJapanese =
        FcPatternGetLangSet(found, FC_LANG, 0, &foundLangs) == FcResultMatch &&
        FcLangSetHasLang(foundLangs, reinterpret_cast<const FcChar8*>("ja")) == FcLangEqual;
    FcChar8* file = nullptr;
    if ((familyMatches || !requireFamily) && hasJapanese &&
        FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch) {
        choice.file = reinterpret_cast<const char*>(file);
        int index = 0;
        if (FcPatternGetInteger(found, FC_INDEX, 0, &index) == FcResultMatch) {
            choice.faceIndex = index;
        }
        int weight = 0;
        if (FcPatternGetInteger(found, FC_WEIGHT, 0, &weight) == FcResultMatch) {
            choice.isBold = weight >= FC_WEIGHT_BOLD;
        }
    }
    FcPatternDestroy(found);
    return choice;
}

}  // namespace

FontChoice FindGameFont() {
    if (FcInit() == FcFalse) return {};
    FcConfig* config = FcConfigGetCurrent();
    struct Candidate {
        const char* family;
        bool requireFamily;
    };
    const std::vector<Candidate> candidates = {
        {"DFPOP体", true},           {"DFPOP", true},     {"MotoyaLMaru", true},
        {"Motoya L Maruberi", true}, {"IPAGothic", true}, {nullptr, false},
    };
    for (const Candidate& candidate : candidates) {
        FontChoice choice = match(config, candidate.family, candidate.requireFamily);
        if (!choice.file.empty()) return choice;
    }
    return {};
}

}  // namespace qon::headless
