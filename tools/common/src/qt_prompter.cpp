// SPDX-License-Identifier: MIT
#include "qon/tools_common/qt_prompter.h"

#include <QFileDialog>
#include <QFileInfo>
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

bool QtPrompter::askYesNo(QWidget* parent, const QString& title, const QString& text) {
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace qon::tools_common
