// SPDX-License-Identifier: MIT
// What the selector tells about each listed file: its display name, and whether it is a
// file of the list's kind, missing, or not a set at all.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "qon/data/error.h"
#include "qon/data/graphic_set.h"
#include "qon/set_selector/selection_lists_commands.h"
#include "qon/set_selector/selection_lists_document.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/media_bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"
#include "qon/tools_common/testing/watchdog.h"

namespace qon::set_selector {
namespace {

using State = EntryInfo::State;
using test_support::RowName;
using test_support::ScratchFolder;
using test_support::WriteBytes;

QON_PRINT_ROWS_BY_NAME

std::string graphicSet(const std::string& name = "Blue") {
    std::string bytes = name + "\r\nPainter\r\n";
    for (int slot = 0; slot < kBitmapSlots; ++slot)
        bytes += "s" + std::to_string(slot) + ".bmp\r\n";
    return bytes;
}

const std::string kStageProject = "Starlight Tour\r\n10\r\nStaff\r\n";
const std::string kMusicSet =
    "Summer\r\nComposer\r\ntitle.mid\r\nend.mid\r\n2\r\na.mid\r\nb.mid\r\n";

struct EntryRow {
    const char* name;
    SetKind kind = SetKind::Stage;
    const char* path = "/sets/a.stp";
    std::string bytes{};
    bool whole = true;
    State state = State::Fits;
    const char* displayName = "";
    const char* problem = "";  // the problem holds this
};

class EntryLook : public ::testing::TestWithParam<EntryRow> {};

TEST_P(EntryLook, TellsTheNameAndWhetherTheFileFitsItsList) {
    const EntryRow& row = GetParam();
    const EntryInfo info = DescribeEntryBytes(row.kind, row.path, row.bytes, row.whole);
    EXPECT_EQ(info.state, row.state) << info.problem;
    EXPECT_EQ(info.displayName, row.displayName);
    EXPECT_NE(info.problem.find(row.problem), std::string::npos) << info.problem;
    EXPECT_EQ(info.problem.empty(), row.state == State::Fits) << info.problem;
}

const EntryRow kEntries[] = {
    {.name = "StageProjectFits", .bytes = kStageProject, .displayName = "Starlight Tour"},
    {.name = "UpperCaseExtensionFits",
     .path = "/sets/EASY.STP",
     .bytes = kStageProject,
     .displayName = "Starlight Tour"},
    {.name = "EmptyFirstLineIsAnEmptyName", .bytes = "\r\n3\r\nStaff\r\n"},
    {.name = "GraphicSetInTheStageList",
     .path = "/sets/Blue.bgp",
     .bytes = graphicSet(),
     .state = State::WrongKind,
     .displayName = "Blue",
     .problem = "拡張子が .stp ではありません。グラフィックセットのファイルのようです。"},
    {.name = "MusicSetRenamedToAStageProject",
     .bytes = kMusicSet,
     .state = State::WrongKind,
     .displayName = "Summer",
     .problem = "ステージプロジェクトの形になっていません：2 行目「Composer」がステージ数ではありま"
                "せん。ミュージックセットのファイルのようです。"},
    {.name = "StageCountZero",
     .bytes = "A\r\n0\r\nB\r\n",
     .state = State::WrongKind,
     .displayName = "A",
     .problem = "2 行目「0」がステージ数ではありません。"},
    {.name = "StageProjectWithoutItsAuthor",
     .bytes = "A\r\n3\r\n",
     .state = State::WrongKind,
     .displayName = "A",
     .problem = "3 行目の製作者名がありません。"},
    {.name = "EmptyFile", .bytes = "", .state = State::WrongKind, .problem = "中身が空です。"},
    {.name = "GraphicSetFits",
     .kind = SetKind::BitMap,
     .path = "/sets/Blue.bgp",
     .bytes = graphicSet(),
     .displayName = "Blue"},
    {.name = "GraphicSetCutShort",
     .kind = SetKind::BitMap,
     .path = "/sets/Blue.bgp",
     .bytes = graphicSet().substr(0, graphicSet().find("s8.bmp")),
     .state = State::WrongKind,
     .displayName = "Blue",
     .problem = "25 行のはずが 10 行しかありません。"},
    {.name = "GraphicSetWithAnEmptyBitmapLine",
     .kind = SetKind::BitMap,
     .path = "/sets/Blue.bgp",
     .bytes = "Blue\r\nPainter\r\n\r\n" + graphicSet().substr(graphicSet().find("s1.bmp")),
     .state = State::WrongKind,
     .displayName = "Blue",
     .problem = "3 行目のビットマップ名が空です。"},
    {.name = "StageProjectInTheGraphicList",
     .kind = SetKind::BitMap,
     .path = "/sets/Tour.stp",
     .bytes = kStageProject,
     .state = State::WrongKind,
     .displayName = "Starlight Tour",
     .problem = "ステージプロジェクトのファイルのようです。"},
    {.name = "BitmapInTheGraphicList",
     .kind = SetKind::BitMap,
     .path = "/sets/s0.bmp",
     .bytes = test_support::SolidBmpBytes(53, 15, 0xFFFFFF),
     .state = State::Unreadable,
     .problem = "Shift-JIS のテキストとして読めません"},
    {.name = "MusicSetFits",
     .kind = SetKind::Music,
     .path = "/sets/Summer.msp",
     .bytes = kMusicSet,
     .displayName = "Summer"},
    {.name = "MusicSetWithoutTracksFits",
     .kind = SetKind::Music,
     .path = "/sets/Quiet.msp",
     .bytes = "Quiet\r\nA\r\nt.mid\r\ne.mid\r\n0\r\n",
     .displayName = "Quiet"},
    {.name = "MusicSetWithFewerTracksThanItsCount",
     .kind = SetKind::Music,
     .path = "/sets/Summer.msp",
     .bytes = "S\r\nA\r\nt.mid\r\ne.mid\r\n3\r\na.mid\r\n",
     .state = State::WrongKind,
     .displayName = "S",
     .problem = "曲数は 3 ですが、曲名が 1 行しかありません。"},
    {.name = "MusicSetLongerThanWhatIsReadIsNotShort",
     .kind = SetKind::Music,
     .path = "/sets/Long.msp",
     .bytes = "S\r\nA\r\nt.mid\r\ne.mid\r\n3\r\na.mid\r\nb.m",
     .whole = false,
     .displayName = "S"},
    {.name = "GraphicSetInTheMusicList",
     .kind = SetKind::Music,
     .path = "/sets/Blue.bgp",
     .bytes = graphicSet(),
     .state = State::WrongKind,
     .displayName = "Blue",
     .problem = "拡張子が .msp ではありません。グラフィックセットのファイルのようです。"},
    {.name = "GraphicSetRenamedToAMusicSet",
     .kind = SetKind::Music,
     .path = "/sets/Blue.msp",
     .bytes = graphicSet(),
     .state = State::WrongKind,
     .displayName = "Blue",
     .problem = "5 行目「s2.bmp」が曲数ではありません。グラフィックセットのファイルのようです。"},
};
INSTANTIATE_TEST_SUITE_P(Entries, EntryLook, ::testing::ValuesIn(kEntries), RowName);

TEST(EntryOnDisk, AMovedSetIsMissing) {
    ScratchFolder folder;
    const EntryInfo info = DescribeEntry(SetKind::Stage, folder.file("moved.stp"));
    EXPECT_EQ(info.state, State::Missing);
    EXPECT_EQ(info.problem, "ファイルが見つかりません。");
}

TEST(EntryOnDisk, AFolderOrAPipeIsUnreadableAtOnce) {
    ScratchFolder folder;
    const std::string pipe = folder.file("pipe.msp");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    tools_common::testing::Watchdog watchdog(std::chrono::seconds(20), "looking at a pipe");

    const EntryInfo piped = DescribeEntry(SetKind::Music, pipe);
    EXPECT_EQ(piped.state, State::Unreadable);
    EXPECT_EQ(piped.problem, "名前付きパイプです。普通のファイルではありません。");
    const EntryInfo folderEntry = DescribeEntry(SetKind::Music, folder.folder("dir.msp"));
    EXPECT_EQ(folderEntry.state, State::Unreadable);
}

TEST(EntryOnDisk, AHugeMusicSetIsJudgedByItsStart) {
    ScratchFolder folder;
    std::string bytes = "Long\r\nA\r\nt.mid\r\ne.mid\r\n30000\r\n";
    for (int i = 0; i < 30000; ++i) bytes += "track" + std::to_string(i) + ".mid\r\n";
    WriteBytes(folder.file("Long.msp"), bytes);

    const EntryInfo info = DescribeEntry(SetKind::Music, folder.file("Long.msp"));
    EXPECT_EQ(info.state, State::Fits) << info.problem;
    EXPECT_EQ(info.displayName, "Long");
}

TEST(SelectorMessages, SpeakJapaneseUnderTheWindowsTitle) {
    ScratchFolder broken;
    WriteBytes(broken.file("StageSet.sel"), "oops\r\n");
    ScratchFolder unwritable;
    for (SetKind kind : kListOrder) WriteBytes(unwritable.file(SetListFileName(kind)), "0\r\n");
    tools_common::ScriptedPrompter prompter;

    SelectionListsDocument brokenLists(broken.path());
    SelectionListsCommands(brokenLists, prompter).loadLists();
    SelectionListsDocument lists(unwritable.path());
    SelectionListsCommands selector(lists, prompter);
    selector.loadLists();
    // A list file replaced by a folder cannot be written when the window closes.
    std::filesystem::remove(unwritable.file("MusicSet.sel"));
    std::filesystem::create_directory(unwritable.file("MusicSet.sel"));
    prompter.unsavedAnswers = {tools_common::Prompter::Answer::Discard};
    EXPECT_TRUE(selector.closeLists());

    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages[0],
              QStringLiteral("ファイルが見つかりません。\n\n") +
                  tools_common::toQ(QuotedPath(broken.file("StageSet.sel"))) +
                  QStringLiteral("\n1 行目：件数「oops」が数ではありません。"));
    ASSERT_EQ(prompter.unsavedTexts.size(), 1);
    EXPECT_TRUE(prompter.unsavedTexts[0].contains(
        QStringLiteral("ファイルに書き込めません（フォルダです。ファイルではありません）。")))
        << prompter.unsavedTexts[0].toStdString();
    EXPECT_EQ(prompter.titles,
              (QStringList{QStringLiteral("QONSelecter"), QStringLiteral("QONSelecter")}));
}

}  // namespace
}  // namespace qon::set_selector
