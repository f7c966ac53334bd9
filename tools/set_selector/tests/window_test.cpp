// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "qon/data/text.h"
#include "qon/set_selector/selection_lists_window.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/scratch_folder.h"
#include "qon/tools_common/testing/qt_application.h"

namespace qon::set_selector {
namespace {

using test_support::ReadBytes;
using test_support::ScratchFolder;
using test_support::WriteBytes;

[[maybe_unused]] const auto* const kQtApplication = ::testing::AddGlobalTestEnvironment(
    new tools_common::testing::HeadlessQtApplication("qon_set_selector_widgets_tests"));

TEST(SelectionListsWindow, ClicksEditTheListsAndClosingWritesThem) {
    ScratchFolder folder;
    WriteLinesAtomic(folder.file("Hard.stp"), {"むずかしい", "5", "作者"});
    WriteLinesAtomic(folder.file("Blue.bgp"), {"Blue"});
    WriteBytes(folder.file("StageSet.sel"), "3\r\n" + folder.file("Hard.stp") +
                                                "\r\n/moved/Easy.stp\r\n" +
                                                folder.file("Blue.bgp") + "\r\n");
    WriteBytes(folder.file("BitMapSet.sel"), "0\r\n");
    WriteBytes(folder.file("MusicSet.sel"), "0\r\n");

    tools_common::ScriptedPrompter prompter;
    SelectionListsWindow window(folder.path(), prompter);
    window.Form_Load();
    window.show();
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("QONSelecter"));
    EXPECT_EQ(window.size(), QSize(700, 383));

    auto* stages = window.findChild<QListWidget*>("lisSelectStage");
    auto* music = window.findChild<QListWidget*>("lisMusicData");
    ASSERT_NE(stages, nullptr);
    ASSERT_NE(music, nullptr);
    ASSERT_EQ(stages->count(), 3);
    // The path is the item's text; the display name and the state are shown beside it.
    EXPECT_EQ(stages->item(0)->text(), tools_common::toQ(folder.file("Hard.stp")));
    EXPECT_EQ(stages->item(0)->data(kDisplayNameRole).toString(), QStringLiteral("むずかしい"));
    EXPECT_EQ(stages->item(0)->data(kEntryStateRole).toInt(),
              static_cast<int>(EntryInfo::State::Fits));
    EXPECT_TRUE(stages->item(0)->toolTip().contains(QStringLiteral("むずかしい")));
    EXPECT_EQ(stages->item(1)->data(kEntryStateRole).toInt(),
              static_cast<int>(EntryInfo::State::Missing));
    EXPECT_TRUE(stages->item(1)->toolTip().contains(QStringLiteral("ファイルが見つかりません")));
    EXPECT_EQ(stages->item(2)->data(kEntryStateRole).toInt(),
              static_cast<int>(EntryInfo::State::WrongKind));
    EXPECT_TRUE(
        stages->item(2)->toolTip().contains(QStringLiteral("拡張子が .stp ではありません")));
    EXPECT_FALSE(window.grab().isNull());
    EXPECT_EQ(window.findChild<QLabel*>("Label2")->text(),
              QStringLiteral("登録されているミュージックセット"));

    prompter.fileAnswers = {QStringLiteral("/m/Song.msp")};
    window.findChild<QPushButton*>("Command4")->click();
    ASSERT_EQ(music->count(), 1);
    EXPECT_EQ(music->item(0)->text(), QStringLiteral("/m/Song.msp"));

    window.findChild<QPushButton*>("cmdDel")->click();  // nothing selected
    EXPECT_EQ(stages->count(), 3);
    stages->item(1)->setSelected(true);
    window.findChild<QPushButton*>("cmdDel")->click();
    EXPECT_EQ(stages->count(), 2);

    // Only the paths are written: the display names are shown, never stored.
    EXPECT_TRUE(window.close());
    EXPECT_EQ(ReadBytes(folder.file("StageSet.sel")),
              "2\r\n" + folder.file("Hard.stp") + "\r\n" + folder.file("Blue.bgp") + "\r\n");
    EXPECT_EQ(ReadBytes(folder.file("MusicSet.sel")), "1\r\n/m/Song.msp\r\n");
}

// A double click on a delete button removes one entry: the delete selects nothing, neither
// in the document nor in the list box.
TEST(SelectionListsWindow, DoubleClickOnDeleteRemovesOneEntry) {
    ScratchFolder folder;
    WriteBytes(folder.file("StageSet.sel"), "3\r\n/s/A.stp\r\n/s/B.stp\r\n/s/C.stp\r\n");
    WriteBytes(folder.file("BitMapSet.sel"), "2\r\n/g/A.bgp\r\n/g/B.bgp\r\n");
    WriteBytes(folder.file("MusicSet.sel"), "0\r\n");
    tools_common::ScriptedPrompter prompter;
    SelectionListsWindow window(folder.path(), prompter);
    window.Form_Load();
    window.show();
    for (const auto& [listName, buttonName] :
         {std::pair{"lisSelectStage", "cmdDel"}, std::pair{"lisBitMap", "Command2"}}) {
        SCOPED_TRACE(listName);
        auto* list = window.findChild<QListWidget*>(listName);
        auto* del = window.findChild<QPushButton*>(buttonName);
        ASSERT_NE(list, nullptr);
        list->setCurrentRow(0);  // as a click on it does: current and selected
        const int before = list->count();
        del->click();
        EXPECT_TRUE(list->selectedItems().isEmpty());
        del->click();
        EXPECT_EQ(list->count(), before - 1) << "the second click removed another entry";
    }
    EXPECT_EQ(window.document().entries(SetKind::Stage),
              (std::vector<std::string>{"/s/B.stp", "/s/C.stp"}));
    EXPECT_EQ(window.document().entries(SetKind::BitMap), std::vector<std::string>{"/g/B.bgp"});
}

TEST(SelectionListsWindow, LockedListDisablesItsButtons) {
    ScratchFolder folder;
    WriteBytes(folder.file("StageSet.sel"), "oops\r\n");
    tools_common::ScriptedPrompter prompter;
    SelectionListsWindow window(folder.path(), prompter);
    window.Form_Load();
    EXPECT_EQ(prompter.messages.size(), 1);
    EXPECT_FALSE(window.findChild<QPushButton*>("cmdStageApp")->isEnabled());
    EXPECT_FALSE(window.findChild<QPushButton*>("cmdDel")->isEnabled());
    EXPECT_TRUE(window.findChild<QPushButton*>("Command1")->isEnabled());
    EXPECT_TRUE(window.close());
    EXPECT_EQ(ReadBytes(folder.file("StageSet.sel")), "oops\r\n");
}

}  // namespace
}  // namespace qon::set_selector

namespace qon::set_selector {
namespace {

TEST(SelectionListsWindow, SaysWhereTheListsAreKept) {
    ScratchFolder scratch;
    GameFolders folders;
    folders.game = scratch.folder("usr/share/qon");
    folders.user = scratch.path() + "home/.local/share/qon/";
    folders.listsInUser = true;
    tools_common::ScriptedPrompter prompter;
    SelectionListsWindow window(folders, prompter);
    auto* label = window.findChild<QLabel*>("labListFolder");
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->text().startsWith(QStringLiteral("リストの場所: ")));
    EXPECT_EQ(label->toolTip(), tools_common::toQ(folders.user));
    EXPECT_LE(label->geometry().right(), 700);
}

}  // namespace
}  // namespace qon::set_selector
