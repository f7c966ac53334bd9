// SPDX-License-Identifier: MIT
#include "qon/tools/prompter.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

namespace qon::tools {

namespace {

// "ステージプロジェクト (*.stp)" -> "stp": the suffix a typed name without one gets.
QString defaultSuffixOf(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    auto match = pattern.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

}  // namespace

std::optional<QString> QtPrompter::openFile(QWidget* parent, const QString& caption,
                                            const QString& filter) {
    QString path = QFileDialog::getOpenFileName(parent, caption, m_lastFolder, filter);
    if (path.isEmpty()) return std::nullopt;
    m_lastFolder = QFileInfo(path).absolutePath();
    return path;
}

std::optional<QString> QtPrompter::saveFile(QWidget* parent, const QString& caption,
                                            const QString& filter, const QString& suggested) {
    QFileDialog dialog(parent, caption, suggested.isEmpty() ? m_lastFolder : suggested, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffixOf(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    QString path = dialog.selectedFiles().first();
    if (path.isEmpty()) return std::nullopt;
    m_lastFolder = QFileInfo(path).absolutePath();
    return path;
}

void QtPrompter::message(QWidget* parent, const QString& title, const QString& text,
                         MessageKind kind) {
    QMessageBox box(kind == MessageKind::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    title, text, QMessageBox::Ok, parent);
    box.exec();
}

Prompter::Answer QtPrompter::askUnsaved(QWidget* parent, const QString& title,
                                        const QString& text) {
    auto button = QMessageBox::question(
        parent, title, text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
        QMessageBox::Save);
    if (button == QMessageBox::Save) return Answer::Save;
    if (button == QMessageBox::Discard) return Answer::Discard;
    return Answer::Cancel;
}

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

Prompter::Answer ScriptedPrompter::askUnsaved(QWidget*, const QString&, const QString&) {
    ++unsavedQuestions;
    if (unsavedAnswers.empty()) return Answer::Cancel;
    auto answer = unsavedAnswers.front();
    unsavedAnswers.pop_front();
    return answer;
}

}  // namespace qon::tools
