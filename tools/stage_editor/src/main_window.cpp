// SPDX-License-Identifier: MIT
#include "qon/tessel/main_window.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTextBrowser>
#include <QUrl>
#include <utility>

#include "qon/tessel/editor_surface.h"
#include "qon/tessel/new_project_dialog.h"
#include "qon/tessel/palette_button.h"
#include "qon/tools/prompter.h"

#ifndef QON_TESSEL_VERSION
#define QON_TESSEL_VERSION "0.0.0"
#endif

namespace qon::tessel {

using tools::fromQ;
using tools::toQ;

namespace {

const QString kProjectFilter = QString::fromUtf8("ステージプロジェクト (*.stp)");
const QString kGraphicSetFilter = QString::fromUtf8("QONグラフィックプロジェクト/*.bgp (*.bgp)");

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

TesselWindow::TesselWindow(tools::Prompter& prompter, std::string programFolder, QWidget* parent)
    : QMainWindow(parent), m_prompter(prompter), m_programFolder(std::move(programFolder)) {
    setObjectName("Form1");
    buildSurface();
    buildMenus();
    m_frmDia = new NewProjectDialog(this);
    connect(m_frmDia->OKButton, &QPushButton::clicked, this, &TesselWindow::OKButton_Click);

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

TesselWindow::~TesselWindow() = default;

void TesselWindow::buildSurface() {
    m_surface = new EditorSurface(m_model, m_images, this);
    m_surface->setObjectName("surface");
    m_surface->setFixedSize(716, 585);
    QFont font = m_surface->font();
    font.setPixelSize(12);
    m_surface->setFont(font);
    setCentralWidget(m_surface);
    connect(m_surface, &EditorSurface::edited, this, &TesselWindow::refresh);

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
    connect(m_cmdCrea, &QAbstractButton::clicked, this, &TesselWindow::cmdCrea_Click);

    auto* cmdBack = new QPushButton(QString::fromUtf8("←"), m_surface);
    cmdBack->setObjectName("cmdBack");
    cmdBack->setGeometry(576, 544, 33, 33);
    cmdBack->setToolTip(QString::fromUtf8("前のステージ (PageUp)"));
    connect(cmdBack, &QPushButton::clicked, this, &TesselWindow::cmdBack_Click);
    auto* cmdGo = new QPushButton(QString::fromUtf8("→"), m_surface);
    cmdGo->setObjectName("cmdGo");
    cmdGo->setGeometry(608, 544, 33, 33);
    cmdGo->setToolTip(QString::fromUtf8("次のステージ (PageDown)"));
    connect(cmdGo, &QPushButton::clicked, this, &TesselWindow::cmdGo_Click);

    auto* sbBar = new QStatusBar(this);
    sbBar->setObjectName("sbBar");
    sbBar->setSizeGripEnabled(false);
    sbBar->setFixedHeight(25);
    m_statusText = new QLabel(sbBar);
    m_statusText->setObjectName("sbBarText");
    sbBar->addWidget(m_statusText, 1);
    setStatusBar(sbBar);
}

void TesselWindow::buildMenus() {
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
    action(file, "NewFile", "新規作成(&N)", "Ctrl+N", &TesselWindow::NewFile_Click);
    action(file, "OpenFile", "開く(&O)", "Ctrl+O", &TesselWindow::OpenFile_Click);
    action(file, "OpenGRA", "グラフィックセットを開く(&G)", "Ctrl+G", &TesselWindow::OpenGRA_Click);
    m_save = action(file, "Save", "名前を付けて保存(&S)", "Ctrl+S", [this] { Save_Click(); });
    m_vSave = action(file, "VSave", "上書き保存(&V)", "Ctrl+V", [this] { VSave_Click(); });
    file->addSeparator();
    action(file, "EndFile", "終了(&E)", "Ctrl+E", &TesselWindow::EndFile_Click);

    QMenu* edit = menuBar()->addMenu(QString::fromUtf8("編集(&E)"));
    edit->setObjectName("Edit");
    m_undo = action(edit, "Undo", "元に戻す(&U)", "Ctrl+Z", &TesselWindow::Undo_Click);
    m_redo = action(edit, "Redo", "やり直し(&R)", "Ctrl+Y", &TesselWindow::Redo_Click);
    edit->addSeparator();
    action(edit, "PrevStage", "前のステージ(&B)", "PgUp", &TesselWindow::cmdBack_Click);
    action(edit, "NextStage", "次のステージ(&G)", "PgDown", &TesselWindow::cmdGo_Click);

    QMenu* help = menuBar()->addMenu(QString::fromUtf8("ヘルプ(&H)"));
    help->setObjectName("Hel");
    action(help, "HelpOpen", "目次(&C)", "Ctrl+C", &TesselWindow::HelpOpen_Click);
    action(help, "Ver", "バージョン情報(&I)", "Ctrl+I", &TesselWindow::Ver_Click);
}

void TesselWindow::refreshPalette() {
    for (int i = 0; i < kBlockSlots; ++i)
        m_cmdBlock[static_cast<std::size_t>(i)]->setImage(*m_images.imageForKind(i));
    // Each button paints code 101 + index and shows the picture the game draws for it.
    for (int i = 0; i < kSpecialSlots; ++i)
        m_cmdSBlockS[static_cast<std::size_t>(i)]->setImage(*m_images.imageForKind(Kind::Pin + i));
    const QImage* selected = m_images.imageForKind(m_model.state().SelectedKind);
    if (selected)
        m_picParet->setPixmap(QPixmap::fromImage(*selected));
    else
        m_picParet->clear();
}

void TesselWindow::refresh() {
    setWindowTitle(toQ(m_model.titleText()) + "[*]");
    setWindowModified(m_model.isModified());
    m_Label3->setText(QString::number(m_model.state().EditedStage));
    m_statusText->setText(toQ(m_model.statusText()));
    m_save->setEnabled(m_model.state().ProjectOpen);
    m_vSave->setEnabled(m_model.state().ProjectOpen);
    m_undo->setEnabled(m_model.canUndo());
    m_redo->setEnabled(m_model.canRedo());
    m_surface->redrawGrid();
}

void TesselWindow::cmdBlock_Click(int index) {
    m_model.selectKind(static_cast<std::int16_t>(index));
    m_cmdBlock[static_cast<std::size_t>(index)]->setChecked(true);
    refreshPalette();
}

void TesselWindow::cmdSBlockS_Click(int index) {
    m_model.selectKind(static_cast<std::int16_t>(Kind::Pin + index));
    m_cmdSBlockS[static_cast<std::size_t>(index)]->setChecked(true);
    refreshPalette();
}

void TesselWindow::cmdCrea_Click() {
    m_model.selectKind(Kind::kEmpty);
    m_cmdCrea->setChecked(true);
    refreshPalette();
}

void TesselWindow::cmdBack_Click() {
    m_model.stepBack();
    refresh();
}

void TesselWindow::cmdGo_Click() {
    m_model.stepGo();
    refresh();
}

void TesselWindow::Undo_Click() {
    m_model.undo();
    refresh();
}

void TesselWindow::Redo_Click() {
    m_model.redo();
    refresh();
}

void TesselWindow::NewFile_Click() {
    m_frmDia->show();
    m_frmDia->raise();
    m_frmDia->activateWindow();
}

void TesselWindow::OKButton_Click() {
    NewProjectCheck check =
        CheckNewProject({fromQ(m_frmDia->texProjectName->text()), fromQ(m_frmDia->texStSum->text()),
                         fromQ(m_frmDia->texStaff->text())});
    if (!check.stageCount) {
        m_prompter.message(m_frmDia, QString::fromUtf8("新規作成"), toQ(check.message));
        return;  // the dialog stays open with what was typed
    }
    // Asked here, not when the dialog opens: the dialog does not block the window, so
    // the author may paint more while it is open.
    if (!mayDiscardProject()) return;
    m_model.newProject(fromQ(m_frmDia->texProjectName->text()), *check.stageCount,
                       fromQ(m_frmDia->texStaff->text()));
    m_frmDia->hide();
    refresh();
}

void TesselWindow::OpenFile_Click() {
    if (!mayDiscardProject()) return;
    auto path = m_prompter.openFile(this, QString::fromUtf8("開く"), kProjectFilter);
    if (!path) return;
    if (auto error = m_model.openProject(fromQ(*path))) {
        m_prompter.message(
            this, QString::fromUtf8("開く"),
            QString::fromUtf8("ステージプロジェクトを開けませんでした。\n\n") + toQ(*error));
    }
    refresh();
}

void TesselWindow::OpenGRA_Click() {
    auto path =
        m_prompter.openFile(this, QString::fromUtf8("グラフィックセットを開く"), kGraphicSetFilter);
    if (!path) return;
    BlockImages::LoadResult result = m_images.loadGraphicSet(fromQ(*path));
    refreshPalette();
    refresh();
    if (!result.problem.empty()) {
        QString head = result.loaded == 0
                           ? QString::fromUtf8("グラフィックセットを開けませんでした。\n\n")
                           : QString::fromUtf8(
                                 "グラフィックセットを最後まで読み込めませんでした。"
                                 "読み込めた画像だけを使います。\n\n");
        m_prompter.message(this, QString::fromUtf8("グラフィックセットを開く"),
                           head + toQ(result.problem));
    }
}

bool TesselWindow::writeTo(const std::string& path) {
    auto error = m_model.writeProject(path);
    refresh();
    if (error) {
        m_prompter.message(
            this, QString::fromUtf8("保存"),
            QString::fromUtf8("ステージプロジェクトを保存できませんでした。\n\n") + toQ(*error));
        return false;
    }
    return true;
}

bool TesselWindow::Save_Click() {
    if (!m_model.state().ProjectOpen) return false;
    QString suggested = toQ(m_model.state().ProjectPath);
    if (suggested.isEmpty())
        suggested =
            QDir::home().filePath(toQ(m_model.state().ProjectName).replace('/', '_') + ".stp");
    auto path =
        m_prompter.saveFile(this, QString::fromUtf8("名前を付けて保存"), kProjectFilter, suggested);
    if (!path) return false;
    // The file dialog does not add the extension by itself; the game's lists and the
    // Open dialog look for ".stp".
    if (QFileInfo(*path).suffix().isEmpty()) *path += ".stp";
    return writeTo(fromQ(*path));
}

bool TesselWindow::VSave_Click() {
    if (!m_model.state().ProjectOpen) return false;
    if (m_model.state().ProjectPath.empty()) return Save_Click();
    return writeTo(m_model.state().ProjectPath);
}

void TesselWindow::EndFile_Click() {
    close();
}

void TesselWindow::HelpOpen_Click() {
    QString path = toQ(m_programFolder) + "Tessel.html";
    if (!QFileInfo::exists(path)) {
        m_prompter.message(this, QString::fromUtf8("目次"),
                           QString::fromUtf8("ヘルプファイルが見つかりません。\n\n") + path);
        return;
    }
    if (!m_help) {
        m_help = new QTextBrowser(this);
        m_help->setWindowFlag(Qt::Window);
        m_help->setObjectName("frmHelp");
        m_help->setWindowTitle(QString::fromUtf8("Tessel ヘルプ"));
        m_help->setOpenExternalLinks(true);
        m_help->resize(680, 600);
    }
    m_help->setSource(QUrl::fromLocalFile(path));
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void TesselWindow::Ver_Click() {
    m_prompter.message(
        this, QString::fromUtf8("バージョン情報"),
        QString::fromUtf8("Tessel（QONCreater）\nqon のステージエディタ\nバージョン ") +
            QString::fromLatin1(QON_TESSEL_VERSION));
}

bool TesselWindow::mayDiscardProject() {
    if (!m_model.isModified()) return true;
    auto answer = m_prompter.askUnsaved(
        this, QString::fromUtf8("QONCreater"),
        QString::fromUtf8(
            "ステージプロジェクト「%1」には保存していない変更があります。\n保存しますか？")
            .arg(toQ(m_model.state().ProjectName)));
    switch (answer) {
        case tools::Prompter::Answer::Save:
            return VSave_Click();
        case tools::Prompter::Answer::Discard:
            return true;
        case tools::Prompter::Answer::Cancel:
            return false;
    }
    return false;
}

void TesselWindow::closeEvent(QCloseEvent* event) {
    if (!mayDiscardProject()) {
        event->ignore();
        return;
    }
    m_frmDia->hide();
    if (m_help) m_help->hide();
    event->accept();
}

}  // namespace qon::tessel
