// SPDX-License-Identifier: MIT
#include "qon/set_selector/set_selection.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>

#include "qon/data/text.h"
#include "scratch_folder.h"

namespace qon::sorrel {
namespace {

using test::ReadBytes;
using test::ScratchFolder;
using test::WriteBytes;
using Answer = tools::Prompter::Answer;
using Entries = std::vector<std::string>;

const char kMissing[] = "<missing>";

// One start of the selector on a given set of list files, closed without edits.
struct LoadCase {
    const char* name;
    std::array<const char*, 3> before;  // file bytes in list order; kMissing for none
    std::array<Entries, 3> shown;
    bool message;
    std::array<bool, 3> editable;
    std::array<const char*, 3> afterClose;
};

void PrintTo(const LoadCase& row, std::ostream* out) {
    *out << row.name;
}

class SelectorLoad : public ::testing::TestWithParam<LoadCase> {};

TEST_P(SelectorLoad, ShowsWhatWasReadAndWritesOnlyWhatItMay) {
    const LoadCase& row = GetParam();
    ScratchFolder folder;
    for (std::size_t i = 0; i < 3; ++i) {
        if (std::string(row.before[i]) != kMissing)
            WriteBytes(folder.file(SetListFileName(kListOrder[i])), row.before[i]);
    }
    tools::ScriptedPrompter prompter;
    SetSelector selector(folder.path(), prompter);
    selector.loadLists();

    ASSERT_EQ(prompter.messages.size(), row.message ? 1u : 0u);
    if (row.message) {
        EXPECT_TRUE(prompter.messages[0].startsWith(QStringLiteral("ファイルが見つかりません。")));
    }
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(selector.selection().entries(kListOrder[i]), row.shown[i]) << "list " << i;
        EXPECT_EQ(selector.selection().isEditable(kListOrder[i]), row.editable[i]) << "list " << i;
    }

