// SPDX-License-Identifier: MIT
// The main window under QT_QPA_PLATFORM=offscreen: its elements, a painted grid as
// the author sees it, and the file commands answered by a scripted prompter.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QWheelEvent>

#include "painting.h"
#include "qon/stage_editor/editor_surface.h"
#include "qon/stage_editor/new_project_dialog.h"
#include "qon/stage_editor/palette_button.h"
#include "qon/stage_editor/save_progress_dialog.h"
#include "qon/stage_editor/stage_project_window.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/scratch_folder.h"
#include "qon/tools_common/prompter.h"
#include "qon/tools_common/testing/qt_application.h"

// Under the optional LeakSanitizer build: fontconfig keeps its caches for the life
// of the process, which is not a leak of ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace qon::stage_editor {
namespace {

using test::CellCentreX;
using test::CellCentreY;
using test_support::Exists;
using test_support::ScratchFolder;
using tools_common::Prompter;
using tools_common::ScriptedPrompter;

[[maybe_unused]] const auto* const kQtApplication = ::testing::AddGlobalTestEnvironment(
    new tools_common::testing::HeadlessQtApplication("qon_stage_editor_widgets_tests"));

class StageProjectWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window =
            std::make_unique<StageProjectWindow>(prompter, QON_STAGE_EDITOR_HELP_DIR, &settings);
        window->show();
    }
    void TearDown() override {
        window->document().newProject("x", 1, "y");  // nothing unsaved: closing never asks
        window.reset();
    }

    PaletteButton* paletteButton(const char* name, int index) {
        for (auto* b : window->findChildren<PaletteButton*>(name))
            if (b->property("index").toInt() == index) return b;
        return nullptr;
    }
    QAction* action(const char* name) { return window->findChild<QAction*>(name); }
    QString statusText() { return window->findChild<QLabel*>("sbBarText")->text(); }

    void newProjectThroughDialog(const QString& count) {
        window->NewFile_Click();
        window->frmDia()->texStSum->setText(count);
        QTest::mouseClick(window->frmDia()->OKButton, Qt::LeftButton);
    }
    void press(int x, int y) {
        QTest::mousePress(window->surface(), Qt::LeftButton, {}, QPoint(x, y));
    }
    void release(int x, int y) {
        QTest::mouseRelease(window->surface(), Qt::LeftButton, {}, QPoint(x, y));
    }
    void move(int x, int y, Qt::MouseButtons held) {
        QPointF local(x, y);
        QMouseEvent event(QEvent::MouseMove, local, window->surface()->mapToGlobal(local),
                          Qt::NoButton, held, Qt::NoModifier);
        QApplication::sendEvent(window->surface(), &event);
    }
    void paint(int column, int row) {
        press(CellCentreX(column), CellCentreY(row));
        release(CellCentreX(column), CellCentreY(row));
    }

    ScratchFolder settingsFolder;
    EditorSettings settings{QString::fromStdString(settingsFolder.file("tessel.ini"))};
    ScriptedPrompter prompter;
    std::unique_ptr<StageProjectWindow> window;
};

struct ElementRow {
    const char* name;
    QRect geometry;
};

