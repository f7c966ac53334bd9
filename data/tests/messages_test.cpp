// SPDX-License-Identifier: MIT
// The data library's reasons in both languages. Each reason is provoked through the library
// itself, so a reason built in the wrong language, or left English, fails here.
#include "qon/data/messages.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "qon/data/bitmap_header.h"
#include "qon/data/error.h"
#include "qon/data/files.h"
#include "qon/data/graphic_set.h"
#include "qon/data/language.h"
#include "qon/data/music_set.h"
#include "qon/data/paths.h"
#include "qon/data/set_list.h"
#include "qon/data/settings.h"
#include "qon/data/stage.h"
#include "qon/data/text.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/language.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon {
namespace {

using test_support::LanguageScope;
using test_support::RowName;
using test_support::ScratchFolder;
using test_support::WriteBytes;

QON_PRINT_ROWS_BY_NAME

// ---- Choosing the language ---------------------------------------------------------------

struct LocaleRow {
    const char* name;
    const char* lcAll = nullptr;
    const char* lcMessages = nullptr;
    const char* lang = nullptr;
    Language expected = Language::Japanese;
};

class LanguageOfLocale : public ::testing::TestWithParam<LocaleRow> {};

TEST_P(LanguageOfLocale, FollowsTheCLibrarysOrder) {
    const LocaleRow& row = GetParam();
    EXPECT_EQ(LanguageFromLocale(row.lcAll, row.lcMessages, row.lang), row.expected);
}

const LocaleRow kLocaleRows[] = {
    {.name = "NothingSetIsJapanese"},
    {.name = "TheCLocaleIsJapanese", .lang = "C"},
    {.name = "PosixIsJapanese", .lang = "POSIX"},
    {.name = "CUtf8IsJapanese", .lang = "C.UTF-8"},
    {.name = "JapaneseLocaleIsJapanese", .lang = "ja_JP.UTF-8"},
    {.name = "AmericanEnglishIsEnglish", .lang = "en_US.UTF-8", .expected = Language::English},
    {.name = "BareEnIsEnglish", .lang = "en", .expected = Language::English},
    {.name = "EnWithAModifierIsEnglish", .lang = "en@euro", .expected = Language::English},
    {.name = "ALanguageStartingWithEnIsNotEnglish", .lang = "eno_XX"},
    {.name = "GermanIsJapanese", .lang = "de_DE.UTF-8"},
    {.name = "LcAllOutranksLang",
     .lcAll = "en_GB.UTF-8",
     .lang = "ja_JP.UTF-8",
     .expected = Language::English},
    {.name = "LcAllCOutranksAnEnglishLang", .lcAll = "C", .lang = "en_US.UTF-8"},
    {.name = "LcMessagesOutranksLang",
     .lcMessages = "en_US.UTF-8",
     .lang = "ja_JP.UTF-8",
     .expected = Language::English},
    {.name = "AnEmptyLcAllIsPassedOver",
     .lcAll = "",
     .lang = "en_US.UTF-8",
     .expected = Language::English},
};
INSTANTIATE_TEST_SUITE_P(Locales, LanguageOfLocale, ::testing::ValuesIn(kLocaleRows), RowName);

// The environment's variables are the ones read, and in that order.
TEST(LanguageFromEnvironment, ReadsLcAllLcMessagesAndLang) {
    struct Saved {
        const char* name;
        std::optional<std::string> value;
    };
    std::vector<Saved> saved;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        saved.push_back({name, value ? std::optional<std::string>(value) : std::nullopt});
        ::unsetenv(name);
    }
    EXPECT_EQ(LanguageFromEnvironment(), Language::Japanese);
    ::setenv("LANG", "en_US.UTF-8", 1);
    EXPECT_EQ(LanguageFromEnvironment(), Language::English);
    ::setenv("LC_MESSAGES", "ja_JP.UTF-8", 1);
    EXPECT_EQ(LanguageFromEnvironment(), Language::Japanese);
    ::setenv("LC_ALL", "en_GB.UTF-8", 1);
    EXPECT_EQ(LanguageFromEnvironment(), Language::English);
    for (const Saved& s : saved) {
        if (s.value)
            ::setenv(s.name, s.value->c_str(), 1);
        else
            ::unsetenv(s.name);
    }
}

// ---- The table ---------------------------------------------------------------------------

