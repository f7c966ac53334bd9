// SPDX-License-Identifier: MIT
#include "qon/stage_editor/stage_project_window.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTextBrowser>
#include <utility>

#include "qon/stage_editor/editor_surface.h"
#include "qon/stage_editor/new_project_dialog.h"
#include "qon/stage_editor/palette_button.h"
#include "qon/stage_editor/save_progress_dialog.h"
#include "qon/tools_common/qt_text.h"

namespace qon::stage_editor {

using tools_common::fromQ;
using tools_common::toQ;

namespace {

// What each block does in play, for the palette's tool tips.
QString BlockTip(int kind) {
    if (kind <= Kind::kNormalLast)
        return QString::fromUtf8("ブロック（%1 回当てると壊れる）").arg(kind + 1);
    switch (kind) {
        case Kind::kUnbreakable:
            return QString::fromUtf8("壊れないブロック（ボールをはね返すだけ）");
        case Kind::Pin:
            return QString::fromUtf8("ピン：中心に当たったボールをランダムな向きに飛ばす");
        case Kind::MiniBallItem:
            return QString::fromUtf8("ミニボール：当たるとミニボールが 5 個出る");
        case Kind::WindLeft:
            return QString::fromUtf8("風（←）：通るボールを左へ流す");
        case Kind::WindRight:
            return QString::fromUtf8("風（→）：通るボールを右へ流す");
        case Kind::WindDown:
            return QString::fromUtf8("風（↓）：通るボールを下へ流す");
        case Kind::WindUp:
            return QString::fromUtf8("風（↑）：通るボールを上へ流す");
        case Kind::Magnet:
            return QString::fromUtf8("磁石：ボールがバーにくっつくようになる");
        case Kind::Warp:
            return QString::fromUtf8("ワープ：ボールを画面のどこかへ移す");
        case Kind::BarExtend:
            return QString::fromUtf8("バー伸びる：バーが 1.5 倍の幅になる");
        case Kind::FireBall:
            return QString::fromUtf8("ファイアボール：ボールがブロックを貫いて壊す");
        case Kind::Bomb:
            return QString::fromUtf8("ボム：周りの 8 マスごと壊す");
        default:
            return {};
    }
}

}  // namespace

StageProjectWindow::StageProjectWindow(tools_common::Prompter& prompter, std::string programFolder,
                                       QWidget* parent)
    : QMainWindow(parent), m_commands(m_document, m_images, prompter, std::move(programFolder)) {
    setObjectName("Form1");
    m_commands.setDialogParent(this);
    m_commands.setShowChanges([this] {
        refreshPalette();
        refresh();
    });
    m_commands.setSaveProgress(
        [](QWidget* parent) { return std::make_unique<SaveProgressDialog>(parent); });
    buildSurface();
    buildMenus();
    m_frmDia = new NewProjectDialog(this);
    connect(m_frmDia->OKButton, &QPushButton::clicked, this, &StageProjectWindow::OKButton_Click);

    refreshPalette();
    refresh();
    // The client area is fixed: 716 x 610 below the menu bar.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    if (QScreen* screen = this->screen()) {
        QRect available = screen->availableGeometry();
        move(available.center() - QPoint(width() / 2, height() / 2));
    }
}

StageProjectWindow::~StageProjectWindow() = default;