TEST_F(StageProjectWindowTest, BuildsWithItsNamedElements) {
    EXPECT_EQ(window->objectName(), "Form1");
    EXPECT_EQ(window->windowTitle(), "QONCreater[*]");
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(window->surface()->size(), QSize(716, 585));
    auto* sbBar = window->findChild<QStatusBar*>("sbBar");
    ASSERT_NE(sbBar, nullptr);
    EXPECT_EQ(sbBar->height(), 25);
    EXPECT_EQ(statusText(), "X=0,Y=0,Type=0");
    EXPECT_EQ(window->findChildren<PaletteButton*>("cmdBlock").size(), 9);
    EXPECT_EQ(window->findChildren<PaletteButton*>("cmdSBlockS").size(), 11);

    const ElementRow elements[] = {
        {.name = "picParet", .geometry = QRect(304, 496, 57, 19)},
        {.name = "Label3", .geometry = QRect(680, 520, 33, 25)},
        {.name = "labParet", .geometry = QRect(200, 496, 97, 17)},
        {.name = "cmdBack", .geometry = QRect(576, 544, 33, 33)},
        {.name = "cmdGo", .geometry = QRect(608, 544, 33, 33)},
        {.name = "cmdCrea", .geometry = QRect(480, 536, 49, 17)},
    };
    for (const auto& e : elements) {
        auto* widget = window->surface()->findChild<QWidget*>(e.name);
        ASSERT_NE(widget, nullptr) << e.name;
        EXPECT_EQ(widget->geometry(), e.geometry) << e.name;
    }
    EXPECT_EQ(window->findChild<QLabel*>("Label3")->text(), "1");
    EXPECT_EQ(paletteButton("cmdBlock", 8)->geometry(), QRect(192, 536, 49, 17));
    EXPECT_EQ(paletteButton("cmdBlock", 5)->geometry(), QRect(48, 552, 49, 17));
    EXPECT_EQ(paletteButton("cmdSBlockS", 0)->geometry(), QRect(192, 552, 49, 17));
    EXPECT_EQ(paletteButton("cmdSBlockS", 9)->geometry(), QRect(432, 536, 49, 17));
    EXPECT_EQ(paletteButton("cmdSBlockS", 10)->geometry(), QRect(432, 552, 49, 17));

    NewProjectDialog* dia = window->frmDia();
    EXPECT_EQ(dia->objectName(), "frmDia");
    EXPECT_EQ(dia->windowTitle(), "新規作成");
    EXPECT_EQ(dia->size(), QSize(402, 213));
    EXPECT_EQ(dia->texProjectName->text(), "New Stage");
    EXPECT_EQ(dia->texStSum->text(), "10");
    EXPECT_EQ(dia->texStaff->text(), "New");
    EXPECT_EQ(dia->CancelButton->text(), "ｷｬﾝｾﾙ");
    EXPECT_FALSE(dia->isModal());
    EXPECT_EQ(dia->OKButton->nextInFocusChain(), dia->CancelButton);
}

struct MenuRow {
    const char* name;
    const char* caption = "";
    const char* keys = "";
    bool enabledAtStart = true;
};

