// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <array>
#include <optional>

#include "qon/data/text.h"
#include "qon/set_selector/selection_lists_commands.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::set_selector {
namespace {

using test_support::Exists;
using test_support::ReadBytes;
using test_support::RowName;
using test_support::ScratchFolder;
using test_support::WriteBytes;
using tools_common::ScriptedPrompter;
using Answer = tools_common::Prompter::Answer;
using Entries = std::vector<std::string>;

QON_PRINT_ROWS_BY_NAME

const char kMissing[] = "<missing>";

// One start of the selector on a given set of list files, closed without edits.
struct LoadCase {
    const char* name;
    std::array<const char*, 3> before{kMissing, kMissing, kMissing};  // bytes in list order
    std::array<Entries, 3> shown{};
    bool message = false;
    std::array<bool, 3> editable{true, true, true};
    std::array<const char*, 3> afterClose{"0\r\n", "0\r\n", "0\r\n"};
};

class SelectorLoad : public ::testing::TestWithParam<LoadCase> {};

TEST_P(SelectorLoad, ShowsWhatWasReadAndWritesOnlyWhatItMay) {
    const LoadCase& row = GetParam();
    ScratchFolder folder;
    for (std::size_t i = 0; i < 3; ++i) {
        if (std::string(row.before[i]) != kMissing)
            WriteBytes(folder.file(SetListFileName(kListOrder[i])), row.before[i]);
    }
    ScriptedPrompter prompter;
    SelectionListsDocument document(folder.path());
    SelectionListsCommands selector(document, prompter);
    selector.loadLists();

    ASSERT_EQ(prompter.messages.size(), row.message ? 1u : 0u);
    if (row.message) {
        EXPECT_TRUE(prompter.messages[0].startsWith(QStringLiteral("ファイルが見つかりません。")));
    }
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(document.entries(kListOrder[i]), row.shown[i]) << "list " << i;
        EXPECT_EQ(document.isEditable(kListOrder[i]), row.editable[i]) << "list " << i;
    }

    EXPECT_TRUE(selector.closeLists());
    EXPECT_EQ(prompter.unsavedQuestions, 0);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(ReadBytes(folder.file(SetListFileName(kListOrder[i]))), row.afterClose[i])
            << "list " << i;
    }
}

