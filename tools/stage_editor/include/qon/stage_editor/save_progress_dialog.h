// SPDX-License-Identifier: MIT
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QProgressDialog>

#include "qon/stage_editor/stage_project_commands.h"

namespace qon::stage_editor {

// The progress of a save in a dialog modal to the editor's window, with a cancel button
// until the commit point; a save that ends quickly never shows it. From start to end of
// the save every key and mouse input meant for anything but the dialog is dropped, also
// what was typed before the dialog appeared: keys pressed during a long save must not
// run once it is over (a second Ctrl+V would start the whole save again).
class SaveProgressDialog final : public QObject, public SaveProgress {
    Q_OBJECT
  public:
    explicit SaveProgressDialog(QWidget* parent);
    // Drops the input that arrived during the save before giving the window back.
    ~SaveProgressDialog() override;

    bool update(const ProjectSaveProgress& progress) override;

    QProgressDialog& dialog() { return m_dialog; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QProgressDialog m_dialog;
    QElapsedTimer m_sinceUpdate;
    int m_files = 0;
    bool m_cancelOffered = true;
};

}  // namespace qon::stage_editor
