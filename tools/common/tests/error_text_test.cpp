// SPDX-License-Identifier: MIT
// Every reason the data library gives the three set tools comes out in Japanese. The
// reasons are provoked through the library itself, so a reworded reason there fails here.
#include "qon/tools_common/error_text.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QRegularExpression>
#include <functional>
#include <string>
#include <vector>

#include "qon/data/error.h"
#include "qon/data/files.h"
#include "qon/data/graphic_set.h"
#include "qon/data/music_set.h"
#include "qon/data/paths.h"
#include "qon/data/set_list.h"
#include "qon/data/text.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::tools_common {
namespace {

using test_support::RowName;
using test_support::ScratchFolder;
using test_support::WriteBytes;

QON_PRINT_ROWS_BY_NAME

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
    const char* japanese = "";  // the translation holds this
};

class JapaneseReasonOf : public ::testing::TestWithParam<ReasonRow> {};

TEST_P(JapaneseReasonOf, ADataLibraryFailure) {
    const ReasonRow& row = GetParam();
    ScratchFolder folder;
    const DataError error = caught([&] { row.provoke(folder); });
    const QString text = JapaneseReason(error.reason());

    EXPECT_TRUE(text.contains(QString::fromUtf8(row.japanese)))
        << error.reason() << "\n-> " << text.toStdString();
    // No English sentence is left over.
    static const QRegularExpression english(
        QStringLiteral("\\b(the|file|is|not|cannot|expected|holds|of|at|bytes|entries|line)\\b"));
    EXPECT_FALSE(english.match(text).hasMatch()) << text.toStdString();
}

