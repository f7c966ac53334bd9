// SPDX-License-Identifier: MIT
#include "qon/music_set_creator/music_set_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QVBoxLayout>

#include "qon/tools_common/qt_text.h"
#include "qon/tools_common/recent_files_menu.h"

namespace qon::music_set_creator {

namespace {

QPushButton* makeButton(const char* name, const QString& text) {
    auto* button = new QPushButton(text);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QLineEdit* makeTextBox(const char* name) {
    auto* box = new QLineEdit;
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

// setText moves the cursor to the end; leave a box alone when it already shows the text.
void showText(QLineEdit* box, const std::string& text) {
    QString value = tools_common::toQ(text);
    if (box->text() != value) box->setText(value);
}

}  // namespace

MusicSetWindow::MusicSetWindow(tools_common::Prompter& prompter, QSettings* settings,
                               QWidget* parent)
    : QMainWindow(parent), m_commands(m_document, prompter), m_recent(settings) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(MusicSetCommands::kTitle));
    m_commands.setDialogParent(this);
    m_commands.setRecentFiles(&m_recent);

    QMenu* fileMenu =
        menuBar()->addMenu(QCoreApplication::translate("MusicSetWindow", "ファイル(&F)"));
    auto addAction = [&](const char* name, const QString& text, QKeySequence keys,
                         void (MusicSetWindow::*handler)()) {
        QAction* action = fileMenu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    addAction("NewFile", QCoreApplication::translate("MusicSetWindow", "新規作成(&N)"),
              QKeySequence::New, &MusicSetWindow::NewFile_Click);
    addAction("FileOpen", QCoreApplication::translate("MusicSetWindow", "開く(&O)"),
              QKeySequence::Open, &MusicSetWindow::FileOpen_Click);
    // QKeySequence::SaveAs is empty outside KDE and GNOME.
    addAction("FileSave", QCoreApplication::translate("MusicSetWindow", "名前を付けて保存(&S)"),
              QKeySequence(QStringLiteral("Ctrl+Shift+S")), &MusicSetWindow::FileSave_Click);
    addAction("FileVSave", QCoreApplication::translate("MusicSetWindow", "上書き保存(&V)"),
              QKeySequence::Save, &MusicSetWindow::FileVSave_Click);
    tools_common::AddRecentFilesMenu(fileMenu, m_recent, [this](const QString& path) {
        if (m_commands.OpenSetFrom(tools_common::fromQ(path))) showDocument();
    });
    fileMenu->addSeparator();
    addAction("FileEnd", QCoreApplication::translate("MusicSetWindow", "終了(&E)"),
              QKeySequence::Quit, &MusicSetWindow::FileEnd_Click);

    m_texTitle = makeTextBox("texTitle");
    m_texEnd = makeTextBox("texEnd");
    m_texName = makeTextBox("texName");
    m_texStaff = makeTextBox("texStaff");
    m_lisMusicData = new QListWidget;
    m_lisMusicData->setObjectName(QStringLiteral("lisMusicData"));
    m_lisMusicData->setSelectionMode(QAbstractItemView::SingleSelection);
    // The list order is the play order: tracks are dragged into place.
    m_lisMusicData->setDragDropMode(QAbstractItemView::InternalMove);
    m_lisMusicData->setDefaultDropAction(Qt::MoveAction);
    m_lisMusicData->installEventFilter(this);
    // Long paths keep their file names in sight: the start of the folder gives way.
    m_lisMusicData->setTextElideMode(Qt::ElideMiddle);
    m_lisMusicData->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPushButton* cmdTitle = makeButton("cmdTitle", QStringLiteral("..."));
    QPushButton* cmdEnd = makeButton("cmdEnd", QStringLiteral("..."));
    QPushButton* cmdComon =
        makeButton("cmdComon", QCoreApplication::translate("MusicSetWindow", "参照"));
    QPushButton* cmdDel =
        makeButton("cmdDel", QCoreApplication::translate("MusicSetWindow", "リストから削除"));
    m_cmdUp = makeButton("cmdUp", QCoreApplication::translate("MusicSetWindow", "上へ"));
    m_cmdDown = makeButton("cmdDown", QCoreApplication::translate("MusicSetWindow", "下へ"));
    m_cmdUp->setToolTip(
        QCoreApplication::translate("MusicSetWindow", "選んだ曲を 1 つ前に流します"));
    m_cmdDown->setToolTip(
        QCoreApplication::translate("MusicSetWindow", "選んだ曲を 1 つ後に流します"));
    for (QPushButton* small : {cmdTitle, cmdEnd}) small->setFixedWidth(32);

    auto* left = new QVBoxLayout;
    auto trackRow = [&](const QString& caption, QLineEdit* box, QPushButton* button) {
        left->addWidget(new QLabel(caption));
        auto* row = new QHBoxLayout;
        row->addWidget(box, 1);
        row->addWidget(button);
        left->addLayout(row);
    };
    trackRow(QCoreApplication::translate("MusicSetWindow", "タイトル表示時の曲"), m_texTitle,
             cmdTitle);
    left->addSpacing(12);
    trackRow(QCoreApplication::translate("MusicSetWindow", "スタッフロール時の曲"), m_texEnd,
             cmdEnd);
    left->addStretch(1);

    auto* right = new QGridLayout;
    right->addWidget(new QLabel(QCoreApplication::translate("MusicSetWindow", "ゲーム中の曲")), 0,
                     0, 1, 2);
    right->addWidget(m_lisMusicData, 1, 0, 1, 2);
    auto* order = new QVBoxLayout;
    order->addWidget(m_cmdUp);
    order->addWidget(m_cmdDown);
    order->addStretch(1);
    right->addLayout(order, 1, 2);
    right->addWidget(cmdComon, 2, 0);
    right->addWidget(cmdDel, 2, 1);

    auto* bottom = new QGridLayout;
    bottom->addWidget(
        new QLabel(QCoreApplication::translate("MusicSetWindow", "ミュージックセット名：")), 0, 0);
    bottom->addWidget(m_texName, 0, 1);
    bottom->addWidget(new QLabel(QCoreApplication::translate("MusicSetWindow", "製作者：")), 1, 0);
    bottom->addWidget(m_texStaff, 1, 1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addSpacing(16);
    columns->addLayout(right, 1);
    auto* page = new QVBoxLayout;
    page->addLayout(columns, 1);
    page->addSpacing(8);
    page->addLayout(bottom);
    auto* central = new QWidget;
    central->setLayout(page);
    setCentralWidget(central);
    resize(560, 340);
    // A permanent label: menu hovering clears temporary status messages.
    m_fileLabel = new QLabel;
    statusBar()->addWidget(m_fileLabel, 1);

    connect(cmdTitle, &QPushButton::clicked, this, [this] { cmdTitle_Click(); });
    connect(cmdEnd, &QPushButton::clicked, this, [this] { cmdEnd_Click(); });
    connect(cmdComon, &QPushButton::clicked, this, [this] { cmdComon_Click(); });
    connect(cmdDel, &QPushButton::clicked, this, [this] { cmdDel_Click(); });
    connect(m_cmdUp, &QPushButton::clicked, this, [this] { cmdUp_Click(); });
    connect(m_cmdDown, &QPushButton::clicked, this, [this] { cmdDown_Click(); });
    // Only the user's own choice of a row selects it in the document. The selection, not
    // the current row, decides: a click moves the current row first.
    connect(m_lisMusicData, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> chosen = m_lisMusicData->selectedItems();
        m_document.selectStageTrack(chosen.isEmpty() ? -1 : m_lisMusicData->row(chosen.front()));
        updateMoveButtons();
    });
    // A drop inside the list moves the item itself; the document is told afterwards.
    connect(m_lisMusicData->model(), &QAbstractItemModel::rowsMoved, this,
            [this](const QModelIndex&, int start, int, const QModelIndex&, int row) {
                stageRowDragged(start, row > start ? row - 1 : row);
            });
    connect(m_texName, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_document.setSetName(tools_common::fromQ(text)); });
    connect(m_texStaff, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_document.setStaffName(tools_common::fromQ(text)); });
    connect(m_texTitle, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_document.setTitleTrack(tools_common::fromQ(text)); });
    connect(m_texEnd, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_document.setEndingTrack(tools_common::fromQ(text)); });

    showDocument();
}

