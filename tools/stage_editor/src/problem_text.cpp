// SPDX-License-Identifier: MIT
#include "qon/stage_editor/problem_text.h"

#include "qon/data/language.h"

namespace qon::stage_editor {

std::string DescribeProblem(const std::string& file, int line, const std::string& reason) {
    if (CurrentLanguage() == Language::English) {
        std::string text = "File: " + file;
        if (line > 0) text += " (line " + std::to_string(line) + ")";
        return text + "\nReason: " + reason;
    }
    std::string text = "ファイル: " + file;
    if (line > 0) text += "（" + std::to_string(line) + " 行目）";
    return text + "\n理由: " + reason;
}

std::string DescribeProblem(const DataError& error) {
    return DescribeProblem(error.file(), error.line(), error.reason());
}

}  // namespace qon::stage_editor
