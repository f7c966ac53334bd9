// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

#include "qon/tools_common/qt_text.h"

class QWidget;

namespace qon::tools_common {

// Every file dialog and message box of a tool goes through a Prompter, so that tests
// can answer them without a window. The real dialogs are QtPrompter's (qt_prompter.h).
class Prompter {
  public:
    enum class Answer { Save, Discard, Cancel };
    // Plain is the box of the tools' own quoted messages; Warning marks failures.
    enum class MessageKind { Plain, Warning };

    virtual ~Prompter() = default;

    // A path, or std::nullopt when the user cancelled. `filter` is Qt's form,
    // e.g. "ステージプロジェクト (*.stp)".
    virtual std::optional<QString> openFile(QWidget* parent, const QString& caption,
                                            const QString& filter) = 0;
    virtual std::optional<QString> saveFile(QWidget* parent, const QString& caption,
                                            const QString& filter,
                                            const QString& suggested = {}) = 0;
    // A message box with an OK button.
    virtual void message(QWidget* parent, const QString& title, const QString& text,
                         MessageKind kind = MessageKind::Plain) = 0;
    // "There are unsaved changes": save, discard or cancel. Tools ask it through
    // SettleUnsavedChanges (unsaved_changes.h).
    virtual Answer askUnsaved(QWidget* parent, const QString& title, const QString& text) = 0;
    // A question with Yes and No, No being the default. True for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
};

// Answers from queues and records every question; for tests. An empty file queue
// answers "cancelled", an empty answer queue answers Cancel, an empty yes/no queue No.
class ScriptedPrompter final : public Prompter {
  public:
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<Answer> unsavedAnswers;
    QStringList messages;        // texts of message() calls, in order
    QStringList dialogCaptions;  // captions of file dialogs, in order
    QStringList dialogFilters;   // filters of file dialogs, in order
    QStringList unsavedTexts;    // texts of the unsaved-changes questions, in order
    int unsavedQuestions = 0;
    std::deque<bool> yesNoAnswers;
    QStringList yesNoTexts;  // texts of the yes/no questions, in order

    std::optional<QString> openFile(QWidget* parent, const QString& caption,
                                    const QString& filter) override;
    std::optional<QString> saveFile(QWidget* parent, const QString& caption, const QString& filter,
                                    const QString& suggested) override;
    void message(QWidget* parent, const QString& title, const QString& text,
                 MessageKind kind = MessageKind::Plain) override;
    Answer askUnsaved(QWidget* parent, const QString& title, const QString& text) override;
    bool askYesNo(QWidget* parent, const QString& title, const QString& text) override;

  private:
    std::optional<QString> nextFile(const QString& caption, const QString& filter);
};

}  // namespace qon::tools_common