void MusicSetWindow::showDocument() {
    showText(m_texName, m_document.setName());
    showText(m_texStaff, m_document.staffName());
    showText(m_texTitle, m_document.titleTrack());
    showText(m_texEnd, m_document.endingTrack());

    {
        // Rebuilding the list must not reach the document as a choice of the user's.
        const QSignalBlocker quiet(m_lisMusicData);
        m_lisMusicData->clear();
        for (const std::string& track : m_document.stageTracks()) {
            auto* item = new QListWidgetItem(tools_common::toQ(track), m_lisMusicData);
            item->setToolTip(item->text());  // long paths do not fit the list
        }
        const int selected = m_document.selectedStageTrack();
        if (selected >= 0) {
            m_lisMusicData->setCurrentRow(selected, QItemSelectionModel::ClearAndSelect);
        } else {
            m_lisMusicData->setCurrentRow(-1);
        }
    }

    m_fileLabel->setText(
        m_document.fileOpened()
            ? tools_common::toQ(m_document.currentFile())
            : QCoreApplication::translate("MusicSetWindow", "新しいミュージックセット"));
    updateMoveButtons();
}

int MusicSetWindow::selectedRow() const {
    const QList<QListWidgetItem*> selected = m_lisMusicData->selectedItems();
    return selected.isEmpty() ? -1 : m_lisMusicData->row(selected.front());
}