TEST(MessageTable, EveryMessageHasBothFormsWithTheSamePlaceholders) {
    for (int i = 0; i < kMessageCount; ++i) {
        const auto message = static_cast<Message>(i);
        const std::string_view japanese = MessageTemplate(Language::Japanese, message);
        const std::string_view english = MessageTemplate(Language::English, message);
        EXPECT_FALSE(japanese.empty()) << "message " << i;
        EXPECT_FALSE(english.empty()) << "message " << i;
        EXPECT_NE(japanese, english) << "message " << i << " is not translated";
        EXPECT_EQ(test_support::Placeholders(japanese), test_support::Placeholders(english))
            << "message " << i;
    }
}

TEST(MessageTable, FillsEachPlaceholderWhereverTheLanguagePutsIt) {
    EXPECT_EQ(Say(Language::English, Message::EntryOf, {"2", "3"}), "entry 2 of 3");
    EXPECT_EQ(Say(Language::Japanese, Message::EntryOf, {"2", "3"}), "3 件中 2 件目");
    // A value that looks like a placeholder is not filled again.
    EXPECT_EQ(Say(Language::English, Message::BitmapFor, {"{1}"}), "the bitmap for \"{1}\"");
}

// ---- Reasons made by the library, in both languages ---------------------------------------

// The DataError that `provoke` makes the data library throw.
DataError caught(const std::function<void()>& provoke) {
    try {
        provoke();
    } catch (const DataError& error) {
        return error;
    }
    ADD_FAILURE() << "nothing was thrown";
    return DataError("", 0, "");
}

std::string lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "x.bmp\r\n";
    return text;
}

struct ReasonRow {
    const char* name;
    std::function<void(const ScratchFolder&)> provoke{};
    const char* japanese = "";  // the Japanese reason holds this
    const char* english = "";   // and the English one this
};

class ReasonOf : public ::testing::TestWithParam<ReasonRow> {};

TEST_P(ReasonOf, AFailureIsToldInJapanese) {
    const ReasonRow& row = GetParam();
    const LanguageScope language(Language::Japanese);
    ScratchFolder folder;
    const std::string reason = caught([&] { row.provoke(folder); }).reason();
    EXPECT_NE(reason.find(row.japanese), std::string::npos) << reason;
    // No English sentence is left over.
    static const std::regex kEnglish(
        "\\b(the|file|is|not|cannot|expected|holds|of|at|bytes|entries|line)\\b");
    EXPECT_FALSE(std::regex_search(reason, kEnglish)) << reason;
}

TEST_P(ReasonOf, AFailureIsToldInEnglish) {
    const ReasonRow& row = GetParam();
    const LanguageScope language(Language::English);
    ScratchFolder folder;
    const std::string reason = caught([&] { row.provoke(folder); }).reason();
    EXPECT_NE(reason.find(row.english), std::string::npos) << reason;
    // No Japanese sentence is left over (a value read from a file may still be Japanese).
    static const std::regex kJapanese("。|ません|です|（");
    EXPECT_FALSE(std::regex_search(reason, kJapanese)) << reason;
}

