// SPDX-License-Identifier: MIT
// The tools' English translation: complete, up to date with the sources, and chosen from the
// locale the way a user sets it.
#include <gtest/gtest.h>

#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QXmlStreamReader>
#include <string>
#include <vector>

#include "qon/data/files.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"
#include "qon/tools_common/application.h"
#include "qon/tools_common/command_line.h"
#include "qon/tools_common/recent_files.h"
#include "qon/tools_common/recent_files_menu.h"
#include "qon/tools_common/testing/language.h"
#include "qon/tools_common/testing/qt_application.h"

namespace qon::tools_common {
namespace {

using test_support::RowName;
using test_support::ScratchFolder;
using testing::LanguageScope;

QON_PRINT_ROWS_BY_NAME

[[maybe_unused]] const auto* const kQtApplication = ::testing::AddGlobalTestEnvironment(
    new testing::HeadlessQtApplication("qon_tools_translations_tests"));

// One <message> of a .ts file.
struct Entry {
    QString context{};
    QString source{};
    QString translation{};
    QString type{};  // "unfinished", "vanished", "obsolete" or empty for a finished one
};

std::vector<Entry> ReadEntries(const std::string& path) {
    const std::string bytes = ReadFileBytes(path, 4u * 1024u * 1024u);
    QXmlStreamReader xml(QByteArray::fromStdString(bytes));
    std::vector<Entry> entries;
    QString context;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            entries.push_back(Entry{.context = context});
        } else if (xml.name() == u"source" && !entries.empty()) {
            entries.back().source = xml.readElementText();
        } else if (xml.name() == u"translation" && !entries.empty()) {
            entries.back().type = xml.attributes().value(QStringLiteral("type")).toString();
            entries.back().translation = xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << path << ": " << xml.errorString().toStdString();
    return entries;
}

QSet<QString> PlaceholdersOf(const QString& text) {
    static const QRegularExpression placeholder(QStringLiteral("%\\d"));
    QSet<QString> found;
    for (const auto& match : placeholder.globalMatch(text)) found.insert(match.captured());
    return found;
}

std::string Describe(const Entry& entry) {
    return (entry.context + QStringLiteral(": ") + entry.source).toStdString();
}

TEST(TranslationFile, GivesEveryTextAFinishedEnglishForm) {
    const std::vector<Entry> entries = ReadEntries(QON_TOOLS_TS_FILE);
    ASSERT_GT(entries.size(), 250u);
    for (const Entry& entry : entries) {
        EXPECT_TRUE(entry.type.isEmpty()) << entry.type.toStdString() << " " << Describe(entry);
        EXPECT_FALSE(entry.translation.trimmed().isEmpty()) << Describe(entry);
        // A text left in Japanese: no English text needs a kana or a kanji.
        static const QRegularExpression japanese(
            QStringLiteral("[\\x{3040}-\\x{30ff}\\x{4e00}-\\x{9fff}\\x{ff61}-\\x{ff9f}]"));
        EXPECT_FALSE(entry.translation.contains(japanese)) << Describe(entry);
        // A lost %1 would drop a file name from a message; a new one would print "%3".
        EXPECT_EQ(PlaceholdersOf(entry.translation), PlaceholdersOf(entry.source))
            << Describe(entry);
        // Menu items keep a keyboard mark in both languages.
        if (entry.source.contains(QStringLiteral("(&"))) {
            EXPECT_TRUE(entry.translation.contains(QLatin1Char('&'))) << Describe(entry);
        }
    }
}

// Run over the sources again, the file must neither gain a text (one added without its
// translation) nor lose one (a translation left behind by a changed text).
TEST(TranslationFile, HoldsExactlyTheTextsOfTheSources) {
    ScratchFolder folder;
    const std::string copy = folder.file("qon_tools_en.ts");
    test_support::WriteBytes(copy, ReadFileBytes(QON_TOOLS_TS_FILE, 4u * 1024u * 1024u));
    QProcess lupdate;
    lupdate.setProcessChannelMode(QProcess::MergedChannels);
    QStringList arguments{QStringLiteral("-no-obsolete"), QStringLiteral("-locations"),
                          QStringLiteral("none"), QStringLiteral("-extensions"),
                          QStringLiteral("cpp,h")};
    for (const char* tool :
         {"common", "stage_editor", "graphic_set_creator", "music_set_creator", "set_selector"}) {
        const QString root = QStringLiteral(QON_TOOLS_SOURCE_DIR "/") + QString::fromLatin1(tool);
        arguments << QStringLiteral("-I") + root + QStringLiteral("/include")
                  << root + QStringLiteral("/src") << root + QStringLiteral("/include");
    }
    arguments << QStringLiteral("-ts") << QString::fromStdString(copy);
    lupdate.start(QStringLiteral(QON_LUPDATE), arguments);
    ASSERT_TRUE(lupdate.waitForFinished(120000));
    const QString said = QString::fromUtf8(lupdate.readAll());
    ASSERT_EQ(lupdate.exitCode(), 0) << said.toStdString();

    const std::vector<Entry> before = ReadEntries(QON_TOOLS_TS_FILE);
    const std::vector<Entry> after = ReadEntries(copy);
    for (const Entry& entry : after) {
        EXPECT_NE(entry.type, QStringLiteral("unfinished"))
            << "no translation yet (build update_translations and translate it): "
            << Describe(entry);
    }
    EXPECT_EQ(after.size(), before.size())
        << "the sources no longer hold some texts of the file; build update_translations\n"
        << said.toStdString();
}

struct LocaleRow {
    const char* name;
    const char* locale = "C";
    ToolLanguage language = ToolLanguage::Japanese;
};

class ToolLanguageOf : public ::testing::TestWithParam<LocaleRow> {};

TEST_P(ToolLanguageOf, IsEnglishOnlyForAnEnglishLocale) {
    EXPECT_EQ(LanguageFor(QLocale(QString::fromLatin1(GetParam().locale))), GetParam().language);
}

const LocaleRow kLocales[] = {
    {.name = "AmericanEnglish", .locale = "en_US", .language = ToolLanguage::English},
    {.name = "BritishEnglish", .locale = "en_GB", .language = ToolLanguage::English},
    {.name = "Japanese", .locale = "ja_JP", .language = ToolLanguage::Japanese},
    {.name = "TheCLocale", .locale = "C", .language = ToolLanguage::Japanese},
    {.name = "GermanKeepsTheOriginalTexts", .locale = "de_DE", .language = ToolLanguage::Japanese},
};
INSTANTIATE_TEST_SUITE_P(Locales, ToolLanguageOf, ::testing::ValuesIn(kLocales), RowName);

// The texts of tools/common, and Qt's own buttons, which follow the same language.
struct CommonTextRow {
    const char* name;
    const char* locale = "C";
    const char* recentMenu = "";
    const char* noRecentFiles = "";
    const char* cancelButton = "";
    const char* helpStart = "";
};

class CommonTexts : public ::testing::TestWithParam<CommonTextRow> {};

TEST_P(CommonTexts, SpeakTheLocalesLanguage) {
    const CommonTextRow& row = GetParam();
    const LanguageScope language(row.locale);
    QSettings::setDefaultFormat(QSettings::IniFormat);
    ScratchFolder folder;
    QSettings settings(QString::fromStdString(folder.file("recent.ini")), QSettings::IniFormat);
    RecentFiles recent(&settings, QStringLiteral("recent"));
    QMenu file;
    QMenu* menu = AddRecentFilesMenu(&file, recent, [](const QString&) {});
    EXPECT_EQ(menu->title(), QString::fromUtf8(row.recentMenu));
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions().front()->text(), QString::fromUtf8(row.noRecentFiles));

