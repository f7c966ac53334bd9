// SPDX-License-Identifier: MIT
#pragma once

#include "qon/tools_common/prompter.h"

namespace qon::tools_common {

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
    bool askYesNo(QWidget* parent, const QString& title, const QString& text) override;

  private:
    // File dialogs open where the last one was left, as authors expect.
    QString m_lastFolder;
};

}  // namespace qon::tools_common
