// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

#include "qon/tools_common/qt_text.h"

class QWidget;

namespace qon::tools_common {

// Every file dialog and message box of a tool goes through a Prompter, so that tests
// can answer them without a window. The real dialogs are QtPrompter's (qt_prompter.h).
class Prompter {
  public:
    enum class Answer { Save, Discard, Cancel };
    // The answer to a yes / no / cancel question.
    enum class Choice { Yes, No, Cancel };
    // Plain is the box of the tools' own quoted messages; Warning marks failures.
    enum class MessageKind { Plain, Warning };

    virtual ~Prompter() = default;

    // A path, or std::nullopt when the user cancelled. `filter` is Qt's form,
    // e.g. "ステージプロジェクト (*.stp)". The dialog starts in `folder` when one is given,
    // otherwise where the last dialog was left.
    virtual std::optional<QString> openFile(QWidget* parent, const QString& caption,
                                            const QString& filter, const QString& folder = {}) = 0;
    virtual std::optional<QString> saveFile(QWidget* parent, const QString& caption,
                                            const QString& filter,
                                            const QString& suggested = {}) = 0;
    // A message box with an OK button.
    virtual void message(QWidget* parent, const QString& title, const QString& text,
                         MessageKind kind = MessageKind::Plain) = 0;
    // "There are unsaved changes": save, discard or cancel. Tools ask it through
    // SettleUnsavedChanges (unsaved_changes.h).
    virtual Answer askUnsaved(QWidget* parent, const QString& title, const QString& text) = 0;
    // "Save first?" before work that needs the file on disk: Save or Cancel, no Discard.
    // True for Save.
    virtual bool askToSave(QWidget* parent, const QString& title, const QString& text) = 0;
    // A notice with an OK button and a "don't show this again" check box; true when the
    // box was checked.
    virtual bool noticeWithOptOut(QWidget* parent, const QString& title, const QString& text) = 0;
    // A whole number from `minimum` to `maximum`, starting at `value`; std::nullopt when
    // the user cancelled.
    virtual std::optional<int> askNumber(QWidget* parent, const QString& title,
                                         const QString& label, int value, int minimum,
                                         int maximum) = 0;
    // A question answered with yes, no or cancel; closing the box is Cancel.
    virtual Choice askYesNoCancel(QWidget* parent, const QString& title, const QString& text) = 0;

    // A file the tool used without a dialog (opened from the recent files, given on the
    // command line): the next dialog opens in its folder, as if it had been chosen there.
    virtual void noteFileUsed(const QString& path) { (void)path; }
    // A question with Yes and No, No being the default. True for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
};

// Answers from queues and records every question; for tests. An empty file queue
// answers "cancelled", an empty answer queue answers Cancel (and "not checked", and no
// number), an empty yes/no queue No.
class ScriptedPrompter final : public Prompter {
  public:
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<Answer> unsavedAnswers;
    std::deque<bool> saveFirstAnswers;  // true: Save
    std::deque<bool> optOutAnswers;     // true: "don't show again" checked
    std::deque<std::optional<int>> numberAnswers;
    QStringList messages;  // texts of message() calls, in order
    QList<MessageKind> messageKinds;
    std::deque<Choice> choiceAnswers;
    QStringList dialogCaptions;  // captions of file dialogs, in order
    QStringList dialogFilters;   // filters of file dialogs, in order
    QStringList dialogFolders;   // folders the open dialogs start in (empty: none given)
    QStringList unsavedTexts;    // texts of the unsaved-changes questions, in order
    QStringList saveFirstTexts;  // texts of askToSave() questions, in order
    QStringList optOutTexts;     // texts of noticeWithOptOut() calls, in order
    QStringList numberLabels;    // labels of askNumber() questions, in order
    QStringList questions;       // texts of the yes / no / cancel questions, in order
    // Titles of every message box, question and number dialog, in order (file dialogs
    // have captions instead).
    QStringList titles;
    QStringList usedFiles;  // paths given to noteFileUsed, in order
    int unsavedQuestions = 0;
    // Runs as each file dialog opens, before it answers: a test looks at what the window
    // would show behind the dialog.
    std::function<void()> beforeEachDialog;
    std::deque<bool> yesNoAnswers;
    QStringList yesNoTexts;  // texts of the yes/no questions, in order

    std::optional<QString> openFile(QWidget* parent, const QString& caption, const QString& filter,
                                    const QString& folder = {}) override;
    std::optional<QString> saveFile(QWidget* parent, const QString& caption, const QString& filter,
                                    const QString& suggested) override;
    void message(QWidget* parent, const QString& title, const QString& text,
                 MessageKind kind = MessageKind::Plain) override;
    Answer askUnsaved(QWidget* parent, const QString& title, const QString& text) override;
    bool askToSave(QWidget* parent, const QString& title, const QString& text) override;
    bool noticeWithOptOut(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<int> askNumber(QWidget* parent, const QString& title, const QString& label,
                                 int value, int minimum, int maximum) override;
    Choice askYesNoCancel(QWidget* parent, const QString& title, const QString& text) override;
    void noteFileUsed(const QString& path) override { usedFiles << path; }
    bool askYesNo(QWidget* parent, const QString& title, const QString& text) override;

  private:
    std::optional<QString> nextFile(const QString& caption, const QString& filter);
};

}  // namespace qon::tools_common
