// SPDX-License-Identifier: MIT
#include "qon/stage_editor/stage_project_window.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolButton>
#include <algorithm>
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
        return QCoreApplication::translate("BlockTip", "ブロック（%1 回当てると壊れる）")
            .arg(kind + 1);
    switch (kind) {
        case Kind::kUnbreakable:
            return QCoreApplication::translate("BlockTip",
                                               "壊れないブロック（ボールをはね返すだけ）");
        case Kind::Pin:
            return QCoreApplication::translate(
                "BlockTip", "ピン：中心に当たったボールをランダムな向きに飛ばす");
        case Kind::MiniBallItem:
            return QCoreApplication::translate("BlockTip",
                                               "ミニボール：当たるとミニボールが 5 個出る");
        case Kind::WindLeft:
            return QCoreApplication::translate("BlockTip", "風（←）：通るボールを左へ流す");
        case Kind::WindRight:
            return QCoreApplication::translate("BlockTip", "風（→）：通るボールを右へ流す");
        case Kind::WindDown:
            return QCoreApplication::translate("BlockTip", "風（↓）：通るボールを下へ流す");
        case Kind::WindUp:
            return QCoreApplication::translate("BlockTip", "風（↑）：通るボールを上へ流す");
        case Kind::Magnet:
            return QCoreApplication::translate("BlockTip",
                                               "磁石：ボールがバーにくっつくようになる");
        case Kind::Warp:
            return QCoreApplication::translate("BlockTip", "ワープ：ボールを画面のどこかへ移す");
        case Kind::BarExtend:
            return QCoreApplication::translate("BlockTip", "バー伸びる：バーが 1.5 倍の幅になる");
        case Kind::FireBall:
            return QCoreApplication::translate("BlockTip",
                                               "ファイアボール：ボールがブロックを貫いて壊す");
        case Kind::Bomb:
            return QCoreApplication::translate("BlockTip", "ボム：周りの 8 マスごと壊す");
        default:
            return {};
    }
}

// A menu caption as a tool tip: "ペン(&P)" -> "ペン", "&Pen" -> "Pen".
QString withoutMnemonic(QString caption) {
    static const QRegularExpression japaneseMark(QStringLiteral("\\(&.\\)$"));
    caption.remove(japaneseMark);
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return caption;
}

}  // namespace

StageProjectWindow::StageProjectWindow(tools_common::Prompter& prompter, std::string programFolder,
                                       EditorSettings* settings, QWidget* parent)
    : QMainWindow(parent),
      m_ownSettings(settings ? nullptr : std::make_unique<EditorSettings>()),
      m_settings(settings ? *settings : *m_ownSettings),
      m_commands(m_document, m_images, prompter, std::move(programFolder), &m_settings) {
    setObjectName("Form1");
    m_commands.setDialogParent(this);
    m_commands.setShowChanges([this] {
        refreshPalette();
        refresh();
    });
    m_commands.setSaveProgress(
        [](QWidget* parent) { return std::make_unique<SaveProgressDialog>(parent); });
    buildMenus();
    buildSurface();
    buildToolButtons();
    m_frmDia = new NewProjectDialog(this);
    connect(m_frmDia->OKButton, &QPushButton::clicked, this, &StageProjectWindow::OKButton_Click);

    m_surface->setZoom(m_settings.zoom());
    refreshPalette();
    refresh();
    // The default client area is 716 x 610 below the menu bar; a remembered zoom makes it
    // as large as the enlarged grid needs, within the screen. The author may resize it.
    resize(sizeHint());
    fitWindowToZoom();
    if (QScreen* screen = this->screen()) {
        QRect available = screen->availableGeometry();
        move(available.center() - QPoint(width() / 2, height() / 2));
    }
}

StageProjectWindow::~StageProjectWindow() = default;