    QMessageBox box(QMessageBox::Question, QStringLiteral("QONPavane"), QStringLiteral("?"),
                    QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QString::fromUtf8(row.cancelButton));

    const ToolDescription tool{
        .program = "Orvinth",
        .summary = QT_TRANSLATE_NOOP("ToolCommandLine",
                                     "ファイルを指定すると、起動したときにそのミュージックセット"
                                     "を開きます。")};
    const ToolCommandLine help = ParseToolCommandLine({QStringLiteral("--help")}, tool);
    EXPECT_TRUE(help.text.startsWith(QString::fromUtf8(row.helpStart))) << help.text.toStdString();
}

const CommonTextRow kCommonTexts[] = {
    {.name = "JapaneseUnderC",
     .locale = "C",
     .recentMenu = "最近使ったファイル(&R)",
     .noRecentFiles = "（なし）",
     .cancelButton = "キャンセル",
     .helpStart = "使い方: Orvinth [オプション]\nファイルを指定すると"},
    {.name = "JapaneseUnderJaJp",
     .locale = "ja_JP",
     .recentMenu = "最近使ったファイル(&R)",
     .noRecentFiles = "（なし）",
     .cancelButton = "キャンセル",
     .helpStart = "使い方: Orvinth [オプション]\nファイルを指定すると"},
    {.name = "EnglishUnderEnUs",
     .locale = "en_US",
     .recentMenu = "&Recent Files",
     .noRecentFiles = "(none)",
     .cancelButton = "Cancel",
     .helpStart = "Usage: Orvinth [OPTION]\nGiven a file, it opens that music set at start."},
};
INSTANTIATE_TEST_SUITE_P(Languages, CommonTexts, ::testing::ValuesIn(kCommonTexts), RowName);

// The programs themselves under a user's environment: LC_ALL over LC_MESSAGES over LANG.
struct ProgramRow {
    const char* name;
    const char* program = QON_PAVANE;
    QStringList environment{};  // set after LANG, LC_ALL, LC_MESSAGES and LANGUAGE are cleared
    QString argument = QStringLiteral("--help");
    int exitCode = 0;
    const char* printedStart = "";  // stdout for --help, stderr for a refused argument
};

class ProgramLanguage : public ::testing::TestWithParam<ProgramRow> {};

TEST_P(ProgramLanguage, FollowsTheUsersLocale) {
    const ProgramRow& row = GetParam();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LANG", "LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const QString& setting : row.environment)
        environment.insert(setting.section(QLatin1Char('='), 0, 0),
                           setting.section(QLatin1Char('='), 1));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QString::fromUtf8(row.program), {row.argument});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), row.exitCode);
    const QString printed = QString::fromUtf8(row.exitCode == 0 ? program.readAllStandardOutput()
                                                                : program.readAllStandardError());
    EXPECT_TRUE(printed.contains(QString::fromUtf8(row.printedStart))) << printed.toStdString();
}

