// SPDX-License-Identifier: MIT
#include "qon/tools_common/prompter.h"

namespace qon::tools_common {

std::optional<QString> ScriptedPrompter::nextFile(const QString& caption, const QString& filter) {
    dialogCaptions << caption;
    dialogFilters << filter;
    if (fileAnswers.empty()) return std::nullopt;
    // A cancelled dialog is an empty entry. (Copying the optional itself trips a false
    // "may be used uninitialized" in GCC 12.)
    const bool chosen = fileAnswers.front().has_value();
    const QString path = chosen ? *fileAnswers.front() : QString();
    fileAnswers.pop_front();
    if (!chosen) return std::nullopt;
    return path;
}

std::optional<QString> ScriptedPrompter::openFile(QWidget*, const QString& caption,
                                                  const QString& filter) {
    return nextFile(caption, filter);
}

std::optional<QString> ScriptedPrompter::saveFile(QWidget*, const QString& caption,
                                                  const QString& filter, const QString&) {
    return nextFile(caption, filter);
}

void ScriptedPrompter::message(QWidget*, const QString&, const QString& text, MessageKind) {
    messages << text;
}

Prompter::Answer ScriptedPrompter::askUnsaved(QWidget*, const QString&, const QString& text) {
    ++unsavedQuestions;
    unsavedTexts << text;
    if (unsavedAnswers.empty()) return Answer::Cancel;
    auto answer = unsavedAnswers.front();
    unsavedAnswers.pop_front();
    return answer;
}

bool ScriptedPrompter::askYesNo(QWidget*, const QString&, const QString& text) {
    yesNoTexts << text;
    if (yesNoAnswers.empty()) return false;
    const bool yes = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return yes;
}

}  // namespace qon::tools_common
