// SPDX-License-Identifier: MIT
// Smoke test of the window under the offscreen platform.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>

#include "qon/graphic_set_creator/graphic_set_window.h"
#include "qon/tools_common/testing/qt_application.h"
#include "slot_bitmaps.h"

// Fontconfig keeps its caches until exit; under LeakSanitizer that is not our leak.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so";
}

namespace qon::graphic_set_creator {
namespace {

using test::WriteFittingBitmap;
using test_support::ScratchFolder;
using tools_common::ScriptedPrompter;
using tools_common::toQ;

[[maybe_unused]] const auto* const kQtApplication = ::testing::AddGlobalTestEnvironment(
    new tools_common::testing::HeadlessQtApplication("qon_graphic_set_creator_widgets_tests"));

TEST(GraphicSetWindowSmoke, ShowsTheElementsAndPicksAGroup) {
    ScratchFolder folder;
    ScriptedPrompter prompter;
    FileImageLoader loader;
    GraphicSetWindow window(prompter, loader);
    window.show();

    EXPECT_EQ(window.windowTitle(), QStringLiteral("QONPavane"));
    const QList<QLabel*> blocks = window.findChildren<QLabel*>(QStringLiteral("picBlock"));
    EXPECT_EQ(blocks.size(), 9);
    EXPECT_EQ(window.findChildren<QLabel*>(QStringLiteral("picSBlock")).size(), 11);
    EXPECT_EQ(window.findChildren<QLabel*>(QStringLiteral("picPartu")).size(), 3);
    for (const char* name : {"NewFile", "OpenF", "Save", "VSave", "EndF"}) {
        EXPECT_NE(window.findChild<QAction*>(QString::fromLatin1(name)), nullptr) << name;
    }
    auto* setName = window.findChild<QLineEdit*>(QStringLiteral("texGraName"));
    auto* staff = window.findChild<QLineEdit*>(QStringLiteral("texStaff"));
    ASSERT_NE(setName, nullptr);
    ASSERT_NE(staff, nullptr);
    EXPECT_EQ(setName->text(), QStringLiteral("New"));
    EXPECT_EQ(staff->text(), QStringLiteral("New"));

    for (int slot = 0; slot < kBlockSlots; ++slot) {
        prompter.fileAnswers.push_back(toQ(WriteFittingBitmap(folder, slot)));
    }
    auto* browse = window.findChild<QPushButton*>(QStringLiteral("Command1"));
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(browse->text(), QStringLiteral("参照"));
    // Behind each dialog of the run, the bitmaps picked so far already show.
    QList<int> shownAtEachDialog;
    prompter.beforeEachDialog = [&] {
        int shown = 0;
        for (QLabel* preview : blocks) shown += preview->pixmap().isNull() ? 0 : 1;
        shownAtEachDialog << shown;
    };
    browse->click();
    prompter.beforeEachDialog = nullptr;
    EXPECT_EQ(shownAtEachDialog, (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));

    EXPECT_EQ(prompter.dialogFilters.size(), 9);
    for (QLabel* preview : blocks) {
        EXPECT_FALSE(preview->pixmap().isNull()) << preview->property("index").toInt();
        EXPECT_EQ(preview->pixmap().size(), QSize(53, 15));
    }
    EXPECT_FALSE(window.grab().isNull());

    // Typing a name is an unsaved change: closing asks, and Cancel keeps the window.
    setName->setText(QStringLiteral("Mine"));
    emit setName->textEdited(setName->text());
    EXPECT_EQ(window.document().setName(), "Mine");
    EXPECT_FALSE(window.close());
    EXPECT_EQ(prompter.unsavedQuestions, 1);
    EXPECT_TRUE(window.isVisible());

    prompter.unsavedAnswers.push_back(tools_common::Prompter::Answer::Discard);
    EXPECT_TRUE(window.close());
}

TEST(GraphicSetWindowSmoke, RecentFilesMenuReopensASavedSetAndTheCommandLineOpensOne) {
    ScratchFolder folder;
    QSettings settings(toQ(folder.file("Pavane.ini")), QSettings::IniFormat);
    ScriptedPrompter prompter;
    FileImageLoader loader;
    const std::string setPath = folder.file("Mine.bgp");
    {
        GraphicSetWindow window(prompter, loader, &settings);
        for (int slot = 0; slot < kBitmapSlots; ++slot) {
            prompter.fileAnswers.push_back(toQ(WriteFittingBitmap(folder, slot)));
        }
        for (const char* button : {"Command1", "Command2", "Command3"}) {
            window.findChild<QPushButton*>(QString::fromLatin1(button))->click();
        }
        auto* menu = window.findChild<QMenu*>(QStringLiteral("RecentFiles"));
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->title(), QStringLiteral("最近使ったファイル(&R)"));
        prompter.fileAnswers.push_back(toQ(setPath));
        window.findChild<QAction*>(QStringLiteral("Save"))->trigger();
        ASSERT_TRUE(window.document().fileOpened());
        window.findChild<QAction*>(QStringLiteral("NewFile"))->trigger();
        EXPECT_EQ(window.findChild<QLineEdit*>(QStringLiteral("texGraName"))->text(), "New");

        emit menu->aboutToShow();
        auto* first = window.findChild<QAction*>(QStringLiteral("RecentFile1"));
        ASSERT_NE(first, nullptr);
        EXPECT_TRUE(first->text().contains(QStringLiteral("Mine.bgp")));
        first->trigger();
        EXPECT_EQ(window.document().currentFile(), setPath);
        for (QLabel* preview : window.findChildren<QLabel*>(QStringLiteral("picPartu"))) {
            EXPECT_FALSE(preview->pixmap().isNull());
        }
    }
    // The list outlives the window; a new window opens a file given at start.
    GraphicSetWindow again(prompter, loader, &settings);
    auto* menu = again.findChild<QMenu*>(QStringLiteral("RecentFiles"));
    emit menu->aboutToShow();
    EXPECT_NE(again.findChild<QAction*>(QStringLiteral("RecentFile1")), nullptr);
    again.openAtStart(toQ(setPath));
    EXPECT_TRUE(again.document().fileOpened());
    EXPECT_EQ(again.document().blockFile(0), "s0.bmp");
}

}  // namespace
}  // namespace qon::graphic_set_creator
