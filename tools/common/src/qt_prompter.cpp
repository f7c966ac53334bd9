// SPDX-License-Identifier: MIT
#include "qon/tools_common/qt_prompter.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace qon::tools_common {

namespace {

// "ステージプロジェクト (*.stp)" -> "stp": the suffix a typed name without one gets.
QString defaultSuffixOf(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    auto match = pattern.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

}  // namespace

std::optional<QString> QtPrompter::openFile(QWidget* parent, const QString& caption,
                                            const QString& filter, const QString& folder) {
    QString path = QFileDialog::getOpenFileName(parent, caption,
                                                folder.isEmpty() ? m_lastFolder : folder, filter);
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

bool QtPrompter::askToSave(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Save | QMessageBox::Cancel,
                    parent);
    box.setDefaultButton(QMessageBox::Save);
    return box.exec() == QMessageBox::Save;
}

bool QtPrompter::noticeWithOptOut(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
    auto* optOut = new QCheckBox(QStringLiteral("今後このメッセージを表示しない"), &box);
    box.setCheckBox(optOut);
    box.exec();
    return optOut->isChecked();
}

std::optional<int> QtPrompter::askNumber(QWidget* parent, const QString& title,
                                         const QString& label, int value, int minimum,
                                         int maximum) {
    bool ok = false;
    const int number = QInputDialog::getInt(parent, title, label, value, minimum, maximum, 1, &ok);
    if (!ok) return std::nullopt;
    return number;
}

}  // namespace qon::tools_common
