// SPDX-License-Identifier: MIT
// Tessel in Japanese (LANG unset, C or ja_JP) and in English (en_US).
#include "qon/tools_common/testing/language.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include "qon/data/files.h"
#include "qon/stage_editor/editor_settings.h"
#include "qon/stage_editor/new_project_dialog.h"
#include "qon/stage_editor/stage_project_commands.h"
#include "qon/stage_editor/stage_project_window.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::stage_editor {
namespace {

using test_support::RowName;
using tools_common::ScriptedPrompter;
using tools_common::testing::InLocale;
using tools_common::testing::LanguageScope;
using tools_common::testing::ShownText;
using tools_common::testing::ShownTexts;

QON_PRINT_ROWS_BY_NAME

struct TesselTextsRow {
    const char* name;
    const char* locale = "C";
    const char* fileMenu = "";
    const char* saveAs = "";  // the Save menu item
    const char* pen = "";     // the ToolPen menu item, its tool tip and its button text
    const char* penTip = "";
    const char* penButton = "";
    const char* selectedLabel = "";  // labParet
    const char* eraserTip = "";      // the cmdCrea palette button
    const char* openCaption = "";
    const char* openFilter = "";
    const char* newDialog = "";   // the new project dialog's title
    const char* countLabel = "";  // one of its labels
    const char* emptyField = "";  // its warning about an empty field
    const char* title = "";       // the window's title once the project "S" by "Ann" is made
};

class TesselTexts : public ::testing::TestWithParam<TesselTextsRow> {};

TEST_P(TesselTexts, AreInTheLocalesLanguage) {
    const TesselTextsRow& row = GetParam();
    const LanguageScope language(row.locale);
    test_support::ScratchFolder folder;
    EditorSettings settings(QString::fromStdString(folder.file("tessel.ini")));
    ScriptedPrompter prompter;
    StageProjectWindow window(prompter, folder.path(), &settings);

    EXPECT_TRUE(ShownTexts(window).contains(QString::fromUtf8(row.fileMenu))) << row.fileMenu;
    EXPECT_EQ(ShownText(window.findChild<QAction*>(QStringLiteral("Save"))),
              QString::fromUtf8(row.saveAs));
    auto* pen = window.findChild<QAction*>(QStringLiteral("ToolPen"));
    ASSERT_NE(pen, nullptr);
    EXPECT_EQ(pen->text(), QString::fromUtf8(row.pen));
    EXPECT_EQ(pen->toolTip(), QString::fromUtf8(row.penTip));
    EXPECT_EQ(pen->iconText(), QString::fromUtf8(row.penButton));
    EXPECT_EQ(ShownText(window.findChild<QObject*>(QStringLiteral("labParet"))),
              QString::fromUtf8(row.selectedLabel));
    auto* eraser = window.findChild<QWidget*>(QStringLiteral("cmdCrea"));
    ASSERT_NE(eraser, nullptr);
    EXPECT_EQ(eraser->toolTip(), QString::fromUtf8(row.eraserTip));

    window.OpenFile_Click();  // cancelled
    EXPECT_EQ(prompter.dialogCaptions, QStringList{QString::fromUtf8(row.openCaption)});
    EXPECT_EQ(prompter.dialogFilters, QStringList{QString::fromUtf8(row.openFilter)});

    window.NewFile_Click();
    NewProjectDialog* dialog = window.frmDia();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(row.newDialog));
    EXPECT_TRUE(ShownTexts(*dialog).contains(QString::fromUtf8(row.countLabel)));
    dialog->texStaff->clear();
    QTest::mouseClick(dialog->OKButton, Qt::LeftButton);
    EXPECT_EQ(prompter.messages, QStringList{QString::fromUtf8(row.emptyField)});
    // The warning carries the title of the window it stands over: the dialog's.
    EXPECT_EQ(prompter.titles, QStringList{dialog->windowTitle()});

    dialog->texProjectName->setText(QStringLiteral("S"));
    dialog->texStaff->setText(QStringLiteral("Ann"));
    QTest::mouseClick(dialog->OKButton, Qt::LeftButton);
    // "[*]" is where Qt marks unsaved changes.
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8(row.title) + QStringLiteral("[*]"));
}

const TesselTextsRow kJapanese{.name = "",
                               .fileMenu = "ファイル(&F)",
                               .saveAs = "名前を付けて保存(&S)",
                               .pen = "ペン(&P)",
                               .penTip = "ペン (P)",
                               .penButton = "ペン",
                               .selectedLabel = "選択中のアイテム",
                               .eraserTip = "消しゴム：マスを空にする",
                               .openCaption = "開く",
                               .openFilter = "ステージプロジェクト (*.stp)",
                               .newDialog = "新規作成",
                               .countLabel = "ステージ数",
                               .emptyField = "何も入力されていない項目があります。",
                               .title = "QONCreater-S-製作者：Ann"};