TEST_F(StageProjectWindowTest, MenusKeepTheirCaptionsAndShortcuts) {
    const MenuRow rows[] = {
        {.name = "NewFile", .caption = "新規作成(&N)", .keys = "Ctrl+N"},
        {.name = "OpenFile", .caption = "開く(&O)", .keys = "Ctrl+O"},
        {.name = "OpenGRA", .caption = "グラフィックセットを開く(&G)", .keys = "Ctrl+G"},
        {.name = "Save",
         .caption = "名前を付けて保存(&S)",
         .keys = "Ctrl+S",
         .enabledAtStart = false},
        {.name = "VSave", .caption = "上書き保存(&V)", .keys = "Ctrl+V", .enabledAtStart = false},
        {.name = "EndFile", .caption = "終了(&E)", .keys = "Ctrl+E"},
        {.name = "HelpOpen", .caption = "目次(&C)", .keys = "Ctrl+C"},
        {.name = "Ver", .caption = "バージョン情報(&I)", .keys = "Ctrl+I"},
        {.name = "Undo", .caption = "元に戻す(&U)", .keys = "Ctrl+Z", .enabledAtStart = false},
        {.name = "Redo", .caption = "やり直し(&R)", .keys = "Ctrl+Y", .enabledAtStart = false},
        {.name = "PrevStage", .caption = "前のステージ(&B)", .keys = "PgUp"},
        {.name = "NextStage", .caption = "次のステージ(&G)", .keys = "PgDown"},
        {.name = "GoToStage",
         .caption = "ステージ番号を指定して移動(&J)...",
         .keys = "Ctrl+J",
         .enabledAtStart = false},
        {.name = "InsertStageBefore",
         .caption = "前に空のステージを挿入(&I)",
         .keys = "Ctrl+Shift+Ins",
         .enabledAtStart = false},
        {.name = "InsertStageAfter",
         .caption = "後ろに空のステージを挿入(&A)",
         .keys = "Ctrl+Ins",
         .enabledAtStart = false},
        {.name = "DuplicateStage",
         .caption = "このステージを複製(&D)",
         .keys = "Ctrl+D",
         .enabledAtStart = false},
        {.name = "DeleteStage",
         .caption = "このステージを削除(&X)",
         .keys = "Ctrl+Shift+Del",
         .enabledAtStart = false},
        {.name = "MoveStageEarlier",
         .caption = "ひとつ前へ移動(&U)",
         .keys = "Ctrl+Shift+PgUp",
         .enabledAtStart = false},
        {.name = "MoveStageLater",
         .caption = "ひとつ後ろへ移動(&N)",
         .keys = "Ctrl+Shift+PgDown",
         .enabledAtStart = false},
        {.name = "ToolPen", .caption = "ペン(&P)", .keys = "P"},
        {.name = "ToolRectangle", .caption = "四角形で塗る(&Q)", .keys = "R"},
        {.name = "ToolFill", .caption = "つながったマスを塗る(&F)", .keys = "F"},
        {.name = "ToolEyedropper", .caption = "スポイト（Alt+クリック）(&I)", .keys = "I"},
        {.name = "Zoom1", .caption = "等倍（1×）(&1)", .keys = "Ctrl+1"},
        {.name = "Zoom2", .caption = "2 倍（2×）(&2)", .keys = "Ctrl+2"},
        {.name = "Zoom3", .caption = "3 倍（3×）(&3)", .keys = "Ctrl+3"},
        {.name = "ZoomFit", .caption = "ウィンドウに合わせる(&W)", .keys = "Ctrl+0"},
        {.name = "ZoomIn", .caption = "拡大(&I)", .keys = "Ctrl++"},
        {.name = "ZoomOut", .caption = "縮小(&O)", .keys = "Ctrl+-"},
        {.name = "TestPlay",
         .caption = "このステージをテストプレイ(&P)",
         .keys = "F5",
         .enabledAtStart = false},
    };
    for (const auto& row : rows) {
        QAction* a = action(row.name);
        ASSERT_NE(a, nullptr) << row.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(row.caption)) << row.name;
        EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromLatin1(row.keys))) << row.name;
        EXPECT_EQ(a->isEnabled(), row.enabledAtStart) << row.name;
    }
    EXPECT_EQ(window->findChild<QMenu*>("File")->title(), "ファイル(&F)");
    EXPECT_EQ(window->findChild<QMenu*>("Hel")->title(), "ヘルプ(&H)");
    EXPECT_TRUE(action("ToolPen")->isChecked());
    EXPECT_TRUE(action("Zoom1")->isChecked());
}

TEST_F(StageProjectWindowTest, GrabbedGridShowsTheRightTileImages) {
    newProjectThroughDialog("3");
    ASSERT_TRUE(window->document().state().ProjectOpen);
    EXPECT_FALSE(window->frmDia()->isVisible());
    EXPECT_TRUE(action("VSave")->isEnabled());

    QTest::mouseClick(paletteButton("cmdBlock", 3), Qt::LeftButton);
    paint(2, 3);
    QTest::mouseClick(paletteButton("cmdSBlockS", 2), Qt::LeftButton);  // code 103, wind left
    EXPECT_FALSE(window->findChild<QLabel*>("picParet")->pixmap().isNull());
    // A drag across three cells of row 5.
    press(CellCentreX(4), CellCentreY(5));
    move(CellCentreX(6), CellCentreY(5), Qt::LeftButton);
    release(CellCentreX(6), CellCentreY(5));
    EXPECT_EQ(statusText(), "X=6,Y=5,Type=103 (風（←）)");
    EXPECT_TRUE(window->isWindowModified());
    move(CellCentreX(10), CellCentreY(20), Qt::NoButton);  // take the cursor box away

    QImage grid = window->surface()
                      ->grab(QRect(0, 0, 640, 480))
                      .toImage()
                      .convertToFormat(QImage::Format_RGB32);
    auto cellImage = [&](int column, int row) {
        return grid.copy(2 + 53 * column, 15 * row, 53, 15);
    };
    const auto& images = window->images();
    EXPECT_EQ(cellImage(2, 3), images.BlockS[3].convertToFormat(QImage::Format_RGB32));
    for (int column = 4; column <= 6; ++column)
        EXPECT_EQ(cellImage(column, 5), images.SBlockS[3].convertToFormat(QImage::Format_RGB32))
            << column;
    EXPECT_NE(cellImage(3, 5), images.SBlockS[3].convertToFormat(QImage::Format_RGB32));

    // The eraser clears the preview and paints 255.
    QTest::mouseClick(window->findChild<PaletteButton*>("cmdCrea"), Qt::LeftButton);
    EXPECT_TRUE(window->findChild<QLabel*>("picParet")->pixmap().isNull());
    paint(2, 3);
    EXPECT_EQ(statusText(), "X=2,Y=3,Type=255 (空)");
}

