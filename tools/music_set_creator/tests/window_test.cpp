// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <memory>

#include "qon/data/text.h"
#include "qon/music_set_creator/music_set_window.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/scratch_folder.h"
#include "qon/tools_common/testing/qt_application.h"

namespace qon::music_set_creator {
namespace {

using test_support::ReadBytes;
using test_support::ScratchFolder;

[[maybe_unused]] const auto* const kQtApplication = ::testing::AddGlobalTestEnvironment(
    new tools_common::testing::HeadlessQtApplication("qon_music_set_creator_widgets_tests"));

// Types text as a user would, so the box reports an edit.
void type(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(box, &press);
}

TEST(MusicSetWindow, BuildsASetFromClicksAndTypingAndSavesIt) {
    ScratchFolder folder;
    tools_common::ScriptedPrompter prompter;
    MusicSetWindow window(prompter);
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("QONOrvinth"));
    auto* name = window.findChild<QLineEdit*>("texName");
    auto* list = window.findChild<QListWidget*>("lisMusicData");
    ASSERT_NE(name, nullptr);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(name->text(), QStringLiteral("New"));

    prompter.fileAnswers = {QStringLiteral("/m/Title.mid"), QStringLiteral("/m/a.mid"),
                            QStringLiteral("/m/b.mid")};
    window.findChild<QPushButton*>("cmdTitle")->click();
    window.findChild<QPushButton*>("cmdComon")->click();
    window.findChild<QPushButton*>("cmdComon")->click();
    EXPECT_EQ(window.findChild<QLineEdit*>("texTitle")->text(), QStringLiteral("/m/Title.mid"));
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentRow(), 1) << "the added track is selected";
    list->setCurrentRow(0);
    // A double click on the button removes the one track chosen.
    window.findChild<QPushButton*>("cmdDel")->click();
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_EQ(window.document().selectedStageTrack(), -1);
    window.findChild<QPushButton*>("cmdDel")->click();
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("/m/b.mid"));

    type(name, QStringLiteral("森"));
    EXPECT_EQ(window.document().setName(), "森");

    // The window does not close while the changes are unsaved and the user cancels.
    prompter.unsavedAnswers = {tools_common::Prompter::Answer::Cancel};
    EXPECT_FALSE(window.close());

    prompter.fileAnswers = {tools_common::toQ(folder.file("forest.msp"))};
    prompter.choiceAnswers = {tools_common::Prompter::Choice::No};  // the tracks stay in /m
    window.findChild<QAction*>("FileVSave")->trigger();
    EXPECT_EQ(ReadBytes(folder.file("forest.msp")),
              Utf8ToCp932("森\r\nNew\r\nTitle.mid\r\n\r\n1\r\nb.mid\r\n").value());

    window.findChild<QAction*>("FileEnd")->trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(prompter.unsavedQuestions, 1);
}

QStringList itemTexts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
}

TEST(MusicSetWindow, ReordersStageTracksWithButtonsDragAndTheDeleteKey) {
    ScratchFolder folder;
    tools_common::ScriptedPrompter prompter;
    MusicSetWindow window(prompter);
    window.show();
    auto* list = window.findChild<QListWidget*>("lisMusicData");
    auto* up = window.findChild<QPushButton*>("cmdUp");
    auto* down = window.findChild<QPushButton*>("cmdDown");
    ASSERT_NE(up, nullptr);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(up->text(), QStringLiteral("上へ"));
    EXPECT_EQ(down->text(), QStringLiteral("下へ"));
    prompter.fileAnswers = {QStringLiteral("/m/a.mid"), QStringLiteral("/m/b.mid"),
                            QStringLiteral("/m/c.mid"), QStringLiteral("/m/d.mid")};
    for (int i = 0; i < 4; ++i) window.findChild<QPushButton*>("cmdComon")->click();
    // The track just added is selected: it is last and cannot go down.
    EXPECT_EQ(list->currentRow(), 3);
    EXPECT_TRUE(up->isEnabled());
    EXPECT_FALSE(down->isEnabled());

    up->click();
    up->click();
    EXPECT_EQ(itemTexts(list), (QStringList{"/m/a.mid", "/m/d.mid", "/m/b.mid", "/m/c.mid"}));
    EXPECT_EQ(list->currentRow(), 1);
    down->click();
    EXPECT_EQ(itemTexts(list), (QStringList{"/m/a.mid", "/m/b.mid", "/m/d.mid", "/m/c.mid"}));

    // A drop moves the row in the list's model; the document follows.
    ASSERT_TRUE(list->model()->moveRow(QModelIndex(), 3, QModelIndex(), 0));
    EXPECT_EQ(window.document().stageTracks(),
              (std::vector<std::string>{"/m/c.mid", "/m/a.mid", "/m/b.mid", "/m/d.mid"}));
    ASSERT_TRUE(list->model()->moveRow(QModelIndex(), 0, QModelIndex(), 4));
    EXPECT_EQ(window.document().stageTracks(),
              (std::vector<std::string>{"/m/a.mid", "/m/b.mid", "/m/d.mid", "/m/c.mid"}));

    list->setFocus();
    list->setCurrentRow(0);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(list, &del);
    EXPECT_EQ(window.document().stageTracks(),
              (std::vector<std::string>{"/m/b.mid", "/m/d.mid", "/m/c.mid"}));

    // The list order is what is saved, as the play order.
    prompter.fileAnswers = {tools_common::toQ(folder.file("order.msp"))};
    prompter.choiceAnswers = {tools_common::Prompter::Choice::No};
    window.findChild<QAction*>("FileSave")->trigger();
    EXPECT_EQ(ReadBytes(folder.file("order.msp")),
              "New\r\nNew\r\n\r\n\r\n3\r\nb.mid\r\nd.mid\r\nc.mid\r\n");
}

TEST(MusicSetWindow, RecentFilesMenuReopensASetAndTheCommandLineOpensOne) {
    ScratchFolder folder;
    QSettings settings(tools_common::toQ(folder.file("Orvinth.ini")), QSettings::IniFormat);
    tools_common::ScriptedPrompter prompter;
    const std::string setPath = folder.file("Spring.msp");
    {
        MusicSetWindow window(prompter, &settings);
        prompter.fileAnswers = {tools_common::toQ(folder.file("a.mid")),
                                tools_common::toQ(setPath)};
        window.findChild<QPushButton*>("cmdComon")->click();
        window.findChild<QAction*>("FileSave")->trigger();
        ASSERT_TRUE(window.document().fileOpened());
        window.findChild<QAction*>("NewFile")->trigger();
        EXPECT_EQ(window.findChild<QListWidget*>("lisMusicData")->count(), 0);

        auto* menu = window.findChild<QMenu*>("RecentFiles");
        ASSERT_NE(menu, nullptr);
        emit menu->aboutToShow();
        auto* first = window.findChild<QAction*>("RecentFile1");
        ASSERT_NE(first, nullptr);
        first->trigger();
        EXPECT_EQ(window.findChild<QListWidget*>("lisMusicData")->count(), 1);
        EXPECT_EQ(window.document().currentFile(), setPath);
    }
    MusicSetWindow again(prompter, &settings);
    again.openAtStart(tools_common::toQ(setPath));
    EXPECT_EQ(again.findChild<QListWidget*>("lisMusicData")->item(0)->text(),
              tools_common::toQ(folder.file("a.mid")));
}

}  // namespace
}  // namespace qon::music_set_creator