const LoadCase kLoadCases[] = {
    {.name = "FirstStartWithNoFilesWritesThreeEmptyLists", .message = true},
    {.name = "CountOfThreeWithTwoEntriesKeepsTheTwoAndLeavesLaterFilesAlone",
     .before = {"3\r\n/s/A.stp\r\n/s/B.stp\r\n", "1\r\n/g/C.bgp\r\n", "1\r\n/m/D.msp\r\n"},
     .shown = {Entries{"/s/A.stp", "/s/B.stp"}, Entries{}, Entries{}},
     .message = true,
     .editable = {true, false, false},
     .afterClose = {"2\r\n/s/A.stp\r\n/s/B.stp\r\n", "1\r\n/g/C.bgp\r\n", "1\r\n/m/D.msp\r\n"}},
    {.name = "CountOfZeroIsAnEmptyListWithoutMessage",
     .before = {"0\r\n", "1\r\n/g/C.bgp\r\n", "0\r\n"},
     .shown = {Entries{}, Entries{"/g/C.bgp"}, Entries{}},
     .afterClose = {"0\r\n", "1\r\n/g/C.bgp\r\n", "0\r\n"}},
    {.name = "CountThatIsNotANumberNeverReplacesThatFile",
     .before = {"x\r\n/s/A.stp\r\n", kMissing, "1\r\n/m/D.msp\r\n"},
     .message = true,
     .editable = {false, true, false},
     .afterClose = {"x\r\n/s/A.stp\r\n", "0\r\n", "1\r\n/m/D.msp\r\n"}},
    {.name = "BadBytesInAnEntryKeepTheLaterEntriesOnDisk",
     .before = {"3\r\n/s/A.stp\r\n\x81\r\n/s/C.stp\r\n", "0\r\n", "0\r\n"},
     .shown = {Entries{"/s/A.stp"}, Entries{}, Entries{}},
     .message = true,
     .editable = {false, false, false},
     .afterClose = {"3\r\n/s/A.stp\r\n\x81\r\n/s/C.stp\r\n", "0\r\n", "0\r\n"}},
    {.name = "MissingMiddleFileStopsBeforeTheMusicList",
     .before = {"1\r\n/s/A.stp\r\n", kMissing, "1\r\n/m/D.msp\r\n"},
     .shown = {Entries{"/s/A.stp"}, Entries{}, Entries{}},
     .message = true,
     .editable = {true, true, false},
     .afterClose = {"1\r\n/s/A.stp\r\n", "0\r\n", "1\r\n/m/D.msp\r\n"}},
    {.name = "ZeroByteFileHoldsNothingToLose", .before = {"", kMissing, kMissing}, .message = true},
    {.name = "LinesAfterTheLastEntryAreDroppedAndLineEndsBecomeCrLf",
     .before = {"1\n/s/A, B.stp\nleft over\n", "2\r\n/g/C.bgp\r\n/g/C.bgp", "0\r\nx\r\n"},
     .shown = {Entries{"/s/A, B.stp"}, Entries{"/g/C.bgp", "/g/C.bgp"}, Entries{}},
     .afterClose = {"1\r\n/s/A, B.stp\r\n", "2\r\n/g/C.bgp\r\n/g/C.bgp\r\n", "0\r\n"}},
    {.name = "NegativeCountReadsAsAnEmptyList", .before = {"-2\r\n", "0\r\n", "0\r\n"}},
};
INSTANTIATE_TEST_SUITE_P(Rows, SelectorLoad, ::testing::ValuesIn(kLoadCases), RowName);

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
    ScriptedPrompter prompter;
    SelectionListsDocument document(folder.path());
    SelectionListsCommands selector(document, prompter);
    selector.loadLists();  // first start: one message

    prompter.fileAnswers = {tools_common::toQ(sets.stage), tools_common::toQ(sets.stage),
                            tools_common::toQ(sets.graphic), std::nullopt,
                            tools_common::toQ(sets.music)};
    EXPECT_TRUE(selector.addEntry(SetKind::Stage));
    EXPECT_TRUE(selector.addEntry(SetKind::Stage));  // duplicates are allowed
    EXPECT_TRUE(selector.addEntry(SetKind::BitMap));
    EXPECT_FALSE(selector.addEntry(SetKind::Music));  // cancelled
    EXPECT_TRUE(document.entries(SetKind::Music).empty());
    EXPECT_TRUE(selector.addEntry(SetKind::Music));
    EXPECT_EQ(
        prompter.dialogFilters,
        (QStringList{"ステージプロジェクト (*.stp)", "ステージプロジェクト (*.stp)",
                     "グラフィックプロジェクト (*.bgp)", "ミュージックセット（*.msp） (*.msp)",
                     "ミュージックセット（*.msp） (*.msp)"}));

    EXPECT_FALSE(selector.deleteEntry(SetKind::Stage));  // nothing selected
    document.select(SetKind::Stage, 2);                  // past the end: nothing
    EXPECT_FALSE(selector.deleteEntry(SetKind::Stage));
    EXPECT_EQ(document.entries(SetKind::Stage).size(), 2u);
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
    ScriptedPrompter prompter;
    SelectionListsDocument document(folder.path());
    SelectionListsCommands selector(document, prompter);
    selector.loadLists();
    document.select(SetKind::BitMap, 0);
    EXPECT_TRUE(selector.deleteEntry(SetKind::BitMap));
    document.select(SetKind::Stage, 0);
    EXPECT_TRUE(selector.deleteEntry(SetKind::Stage));
    EXPECT_TRUE(selector.closeLists());
    EXPECT_EQ(ReadBytes(folder.file("StageSet.sel")), "1\r\n/s/B.stp\r\n");
    EXPECT_EQ(ReadBytes(folder.file("BitMapSet.sel")), "0\r\n");
    EXPECT_EQ(ReadBytes(folder.file("MusicSet.sel")), "1\r\n/m/D.msp\r\n");
}

// A double click on a delete button is two deletes: the first must leave nothing selected,
// so that the second removes nothing.
TEST(SelectorEdits, ADeleteLeavesNothingSelected) {
    ScratchFolder folder;
    WriteBytes(folder.file("StageSet.sel"), "3\r\n/s/A.stp\r\n/s/B.stp\r\n/s/C.stp\r\n");
    WriteBytes(folder.file("BitMapSet.sel"), "1\r\n/g/C.bgp\r\n");
    WriteBytes(folder.file("MusicSet.sel"), "0\r\n");
    ScriptedPrompter prompter;
    SelectionListsDocument document(folder.path());
    SelectionListsCommands selector(document, prompter);
    selector.loadLists();
    document.select(SetKind::Stage, 1);
    document.select(SetKind::BitMap, 0);
    EXPECT_TRUE(selector.deleteEntry(SetKind::Stage));
    EXPECT_EQ(document.selected(SetKind::Stage), -1);
    EXPECT_FALSE(selector.deleteEntry(SetKind::Stage)) << "the second click of a double click";
    EXPECT_EQ(document.entries(SetKind::Stage), (Entries{"/s/A.stp", "/s/C.stp"}));
    EXPECT_EQ(document.selected(SetKind::BitMap), 0) << "the other lists keep their selection";
}

struct RefusedPath {
    const char* name;
    const char* path = "";
};

class SelectorRefusesPath : public ::testing::TestWithParam<RefusedPath> {};