    EXPECT_TRUE(selector.closeLists());
    EXPECT_EQ(prompter.unsavedQuestions, 0);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(ReadBytes(folder.file(SetListFileName(kListOrder[i]))), row.afterClose[i])
            << "list " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SelectorLoad,
    ::testing::Values(
        LoadCase{"FirstStartWithNoFilesWritesThreeEmptyLists",
                 {kMissing, kMissing, kMissing},
                 {Entries{}, Entries{}, Entries{}},
                 true,
                 {true, true, true},
                 {"0\r\n", "0\r\n", "0\r\n"}},
        LoadCase{"CountOfThreeWithTwoEntriesKeepsTheTwoAndLeavesLaterFilesAlone",
                 {"3\r\n/s/A.stp\r\n/s/B.stp\r\n", "1\r\n/g/C.bgp\r\n", "1\r\n/m/D.msp\r\n"},
                 {Entries{"/s/A.stp", "/s/B.stp"}, Entries{}, Entries{}},
                 true,
                 {true, false, false},
                 {"2\r\n/s/A.stp\r\n/s/B.stp\r\n", "1\r\n/g/C.bgp\r\n", "1\r\n/m/D.msp\r\n"}},
        LoadCase{"CountOfZeroIsAnEmptyListWithoutMessage",
                 {"0\r\n", "1\r\n/g/C.bgp\r\n", "0\r\n"},
                 {Entries{}, Entries{"/g/C.bgp"}, Entries{}},
                 false,
                 {true, true, true},
                 {"0\r\n", "1\r\n/g/C.bgp\r\n", "0\r\n"}},
        LoadCase{"CountThatIsNotANumberNeverReplacesThatFile",
                 {"x\r\n/s/A.stp\r\n", kMissing, "1\r\n/m/D.msp\r\n"},
                 {Entries{}, Entries{}, Entries{}},
                 true,
                 {false, true, false},
                 {"x\r\n/s/A.stp\r\n", "0\r\n", "1\r\n/m/D.msp\r\n"}},
        LoadCase{"BadBytesInAnEntryKeepTheLaterEntriesOnDisk",
                 {"3\r\n/s/A.stp\r\n\x81\r\n/s/C.stp\r\n", "0\r\n", "0\r\n"},
                 {Entries{"/s/A.stp"}, Entries{}, Entries{}},
                 true,
                 {false, false, false},
                 {"3\r\n/s/A.stp\r\n\x81\r\n/s/C.stp\r\n", "0\r\n", "0\r\n"}},
        LoadCase{"MissingMiddleFileStopsBeforeTheMusicList",
                 {"1\r\n/s/A.stp\r\n", kMissing, "1\r\n/m/D.msp\r\n"},
                 {Entries{"/s/A.stp"}, Entries{}, Entries{}},
                 true,
                 {true, true, false},
                 {"1\r\n/s/A.stp\r\n", "0\r\n", "1\r\n/m/D.msp\r\n"}},
        LoadCase{"ZeroByteFileHoldsNothingToLose",
                 {"", kMissing, kMissing},
                 {Entries{}, Entries{}, Entries{}},
                 true,
                 {true, true, true},
                 {"0\r\n", "0\r\n", "0\r\n"}},
        LoadCase{"LinesAfterTheLastEntryAreDroppedAndLineEndsBecomeCrLf",
                 {"1\n/s/A, B.stp\nleft over\n", "2\r\n/g/C.bgp\r\n/g/C.bgp", "0\r\nx\r\n"},
                 {Entries{"/s/A, B.stp"}, Entries{"/g/C.bgp", "/g/C.bgp"}, Entries{}},
                 false,
                 {true, true, true},
                 {"1\r\n/s/A, B.stp\r\n", "2\r\n/g/C.bgp\r\n/g/C.bgp\r\n", "0\r\n"}},
        LoadCase{"NegativeCountReadsAsAnEmptyList",
                 {"-2\r\n", "0\r\n", "0\r\n"},
                 {Entries{}, Entries{}, Entries{}},
                 false,
                 {true, true, true},
                 {"0\r\n", "0\r\n", "0\r\n"}}),
    [](const ::testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

// Sets with display names, as the creators would leave them.
struct SetFiles {
    std::string stage, graphic, music;
    explicit SetFiles(const ScratchFolder& folder)
        : stage(folder.file("やさしい面.stp")),
          graphic(folder.file("Blocks.bgp")),
          music(folder.file("曲, その1.msp")) {
        WriteLinesAtomic(stage, {"はじめてのステージ", "1"});
        WriteLinesAtomic(graphic, {"ブロック", "x"});
        WriteLinesAtomic(music, {"夏の曲", "作者"});
    }
};

TEST(SelectorEdits, AddDeleteAndCloseAreReadBackByTheGame) {
    ScratchFolder folder;
    SetFiles sets(folder);
    tools::ScriptedPrompter prompter;
    SetSelector selector(folder.path(), prompter);
    selector.loadLists();  // first start: one message

    prompter.fileAnswers = {tools::toQ(sets.stage), tools::toQ(sets.stage),
                            tools::toQ(sets.graphic), std::nullopt, tools::toQ(sets.music)};
    EXPECT_TRUE(selector.addEntry(SetKind::Stage));
    EXPECT_TRUE(selector.addEntry(SetKind::Stage));  // duplicates are allowed
    EXPECT_TRUE(selector.addEntry(SetKind::BitMap));
    EXPECT_FALSE(selector.addEntry(SetKind::Music));  // cancelled
    EXPECT_TRUE(selector.selection().entries(SetKind::Music).empty());
    EXPECT_TRUE(selector.addEntry(SetKind::Music));
    EXPECT_EQ(
        prompter.dialogFilters,
        (QStringList{"ステージプロジェクト (*.stp)", "ステージプロジェクト (*.stp)",
                     "グラフィックプロジェクト (*.bgp)", "ミュージックセット（*.msp） (*.msp)",
                     "ミュージックセット（*.msp） (*.msp)"}));

    EXPECT_FALSE(selector.deleteEntry(SetKind::Stage, -1));  // nothing selected
    EXPECT_FALSE(selector.deleteEntry(SetKind::Stage, 2));   // past the end
    EXPECT_EQ(selector.selection().entries(SetKind::Stage).size(), 2u);
    EXPECT_TRUE(selector.closeLists());

    SetLists lists;
    ReadSetLists(folder.path(), lists);
    EXPECT_EQ(lists.stage.paths, (Entries{sets.stage, sets.stage}));
    EXPECT_EQ(lists.stage.names, (Entries{"はじめてのステージ", "はじめてのステージ"}));
    EXPECT_EQ(lists.bitmap.names, Entries{"ブロック"});
    EXPECT_EQ(lists.music.paths, Entries{sets.music});
    EXPECT_EQ(lists.music.names, Entries{"夏の曲"});
    EXPECT_EQ(prompter.messages.size(), 1u);
}

TEST(SelectorEdits, DeletingTheLastEntryWritesZeroAndTouchesNoOtherList) {
    ScratchFolder folder;
    WriteBytes(folder.file("StageSet.sel"), "2\r\n/s/A.stp\r\n/s/B.stp\r\n");
    WriteBytes(folder.file("BitMapSet.sel"), "1\r\n/g/C.bgp\r\n");
    WriteBytes(folder.file("MusicSet.sel"), "1\r\n/m/D.msp\r\n");
    tools::ScriptedPrompter prompter;
    SetSelector selector(folder.path(), prompter);
    selector.loadLists();
    EXPECT_TRUE(selector.deleteEntry(SetKind::BitMap, 0));
    EXPECT_TRUE(selector.deleteEntry(SetKind::Stage, 0));
    EXPECT_TRUE(selector.closeLists());
    EXPECT_EQ(ReadBytes(folder.file("StageSet.sel")), "1\r\n/s/B.stp\r\n");
    EXPECT_EQ(ReadBytes(folder.file("BitMapSet.sel")), "0\r\n");
    EXPECT_EQ(ReadBytes(folder.file("MusicSet.sel")), "1\r\n/m/D.msp\r\n");
}

struct RefusedPath {
    const char* name;
    const char* path;
};

void PrintTo(const RefusedPath& row, std::ostream* out) {
    *out << row.name;
}

class SelectorRefusesPath : public ::testing::TestWithParam<RefusedPath> {};

TEST_P(SelectorRefusesPath, WithAMessageAndNoChange) {
    ScratchFolder folder;
    tools::ScriptedPrompter prompter;
    SetSelector selector(folder.path(), prompter);
    selector.loadLists();
    prompter.messages.clear();
    prompter.fileAnswers = {QString::fromUtf8(GetParam().path)};
    EXPECT_FALSE(selector.addEntry(SetKind::Music));
    EXPECT_TRUE(selector.selection().entries(SetKind::Music).empty());
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages[0].contains(QString::fromUtf8(GetParam().path)));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SelectorRefusesPath,
    ::testing::Values(RefusedPath{"EmojiOutsideTheCodePage", "/home/a/\xF0\x9F\x8E\xB5.msp"},
                      RefusedPath{"LineBreakThatWouldSplitTheEntry", "/home/a/b\nc.msp"},
                      RefusedPath{"CarriageReturn", "/home/a/b\rc.msp"}),
    [](const ::testing::TestParamInfo<RefusedPath>& info) { return std::string(info.param.name); });

TEST(SelectorEdits, LockedListRefusesEditsWithoutOpeningADialog) {
    ScratchFolder folder;
    WriteBytes(folder.file("StageSet.sel"), "many\r\n");
    tools::ScriptedPrompter prompter;
    SetSelector selector(folder.path(), prompter);
    selector.loadLists();
    prompter.fileAnswers = {QStringLiteral("/s/A.stp")};
    EXPECT_FALSE(selector.addEntry(SetKind::Stage));
    EXPECT_TRUE(prompter.dialogCaptions.isEmpty());
    EXPECT_EQ(prompter.messages.size(), 2u);
    EXPECT_FALSE(selector.deleteEntry(SetKind::Stage, 0));
}

TEST(SelectorClose, FailedWriteNamesTheFileAndLetsTheUserRetryOrStay) {
    ScratchFolder folder;
    const std::string lists = folder.file("not-yet/");
    tools::ScriptedPrompter prompter;
    SetSelector selector(lists, prompter);
    selector.loadLists();
    prompter.fileAnswers = {QStringLiteral("/s/A.stp")};
    ASSERT_TRUE(selector.addEntry(SetKind::Stage));

    prompter.unsavedAnswers = {Answer::Cancel};
    EXPECT_FALSE(selector.closeLists());  // back to the window, nothing lost
    EXPECT_EQ(prompter.unsavedQuestions, 1);

    // The user fixes the folder and tries again.
    std::filesystem::create_directory(lists);
    prompter.unsavedAnswers = {Answer::Save};
    EXPECT_TRUE(selector.closeLists());
    EXPECT_EQ(prompter.unsavedQuestions, 1);
    EXPECT_EQ(ReadBytes(lists + "StageSet.sel"), "1\r\n/s/A.stp\r\n");
}

TEST(SelectorClose, FailureAsksAgainAndDiscardLeavesWithoutWriting) {
    ScratchFolder folder;
    const std::string lists = folder.file("gone/");
    tools::ScriptedPrompter prompter;
    SetSelector selector(lists, prompter);
    selector.loadLists();
    prompter.unsavedAnswers = {Answer::Save, Answer::Discard};
    EXPECT_TRUE(selector.closeLists());
    EXPECT_EQ(prompter.unsavedQuestions, 2);
    EXPECT_FALSE(std::filesystem::exists(lists));
}

TEST(SelectorClose, ListFilledByAnotherProgramMeanwhileIsNotReplaced) {
    ScratchFolder folder;
    tools::ScriptedPrompter prompter;
    SetSelector selector(folder.path(), prompter);
    selector.loadLists();  // nothing on disk yet
    WriteBytes(folder.file("MusicSet.sel"), "1\r\n/m/D.msp\r\n");
    prompter.unsavedAnswers = {Answer::Discard};
    EXPECT_TRUE(selector.closeLists());
    EXPECT_EQ(prompter.unsavedQuestions, 1);
    EXPECT_EQ(ReadBytes(folder.file("MusicSet.sel")), "1\r\n/m/D.msp\r\n");
    EXPECT_EQ(ReadBytes(folder.file("StageSet.sel")), "0\r\n");
}

TEST(EntryInfo, TellsAMovedSetFromAReadableOne) {
    ScratchFolder folder;
    WriteLinesAtomic(folder.file("a.bgp"), {"名前"});
    WriteBytes(folder.file("empty.bgp"), "");
    EntryInfo readable = DescribeEntry(folder.file("a.bgp"));
    EXPECT_TRUE(readable.readable);
    EXPECT_EQ(readable.displayName, "名前");
    EntryInfo empty = DescribeEntry(folder.file("empty.bgp"));
    EXPECT_TRUE(empty.readable);
    EXPECT_EQ(empty.displayName, "");
    EntryInfo moved = DescribeEntry(folder.file("moved.bgp"));
    EXPECT_FALSE(moved.readable);
    EXPECT_TRUE(moved.missing);
}

}  // namespace
}  // namespace qon::sorrel