void StageProjectWindow::buildSurface() {
    m_surface = new EditorSurface(m_document, m_images, this);
    m_surface->setObjectName("surface");
    m_surface->setFixedSize(716, 585);
    QFont font = m_surface->font();
    font.setPixelSize(12);
    m_surface->setFont(font);
    setCentralWidget(m_surface);
    connect(m_surface, &EditorSurface::edited, this, &StageProjectWindow::refresh);

    auto label = [this](const char* name, const char* text, QRect geometry) {
        auto* l = new QLabel(QString::fromUtf8(text), m_surface);
        if (name) l->setObjectName(name);
        l->setGeometry(geometry);
        return l;
    };
    label(nullptr, "アイテムパレット", QRect(0, 512, 129, 17));
    label("labParet", "選択中のアイテム", QRect(200, 496, 97, 17));
    label(nullptr, "編集中のステージ", QRect(576, 520, 97, 17));
    m_Label3 = label("Label3", "1", QRect(680, 520, 33, 25));

    m_picParet = new QLabel(m_surface);
    m_picParet->setObjectName("picParet");
    m_picParet->setGeometry(304, 496, 57, 19);
    m_picParet->setFrameShape(QFrame::Panel);
    m_picParet->setFrameShadow(QFrame::Sunken);
    m_picParet->setAlignment(Qt::AlignCenter);

    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    auto paletteButton = [&](const char* name, int index, QPoint at, int kind) {
        auto* button = new PaletteButton(m_surface);
        button->setObjectName(name);
        button->setProperty("index", index);
        button->setGeometry(QRect(at, QSize(49, 17)));
        button->setToolTip(kind == Kind::kEmpty ? QString::fromUtf8("消しゴム：マスを空にする")
                                                : BlockTip(kind));
        group->addButton(button);
        return button;
    };
    for (int i = 0; i < kBlockSlots; ++i) {
        QPoint at = i == 8 ? QPoint(192, 536) : QPoint(48 * (i % 4), i < 4 ? 536 : 552);
        m_cmdBlock[static_cast<std::size_t>(i)] = paletteButton("cmdBlock", i, at, i);
        connect(m_cmdBlock[static_cast<std::size_t>(i)], &QAbstractButton::clicked, this,
                [this, i] { cmdBlock_Click(i); });
    }
    for (int i = 0; i < kSpecialSlots; ++i) {
        // Odd indices on the upper row, even ones (from 2) on the lower row.
        QPoint at = i == 0 ? QPoint(192, 552) : QPoint(240 + 48 * ((i - 1) / 2), i % 2 ? 536 : 552);
        m_cmdSBlockS[static_cast<std::size_t>(i)] =
            paletteButton("cmdSBlockS", i, at, Kind::Pin + i);
        connect(m_cmdSBlockS[static_cast<std::size_t>(i)], &QAbstractButton::clicked, this,
                [this, i] { cmdSBlockS_Click(i); });
    }
    m_cmdCrea = paletteButton("cmdCrea", 0, QPoint(480, 536), Kind::kEmpty);
    m_cmdCrea->setChecked(true);  // the start kind is the empty cell
    connect(m_cmdCrea, &QAbstractButton::clicked, this, &StageProjectWindow::cmdCrea_Click);

    auto* cmdBack = new QPushButton(QString::fromUtf8("←"), m_surface);
    cmdBack->setObjectName("cmdBack");
    cmdBack->setGeometry(576, 544, 33, 33);
    cmdBack->setToolTip(QString::fromUtf8("前のステージ (PageUp)"));
    connect(cmdBack, &QPushButton::clicked, this, &StageProjectWindow::cmdBack_Click);
    auto* cmdGo = new QPushButton(QString::fromUtf8("→"), m_surface);
    cmdGo->setObjectName("cmdGo");
    cmdGo->setGeometry(608, 544, 33, 33);
    cmdGo->setToolTip(QString::fromUtf8("次のステージ (PageDown)"));
    connect(cmdGo, &QPushButton::clicked, this, &StageProjectWindow::cmdGo_Click);

    auto* sbBar = new QStatusBar(this);
    sbBar->setObjectName("sbBar");
    sbBar->setSizeGripEnabled(false);
    sbBar->setFixedHeight(25);
    m_statusText = new QLabel(sbBar);
    m_statusText->setObjectName("sbBarText");
    sbBar->addWidget(m_statusText, 1);
    setStatusBar(sbBar);
}