const ReasonRow kReasons[] = {
    {.name = "MissingFile",
     .provoke = [](const ScratchFolder& f) { ReadTextFileBytes(f.file("none.bgp")); },
     .japanese = "ファイルがありません。",
     .english = "the file does not exist"},
    {.name = "Folder",
     .provoke = [](const ScratchFolder& f) { ReadTextFileBytes(f.folder("sub")); },
     .japanese = "フォルダです。ファイルではありません。",
     .english = "this is a folder, not a file"},
    {.name = "NamedPipe",
     .provoke =
         [](const ScratchFolder& f) {
             ASSERT_EQ(::mkfifo(f.file("pipe").c_str(), 0600), 0);
             ReadTextFileBytes(f.file("pipe"));
         },
     .japanese = "名前付きパイプです。",
     .english = "this is a named pipe, not an ordinary file"},
    {.name = "Device",
     .provoke = [](const ScratchFolder&) { ReadTextFileBytes("/dev/null"); },
     .japanese = "デバイスです。",
     .english = "this is a device, not an ordinary file"},
    {.name = "TooLarge",
     .provoke =
         [](const ScratchFolder& f) {
             WriteBytes(f.file("big.mid"), std::string(100, 'x'));
             ReadFileBytes(f.file("big.mid"), 10);
         },
     .japanese = "ファイルが大きすぎます（100 バイト）。読み込めるのは 10 バイトまでです。",
     .english = "the file is too large (100 bytes); at most 10 bytes are accepted here"},
    {.name = "WriteIntoMissingFolder",
     .provoke = [](const ScratchFolder& f) { WriteFileAtomic(f.file("no/such.bgp"), "x"); },
     .japanese = "ファイルに書き込めません（ファイルまたはフォルダがありません）。",
     .english = "cannot write the file: No such file or directory"},
    {.name = "WriteOverAFolder",
     .provoke = [](const ScratchFolder& f) { WriteFileAtomic(f.folder("dir"), "x"); },
     .japanese = "ファイルに書き込めません（フォルダです。ファイルではありません）。",
     .english = "cannot write the file: this is a folder, not a file"},
    {.name = "ListAFileAsAFolder",
     .provoke =
         [](const ScratchFolder& f) {
             WriteBytes(f.file("plain"), "x");
             DiskFileOperations().listFolder(f.file("plain") + "/");
         },
     .japanese = "フォルダを読めません（パスの途中がフォルダではありません）。",
     .english = "the folder cannot be read: Not a directory"},
    {.name = "NotABmp",
     .provoke = [](const ScratchFolder&) { CheckBitmapHeader(std::string(64, 'x'), "a.bmp"); },
     .japanese = "BMP 画像ではありません",
     .english = "this is not a BMP picture"},
    {.name = "NotShiftJis",
     .provoke = [](const ScratchFolder&) { ParseGraphicSetFile("ab\x81\x7F\r\n", "g.bgp"); },
     .japanese = "この行の 3 バイト目（0x81）は Shift-JIS（CP932）の文字ではありません。",
     .english = "the byte 0x81 at byte 3 of the line is not valid Shift-JIS (CP932) text"},
    {.name = "GraphicSetEndsBeforeABitmap",
     .provoke = [](const ScratchFolder&) { ParseGraphicSetFile(lines(11), "g.bgp"); },
     .japanese = "ファイルが途中で終わっています。「ピン」の画像がありません。",
     .english = "the file ends early: the bitmap for \"ピン\" expected"},
    {.name = "GraphicSetEndsBeforeTheAuthor",
     .provoke = [](const ScratchFolder&) { ParseGraphicSetFile("name\r\n", "g.bgp"); },
     .japanese = "製作者名がありません。",
     .english = "the author name expected"},
    {.name = "MusicSetEndsBeforeTheTitleTrack",
     .provoke = [](const ScratchFolder&) { ParseMusicSetForEditing("a\r\nb\r\n", "m.msp"); },
     .japanese = "タイトル表示時の曲がありません。",
     .english = "the title track expected"},
    {.name = "MusicSetEndsBeforeTheEndingTrack",
     .provoke = [](const ScratchFolder&) { ParseMusicSetForEditing("a\r\nb\r\nc\r\n", "m.msp"); },
     .japanese = "スタッフロール時の曲がありません。",
     .english = "the ending track expected"},
    {.name = "MusicSetEndsBeforeTheCount",
     .provoke =
         [](const ScratchFolder&) { ParseMusicSetForEditing("a\r\nb\r\nc\r\nd\r\n", "m.msp"); },
     .japanese = "曲数がありません。",
     .english = "the track count expected"},
    {.name = "MusicSetEndsBeforeATrack",
     .provoke =
         [](const ScratchFolder&) {
             ParseMusicSetForEditing("a\r\nb\r\nc\r\nd\r\n3\r\ne\r\n", "m.msp");
         },
     .japanese = "ゲーム中の曲（3 曲中 2 曲目）がありません。",
     .english = "stage track 2 of 3 expected"},
    {.name = "MusicSetCountOfLetters",
     .provoke =
         [](const ScratchFolder&) {
             ParseMusicSetForEditing("a\r\nb\r\nc\r\nd\r\nxyz\r\n", "m.msp");
         },
     .japanese = "曲数「xyz」が 0 から 32767 までの整数ではありません。",
     .english = "the track count \"xyz\" is not a whole number from 0 to 32767"},
    {.name = "MusicSetWithTooManyTracks",
     .provoke =
         [](const ScratchFolder&) {
             MusicSetFile set;
             set.stageTracks.assign(32768, "a.mid");
             FormatMusicSetFile(set, "m.msp");
         },
     .japanese = "ゲーム中の曲は 32767 曲までです（32768 曲あります）。",
     .english = "a music set holds at most 32767 stage tracks, not 32768"},
    {.name = "ListCountOfLetters",
     .provoke = [](const ScratchFolder&) { ParseSetList("xyz\r\n", "StageSet.sel"); },
     .japanese = "件数「xyz」が 0 から 32767 までの整数ではありません。",
     .english = "the entry count \"xyz\" is not a whole number from 0 to 32767"},
    {.name = "ListEmptyFile",
     .provoke = [](const ScratchFolder&) { ParseSetList("", "StageSet.sel"); },
     .japanese = "件数がありません。",
     .english = "the entry count expected"},
    {.name = "ListShorterThanItsCount",
     .provoke = [](const ScratchFolder&) { ParseSetList("3\r\n/a.stp\r\n", "StageSet.sel"); },
     .japanese = "3 件中 2 件目がありません。",
     .english = "entry 2 of 3 expected"},
    {.name = "ListTooLong",
     .provoke =
         [](const ScratchFolder&) {
             FormatSetList(std::vector<std::string>(32768, "/a.stp"), "StageSet.sel");
         },
     .japanese = "一覧に登録できるのは 32767 件までです（32768 件あります）。",
     .english = "a list holds at most 32767 entries, not 32768"},
    {.name = "StageCountOutOfRange",
     .provoke =
         [](const ScratchFolder&) { ParseStageProjectHeader("p\r\n40000\r\ns\r\n", "p.stp"); },
     .japanese = "ステージ数「40000」が範囲外です。1 から 32767 までの整数にしてください。",
     .english = "the stage count \"40000\" is out of range: it must be a whole number from 1 to "
                "32767"},
    {.name = "SettingsSayWhatToDo",
     .provoke = [](const ScratchFolder&) { ParseSettingsFile("0\r\nab\r\n0\r\n", "Init.bse"); },
     .japanese = "選んだグラフィックセット「ab」が 0 から 32767 までの整数ではありません（"
                 "BitMapSet.sel の中のセットの位置で、最初が 0 です）。この行を直すか Init.bse "
                 "を削除してから、設定画面でセットを選び直してください。",
     .english = "the graphic set choice \"ab\" is not a whole number from 0 to 32767 (the set's "
                "position in BitMapSet.sel, 0 for the first). Correct the line or delete "
                "Init.bse, then choose the sets again in the configuration screen."},
    {.name = "BareCrLineEnds",
     .provoke = [](const ScratchFolder&) { ParseStageProjectHeader("p\r3\rs\r", "p.stp"); },
     .japanese = "CR LF",
     .english = "bare CR"},
    {.name = "LineBreakInAValue",
     .provoke =
         [](const ScratchFolder&) {
             FormatLines({"ok", "two\nlines"}, "m.msp");
         },
     .japanese = "\"two\\nlines\" に改行が含まれています。",
     .english = "the text \"two\\nlines\" holds a line break"},
    {.name = "CharacterOutsideShiftJis",
     .provoke = [](const ScratchFolder&) { FormatLines({"smile 😀"}, "m.msp"); },
     .japanese = "に Shift-JIS（CP932）で書けない文字が含まれています。",
     .english = "holds a character that cannot be written in Shift-JIS (CP932)"},
    {.name = "PathWithoutFolder",
     .provoke = [](const ScratchFolder&) { FolderOf("alone.bgp"); },
     .japanese = "パスにフォルダが含まれていません",
     .english = "the path names no folder"},
};
INSTANTIATE_TEST_SUITE_P(Reasons, ReasonOf, ::testing::ValuesIn(kReasons), RowName);

// ---- The whole error ----------------------------------------------------------------------

TEST(DataErrorText, NamesTheFileAndTheLineInTheChosenLanguage) {
    {
        const LanguageScope language(Language::Japanese);
        EXPECT_STREQ(DataError("/s/m.msp", 5, "理由").what(), "\"/s/m.msp\" 5 行目：理由");
        EXPECT_STREQ(DataError("/s/m.msp", 0, "理由").what(), "\"/s/m.msp\"：理由");
    }
    const LanguageScope language(Language::English);
    EXPECT_STREQ(DataError("/s/m.msp", 5, "why").what(), "\"/s/m.msp\", line 5: why");
    EXPECT_STREQ(DataError("/s/m.msp", 0, "why").what(), "\"/s/m.msp\": why");
}

TEST(SystemErrorText, IsTheCLibrarysTextInEnglishAndOursInJapanese) {
    {
        const LanguageScope language(Language::Japanese);
        EXPECT_EQ(SystemErrorText(ENOSPC), "ディスクに空きがありません");
    }
    const LanguageScope language(Language::English);
    EXPECT_EQ(SystemErrorText(ENOSPC), std::strerror(ENOSPC));
}

}  // namespace
}  // namespace qon
