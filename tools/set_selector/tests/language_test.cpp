// SPDX-License-Identifier: MIT
// Sorrel in Japanese (LANG unset, C or ja_JP) and in English (en_US).
#include "qon/tools_common/testing/language.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>

#include "qon/data/text.h"
#include "qon/set_selector/selection_lists_window.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::set_selector {
namespace {

using test_support::RowName;
using test_support::WriteBytes;
using tools_common::ScriptedPrompter;
using tools_common::testing::InLocale;
using tools_common::testing::LanguageScope;
using tools_common::testing::ShownText;

QON_PRINT_ROWS_BY_NAME

struct SorrelTextsRow {
    const char* name;
    const char* locale = "C";
    const char* stagesLabel = "";
    const char* addStage = "";     // the cmdStageApp button
    const char* removeMusic = "";  // the Command3 button
    const char* addCaption = "";   // of the dialog that adds a stage project
    const char* addFilter = "";
    const char* missingEntry = "";    // a listed file that is gone
    const char* wrongKindEntry = "";  // a graphic set in the stage list
};

class SorrelTexts : public ::testing::TestWithParam<SorrelTextsRow> {};

TEST_P(SorrelTexts, AreInTheLocalesLanguage) {
    const SorrelTextsRow& row = GetParam();
    const LanguageScope language(row.locale);
    test_support::ScratchFolder folder;
    WriteLinesAtomic(folder.file("Blue.bgp"), {"Blue"});
    WriteBytes(folder.file("StageSet.sel"),
               "2\r\n/moved/Easy.stp\r\n" + folder.file("Blue.bgp") + "\r\n");
    WriteBytes(folder.file("BitMapSet.sel"), "0\r\n");
    WriteBytes(folder.file("MusicSet.sel"), "0\r\n");
    ScriptedPrompter prompter;
    SelectionListsWindow window(folder.path(), prompter);
    window.Form_Load();
    EXPECT_TRUE(prompter.messages.isEmpty());

    EXPECT_EQ(ShownText(window.findChild<QObject*>(QStringLiteral("labStage"))),
              QString::fromUtf8(row.stagesLabel));
    EXPECT_EQ(ShownText(window.findChild<QPushButton*>(QStringLiteral("cmdStageApp"))),
              QString::fromUtf8(row.addStage));
    EXPECT_EQ(ShownText(window.findChild<QPushButton*>(QStringLiteral("Command3"))),
              QString::fromUtf8(row.removeMusic));

    auto* stages = window.findChild<QListWidget*>(QStringLiteral("lisSelectStage"));
    ASSERT_NE(stages, nullptr);
    ASSERT_EQ(stages->count(), 2);
    EXPECT_TRUE(stages->item(0)->toolTip().startsWith(QString::fromUtf8(row.missingEntry)))
        << stages->item(0)->toolTip().toStdString();
    EXPECT_TRUE(stages->item(1)->toolTip().startsWith(QString::fromUtf8(row.wrongKindEntry)))
        << stages->item(1)->toolTip().toStdString();

    window.cmdStageApp_Click();  // cancelled
    EXPECT_EQ(prompter.dialogCaptions, QStringList{QString::fromUtf8(row.addCaption)});
    EXPECT_EQ(prompter.dialogFilters, QStringList{QString::fromUtf8(row.addFilter)});
}

const SorrelTextsRow kJapanese{
    .name = "",
    .stagesLabel = "登録されているステージ",
    .addStage = "ステージ追加",
    .removeMusic = "ミュージック削除",
    .addCaption = "ステージの追加",
    .addFilter = "ステージプロジェクト (*.stp)",
    .missingEntry = "ファイルが見つかりません。",
    .wrongKindEntry = "拡張子が .stp ではありません。グラフィックセットのファイルのようです。"};

const SorrelTextsRow kSorrelTexts[] = {
    InLocale(kJapanese, "JapaneseUnderC", "C"),
    InLocale(kJapanese, "JapaneseUnderJaJp", "ja_JP"),
    {.name = "EnglishUnderEnUs",
     .locale = "en_US",
     .stagesLabel = "Listed stages",
     .addStage = "Add",
     .removeMusic = "Remove",
     .addCaption = "Add Stage",
     .addFilter = "Stage projects (*.stp)",
     .missingEntry = "The file cannot be found.",
     .wrongKindEntry = "The extension is not .stp. It seems to be a graphic set file."},
};
INSTANTIATE_TEST_SUITE_P(Languages, SorrelTexts, ::testing::ValuesIn(kSorrelTexts), RowName);

}  // namespace
}  // namespace qon::set_selector
