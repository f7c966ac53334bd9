// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
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
    window.findChild<QAction*>("FileVSave")->trigger();
    EXPECT_EQ(ReadBytes(folder.file("forest.msp")),
              Utf8ToCp932("森\r\nNew\r\nTitle.mid\r\n\r\n1\r\nb.mid\r\n").value());

    window.findChild<QAction*>("FileEnd")->trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(prompter.unsavedQuestions, 1);
}

}  // namespace
}  // namespace qon::music_set_creator