const TesselTextsRow kTesselTexts[] = {
    InLocale(kJapanese, "JapaneseUnderC", "C"),
    InLocale(kJapanese, "JapaneseUnderJaJp", "ja_JP"),
    {.name = "EnglishUnderEnUs",
     .locale = "en_US",
     .fileMenu = "&File",
     .saveAs = "Save &As",
     .pen = "&Pen",
     .penTip = "Pen (P)",
     .penButton = "Pen",
     .selectedLabel = "Selected item",
     .eraserTip = "Eraser: empties a cell",
     .openCaption = "Open",
     .openFilter = "Stage projects (*.stp)",
     .newDialog = "New",
     .countLabel = "Stages",
     .emptyField = "Some fields are empty.",
     .title = "QONCreater-S-Author: Ann"},
};
INSTANTIATE_TEST_SUITE_P(Languages, TesselTexts, ::testing::ValuesIn(kTesselTexts), RowName);

struct KindNameRow {
    const char* name;
    const char* locale = "C";
    int kind = 0;
    const char* shown = "";
};

class TesselKindName : public ::testing::TestWithParam<KindNameRow> {};

// The status bar names the kind under the pointer.
TEST_P(TesselKindName, IsInTheLocalesLanguage) {
    const LanguageScope language(GetParam().locale);
    EXPECT_EQ(KindName(GetParam().kind), GetParam().shown);
}

const KindNameRow kKindNames[] = {
    {.name = "ThreeHitBlockInJapanese", .locale = "ja_JP", .kind = 2, .shown = "ブロック 3 回"},
    {.name = "ThreeHitBlockInEnglish", .locale = "en_US", .kind = 2, .shown = "Block, 3 hits"},
    {.name = "WarpInJapaneseUnderC", .locale = "C", .kind = Kind::Warp, .shown = "ワープ"},
    {.name = "WarpInEnglish", .locale = "en_US", .kind = Kind::Warp, .shown = "Warp"},
};
INSTANTIATE_TEST_SUITE_P(Kinds, TesselKindName, ::testing::ValuesIn(kKindNames), RowName);

struct HelpPageRow {
    const char* name;
    const char* locale = "C";
    bool englishPage = true;  // whether the folder holds Tessel_en.html beside Tessel.html
    const char* shown = "";
};

class TesselHelpPage : public ::testing::TestWithParam<HelpPageRow> {};

TEST_P(TesselHelpPage, IsTheOneOfTheLocalesLanguageWhereThereIsOne) {
    const HelpPageRow& row = GetParam();
    const LanguageScope language(row.locale);
    test_support::ScratchFolder folder;
    test_support::WriteBytes(folder.file("Tessel.html"), "<p>ボム</p>");
    if (row.englishPage) test_support::WriteBytes(folder.file("Tessel_en.html"), "<p>Bomb</p>");
    StageProjectDocument document;
    BlockImages images;
    ScriptedPrompter prompter;
    StageProjectCommands commands(document, images, prompter, folder.path());
    EXPECT_EQ(commands.readHelpPage(), QString::fromUtf8(row.shown));
    EXPECT_TRUE(prompter.messages.isEmpty());
}

const HelpPageRow kHelpPages[] = {
    {.name = "JapaneseUnderC", .locale = "C", .shown = "<p>ボム</p>"},
    {.name = "JapaneseUnderJaJp", .locale = "ja_JP", .shown = "<p>ボム</p>"},
    {.name = "EnglishUnderEnUs", .locale = "en_US", .shown = "<p>Bomb</p>"},
    {.name = "JapaneseWhenTheEnglishPageIsMissing",
     .locale = "en_US",
     .englishPage = false,
     .shown = "<p>ボム</p>"},
};
INSTANTIATE_TEST_SUITE_P(Pages, TesselHelpPage, ::testing::ValuesIn(kHelpPages), RowName);

QSet<QString> SectionsOf(const char* page) {
    const QString text = QString::fromStdString(
        ReadFileBytes(std::string(QON_STAGE_EDITOR_HELP_DIR) + page, kMaxTextFileBytes));
    static const QRegularExpression anchor(QStringLiteral("(?:id|href)=\"#?([a-z]+)\""));
    QSet<QString> sections;
    for (const auto& match : anchor.globalMatch(text)) sections.insert(match.captured(1));
    return sections;
}

// Both pages have the same sections, and every entry of the contents leads to one.
TEST(TesselHelpPages, HaveTheSameSections) {
    const QSet<QString> japanese = SectionsOf("Tessel.html");
    EXPECT_GE(japanese.size(), 10);
    EXPECT_EQ(SectionsOf("Tessel_en.html"), japanese);
}

}  // namespace
}  // namespace qon::stage_editor