TEST_F(StageProjectWindowTest, ReleaseOverAPaletteButtonEndsPainting) {
    newProjectThroughDialog("1");
    QTest::mouseClick(paletteButton("cmdBlock", 1), Qt::LeftButton);
    press(CellCentreX(0), CellCentreY(0));
    release(100, 540);  // over cmdBlock(2): the surface holds the grab
    EXPECT_FALSE(window->document().state().MouseHeld);
    move(CellCentreX(5), CellCentreY(5), Qt::NoButton);
    EXPECT_EQ(window->document().kindAt(5, 5), Kind::kEmpty);
}

TEST_F(StageProjectWindowTest, StageArrowsAndPageKeys) {
    newProjectThroughDialog("2");
    auto* label3 = window->findChild<QLabel*>("Label3");
    QTest::mouseClick(window->findChild<QPushButton*>("cmdGo"), Qt::LeftButton);
    EXPECT_EQ(label3->text(), "2");
    action("NextStage")->trigger();
    EXPECT_EQ(label3->text(), "2");
    action("PrevStage")->trigger();
    EXPECT_EQ(label3->text(), "1");
}

TEST_F(StageProjectWindowTest, NewProjectRefusesABadStageCount) {
    newProjectThroughDialog("0");
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(window->frmDia()->isVisible());
    EXPECT_FALSE(window->document().state().ProjectOpen);
    window->frmDia()->texProjectName->clear();
    QTest::mouseClick(window->frmDia()->OKButton, Qt::LeftButton);
    EXPECT_EQ(prompter.messages.last(), "何も入力されていない項目があります。");
    QTest::mouseClick(window->frmDia()->CancelButton, Qt::LeftButton);
    EXPECT_FALSE(window->frmDia()->isVisible());
    window->NewFile_Click();
    EXPECT_EQ(window->frmDia()->texStSum->text(), "0");  // typed text is kept
}

