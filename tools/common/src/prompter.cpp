// SPDX-License-Identifier: MIT
#include "qon/tools/prompter.h"

#include <QFileDialog>
#include <QMessageBox>

namespace qon::tools {

std::optional<QString> QtPrompter::openFile(QWidget* parent, const QString& caption,
                                            const QString& filter) {
    QString path = QFileDialog::getOpenFileName(parent, caption, QString(), filter);
    if (path.isEmpty()) return std::nullopt;
    return path;
}

std::optional<QString> QtPrompter::saveFile(QWidget* parent, const QString& caption,
                                            const QString& filter, const QString& suggested) {
    QString path = QFileDialog::getSaveFileName(parent, caption, suggested, filter);
    if (path.isEmpty()) return std::nullopt;
    return path;
}

void QtPrompter::message(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
}

Prompter::Answer QtPrompter::askUnsaved(QWidget* parent, const QString& title,
                                        const QString& text) {
    auto button = QMessageBox::question(parent, title, text,
                                        QMessageBox::Save | QMessageBox::Discard |
                                            QMessageBox::Cancel,
                                        QMessageBox::Save);
    if (button == QMessageBox::Save) return Answer::Save;
    if (button == QMessageBox::Discard) return Answer::Discard;
    return Answer::Cancel;
}

std::optional<QString> ScriptedPrompter::nextFile(const QString& caption, const QString& filter) {
    dialogCaptions << caption;
    dialogFilters << filter;
    if (fileAnswers.empty()) return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::optional<QString> ScriptedPrompter::openFile(QWidget*, const QString& caption,
                                                  const QString& filter) {
    return nextFile(caption, filter);
}

std::optional<QString> ScriptedPrompter::saveFile(QWidget*, const QString& caption,
                                                  const QString& filter, const QString&) {
    return nextFile(caption, filter);
}

void ScriptedPrompter::message(QWidget*, const QString&, const QString& text) {
    messages << text;
}

Prompter::Answer ScriptedPrompter::askUnsaved(QWidget*, const QString&, const QString&) {
    ++unsavedQuestions;
    if (unsavedAnswers.empty()) return Answer::Cancel;
    auto answer = unsavedAnswers.front();
    unsavedAnswers.pop_front();
    return answer;
}

}  // namespace qon::tools
