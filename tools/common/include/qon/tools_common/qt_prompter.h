// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>
#include <utility>

#include "qon/tools_common/dialog_folder.h"
#include "qon/tools_common/prompter.h"

namespace qon::tools_common {

// Where a file dialog of `dialog` size goes so that it does not cover its window (`window`,
// its frame) on a screen whose free area is `screen`: to the right of the window, else to
// its left, else below it. std::nullopt when none has room (the dialog is then centred over
// the window, as usual). What the window shows stays in sight while files are chosen one
// after another (Pavane shows each bitmap of a group as soon as it is picked).
std::optional<QPoint> DialogPositionBeside(const QRect& window, const QSize& dialog,
                                           const QRect& screen);

// The real dialogs: QFileDialog and QMessageBox.
class QtPrompter final : public Prompter {
  public:
    // File dialogs open in `folder`'s folder; the default one remembers the last folder for
    // the session only.
    explicit QtPrompter(DialogFolder folder = DialogFolder(nullptr, {}, {}))
        : m_folder(std::move(folder)) {}

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
    void noteFileUsed(const QString& path) override { m_folder.remember(path); }
    bool askYesNo(QWidget* parent, const QString& title, const QString& text) override;

  private:
    // File dialogs open where the last one was left, as authors expect.
    DialogFolder m_folder;
};

}  // namespace qon::tools_common