TEST_F(StageProjectWindowTest, OverwriteSaveOfANewProjectAsksForAFileThenReusesIt) {
    ScratchFolder dir;
    newProjectThroughDialog("2");
    paint(0, 0);
    prompter.fileAnswers.push_back(QString::fromStdString(dir.file("Spring")));
    EXPECT_TRUE(window->VSave_Click());
    ASSERT_EQ(prompter.dialogCaptions.size(), 1);
    EXPECT_EQ(prompter.dialogFilters.last(), "ステージプロジェクト (*.stp)");
    EXPECT_EQ(window->document().state().ProjectPath, dir.file("Spring.stp"));
    EXPECT_TRUE(Exists(dir.file("Stage2.stg")));
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(window->windowTitle(), "QONCreater-New Stage-製作者：New[*]");
    EXPECT_TRUE(window->VSave_Click());
    EXPECT_EQ(prompter.dialogCaptions.size(), 1);  // no second dialog
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(StageProjectWindowTest, InputThatArrivesDuringASaveIsDroppedNotRunAfterIt) {
    ScratchFolder dir;
    newProjectThroughDialog("3");
    prompter.fileAnswers.push_back(QString::fromStdString(dir.file("Spring.stp")));
    ASSERT_TRUE(window->Save_Click());
    QTest::mouseClick(paletteButton("cmdBlock", 4), Qt::LeftButton);
    // A click on the grid, queued while the save is busy.
    const QPointF cell(CellCentreX(5), CellCentreY(5));
    const QPointF global = window->surface()->mapToGlobal(cell);
    QCoreApplication::postEvent(
        window->surface(), new QMouseEvent(QEvent::MouseButtonPress, cell, global, Qt::LeftButton,
                                           Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(
        window->surface(), new QMouseEvent(QEvent::MouseButtonRelease, cell, global, Qt::LeftButton,
                                           Qt::NoButton, Qt::NoModifier));
    ASSERT_TRUE(window->VSave_Click());
    QCoreApplication::processEvents();
    EXPECT_EQ(window->document().kindAt(5, 5), Kind::kEmpty);
    EXPECT_FALSE(window->document().isModified());
    // Input after the save reaches the window again.
    paint(5, 5);
    EXPECT_EQ(window->document().kindAt(5, 5), 4);
}

TEST(SaveProgressDialog, CancelIsOfferedUntilTheFilesGoIntoPlace) {
    QWidget parent;
    SaveProgressDialog progress(&parent);
    using Step = ProjectSaveProgress::Step;
    EXPECT_TRUE(progress.update({Step::Writing, 1, 10}));
    EXPECT_NE(progress.dialog().findChild<QPushButton*>(), nullptr);
    progress.dialog().cancel();
    EXPECT_FALSE(progress.update({Step::Writing, 2, 10}));
    EXPECT_FALSE(progress.update({Step::Syncing, 0, 1}));
    progress.update({Step::Swapping, 1, 10});
    EXPECT_EQ(progress.dialog().findChild<QPushButton*>(), nullptr) << "a cancel it cannot honour";
}

TEST_F(StageProjectWindowTest, CancelledDialogsStaySilentAndFailuresSayWhy) {
    ScratchFolder dir;
    newProjectThroughDialog("2");
    EXPECT_FALSE(window->Save_Click());  // no answer queued: cancelled
    window->OpenFile_Click();
    window->OpenGRA_Click();
    EXPECT_TRUE(prompter.messages.isEmpty());

    prompter.fileAnswers.push_back(QString::fromStdString(dir.file("no-such-folder/a.stp")));
    EXPECT_FALSE(window->Save_Click());
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].contains("no-such-folder"))
        << prompter.messages[0].toStdString();

    prompter.fileAnswers.push_back(QString::fromStdString(dir.file("missing.stp")));
    window->OpenFile_Click();
    ASSERT_EQ(prompter.messages.size(), 2);
    EXPECT_TRUE(prompter.messages[1].contains("missing.stp"));
    EXPECT_TRUE(window->document().state().ProjectOpen);
    EXPECT_EQ(window->document().state().StageCount, 2);

    prompter.fileAnswers.push_back(QString::fromStdString(dir.file("missing.bgp")));
    window->OpenGRA_Click();
    ASSERT_EQ(prompter.messages.size(), 3);
    EXPECT_TRUE(prompter.messages[2].contains("missing.bgp"));
}

TEST_F(StageProjectWindowTest, UnsavedChangesAreAskedAbout) {
    newProjectThroughDialog("2");
    window->close();  // nothing painted yet: closes at once
    EXPECT_EQ(prompter.unsavedQuestions, 0);
    window->show();

    window->cmdBlock_Click(2);  // the start kind is the eraser, which changes nothing here
    paint(1, 1);
    EXPECT_TRUE(window->isWindowModified());
    prompter.unsavedAnswers.push_back(Prompter::Answer::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(prompter.unsavedQuestions, 1);
    EXPECT_TRUE(window->isVisible());

    prompter.unsavedAnswers.push_back(Prompter::Answer::Cancel);
    window->OpenFile_Click();
    EXPECT_EQ(prompter.unsavedQuestions, 2);
    EXPECT_TRUE(prompter.dialogCaptions.isEmpty());  // cancelled before the dialog

    prompter.unsavedAnswers.push_back(Prompter::Answer::Cancel);
    newProjectThroughDialog("5");
    EXPECT_EQ(window->document().state().StageCount, 2);
    EXPECT_TRUE(window->frmDia()->isVisible());

    prompter.unsavedAnswers.push_back(Prompter::Answer::Discard);
    QTest::mouseClick(window->frmDia()->OKButton, Qt::LeftButton);
    EXPECT_EQ(window->document().state().StageCount, 5);
    EXPECT_FALSE(window->isWindowModified());
}

TEST_F(StageProjectWindowTest, SaveAnswerSavesBeforeClosing) {
    ScratchFolder dir;
    newProjectThroughDialog("1");
    window->cmdSBlockS_Click(10);
    paint(1, 1);
    prompter.unsavedAnswers.push_back(Prompter::Answer::Save);
    prompter.fileAnswers.push_back(QString::fromStdString(dir.file("k.stp")));
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(Exists(dir.file("k.stp")));
}

TEST_F(StageProjectWindowTest, UndoAndRedoFromTheEditMenu) {
    newProjectThroughDialog("1");
    QTest::mouseClick(paletteButton("cmdBlock", 0), Qt::LeftButton);
    paint(3, 3);
    ASSERT_TRUE(action("Undo")->isEnabled());
    action("Undo")->trigger();
    EXPECT_EQ(window->document().kindAt(3, 3), Kind::kEmpty);
    EXPECT_FALSE(window->isWindowModified());
    action("Redo")->trigger();
    EXPECT_EQ(window->document().kindAt(3, 3), 0);
}

TEST_F(StageProjectWindowTest, HelpPageOpensInAHelpWindow) {
    window->HelpOpen_Click();
    auto* help = window->findChild<QTextBrowser*>("frmHelp");
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->toPlainText().contains("ボム"));
    // The page's contents links jump within the page.
    help->setSource(QUrl(QStringLiteral("#keys")));
    EXPECT_TRUE(help->toPlainText().contains("ボム"));
    EXPECT_TRUE(prompter.messages.isEmpty());
    window->Ver_Click();
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].contains("Tessel"));
}