void StageProjectWindow::buildMenus() {
    auto action = [this](QMenu* menu, const char* name, const char* caption, const char* keys,
                         auto handler) {
        auto* a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(name);
        a->setShortcut(QKeySequence(QString::fromLatin1(keys)));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    QMenu* file = menuBar()->addMenu(QString::fromUtf8("ファイル(&F)"));
    file->setObjectName("File");
    action(file, "NewFile", "新規作成(&N)", "Ctrl+N", &StageProjectWindow::NewFile_Click);
    action(file, "OpenFile", "開く(&O)", "Ctrl+O", &StageProjectWindow::OpenFile_Click);
    action(file, "OpenGRA", "グラフィックセットを開く(&G)", "Ctrl+G",
           &StageProjectWindow::OpenGRA_Click);
    m_save = action(file, "Save", "名前を付けて保存(&S)", "Ctrl+S", [this] { Save_Click(); });
    m_vSave = action(file, "VSave", "上書き保存(&V)", "Ctrl+V", [this] { VSave_Click(); });
    file->addSeparator();
    action(file, "EndFile", "終了(&E)", "Ctrl+E", &StageProjectWindow::EndFile_Click);

    QMenu* edit = menuBar()->addMenu(QString::fromUtf8("編集(&E)"));
    edit->setObjectName("Edit");
    m_undo = action(edit, "Undo", "元に戻す(&U)", "Ctrl+Z", &StageProjectWindow::Undo_Click);
    m_redo = action(edit, "Redo", "やり直し(&R)", "Ctrl+Y", &StageProjectWindow::Redo_Click);
    edit->addSeparator();
    action(edit, "PrevStage", "前のステージ(&B)", "PgUp", &StageProjectWindow::cmdBack_Click);
    action(edit, "NextStage", "次のステージ(&G)", "PgDown", &StageProjectWindow::cmdGo_Click);

    QMenu* help = menuBar()->addMenu(QString::fromUtf8("ヘルプ(&H)"));
    help->setObjectName("Hel");
    action(help, "HelpOpen", "目次(&C)", "Ctrl+C", &StageProjectWindow::HelpOpen_Click);
    action(help, "Ver", "バージョン情報(&I)", "Ctrl+I", &StageProjectWindow::Ver_Click);
}

void StageProjectWindow::refreshPalette() {
    for (int i = 0; i < kBlockSlots; ++i)
        m_cmdBlock[static_cast<std::size_t>(i)]->setImage(*m_images.imageForKind(i));
    // Each button paints code 101 + index and shows the picture the game draws for it.
    for (int i = 0; i < kSpecialSlots; ++i)
        m_cmdSBlockS[static_cast<std::size_t>(i)]->setImage(*m_images.imageForKind(Kind::Pin + i));
    const QImage* selected = m_images.imageForKind(m_document.state().SelectedKind);
    if (selected)
        m_picParet->setPixmap(QPixmap::fromImage(*selected));
    else
        m_picParet->clear();
}

void StageProjectWindow::refresh() {
    setWindowTitle(toQ(m_document.titleText()) + "[*]");
    setWindowModified(m_document.isModified());
    m_Label3->setText(QString::number(m_document.state().EditedStage));
    m_statusText->setText(toQ(m_document.statusText()));
    m_save->setEnabled(m_document.state().ProjectOpen);
    m_vSave->setEnabled(m_document.state().ProjectOpen);
    m_undo->setEnabled(m_document.canUndo());
    m_redo->setEnabled(m_document.canRedo());
    m_surface->redrawGrid();
}

void StageProjectWindow::cmdBlock_Click(int index) {
    m_document.selectKind(static_cast<std::int16_t>(index));
    m_cmdBlock[static_cast<std::size_t>(index)]->setChecked(true);
    refreshPalette();
}

void StageProjectWindow::cmdSBlockS_Click(int index) {
    m_document.selectKind(static_cast<std::int16_t>(Kind::Pin + index));
    m_cmdSBlockS[static_cast<std::size_t>(index)]->setChecked(true);
    refreshPalette();
}

void StageProjectWindow::cmdCrea_Click() {
    m_document.selectKind(Kind::kEmpty);
    m_cmdCrea->setChecked(true);
    refreshPalette();
}

void StageProjectWindow::cmdBack_Click() {
    m_document.stepBack();
    refresh();
}

void StageProjectWindow::cmdGo_Click() {
    m_document.stepGo();
    refresh();
}

void StageProjectWindow::Undo_Click() {
    m_document.undo();
    refresh();
}

void StageProjectWindow::Redo_Click() {
    m_document.redo();
    refresh();
}

void StageProjectWindow::NewFile_Click() {
    m_frmDia->show();
    m_frmDia->raise();
    m_frmDia->activateWindow();
}

void StageProjectWindow::OKButton_Click() {
    const NewProjectInput typed{fromQ(m_frmDia->texProjectName->text()),
                                fromQ(m_frmDia->texStSum->text()),
                                fromQ(m_frmDia->texStaff->text())};
    if (!m_commands.createProject(typed, m_frmDia)) return;
    m_frmDia->hide();
    refresh();
}

void StageProjectWindow::OpenFile_Click() {
    m_commands.openProject();
    refresh();
}

void StageProjectWindow::OpenGRA_Click() {
    m_commands.openGraphicSet();
}

bool StageProjectWindow::Save_Click() {
    return m_commands.saveAs();
}

bool StageProjectWindow::VSave_Click() {
    return m_commands.save();
}

void StageProjectWindow::EndFile_Click() {
    close();
}

void StageProjectWindow::HelpOpen_Click() {
    std::optional<QString> page = m_commands.readHelpPage();
    if (!page) return;
    if (!m_help) {
        m_help = new QTextBrowser(this);
        m_help->setWindowFlag(Qt::Window);
        m_help->setObjectName("frmHelp");
        m_help->setWindowTitle(QString::fromUtf8("Tessel ヘルプ"));
        m_help->setOpenExternalLinks(true);
        m_help->resize(680, 600);
    }
    m_help->setHtml(*page);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void StageProjectWindow::Ver_Click() {
    m_commands.showVersion();
}

void StageProjectWindow::closeEvent(QCloseEvent* event) {
    if (!m_commands.confirmClose()) {
        event->ignore();
        return;
    }
    m_frmDia->hide();
    if (m_help) m_help->hide();
    event->accept();
}

}  // namespace qon::stage_editor
