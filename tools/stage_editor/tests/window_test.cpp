// SPDX-License-Identifier: MIT
// The main window under QT_QPA_PLATFORM=offscreen: its elements, a painted grid as
// the author sees it, and the file commands answered by a scripted prompter.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

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
        window = std::make_unique<StageProjectWindow>(prompter, QON_STAGE_EDITOR_HELP_DIR);
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
    EXPECT_EQ(statusText(), "X=6,Y=5,Type=103");
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
    EXPECT_EQ(statusText(), "X=2,Y=3,Type=255");
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

TEST(StageProjectWindowHelp, MissingHelpPageIsReported) {
    ScriptedPrompter prompter;
    ScratchFolder dir;
    StageProjectWindow window(prompter, dir.file(""));
    window.HelpOpen_Click();
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].contains("Tessel.html"));
}

}  // namespace
}  // namespace qon::stage_editor