// ---- additions around the grid -----------------------------------------------------------

TEST_F(StageProjectWindowTest, WindowIsResizableAndThePanelKeepsToTheBottom) {
    EXPECT_LT(window->minimumSize().width(), window->maximumSize().width());
    EXPECT_EQ(window->surface()->gridCanvas()->size(), QSize(640, 480));
    auto* cmdGo = window->surface()->findChild<QWidget*>("cmdGo");
    window->resize(window->size() + QSize(200, 150));
    QApplication::processEvents();
    EXPECT_EQ(window->surface()->size(), QSize(916, 735));
    EXPECT_EQ(cmdGo->geometry(), QRect(608, 544 + 150, 33, 33));
    EXPECT_EQ(window->surface()->gridCanvas()->size(), QSize(640, 480));  // 1x stays 1x
}

TEST_F(StageProjectWindowTest, StageMenuEditsTheStageListAndUndoRestoresIt) {
    newProjectThroughDialog("5");
    auto* label3 = window->findChild<QLabel*>("Label3");
    EXPECT_FALSE(action("MoveStageEarlier")->isEnabled());  // stage 1
    EXPECT_TRUE(action("MoveStageLater")->isEnabled());
    QTest::mouseClick(paletteButton("cmdBlock", 4), Qt::LeftButton);
    paint(0, 0);

    action("DuplicateStage")->trigger();
    EXPECT_EQ(label3->text(), "2");
    EXPECT_EQ(window->document().state().StageCount, 6);
    EXPECT_EQ(window->document().kindAt(0, 0), 4);  // the copy is shown
    EXPECT_EQ(prompter.optOutTexts.size(), 1);      // stages 2..5 are now 3..6

    action("MoveStageLater")->trigger();
    EXPECT_EQ(label3->text(), "3");
    action("DeleteStage")->trigger();
    EXPECT_EQ(window->document().state().StageCount, 5);
    EXPECT_EQ(prompter.optOutTexts.size(), 1);  // told once per session

    action("Undo")->trigger();
    action("Undo")->trigger();
    action("Undo")->trigger();
    EXPECT_EQ(window->document().state().StageCount, 5);
    EXPECT_EQ(label3->text(), "1");
    EXPECT_EQ(window->document().grid(2)[0].Kind, Kind::kEmpty);

    prompter.numberAnswers = {std::optional<int>(4)};
    action("GoToStage")->trigger();
    EXPECT_EQ(label3->text(), "4");
}

