// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

class QWidget;

namespace qon::tools {

// Every file dialog and message box of a tool goes through a Prompter, so that tests
// can answer them without a window.
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
    // "There are unsaved changes": save, discard or cancel.
    virtual Answer askUnsaved(QWidget* parent, const QString& title, const QString& text) = 0;
};

// The real dialogs: QFileDialog and QMessageBox.
class QtPrompter final : public Prompter {
  public:
    std::optional<QString> openFile(QWidget* parent, const QString& caption,
                                    const QString& filter) override;
    std::optional<QString> saveFile(QWidget* parent, const QString& caption, const QString& filter,
                                    const QString& suggested) override;
    void message(QWidget* parent, const QString& title, const QString& text,
                 MessageKind kind = MessageKind::Plain) override;
    Answer askUnsaved(QWidget* parent, const QString& title, const QString& text) override;

  private:
    // File dialogs open where the last one was left, as authors expect.
    QString m_lastFolder;
};

// Answers from queues and records every message; for tests. An empty file queue
// answers "cancelled", an empty answer queue answers Cancel.
class ScriptedPrompter final : public Prompter {
  public:
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<Answer> unsavedAnswers;
    QStringList messages;        // texts of message() calls, in order
    QStringList dialogCaptions;  // captions of file dialogs, in order
    QStringList dialogFilters;   // filters of file dialogs, in order
    int unsavedQuestions = 0;

    std::optional<QString> openFile(QWidget* parent, const QString& caption,
                                    const QString& filter) override;
    std::optional<QString> saveFile(QWidget* parent, const QString& caption, const QString& filter,
                                    const QString& suggested) override;
    void message(QWidget* parent, const QString& title, const QString& text,
                 MessageKind kind = MessageKind::Plain) override;
    Answer askUnsaved(QWidget* parent, const QString& title, const QString& text) override;

  private:
    std::optional<QString> nextFile(const QString& caption, const QString& filter);
};

// std::string (UTF-8) <-> QString.
inline QString toQ(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string fromQ(const QString& s) {
    return s.toUtf8().toStdString();
}

}  // namespace qon::tools
