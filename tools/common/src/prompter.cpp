// SPDX-License-Identifier: MIT
#include "qon/tools_common/prompter.h"

#include <algorithm>

namespace qon::tools_common {

std::optional<QString> ScriptedPrompter::nextFile(const QString& caption, const QString& filter) {
    dialogCaptions << caption;
    dialogFilters << filter;
    if (beforeEachDialog) beforeEachDialog();
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
                                                  const QString& filter, const QString& folder) {
    dialogFolders << folder;
    return nextFile(caption, filter);
}

std::optional<QString> ScriptedPrompter::saveFile(QWidget*, const QString& caption,
                                                  const QString& filter, const QString&) {
    return nextFile(caption, filter);
}

void ScriptedPrompter::message(QWidget*, const QString& title, const QString& text,
                               MessageKind kind) {
    titles << title;
    messages << text;
    messageKinds << kind;
}

Prompter::Answer ScriptedPrompter::askUnsaved(QWidget*, const QString& title, const QString& text) {
    titles << title;
    ++unsavedQuestions;
    unsavedTexts << text;
    if (unsavedAnswers.empty()) return Answer::Cancel;
    auto answer = unsavedAnswers.front();
    unsavedAnswers.pop_front();
    return answer;
}

bool ScriptedPrompter::askToSave(QWidget*, const QString& title, const QString& text) {
    titles << title;
    saveFirstTexts << text;
    if (saveFirstAnswers.empty()) return false;
    const bool save = saveFirstAnswers.front();
    saveFirstAnswers.pop_front();
    return save;
}

bool ScriptedPrompter::noticeWithOptOut(QWidget*, const QString& title, const QString& text) {
    titles << title;
    optOutTexts << text;
    if (optOutAnswers.empty()) return false;
    const bool optOut = optOutAnswers.front();
    optOutAnswers.pop_front();
    return optOut;
}

std::optional<int> ScriptedPrompter::askNumber(QWidget*, const QString& title, const QString& label,
                                               int, int minimum, int maximum) {
    titles << title;
    numberLabels << label;
    if (numberAnswers.empty()) return std::nullopt;
    const bool given = numberAnswers.front().has_value();
    const int number = given ? *numberAnswers.front() : 0;
    numberAnswers.pop_front();
    // The real dialog cannot return a number outside its range.
    if (!given) return std::nullopt;
    return std::clamp(number, minimum, maximum);
}

Prompter::Choice ScriptedPrompter::askYesNoCancel(QWidget*, const QString& title,
                                                  const QString& text) {
    titles << title;
    questions << text;
    if (choiceAnswers.empty()) return Choice::Cancel;
    const Choice choice = choiceAnswers.front();
    choiceAnswers.pop_front();
    return choice;
}

bool ScriptedPrompter::askYesNo(QWidget*, const QString& title, const QString& text) {
    titles << title;
    yesNoTexts << text;
    if (yesNoAnswers.empty()) return false;
    const bool yes = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return yes;
}

}  // namespace qon::tools_common