const ReasonRow kReasons[] = {
    {.name = "MissingFile",
     .provoke = [](const ScratchFolder& f) { ReadTextFileBytes(f.file("none.bgp")); },
     .japanese = "ファイルがありません。"},
    {.name = "Folder",
     .provoke = [](const ScratchFolder& f) { ReadTextFileBytes(f.folder("sub")); },
     .japanese = "フォルダです。ファイルではありません。"},
    {.name = "NamedPipe",
     .provoke =
         [](const ScratchFolder& f) {
             ASSERT_EQ(::mkfifo(f.file("pipe").c_str(), 0600), 0);
             ReadTextFileBytes(f.file("pipe"));
         },
     .japanese = "名前付きパイプです。"},
    {.name = "Device",
     .provoke = [](const ScratchFolder&) { ReadTextFileBytes("/dev/null"); },
     .japanese = "デバイスです。"},
    {.name = "TooLarge",
     .provoke =
         [](const ScratchFolder& f) {
             WriteBytes(f.file("big.mid"), std::string(100, 'x'));
             ReadFileBytes(f.file("big.mid"), 10);
         },
     .japanese = "ファイルが大きすぎます（100 バイト）。読み込めるのは 10 バイトまでです。"},
    {.name = "WriteIntoMissingFolder",
     .provoke = [](const ScratchFolder& f) { WriteFileAtomic(f.file("no/such.bgp"), "x"); },
     .japanese = "ファイルに書き込めません（ファイルまたはフォルダがありません）。"},
    {.name = "WriteOverAFolder",
     .provoke = [](const ScratchFolder& f) { WriteFileAtomic(f.folder("dir"), "x"); },
     .japanese = "ファイルに書き込めません（フォルダです。ファイルではありません）。"},
    {.name = "NotShiftJis",
     .provoke = [](const ScratchFolder&) { ParseGraphicSetFile("ab\x81\x7F\r\n", "g.bgp"); },
     .japanese = "この行の 3 バイト目（0x81）は Shift-JIS（CP932）の文字ではありません。"},
    {.name = "GraphicSetEndsBeforeABitmap",
     .provoke = [](const ScratchFolder&) { ParseGraphicSetFile(lines(11), "g.bgp"); },
     .japanese = "ファイルが途中で終わっています。「ピン」の画像がありません。"},
    {.name = "GraphicSetEndsBeforeTheAuthor",
     .provoke = [](const ScratchFolder&) { ParseGraphicSetFile("name\r\n", "g.bgp"); },
     .japanese = "製作者名がありません。"},
    {.name = "MusicSetEndsBeforeTheTitleTrack",
     .provoke = [](const ScratchFolder&) { ParseMusicSetForEditing("a\r\nb\r\n", "m.msp"); },
     .japanese = "タイトル表示時の曲がありません。"},
    {.name = "MusicSetEndsBeforeTheEndingTrack",
     .provoke = [](const ScratchFolder&) { ParseMusicSetForEditing("a\r\nb\r\nc\r\n", "m.msp"); },
     .japanese = "スタッフロール時の曲がありません。"},
    {.name = "MusicSetEndsBeforeTheCount",
     .provoke =
         [](const ScratchFolder&) { ParseMusicSetForEditing("a\r\nb\r\nc\r\nd\r\n", "m.msp"); },
     .japanese = "曲数がありません。"},
    {.name = "MusicSetEndsBeforeATrack",
     .provoke =
         [](const ScratchFolder&) {
             ParseMusicSetForEditing("a\r\nb\r\nc\r\nd\r\n3\r\ne\r\n", "m.msp");
         },
     .japanese = "ゲーム中の曲（3 曲中 2 曲目）がありません。"},
    {.name = "MusicSetCountOfLetters",
     .provoke =
         [](const ScratchFolder&) {
             ParseMusicSetForEditing("a\r\nb\r\nc\r\nd\r\nxyz\r\n", "m.msp");
         },
     .japanese = "曲数「xyz」が 0 から 32767 までの整数ではありません。"},
    {.name = "MusicSetWithTooManyTracks",
     .provoke =
         [](const ScratchFolder&) {
             MusicSetFile set;
             set.stageTracks.assign(32768, "a.mid");
             FormatMusicSetFile(set, "m.msp");
         },
     .japanese = "ゲーム中の曲は 32767 曲までです（32768 曲あります）。"},
    {.name = "ListCountOfLetters",
     .provoke = [](const ScratchFolder&) { ParseSetList("xyz\r\n", "StageSet.sel"); },
     .japanese = "件数「xyz」が 0 から 32767 までの整数ではありません。"},
    {.name = "ListEmptyFile",
     .provoke = [](const ScratchFolder&) { ParseSetList("", "StageSet.sel"); },
     .japanese = "件数がありません。"},
    {.name = "ListShorterThanItsCount",
     .provoke = [](const ScratchFolder&) { ParseSetList("3\r\n/a.stp\r\n", "StageSet.sel"); },
     .japanese = "3 件中 2 件目がありません。"},
    {.name = "ListTooLong",
     .provoke =
         [](const ScratchFolder&) {
             FormatSetList(std::vector<std::string>(32768, "/a.stp"), "StageSet.sel");
         },
     .japanese = "一覧に登録できるのは 32767 件までです（32768 件あります）。"},
    {.name = "LineBreakInAValue",
     .provoke =
         [](const ScratchFolder&) {
             FormatLines({"ok", "two\nlines"}, "m.msp");
         },
     .japanese = "に改行が含まれています。"},
    {.name = "CharacterOutsideShiftJis",
     .provoke = [](const ScratchFolder&) { FormatLines({"smile 😀"}, "m.msp"); },
     .japanese = "に Shift-JIS（CP932）で書けない文字が含まれています。"},
    {.name = "PathWithoutFolder",
     .provoke = [](const ScratchFolder&) { FolderOf("alone.bgp"); },
     .japanese = "パスにフォルダが含まれていません"},
};
INSTANTIATE_TEST_SUITE_P(Reasons, JapaneseReasonOf, ::testing::ValuesIn(kReasons), RowName);

TEST(JapaneseReason, KeepsAReasonItDoesNotKnow) {
    EXPECT_EQ(JapaneseReason("別のプログラムが書き換えました"),
              QStringLiteral("別のプログラムが書き換えました"));
}

TEST(JapaneseErrorText, PutsTheQuotedFileAndTheLineOnLinesOfTheirOwn) {
    EXPECT_EQ(
        JapaneseErrorText(
            DataError("/s/m.msp", 5, "the file ends early: the track count expected")),
        QStringLiteral("\"/s/m.msp\"\n5 行目：ファイルが途中で終わっています。曲数がありません。"));
    EXPECT_EQ(JapaneseErrorText(DataError("/s/%1.msp", 0, "the file does not exist")),
              QStringLiteral("\"/s/%1.msp\"\nファイルがありません。"));
}

}  // namespace
}  // namespace qon::tools_common
