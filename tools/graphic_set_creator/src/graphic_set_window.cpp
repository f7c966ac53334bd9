// SPDX-License-Identifier: MIT
#include "qon/graphic_set_creator/graphic_set_window.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "qon/tools_common/recent_files_menu.h"
#include "slot_preview.h"

namespace qon::graphic_set_creator {

using tools_common::fromQ;
using tools_common::toQ;

GraphicSetWindow::GraphicSetWindow(tools_common::Prompter& prompter, const ImageLoader& loader,
                                   QSettings* settings, QWidget* parent)
    : QMainWindow(parent), m_commands(m_document, prompter, loader), m_recent(settings) {
    setWindowTitle(QString::fromUtf8(kWindowTitle));
    m_commands.setDialogParent(this);
    m_commands.setRecentFiles(&m_recent);
    // A picked bitmap shows while the author chooses the next one.
    m_commands.setPickShown([this](int slot) {
        m_previews[slot]->showSlot(m_document.picture(slot), toQ(m_document.entry(slot)));
    });
    buildMenu();

    auto* central = new QWidget(this);
    auto* root = new QVBoxLayout(central);
    auto* groups = new QHBoxLayout;
    groups->addWidget(
        buildGroup(SlotGroup::Blocks, tr("通常ブロックのグラフィック"), "picBlock", "Command1"), 0,
        Qt::AlignTop);
    groups->addWidget(buildGroup(SlotGroup::SpecialBlocks, tr("特殊ブロックのグラフィック"),
                                 "picSBlock", "Command2"),
                      0, Qt::AlignTop);
    groups->addWidget(buildGroup(SlotGroup::Parts, tr("その他"), "picPartu", "Command3"), 0,
                      Qt::AlignTop);
    groups->addStretch(1);
    root->addLayout(groups);

    m_setName = new QLineEdit(central);
    m_setName->setObjectName(QStringLiteral("texGraName"));
    m_staffName = new QLineEdit(central);
    m_staffName->setObjectName(QStringLiteral("texStaff"));
    for (QLineEdit* field : {m_setName, m_staffName}) field->setMinimumWidth(240);
    connect(m_setName, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_document.setSetName(fromQ(text)); });
    connect(m_staffName, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_document.setStaffName(fromQ(text)); });
    auto* names = new QFormLayout;
    names->addRow(tr("グラフィックセット名："), m_setName);
    names->addRow(tr("製作者："), m_staffName);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addLayout(names);
    root->addLayout(bottom);
    root->addStretch(1);

    setCentralWidget(central);
    refresh();
}

void GraphicSetWindow::buildMenu() {
    QMenu* file = menuBar()->addMenu(tr("ファイル(&F)"));
    struct Item {
        const char* name;
        QString text;
        QKeySequence keys;
        std::function<bool(GraphicSetCommands&)> operation;
    };
    const Item items[] = {
        {"NewFile", tr("新規作成(&N)"), QKeySequence::New,
         [](GraphicSetCommands& c) { return c.NewSet(); }},
        {"OpenF", tr("開く(&O)"), QKeySequence::Open,
         [](GraphicSetCommands& c) { return c.OpenSet(); }},
        // QKeySequence::SaveAs is empty outside KDE and GNOME.
        {"Save", tr("名前を付けて保存(&S)"), QKeySequence(QStringLiteral("Ctrl+Shift+S")),
         [](GraphicSetCommands& c) { return c.SaveSetAs(); }},
        {"VSave", tr("上書き保存(&V)"), QKeySequence::Save,
         [](GraphicSetCommands& c) { return c.SaveSet(); }},
    };
    for (const Item& item : items) {
        QAction* action = file->addAction(item.text);
        action->setObjectName(QString::fromLatin1(item.name));
        action->setShortcut(item.keys);
        auto operation = item.operation;
        connect(action, &QAction::triggered, this,
                [this, operation] { run([&] { return operation(m_commands); }); });
    }
    tools_common::AddRecentFilesMenu(file, m_recent, [this](const QString& path) {
        run([&] { return m_commands.OpenSetFrom(fromQ(path)); });
    });
    file->addSeparator();
    // Closing goes through closeEvent, which asks about unsaved changes.
    QAction* end = file->addAction(tr("終了(&E)"));
    end->setObjectName(QStringLiteral("EndF"));
    end->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    connect(end, &QAction::triggered, this, &QWidget::close);
}

QWidget* GraphicSetWindow::buildGroup(SlotGroup group, const QString& title,
                                      const char* previewName, const char* buttonName) {
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    auto* rows = new QGridLayout;
    rows->setColumnStretch(1, 1);
    const SlotRange range = RangeOf(group);
    for (int i = 0; i < range.count; ++i) {
        const int slot = range.first + i;
        auto* caption = new QLabel(SlotLabel(slot), box);
        auto* preview = new SlotPreview(
            RequiredBitmapSize(slot),
            [this, slot] { run([&] { return m_commands.ChooseSlot(slot); }); }, box);
        // The previews of a group share one object name, like a control array; the
        // property "index" tells them apart.
        preview->setObjectName(QString::fromLatin1(previewName));
        preview->setProperty("index", i);
        m_previews[slot] = preview;
        rows->addWidget(caption, i, 0);
        rows->addWidget(preview, i, 1, Qt::AlignLeft | Qt::AlignVCenter);
    }
    layout->addLayout(rows);
    auto* browse = new QPushButton(tr("参照"), box);
    browse->setObjectName(QString::fromLatin1(buttonName));
    connect(browse, &QPushButton::clicked, this,
            [this, group] { run([&] { return m_commands.chooseGroup(group); }); });
    layout->addWidget(browse, 0, Qt::AlignRight);
    return box;
}

void GraphicSetWindow::openAtStart(const QString& path) {
    run([&] { return m_commands.OpenSetFrom(fromQ(path)); });
}

template <typename Operation>
void GraphicSetWindow::run(Operation operation) {
    operation();
    refresh();
}

void GraphicSetWindow::refresh() {
    for (int slot = 0; slot < kBitmapSlots; ++slot) {
        m_previews[slot]->showSlot(m_document.picture(slot), toQ(m_document.entry(slot)));
    }
    // Only a real change is written back, so the cursor of a field being typed in stays.
    const QString setName = toQ(m_document.setName());
    if (m_setName->text() != setName) m_setName->setText(setName);
    const QString staffName = toQ(m_document.staffName());
    if (m_staffName->text() != staffName) m_staffName->setText(staffName);
}

void GraphicSetWindow::closeEvent(QCloseEvent* event) {
    if (m_commands.confirmClose()) {
        event->accept();
    } else {
        event->ignore();
        refresh();
    }
}

}  // namespace qon::graphic_set_creator