TEST_F(StageProjectWindowTest, TheLastStageCannotBeDeleted) {
    newProjectThroughDialog("1");
    EXPECT_FALSE(action("DeleteStage")->isEnabled());
    action("DeleteStage")->trigger();  // a shortcut of a disabled action does nothing
    EXPECT_EQ(window->document().state().StageCount, 1);
    EXPECT_TRUE(action("InsertStageBefore")->isEnabled());
}

TEST_F(StageProjectWindowTest, ZoomedGridIsCrispAndPaintsUnderThePointer) {
    newProjectThroughDialog("1");
    action("Zoom2")->trigger();
    QWidget* canvas = window->surface()->gridCanvas();
    EXPECT_EQ(canvas->size(), QSize(1280, 960));
    EXPECT_EQ(settings.zoom(), (Zoom{.factor = 2}));
    EXPECT_EQ(window->findChild<QLabel*>("zoomText")->text(), "2×");

    QTest::mouseClick(paletteButton("cmdBlock", 6), Qt::LeftButton);
    // x = 110 is still column 0 at 2x (the shared edge belongs to the left cell).
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(110, 2 * CellCentreY(1)));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(110, 2 * CellCentreY(1)));
    EXPECT_EQ(window->document().kindAt(0, 1), 6);
    EXPECT_EQ(window->document().kindAt(1, 1), Kind::kEmpty);
    EXPECT_EQ(statusText(), "X=0,Y=1,Type=6 (ブロック 7 回)");

    const QImage shown =
        canvas->grab(QRect(0, 0, 200, 100)).toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, ScaleWhole(window->surface()->backS(), 2).copy(0, 0, 200, 100));
}

TEST_F(StageProjectWindowTest, CtrlWheelZoomsAndTheZoomIsRemembered) {
    QWidget* canvas = window->surface()->gridCanvas();
    const QPointF at(100, 100);
    QWheelEvent wheel(at, canvas->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas, &wheel);
    QApplication::sendEvent(canvas, &wheel);
    QApplication::sendEvent(canvas, &wheel);  // 3x is the largest step
    EXPECT_EQ(window->surface()->shownZoom(), 3);
    EXPECT_TRUE(action("Zoom3")->isChecked());

    window.reset();
    window = std::make_unique<StageProjectWindow>(prompter, QON_STAGE_EDITOR_HELP_DIR, &settings);
    EXPECT_EQ(window->surface()->shownZoom(), 3);
    EXPECT_TRUE(action("Zoom3")->isChecked());
    action("ZoomOut")->trigger();
    EXPECT_EQ(window->surface()->shownZoom(), 2);
}

TEST_F(StageProjectWindowTest, AltClickPicksAKindAndRightClickPaintsIt) {
    newProjectThroughDialog("1");
    window->cmdSBlockS_Click(6);  // code 107, the magnet
    paint(2, 2);
    window->cmdBlock_Click(0);
    QTest::mouseClick(window->surface(), Qt::LeftButton, Qt::AltModifier,
                      QPoint(CellCentreX(2), CellCentreY(2)));
    EXPECT_EQ(window->document().state().SelectedKind, Kind::Magnet);
    EXPECT_TRUE(paletteButton("cmdSBlockS", 6)->isChecked());
    EXPECT_FALSE(window->findChild<QLabel*>("picParet")->pixmap().isNull());

    QTest::mousePress(window->surface(), Qt::RightButton, {},
                      QPoint(CellCentreX(5), CellCentreY(5)));
    QTest::mouseRelease(window->surface(), Qt::RightButton, {},
                        QPoint(CellCentreX(5), CellCentreY(5)));
    EXPECT_EQ(window->document().kindAt(5, 5), Kind::Magnet);
}