const ProgramRow kPrograms[] = {
    {.name = "PavaneWithoutLangIsJapanese",
     .program = QON_PAVANE,
     .printedStart = "使い方: Pavane [オプション] [グラフィックセット.bgp]\nqon のグラフィック"},
    {.name = "PavaneUnderEnglishIsEnglish",
     .program = QON_PAVANE,
     .environment = {QStringLiteral("LANG=en_US.UTF-8")},
     .printedStart = "Usage: Pavane [OPTION] [GRAPHIC-SET.bgp]\nThe graphic set creator of qon."},
    {.name = "OrvinthUnderTheCLocaleIsJapanese",
     .program = QON_ORVINTH,
     .environment = {QStringLiteral("LANG=C")},
     .printedStart = "使い方: Orvinth [オプション] [ミュージックセット.msp]"},
    {.name = "OrvinthUnderPosixIsJapanese",
     .program = QON_ORVINTH,
     .environment = {QStringLiteral("LC_ALL=POSIX"), QStringLiteral("LANG=en_US.UTF-8")},
     .printedStart = "使い方: Orvinth [オプション] [ミュージックセット.msp]"},
    {.name = "SorrelUnderJapaneseIsJapanese",
     .program = QON_SORREL,
     .environment = {QStringLiteral("LANG=ja_JP.UTF-8")},
     .printedStart = "使い方: Sorrel [オプション]\nqon のセット選択ツールです。"},
    {.name = "SorrelTakesLcAllOverLang",
     .program = QON_SORREL,
     .environment = {QStringLiteral("LANG=ja_JP.UTF-8"), QStringLiteral("LC_ALL=en_US.UTF-8")},
     .printedStart = "Usage: Sorrel [OPTION]\nThe set selector of qon."},
    {.name = "TesselTakesLcMessagesOverLang",
     .program = QON_TESSEL,
     .environment = {QStringLiteral("LANG=ja_JP.UTF-8"), QStringLiteral("LC_MESSAGES=en_GB.UTF-8")},
     .printedStart = "Usage: Tessel [PROJECT.stp]\n\nOpens Tessel (QONCreater)"},
    {.name = "TesselWithoutLangIsJapanese",
     .program = QON_TESSEL,
     .printedStart = "使い方: Tessel [ステージプロジェクト.stp]"},
    {.name = "OrvinthRefusesAnUnknownOptionInEnglish",
     .program = QON_ORVINTH,
     .environment = {QStringLiteral("LANG=en_US.UTF-8")},
     .argument = QStringLiteral("--bogus"),
     .exitCode = 2,
     .printedStart = "Orvinth: unknown option: --bogus\nTry 'Orvinth --help'"},
    {.name = "PavaneRefusesAnUnknownOptionInJapanese",
     .program = QON_PAVANE,
     .environment = {QStringLiteral("LANG=ja_JP.UTF-8")},
     .argument = QStringLiteral("--bogus"),
     .exitCode = 2,
     .printedStart = "Pavane: 知らないオプションです: --bogus\n詳しくは「Pavane --help」"},
    {.name = "TesselRefusesAnUnknownOptionInEnglish",
     .program = QON_TESSEL,
     .environment = {QStringLiteral("LANG=en_US.UTF-8")},
     .argument = QStringLiteral("--bogus"),
     .exitCode = 2,
     .printedStart = "Tessel: Unknown option: --bogus\nUsage: Tessel"},
};
INSTANTIATE_TEST_SUITE_P(Programs, ProgramLanguage, ::testing::ValuesIn(kPrograms), RowName);

}  // namespace
}  // namespace qon::tools_common