void StageProjectWindow::buildSurface() {
    m_surface = new EditorSurface(m_document, m_images, this);
    m_surface->setObjectName("surface");
    m_surface->resize(716, 585);
    QFont font = m_surface->font();
    font.setPixelSize(12);
    m_surface->setFont(font);
    setCentralWidget(m_surface);
    connect(m_surface, &EditorSurface::edited, this, &StageProjectWindow::refresh);
    connect(m_surface, &EditorSurface::zoomStep, this, &StageProjectWindow::ZoomStep_Click);

    auto label = [this](const char* name, const char* text, QRect geometry) {
        auto* l = new QLabel(tr(text), m_surface);
        if (name) l->setObjectName(name);
        m_surface->addPanelWidget(l, geometry);
        return l;
    };
    label(nullptr, QT_TR_NOOP("アイテムパレット"), QRect(0, 512, 129, 17));
    label("labParet", QT_TR_NOOP("選択中のアイテム"), QRect(200, 496, 97, 17));
    label(nullptr, QT_TR_NOOP("編集中のステージ"), QRect(576, 520, 97, 17));
    m_Label3 = label("Label3", "1", QRect(680, 520, 33, 25));

    m_picParet = new QLabel(m_surface);
    m_picParet->setObjectName("picParet");
    m_surface->addPanelWidget(m_picParet, QRect(304, 496, 57, 19));
    m_picParet->setFrameShape(QFrame::Panel);
    m_picParet->setFrameShadow(QFrame::Sunken);
    m_picParet->setAlignment(Qt::AlignCenter);

    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    auto paletteButton = [&](const char* name, int index, QPoint at, int kind) {
        auto* button = new PaletteButton(m_surface);
        button->setObjectName(name);
        button->setProperty("index", index);
        m_surface->addPanelWidget(button, QRect(at, QSize(49, 17)));
        button->setToolTip(kind == Kind::kEmpty ? tr("消しゴム：マスを空にする") : BlockTip(kind));
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
    m_surface->addPanelWidget(cmdBack, QRect(576, 544, 33, 33));
    cmdBack->setToolTip(tr("前のステージ (PageUp)"));
    connect(cmdBack, &QPushButton::clicked, this, &StageProjectWindow::cmdBack_Click);
    auto* cmdGo = new QPushButton(QString::fromUtf8("→"), m_surface);
    cmdGo->setObjectName("cmdGo");
    m_surface->addPanelWidget(cmdGo, QRect(608, 544, 33, 33));
    cmdGo->setToolTip(tr("次のステージ (PageDown)"));
    connect(cmdGo, &QPushButton::clicked, this, &StageProjectWindow::cmdGo_Click);

    auto* sbBar = new QStatusBar(this);
    sbBar->setObjectName("sbBar");
    sbBar->setSizeGripEnabled(false);
    sbBar->setFixedHeight(25);
    m_statusText = new QLabel(sbBar);
    m_statusText->setObjectName("sbBarText");
    sbBar->addWidget(m_statusText, 1);
    m_zoomText = new QLabel(sbBar);
    m_zoomText->setObjectName("zoomText");
    sbBar->addPermanentWidget(m_zoomText);
    setStatusBar(sbBar);
}

void StageProjectWindow::buildToolButtons() {
    // In the free room of the panel, right of the selected-kind preview.
    int left = 372;
    for (const auto& [tool, action] : m_tools) {
        auto* button = new QToolButton(m_surface);
        button->setObjectName(QStringLiteral("tool") + action->objectName());
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        const int width = tool == PaintTool::Eyedropper ? 60 : 40;
        m_surface->addPanelWidget(button, QRect(left, 494, width, 22));
        left += width + 3;
    }
}

void StageProjectWindow::buildMenus() {
    auto action = [this](QMenu* menu, const char* name, const char* caption, const char* keys,
                         auto handler) {
        auto* a = menu->addAction(tr(caption));
        a->setObjectName(name);
        a->setShortcut(QKeySequence(QString::fromLatin1(keys)));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    QMenu* file = menuBar()->addMenu(tr("ファイル(&F)"));
    file->setObjectName("File");
    action(file, "NewFile", QT_TR_NOOP("新規作成(&N)"), "Ctrl+N",
           &StageProjectWindow::NewFile_Click);
    action(file, "OpenFile", QT_TR_NOOP("開く(&O)"), "Ctrl+O", &StageProjectWindow::OpenFile_Click);
    m_recentMenu = file->addMenu(tr("最近使ったファイル(&R)"));
    m_recentMenu->setObjectName("RecentFiles");
    connect(m_recentMenu, &QMenu::aboutToShow, this, &StageProjectWindow::fillRecentMenu);
    fillRecentMenu();
    action(file, "OpenGRA", QT_TR_NOOP("グラフィックセットを開く(&G)"), "Ctrl+G",
           &StageProjectWindow::OpenGRA_Click);
    m_save = action(file, "Save", QT_TR_NOOP("名前を付けて保存(&S)"), "Ctrl+S",
                    [this] { Save_Click(); });
    m_vSave =
        action(file, "VSave", QT_TR_NOOP("上書き保存(&V)"), "Ctrl+V", [this] { VSave_Click(); });
    file->addSeparator();
    action(file, "EndFile", QT_TR_NOOP("終了(&E)"), "Ctrl+E", &StageProjectWindow::EndFile_Click);

    QMenu* edit = menuBar()->addMenu(tr("編集(&E)"));
    edit->setObjectName("Edit");
    m_undo =
        action(edit, "Undo", QT_TR_NOOP("元に戻す(&U)"), "Ctrl+Z", &StageProjectWindow::Undo_Click);
    m_redo =
        action(edit, "Redo", QT_TR_NOOP("やり直し(&R)"), "Ctrl+Y", &StageProjectWindow::Redo_Click);
    edit->addSeparator();
    auto* tools = new QActionGroup(this);
    auto tool = [&](std::size_t at, PaintTool which, const char* name, const char* caption,
                    const char* keys, const char* tip) {
        QAction* a = action(edit, name, caption, keys, [this, which] { Tool_Click(which); });
        a->setCheckable(true);
        a->setIconText(tr(tip));
        a->setToolTip(withoutMnemonic(tr(caption)) + QStringLiteral(" (") +
                      QString::fromLatin1(keys) + QStringLiteral(")"));
        tools->addAction(a);
        m_tools[at] = {which, a};
    };
    tool(0, PaintTool::Pen, "ToolPen", QT_TR_NOOP("ペン(&P)"), "P", QT_TR_NOOP("ペン"));
    tool(1, PaintTool::Rectangle, "ToolRectangle", QT_TR_NOOP("四角形で塗る(&Q)"), "R",
         QT_TR_NOOP("四角"));
    tool(2, PaintTool::Fill, "ToolFill", QT_TR_NOOP("つながったマスを塗る(&F)"), "F",
         QT_TR_NOOP("塗る"));
    tool(3, PaintTool::Eyedropper, "ToolEyedropper", QT_TR_NOOP("スポイト（Alt+クリック）(&I)"),
         "I", QT_TR_NOOP("スポイト"));

    QMenu* stage = menuBar()->addMenu(tr("ステージ(&S)"));
    stage->setObjectName("Stage");
    action(stage, "PrevStage", QT_TR_NOOP("前のステージ(&B)"), "PgUp",
           &StageProjectWindow::cmdBack_Click);
    action(stage, "NextStage", QT_TR_NOOP("次のステージ(&G)"), "PgDown",
           &StageProjectWindow::cmdGo_Click);
    m_goToStage = action(stage, "GoToStage", QT_TR_NOOP("ステージ番号を指定して移動(&J)..."),
                         "Ctrl+J", &StageProjectWindow::GoToStage_Click);
    stage->addSeparator();
    auto stageEdit = [&](std::size_t at, StageEdit which, const char* name, const char* caption,
                         const char* keys) {
        m_stageEdits[at] = {
            which, action(stage, name, caption, keys, [this, which] { EditStages_Click(which); })};
    };
    stageEdit(0, StageEdit::InsertBefore, "InsertStageBefore",
              QT_TR_NOOP("前に空のステージを挿入(&I)"), "Ctrl+Shift+Ins");
    stageEdit(1, StageEdit::InsertAfter, "InsertStageAfter",
              QT_TR_NOOP("後ろに空のステージを挿入(&A)"), "Ctrl+Ins");
    stageEdit(2, StageEdit::Duplicate, "DuplicateStage", QT_TR_NOOP("このステージを複製(&D)"),
              "Ctrl+D");
    stageEdit(3, StageEdit::Delete, "DeleteStage", QT_TR_NOOP("このステージを削除(&X)"),
              "Ctrl+Shift+Del");
    stage->addSeparator();
    stageEdit(4, StageEdit::MoveEarlier, "MoveStageEarlier", QT_TR_NOOP("ひとつ前へ移動(&U)"),
              "Ctrl+Shift+PgUp");
    stageEdit(5, StageEdit::MoveLater, "MoveStageLater", QT_TR_NOOP("ひとつ後ろへ移動(&N)"),
              "Ctrl+Shift+PgDown");

    QMenu* view = menuBar()->addMenu(tr("表示(&V)"));
    view->setObjectName("View");
    auto* zooms = new QActionGroup(this);
    auto zoom = [&](std::size_t at, Zoom which, const char* name, const char* caption,
                    const char* keys) {
        QAction* a = action(view, name, caption, keys, [this, which] { Zoom_Click(which); });
        a->setCheckable(true);
        zooms->addAction(a);
        m_zooms[at] = {which, a};
    };
    zoom(0, Zoom{.factor = 1}, "Zoom1", QT_TR_NOOP("等倍（1×）(&1)"), "Ctrl+1");
    zoom(1, Zoom{.factor = 2}, "Zoom2", QT_TR_NOOP("2 倍（2×）(&2)"), "Ctrl+2");
    zoom(2, Zoom{.factor = 3}, "Zoom3", QT_TR_NOOP("3 倍（3×）(&3)"), "Ctrl+3");
    zoom(3, Zoom{.fit = true}, "ZoomFit", QT_TR_NOOP("ウィンドウに合わせる(&W)"), "Ctrl+0");
    view->addSeparator();
    QAction* zoomIn =
        action(view, "ZoomIn", QT_TR_NOOP("拡大(&I)"), "Ctrl++", [this] { ZoomStep_Click(1); });
    // "+" needs Shift on many keyboards; Ctrl+= is the same key without it.
    zoomIn->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl++")), QKeySequence(QStringLiteral("Ctrl+="))});
    action(view, "ZoomOut", QT_TR_NOOP("縮小(&O)"), "Ctrl+-", [this] { ZoomStep_Click(-1); });

    QMenu* play = menuBar()->addMenu(tr("テスト(&T)"));
    play->setObjectName("Test");
    m_testPlay = action(play, "TestPlay", QT_TR_NOOP("このステージをテストプレイ(&P)"), "F5",
                        &StageProjectWindow::TestPlay_Click);

    QMenu* help = menuBar()->addMenu(tr("ヘルプ(&H)"));
    help->setObjectName("Hel");
    action(help, "HelpOpen", QT_TR_NOOP("目次(&C)"), "Ctrl+C", &StageProjectWindow::HelpOpen_Click);
    action(help, "Ver", QT_TR_NOOP("バージョン情報(&I)"), "Ctrl+I", &StageProjectWindow::Ver_Click);
}

void StageProjectWindow::fillRecentMenu() {
    m_recentMenu->clear();
    const QStringList recent = m_settings.recentProjects();
    if (recent.isEmpty()) {
        m_recentMenu->addAction(tr("（まだありません）"))->setEnabled(false);
        return;
    }
    for (int i = 0; i < recent.size(); ++i) {
        const QString path = recent[i];
        QAction* a = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
        a->setObjectName("RecentFile");
        a->setData(path);
        connect(a, &QAction::triggered, this, [this, path] { RecentFile_Click(path); });
    }
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
    const EditorState& state = m_document.state();
    setWindowTitle(toQ(m_document.titleText()) + "[*]");
    setWindowModified(m_document.isModified());
    m_Label3->setText(QString::number(state.EditedStage));
    m_statusText->setText(toQ(m_document.statusTextWithName()));
    m_save->setEnabled(state.ProjectOpen);
    m_vSave->setEnabled(state.ProjectOpen);
    m_undo->setEnabled(m_document.canUndo());
    m_redo->setEnabled(m_document.canRedo());
    for (const auto& [edit, action] : m_stageEdits)
        action->setEnabled(m_document.canEditStages(edit));
    m_goToStage->setEnabled(state.ProjectOpen);
    m_testPlay->setEnabled(state.ProjectOpen);
    for (const auto& [tool, action] : m_tools) action->setChecked(tool == m_document.tool());
    const Zoom zoom = m_surface->zoom();
    for (const auto& [choice, action] : m_zooms)
        action->setChecked(choice.fit ? zoom.fit : !zoom.fit && choice.factor == zoom.factor);
    m_zoomText->setText(QStringLiteral("%1×").arg(m_surface->shownZoom()));
    showSelectedKind();
    m_surface->redrawGrid();
}

void StageProjectWindow::showSelectedKind() {
    const std::int16_t kind = m_document.state().SelectedKind;
    if (kind == m_shownKind) return;
    m_shownKind = kind;
    if (kind >= Kind::kNormalFirst && kind <= Kind::kUnbreakable)
        m_cmdBlock[static_cast<std::size_t>(kind)]->setChecked(true);
    else if (IsSpecialKind(kind))
        m_cmdSBlockS[static_cast<std::size_t>(kind - Kind::Pin)]->setChecked(true);
    else
        m_cmdCrea->setChecked(true);
    refreshPalette();
}

void StageProjectWindow::cmdBlock_Click(int index) {
    m_document.selectKind(static_cast<std::int16_t>(index));
    m_cmdBlock[static_cast<std::size_t>(index)]->setChecked(true);
    m_shownKind = m_document.state().SelectedKind;
    refreshPalette();
}

void StageProjectWindow::cmdSBlockS_Click(int index) {
    m_document.selectKind(static_cast<std::int16_t>(Kind::Pin + index));
    m_cmdSBlockS[static_cast<std::size_t>(index)]->setChecked(true);
    m_shownKind = m_document.state().SelectedKind;
    refreshPalette();
}

void StageProjectWindow::cmdCrea_Click() {
    m_document.selectKind(Kind::kEmpty);
    m_cmdCrea->setChecked(true);
    m_shownKind = Kind::kEmpty;
    refreshPalette();
}

void StageProjectWindow::EditStages_Click(StageEdit edit) {
    m_commands.editStages(edit);
    refresh();
}

void StageProjectWindow::GoToStage_Click() {
    m_commands.goToStage();
    refresh();
}

void StageProjectWindow::Tool_Click(PaintTool tool) {
    m_document.setTool(tool);
    refresh();
}

void StageProjectWindow::Zoom_Click(Zoom zoom) {
    m_surface->setZoom(zoom);
    m_settings.setZoom(zoom);
    fitWindowToZoom();
    refresh();
}

void StageProjectWindow::ZoomStep_Click(int step) {
    const int shown = m_surface->shownZoom();
    Zoom_Click(step > 0 ? ZoomIn(m_surface->zoom(), shown) : ZoomOut(shown));
}

void StageProjectWindow::fitWindowToZoom() {
    const Zoom zoom = m_surface->zoom();
    if (zoom.fit || isMaximized() || isFullScreen()) return;
    QSize wanted = size() - m_surface->size() + m_surface->sizeHint();
    // At 1x the default size stands even on a small screen; a larger grid is given only
    // the room the screen has, and scrolls within it.
    QScreen* screen = this->screen();
    if (zoom.factor > 1 && screen) {
        const QSize frame = frameGeometry().size() - geometry().size();
        wanted = wanted.boundedTo(screen->availableGeometry().size() - frame);
    }
    resize(wanted);
    if (zoom.factor > 1 && screen && isVisible()) {
        // A window grown past the screen's edge comes back onto it.
        const QRect available = screen->availableGeometry();
        const QRect frame = frameGeometry();
        QPoint at = frame.topLeft();
        at.setX(
            std::max(available.left(), std::min(at.x(), available.right() + 1 - frame.width())));
        at.setY(
            std::max(available.top(), std::min(at.y(), available.bottom() + 1 - frame.height())));
        if (at != frame.topLeft()) move(at);
    }
}

void StageProjectWindow::TestPlay_Click() {
    m_commands.testPlay();
    refresh();
}

void StageProjectWindow::RecentFile_Click(const QString& path) {
    openProjectAt(path);
}

void StageProjectWindow::openProjectAt(const QString& path) {
    m_commands.openProjectAt(path);
    refresh();
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
        m_help->setWindowTitle(tr("Tessel ヘルプ"));
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