TEST_F(StageProjectWindowTest, ToolButtonsFillRectanglesAndRegions) {
    newProjectThroughDialog("1");
    QTest::mouseClick(paletteButton("cmdBlock", 8), Qt::LeftButton);
    QTest::mouseClick(window->findChild<QToolButton*>("toolToolRectangle"), Qt::LeftButton);
    EXPECT_EQ(window->document().tool(), PaintTool::Rectangle);
    press(CellCentreX(1), CellCentreY(1));
    move(CellCentreX(3), CellCentreY(2), Qt::LeftButton);
    release(CellCentreX(3), CellCentreY(2));
    for (int column = 1; column <= 3; ++column)
        for (int row = 1; row <= 2; ++row)
            EXPECT_EQ(window->document().kindAt(column, row), Kind::kUnbreakable);

    QTest::mouseClick(window->findChild<QToolButton*>("toolToolFill"), Qt::LeftButton);
    QTest::mouseClick(paletteButton("cmdBlock", 2), Qt::LeftButton);
    paint(2, 1);  // fills the rectangle, which is one region of unbreakable blocks
    EXPECT_EQ(window->document().kindAt(1, 1), 2);
    EXPECT_EQ(window->document().kindAt(3, 2), 2);
    EXPECT_EQ(window->document().kindAt(4, 2), Kind::kEmpty);

    action("ToolEyedropper")->trigger();
    paint(9, 9);  // an empty cell
    EXPECT_EQ(window->document().state().SelectedKind, Kind::kEmpty);
    EXPECT_TRUE(window->findChild<PaletteButton*>("cmdCrea")->isChecked());
    EXPECT_TRUE(action("ToolFill")->isChecked());  // back to the tool before
}

TEST_F(StageProjectWindowTest, F5SavesFirstThenStartsTheGameOnTheEditedStage) {
    ScratchFolder dir;
    QFile game(QString::fromStdString(dir.file("qon")));
    ASSERT_TRUE(game.open(QIODevice::WriteOnly));
    game.write("#!/bin/sh\n");
    game.close();
    game.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QStringList launched;
    window->commands().setGameSearchPath({QString::fromStdString(dir.path())});
    window->commands().setLauncher(
        [&](const QString& program, const QStringList& arguments, const QString&) {
            launched << program << arguments;
            return true;
        });
    newProjectThroughDialog("3");
    action("NextStage")->trigger();
    prompter.saveFirstAnswers = {true};
    prompter.fileAnswers.push_back(QString::fromStdString(dir.file("Try.stp")));
    action("TestPlay")->trigger();  // F5
    EXPECT_EQ(prompter.saveFirstTexts.size(), 1);
    EXPECT_EQ(launched, (QStringList{QString::fromStdString(dir.file("qon")), "--play",
                                     QString::fromStdString(dir.file("Try.stp")), "--stage", "2"}));
    EXPECT_FALSE(window->isWindowModified());
}

TEST_F(StageProjectWindowTest, RecentFilesMenuReopensASavedProject) {
    ScratchFolder dir;
    newProjectThroughDialog("2");
    prompter.fileAnswers.push_back(QString::fromStdString(dir.file("Kept.stp")));
    ASSERT_TRUE(window->Save_Click());
    newProjectThroughDialog("4");
    auto* recent = window->findChild<QMenu*>("RecentFiles");
    ASSERT_NE(recent, nullptr);
    emit recent->aboutToShow();
    QList<QAction*> entries = recent->actions();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0]->text(), "&1 " + QString::fromStdString(dir.file("Kept.stp")));
    entries[0]->trigger();
    EXPECT_EQ(window->document().state().StageCount, 2);
    EXPECT_EQ(window->document().state().ProjectPath, dir.file("Kept.stp"));
}

TEST_F(StageProjectWindowTest, EmptyFieldWarningComesWithTheWarningIcon) {
    window->NewFile_Click();
    window->frmDia()->texStaff->clear();
    QTest::mouseClick(window->frmDia()->OKButton, Qt::LeftButton);
    EXPECT_EQ(prompter.messages, QStringList{"何も入力されていない項目があります。"});
    EXPECT_EQ(prompter.titles, QStringList{"新規作成"});
    EXPECT_EQ(prompter.messageKinds, QList{Prompter::MessageKind::Warning});
}

TEST(StageProjectWindowHelp, MissingHelpPageIsReported) {
    ScriptedPrompter prompter;
    ScratchFolder dir;
    EditorSettings settings(QString::fromStdString(dir.file("tessel.ini")));
    StageProjectWindow window(prompter, dir.file(""), &settings);
    window.HelpOpen_Click();
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].contains("Tessel.html"));
}

}  // namespace
}  // namespace qon::stage_editor