TEST_P(SelectorRefusesPath, WithAMessageAndNoChange) {
    ScratchFolder folder;
    ScriptedPrompter prompter;
    SelectionListsDocument document(folder.path());
    SelectionListsCommands selector(document, prompter);
    selector.loadLists();
    prompter.messages.clear();
    prompter.fileAnswers = {QString::fromUtf8(GetParam().path)};
    EXPECT_FALSE(selector.addEntry(SetKind::Music));
    EXPECT_TRUE(document.entries(SetKind::Music).empty());
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages[0].contains(QString::fromUtf8(GetParam().path)));
}

const RefusedPath kRefusedPaths[] = {
    {.name = "EmojiOutsideTheCodePage", .path = "/home/a/\xF0\x9F\x8E\xB5.msp"},
    {.name = "LineBreakThatWouldSplitTheEntry", .path = "/home/a/b\nc.msp"},
    {.name = "CarriageReturn", .path = "/home/a/b\rc.msp"},
};
INSTANTIATE_TEST_SUITE_P(Rows, SelectorRefusesPath, ::testing::ValuesIn(kRefusedPaths), RowName);

TEST(SelectorEdits, LockedListRefusesEditsWithoutOpeningADialog) {
    ScratchFolder folder;
    WriteBytes(folder.file("StageSet.sel"), "many\r\n");
    ScriptedPrompter prompter;
    SelectionListsDocument document(folder.path());
    SelectionListsCommands selector(document, prompter);
    selector.loadLists();
    prompter.fileAnswers = {QStringLiteral("/s/A.stp")};
    EXPECT_FALSE(selector.addEntry(SetKind::Stage));
    EXPECT_TRUE(prompter.dialogCaptions.isEmpty());
    EXPECT_EQ(prompter.messages.size(), 2u);
    document.select(SetKind::Stage, 0);
    EXPECT_FALSE(selector.deleteEntry(SetKind::Stage));
}

TEST(SelectorClose, FailedWriteNamesTheFileAndLetsTheUserRetryOrStay) {
    ScratchFolder folder;
    const std::string lists = folder.file("not-yet/");
    ScriptedPrompter prompter;
    SelectionListsDocument document(lists);
    SelectionListsCommands selector(document, prompter);
    selector.loadLists();
    prompter.fileAnswers = {QStringLiteral("/s/A.stp")};
    ASSERT_TRUE(selector.addEntry(SetKind::Stage));

    prompter.unsavedAnswers = {Answer::Cancel};
    EXPECT_FALSE(selector.closeLists());  // back to the window, nothing lost
    EXPECT_EQ(prompter.unsavedQuestions, 1);
    ASSERT_EQ(prompter.unsavedTexts.size(), 1);
    EXPECT_TRUE(prompter.unsavedTexts[0].startsWith(
        QStringLiteral("次の一覧を保存できませんでした。\n\n\"") + tools_common::toQ(lists)));
    EXPECT_TRUE(prompter.unsavedTexts[0].endsWith(QStringLiteral(
        "\n\nもう一度保存しますか？\n保存せずに終了すると、その一覧への変更は失われます。")));

    // The user fixes the folder and tries again.
    folder.folder("not-yet");
    prompter.unsavedAnswers = {Answer::Save};
    EXPECT_TRUE(selector.closeLists());
    EXPECT_EQ(prompter.unsavedQuestions, 1);
    EXPECT_EQ(ReadBytes(lists + "StageSet.sel"), "1\r\n/s/A.stp\r\n");
}

TEST(SelectorClose, FailureAsksAgainAndDiscardLeavesWithoutWriting) {
    ScratchFolder folder;
    const std::string lists = folder.file("gone/");
    ScriptedPrompter prompter;
    SelectionListsDocument document(lists);
    SelectionListsCommands selector(document, prompter);
    selector.loadLists();
    prompter.unsavedAnswers = {Answer::Save, Answer::Discard};
    EXPECT_TRUE(selector.closeLists());
    EXPECT_EQ(prompter.unsavedQuestions, 2);
    EXPECT_FALSE(Exists(lists));
}

TEST(SelectorClose, ListFilledByAnotherProgramMeanwhileIsNotReplaced) {
    ScratchFolder folder;
    ScriptedPrompter prompter;
    SelectionListsDocument document(folder.path());
    SelectionListsCommands selector(document, prompter);
    selector.loadLists();  // nothing on disk yet
    WriteBytes(folder.file("MusicSet.sel"), "1\r\n/m/D.msp\r\n");
    prompter.unsavedAnswers = {Answer::Discard};
    EXPECT_TRUE(selector.closeLists());
    EXPECT_EQ(prompter.unsavedQuestions, 1);
    EXPECT_EQ(ReadBytes(folder.file("MusicSet.sel")), "1\r\n/m/D.msp\r\n");
    EXPECT_EQ(ReadBytes(folder.file("StageSet.sel")), "0\r\n");
}

}  // namespace
}  // namespace qon::set_selector
