// SPDX-License-Identifier: MIT
#include "qon/stage_editor/new_project_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qon::stage_editor {

NewProjectDialog::NewProjectDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("frmDia");
    setWindowTitle(tr("新規作成"));
    setModal(false);
    setFixedSize(402, 213);

    auto label = [this](const char* text, int left, int top) {
        auto* l = new QLabel(tr(text), this);
        l->setGeometry(left, top + 4, 110, 17);
    };
    auto field = [this](const char* name, const char* text, QRect geometry) {
        auto* edit = new QLineEdit(QString::fromUtf8(text), this);
        edit->setObjectName(name);
        edit->setGeometry(geometry);
        return edit;
    };
    label(QT_TR_NOOP("ステージセット名"), 16, 64);
    label(QT_TR_NOOP("ステージ数"), 16, 96);
    label(QT_TR_NOOP("製作者名"), 16, 144);
    texProjectName = field("texProjectName", "New Stage", QRect(128, 64, 161, 25));
    texStSum = field("texStSum", "10", QRect(128, 96, 49, 25));
    texStaff = field("texStaff", "New", QRect(128, 136, 161, 25));

    OKButton = new QPushButton("OK", this);
    OKButton->setObjectName("OKButton");
    OKButton->setGeometry(312, 8, 81, 25);
    OKButton->setDefault(true);
    CancelButton = new QPushButton(tr("ｷｬﾝｾﾙ"), this);
    CancelButton->setObjectName("CancelButton");
    CancelButton->setGeometry(312, 40, 81, 25);

    setTabOrder(OKButton, CancelButton);
    setTabOrder(CancelButton, texStSum);
    setTabOrder(texStSum, texProjectName);
    setTabOrder(texProjectName, texStaff);

    // Cancel, Esc and the title bar's close button all just hide the dialog.
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::hide);
}

}  // namespace qon::stage_editor
