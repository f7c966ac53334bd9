// SPDX-License-Identifier: MIT
// Pavane in Japanese (LANG unset, C or ja_JP) and in English (en_US).
#include "qon/tools_common/testing/language.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>

#include "qon/graphic_set_creator/graphic_set_commands.h"
#include "qon/graphic_set_creator/graphic_set_window.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::graphic_set_creator {
namespace {

using test_support::RowName;
using tools_common::ScriptedPrompter;
using tools_common::testing::InLocale;
using tools_common::testing::LanguageScope;
using tools_common::testing::ShownText;
using tools_common::testing::ShownTexts;

QON_PRINT_ROWS_BY_NAME

struct PavaneTextsRow {
    const char* name;
    const char* locale = "C";
    const char* fileMenu = "";
    const char* newFile = "";  // the NewFile menu item
    const char* saveAs = "";   // the Save menu item
    const char* browse = "";   // the buttons under each group
    const char* group = "";    // the normal blocks' group
    const char* nameLabel = "";
    const char* slot = "";  // the first slot's caption
    const char* openCaption = "";
    const char* openFilter = "";
    const char* missingSet = "";  // opening a set that is not there says this
};

class PavaneTexts : public ::testing::TestWithParam<PavaneTextsRow> {};

TEST_P(PavaneTexts, AreInTheLocalesLanguage) {
    const PavaneTextsRow& row = GetParam();
    const LanguageScope language(row.locale);
    test_support::ScratchFolder folder;
    ScriptedPrompter prompter;
    FileImageLoader loader;
    GraphicSetWindow window(prompter, loader);

    const QStringList shown = ShownTexts(window);
    EXPECT_TRUE(shown.contains(QString::fromUtf8(row.fileMenu))) << row.fileMenu;
    EXPECT_EQ(ShownText(window.findChild<QAction*>(QStringLiteral("NewFile"))),
              QString::fromUtf8(row.newFile));
    EXPECT_EQ(ShownText(window.findChild<QAction*>(QStringLiteral("Save"))),
              QString::fromUtf8(row.saveAs));
    EXPECT_EQ(ShownText(window.findChild<QObject*>(QStringLiteral("Command1"))),
              QString::fromUtf8(row.browse));
    EXPECT_TRUE(shown.contains(QString::fromUtf8(row.group))) << row.group;
    EXPECT_TRUE(shown.contains(QString::fromUtf8(row.nameLabel))) << row.nameLabel;
    EXPECT_TRUE(shown.contains(QString::fromUtf8(row.slot))) << row.slot;

    window.findChild<QAction*>(QStringLiteral("OpenF"))->trigger();  // cancelled
    EXPECT_EQ(prompter.dialogCaptions, QStringList{QString::fromUtf8(row.openCaption)});
    EXPECT_EQ(prompter.dialogFilters, QStringList{QString::fromUtf8(row.openFilter)});

    window.openAtStart(QString::fromStdString(folder.file("Gone.bgp")));
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages.front().startsWith(QString::fromUtf8(row.missingSet)))
        << prompter.messages.front().toStdString();
    // Every box carries the window's own title, which is the same in both languages.
    EXPECT_EQ(prompter.titles, QStringList{window.windowTitle()});
}

const PavaneTextsRow kJapanese{.name = "",
                               .fileMenu = "ファイル(&F)",
                               .newFile = "新規作成(&N)",
                               .saveAs = "名前を付けて保存(&S)",
                               .browse = "参照",
                               .group = "通常ブロックのグラフィック",
                               .nameLabel = "グラフィックセット名：",
                               .slot = "ブロック1",
                               .openCaption = "グラフィックセットを開く",
                               .openFilter = "QONグラフィックプロジェクト/*.bgp (*.bgp)",
                               .missingSet = "グラフィックセット "};

const PavaneTextsRow kPavaneTexts[] = {
    InLocale(kJapanese, "JapaneseUnderC", "C"),
    InLocale(kJapanese, "JapaneseUnderJaJp", "ja_JP"),
    {.name = "EnglishUnderEnUs",
     .locale = "en_US",
     .fileMenu = "&File",
     .newFile = "&New",
     .saveAs = "Save &As",
     .browse = "Browse",
     .group = "Normal block graphics",
     .nameLabel = "Graphic set name:",
     .slot = "Block 1",
     .openCaption = "Open Graphic Set",
     .openFilter = "QON graphic project/*.bgp (*.bgp)",
     .missingSet = "The graphic set "},
};
INSTANTIATE_TEST_SUITE_P(Languages, PavaneTexts, ::testing::ValuesIn(kPavaneTexts), RowName);

// The data library names the slots; the tool shows every one of them translated.
TEST(PavaneSlotLabels, AreAllTranslatedIntoEnglish) {
    const LanguageScope english("en_US");
    for (int slot = 0; slot < kBitmapSlots; ++slot) {
        const std::string japanese(BitmapSlotLabel(slot));
        EXPECT_NE(SlotLabel(slot), QString::fromStdString(japanese)) << japanese;
    }
}

}  // namespace
}  // namespace qon::graphic_set_creator
