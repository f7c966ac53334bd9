// SPDX-License-Identifier: MIT
// Orvinth in Japanese (LANG unset, C or ja_JP) and in English (en_US).
#include "qon/tools_common/testing/language.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPushButton>

#include "qon/music_set_creator/music_set_window.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::music_set_creator {
namespace {

using test_support::RowName;
using tools_common::ScriptedPrompter;
using tools_common::testing::InLocale;
using tools_common::testing::LanguageScope;
using tools_common::testing::ShownText;
using tools_common::testing::ShownTexts;

QON_PRINT_ROWS_BY_NAME

struct OrvinthTextsRow {
    const char* name;
    const char* locale = "C";
    const char* fileMenu = "";
    const char* saveAs = "";  // the FileSave menu item
    const char* exit = "";    // the FileEnd menu item
    const char* remove = "";  // the cmdDel button
    const char* up = "";      // the cmdUp button
    const char* upTip = "";
    const char* titleTrack = "";  // the label of the title music, also the MIDI dialog's caption
    const char* nameLabel = "";
    const char* newSet = "";  // what the file label shows for a new set
    const char* midiFilter = "";
    const char* setFilter = "";
    const char* missingSet = "";  // opening a set that is not there says this
};

class OrvinthTexts : public ::testing::TestWithParam<OrvinthTextsRow> {};

TEST_P(OrvinthTexts, AreInTheLocalesLanguage) {
    const OrvinthTextsRow& row = GetParam();
    const LanguageScope language(row.locale);
    test_support::ScratchFolder folder;
    ScriptedPrompter prompter;
    MusicSetWindow window(prompter);

    const QStringList shown = ShownTexts(window);
    EXPECT_TRUE(shown.contains(QString::fromUtf8(row.fileMenu))) << row.fileMenu;
    EXPECT_EQ(ShownText(window.findChild<QAction*>(QStringLiteral("FileSave"))),
              QString::fromUtf8(row.saveAs));
    EXPECT_EQ(ShownText(window.findChild<QAction*>(QStringLiteral("FileEnd"))),
              QString::fromUtf8(row.exit));
    EXPECT_EQ(ShownText(window.findChild<QPushButton*>(QStringLiteral("cmdDel"))),
              QString::fromUtf8(row.remove));
    auto* up = window.findChild<QPushButton*>(QStringLiteral("cmdUp"));
    ASSERT_NE(up, nullptr);
    EXPECT_EQ(up->text(), QString::fromUtf8(row.up));
    EXPECT_EQ(up->toolTip(), QString::fromUtf8(row.upTip));
    EXPECT_TRUE(shown.contains(QString::fromUtf8(row.titleTrack))) << row.titleTrack;
    EXPECT_TRUE(shown.contains(QString::fromUtf8(row.nameLabel))) << row.nameLabel;
    EXPECT_TRUE(shown.contains(QString::fromUtf8(row.newSet))) << row.newSet;

    window.cmdTitle_Click();                                            // cancelled
    window.findChild<QAction*>(QStringLiteral("FileOpen"))->trigger();  // cancelled
    EXPECT_EQ(prompter.dialogCaptions.value(0), QString::fromUtf8(row.titleTrack));
    EXPECT_EQ(prompter.dialogFilters,
              (QStringList{QString::fromUtf8(row.midiFilter), QString::fromUtf8(row.setFilter)}));

    window.openAtStart(QString::fromStdString(folder.file("Gone.msp")));
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages.front().startsWith(QString::fromUtf8(row.missingSet)))
        << prompter.messages.front().toStdString();
    EXPECT_EQ(prompter.titles, QStringList{window.windowTitle()});
}

const OrvinthTextsRow kJapanese{.name = "",
                                .fileMenu = "ファイル(&F)",
                                .saveAs = "名前を付けて保存(&S)",
                                .exit = "終了(&E)",
                                .remove = "リストから削除",
                                .up = "上へ",
                                .upTip = "選んだ曲を 1 つ前に流します",
                                .titleTrack = "タイトル表示時の曲",
                                .nameLabel = "ミュージックセット名：",
                                .newSet = "新しいミュージックセット",
                                .midiFilter = "MIDIファイル(*.mid)",
                                .setFilter = "ミュージックセット(*.msp)",
                                .missingSet = "ミュージックセット "};

const OrvinthTextsRow kOrvinthTexts[] = {
    InLocale(kJapanese, "JapaneseUnderC", "C"),
    InLocale(kJapanese, "JapaneseUnderJaJp", "ja_JP"),
    {.name = "EnglishUnderEnUs",
     .locale = "en_US",
     .fileMenu = "&File",
     .saveAs = "Save &As",
     .exit = "E&xit",
     .remove = "Remove from List",
     .up = "Up",
     .upTip = "Plays the chosen piece one place earlier",
     .titleTrack = "Title music",
     .nameLabel = "Music set name:",
     .newSet = "New music set",
     .midiFilter = "MIDI files (*.mid)",
     .setFilter = "Music sets (*.msp)",
     .missingSet = "The music set "},
};
INSTANTIATE_TEST_SUITE_P(Languages, OrvinthTexts, ::testing::ValuesIn(kOrvinthTexts), RowName);

}  // namespace
}  // namespace qon::music_set_creator
