// SPDX-License-Identifier: MIT
#include "qon/tools_common/qt_prompter.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <algorithm>

namespace qon::tools_common {

namespace {

// "ステージプロジェクト (*.stp)" -> "stp": the suffix a typed name without one gets.
QString defaultSuffixOf(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    auto match = pattern.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

// The buttons say their answer in the tools' language even where Qt's own translations
// are not installed.
void nameButton(QMessageBox& box, QMessageBox::StandardButton which, const QString& text) {
    if (QAbstractButton* button = box.button(which)) button->setText(text);
}

void placeBeside(QWidget* parent, QDialog& dialog) {
    if (!parent) return;
    QWidget* window = parent->window();
    QScreen* screen = window->screen();
    if (!screen || !window->isVisible()) return;
    dialog.adjustSize();  // the size it will show with
    if (auto position = DialogPositionBeside(window->frameGeometry(), dialog.frameGeometry().size(),
                                             screen->availableGeometry()))
        dialog.move(*position);
}

}  // namespace

std::optional<QPoint> DialogPositionBeside(const QRect& window, const QSize& dialog,
                                           const QRect& screen) {
    constexpr int kGap = 8;
    const int top = std::clamp(window.top(), screen.top(),
                               std::max(screen.top(), screen.bottom() - dialog.height()));
    if (window.right() + kGap + dialog.width() <= screen.right())
        return QPoint(window.right() + kGap, top);
    if (window.left() - kGap - dialog.width() >= screen.left())
        return QPoint(window.left() - kGap - dialog.width(), top);
    if (window.bottom() + kGap + dialog.height() <= screen.bottom())
        return QPoint(std::max(screen.left(), window.left()), window.bottom() + kGap);
    return std::nullopt;
}

std::optional<QString> QtPrompter::openFile(QWidget* parent, const QString& caption,
                                            const QString& filter, const QString& folder) {
    QFileDialog dialog(parent, caption, folder.isEmpty() ? m_folder.folder() : folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    placeBeside(parent, dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    QString path = dialog.selectedFiles().first();
    if (path.isEmpty()) return std::nullopt;
    m_folder.remember(path);
    return path;
}

std::optional<QString> QtPrompter::saveFile(QWidget* parent, const QString& caption,
                                            const QString& filter, const QString& suggested) {
    QFileDialog dialog(parent, caption, suggested.isEmpty() ? m_folder.folder() : suggested,
                       filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffixOf(filter));
    placeBeside(parent, dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    QString path = dialog.selectedFiles().first();
    if (path.isEmpty()) return std::nullopt;
    m_folder.remember(path);
    return path;
}

void QtPrompter::message(QWidget* parent, const QString& title, const QString& text,
                         MessageKind kind) {
    QMessageBox box(kind == MessageKind::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    title, text, QMessageBox::Ok, parent);
    nameButton(box, QMessageBox::Ok, QCoreApplication::translate("QtPrompter", "OK"));
    box.exec();
}

Prompter::Answer QtPrompter::askUnsaved(QWidget* parent, const QString& title,
                                        const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    nameButton(box, QMessageBox::Save, QCoreApplication::translate("QtPrompter", "保存"));
    nameButton(box, QMessageBox::Discard, QCoreApplication::translate("QtPrompter", "保存しない"));
    nameButton(box, QMessageBox::Cancel, QCoreApplication::translate("QtPrompter", "キャンセル"));
    const int button = box.exec();
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
    auto* optOut = new QCheckBox(
        QCoreApplication::translate("QtPrompter", "今後このメッセージを表示しない"), &box);
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

Prompter::Choice QtPrompter::askYesNoCancel(QWidget* parent, const QString& title,
                                            const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    nameButton(box, QMessageBox::Yes, QCoreApplication::translate("QtPrompter", "はい"));
    nameButton(box, QMessageBox::No, QCoreApplication::translate("QtPrompter", "いいえ"));
    nameButton(box, QMessageBox::Cancel, QCoreApplication::translate("QtPrompter", "キャンセル"));
    const int button = box.exec();
    if (button == QMessageBox::Yes) return Choice::Yes;
    if (button == QMessageBox::No) return Choice::No;
    return Choice::Cancel;
}

bool QtPrompter::askYesNo(QWidget* parent, const QString& title, const QString& text) {
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace qon::tools_common
