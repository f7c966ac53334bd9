// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace qon::stage_editor {

// The new-project dialog `frmDia`. It never blocks the main window, and OK and Cancel
// only hide it, so what was typed is still there the next time. The main window
// decides what OK does (OKButton_Click).
class NewProjectDialog final : public QDialog {
    Q_OBJECT
  public:
    explicit NewProjectDialog(QWidget* parent = nullptr);

    QLineEdit* texProjectName = nullptr;
    QLineEdit* texStSum = nullptr;
    QLineEdit* texStaff = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
};

}  // namespace qon::stage_editor