void MusicSetWindow::updateMoveButtons() {
    const int row = selectedRow();
    m_cmdUp->setEnabled(row > 0);
    m_cmdDown->setEnabled(row >= 0 && row < m_lisMusicData->count() - 1);
}

void MusicSetWindow::moveSelected(int by) {
    const int row = selectedRow();
    // The moved track stays selected (the document's selection follows it), so it can be
    // moved on with further clicks.
    if (m_commands.MoveStageTrack(row, row + by)) showDocument();
}

void MusicSetWindow::cmdUp_Click() {
    moveSelected(-1);
}

void MusicSetWindow::cmdDown_Click() {
    moveSelected(+1);
}

void MusicSetWindow::stageRowDragged(int from, int to) {
    if (m_commands.MoveStageTrack(from, to)) {
        updateMoveButtons();
        return;
    }
    // The list and the document disagree; show the document again once the drop is over.
    QMetaObject::invokeMethod(
        this, [this] { showDocument(); }, Qt::QueuedConnection);
}

bool MusicSetWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_lisMusicData && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            cmdDel_Click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MusicSetWindow::openAtStart(const QString& path) {
    if (m_commands.OpenSetFrom(tools_common::fromQ(path))) showDocument();
}

void MusicSetWindow::cmdTitle_Click() {
    if (m_commands.ChooseTitleTrack()) showDocument();
}

void MusicSetWindow::cmdEnd_Click() {
    if (m_commands.ChooseEndingTrack()) showDocument();
}

void MusicSetWindow::cmdComon_Click() {
    if (m_commands.AddStageTrack()) showDocument();  // the added track is selected
}

void MusicSetWindow::cmdDel_Click() {
    // Nothing is selected afterwards: a double click removes one track, not two.
    if (m_commands.RemoveStageTrack()) showDocument();
}

void MusicSetWindow::NewFile_Click() {
    if (m_commands.NewSet()) showDocument();
}

void MusicSetWindow::FileOpen_Click() {
    if (m_commands.OpenSet()) showDocument();
}

void MusicSetWindow::FileSave_Click() {
    m_commands.SaveSetAs();
    showDocument();
}

void MusicSetWindow::FileVSave_Click() {
    m_commands.SaveSet();
    showDocument();
}

void MusicSetWindow::FileEnd_Click() {
    close();
}

void MusicSetWindow::closeEvent(QCloseEvent* event) {
    if (m_commands.confirmClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace qon::music_set_creator
