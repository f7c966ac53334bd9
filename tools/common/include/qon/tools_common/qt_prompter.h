// SPDX-License-Identifier: MIT
#pragma once

#include <utility>

#include "qon/tools_common/dialog_folder.h"
#include "qon/tools_common/prompter.h"

namespace qon::tools_common {

// The real dialogs: QFileDialog and QMessageBox.
class QtPrompter final : public Prompter {
  public:
    // File dialogs open in `folder`'s folder; the default one remembers the last folder for
    // the session only.
    explicit QtPrompter(DialogFolder folder = DialogFolder(nullptr, {}, {}))
        : m_folder(std::move(folder)) {}

    std::optional<QString> openFile(QWidget* parent, const QString& caption,
                                    const QString& filter) override;
    std::optional<QString> saveFile(QWidget* parent, const QString& caption, const QString& filter,
                                    const QString& suggested) override;
    void message(QWidget* parent, const QString& title, const QString& text,
                 MessageKind kind = MessageKind::Plain) override;
    Answer askUnsaved(QWidget* parent, const QString& title, const QString& text) override;
    Choice askYesNoCancel(QWidget* parent, const QString& title, const QString& text) override;
    void noteFileUsed(const QString& path) override { m_folder.remember(path); }

  private:
    // File dialogs open where the last one was left, as authors expect.
    DialogFolder m_folder;
};

}  // namespace qon::tools_common
