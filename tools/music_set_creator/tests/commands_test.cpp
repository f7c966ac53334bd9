// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "qon/data/music_set.h"
#include "qon/data/text.h"
#include "qon/music_set_creator/music_set_commands.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::music_set_creator {
namespace {

using test_support::Exists;
using test_support::ReadBytes;
using test_support::RowName;
using test_support::ScratchFolder;
using test_support::WriteBytes;
using Answer = tools_common::Prompter::Answer;
using Choice = tools_common::Prompter::Choice;
using Names = std::vector<std::string>;

QON_PRINT_ROWS_BY_NAME

// Test files are written in the file's own code page.
std::string Sjis(std::string_view utf8) {
    return Utf8ToCp932(utf8).value();
}

class MusicSetCommandsTest : public ::testing::Test {
  protected:
    // A music set on disk with three stage tracks.
    std::string writeThreeTrackSet(const std::string& name = "set.msp") {
        std::string path = folder.file(name);
        WriteBytes(path, Sjis("夏祭り\r\n作者A\r\ntitle.mid\r\nend.mid\r\n3\r\na.mid\r\nb.mid\r\n"
                              "c.mid\r\n"));
        return path;
    }
    bool open(const std::string& path) {
        prompter.fileAnswers.push_back(tools_common::toQ(path));
        return commands.OpenSet();
    }
    void answerFile(const std::string& path) {
        prompter.fileAnswers.push_back(tools_common::toQ(path));
    }

    ScratchFolder folder;
    tools_common::ScriptedPrompter prompter;
    MusicSetDocument document;
    MusicSetCommands commands{document, prompter};
};

TEST_F(MusicSetCommandsTest, OpenRemoveSecondAndOverwriteRewritesInPlace) {
    const std::string path = writeThreeTrackSet();
    ASSERT_TRUE(open(path));
    EXPECT_EQ(document.titleTrack(), folder.file("title.mid"));
    EXPECT_EQ(document.stageTracks(),
              (Names{folder.file("a.mid"), folder.file("b.mid"), folder.file("c.mid")}));
    document.selectStageTrack(1);
    ASSERT_TRUE(commands.RemoveStageTrack());
    const int dialogsBefore = prompter.dialogCaptions.size();
    ASSERT_TRUE(commands.SaveSet());
    EXPECT_EQ(prompter.dialogCaptions.size(), dialogsBefore);  // no dialog on overwrite
    EXPECT_EQ(ReadBytes(path),
              Sjis("夏祭り\r\n作者A\r\ntitle.mid\r\nend.mid\r\n2\r\na.mid\r\nc.mid\r\n"));
    EXPECT_EQ(document.trackCount(), 2);
    EXPECT_FALSE(document.isModified());

    MusicSetFile game = ReadMusicSetForGame(path);
    EXPECT_EQ(game.staffName, "作者A");
    EXPECT_EQ(game.stageTracks, (Names{"a.mid", "c.mid"}));
}

TEST_F(MusicSetCommandsTest, FreshSetWithEmptyListWritesFiveLines) {
    answerFile(folder.file("new.msp"));
    ASSERT_TRUE(commands.SaveSet());  // nothing opened yet: asks for a name
    EXPECT_EQ(prompter.dialogFilters, QStringList{"ミュージックセット(*.msp)"});
    EXPECT_EQ(ReadBytes(folder.file("new.msp")), "New\r\nNew\r\n\r\n\r\n0\r\n");
    EXPECT_TRUE(document.fileOpened());
}

TEST_F(MusicSetCommandsTest, BuiltSetIsReadBackByTheGameWithCommasAndDuplicates) {
    for (const char* track : {"/music/Title.mid", "/music/End.mid", "/music/a.mid", "/music/a.mid"})
        answerFile(track);
    ASSERT_TRUE(commands.ChooseTitleTrack());
    ASSERT_TRUE(commands.ChooseEndingTrack());
    ASSERT_TRUE(commands.AddStageTrack());
    ASSERT_TRUE(commands.AddStageTrack());
    EXPECT_EQ(prompter.dialogFilters.front(), QStringLiteral("MIDIファイル(*.mid)"));
    document.setSetName("春, 夏");
    document.setStaffName(" 作者 \"B\"");
    answerFile(folder.file("built.msp"));
    prompter.choiceAnswers = {Choice::No};  // the tracks stay in /music
    ASSERT_TRUE(commands.SaveSetAs());

    MusicSetFile game = ReadMusicSetForGame(folder.file("built.msp"));
    EXPECT_EQ(game.setName, "春, 夏");
    EXPECT_EQ(game.staffName, " 作者 \"B\"");
    EXPECT_EQ(game.titleTrack, "Title.mid");
    EXPECT_EQ(game.endingTrack, "End.mid");
    EXPECT_EQ(game.stageTracks, (Names{"a.mid", "a.mid"}));
}

TEST_F(MusicSetCommandsTest, OverwriteAfterNewAsksForANameAndLeavesTheOldFile) {
    const std::string old = writeThreeTrackSet();
    const std::string before = ReadBytes(old);
    ASSERT_TRUE(open(old));
    ASSERT_TRUE(commands.NewSet());
    EXPECT_EQ(document.setName(), "New");
    EXPECT_TRUE(document.stageTracks().empty());
    answerFile(folder.file("other.msp"));
    ASSERT_TRUE(commands.SaveSet());
    EXPECT_EQ(prompter.dialogCaptions.size(), 2);  // open, then save as
    EXPECT_EQ(ReadBytes(old), before);
    EXPECT_EQ(document.currentFile(), folder.file("other.msp"));
}

TEST_F(MusicSetCommandsTest, SavingIntoAnotherFolderKeepsTheBareNames) {
    const std::string path = writeThreeTrackSet();
    ASSERT_TRUE(open(path));
    folder.folder("copy");
    answerFile(folder.file("copy/set.msp"));
    prompter.choiceAnswers = {Choice::No};
    ASSERT_TRUE(commands.SaveSetAs());
    EXPECT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(ReadBytes(folder.file("copy/set.msp")), ReadBytes(path));
}

TEST_F(MusicSetCommandsTest, OpenReplacesTheListWithExactlyTheFilesTracks) {
    answerFile("/music/x.mid");
    ASSERT_TRUE(commands.AddStageTrack());
    prompter.unsavedAnswers = {Answer::Discard};
    ASSERT_TRUE(open(writeThreeTrackSet()));
    EXPECT_EQ(document.stageTracks().size(), 3u);
    EXPECT_EQ(document.trackCount(), 3);
}

TEST_F(MusicSetCommandsTest, EmptyTrackLinesStayEmptyThroughARoundTrip) {
    const std::string path = folder.file("blank.msp");
    WriteBytes(path, "S\r\nA\r\n\r\nend.mid\r\n1.0\r\nx.mid\r\nleft over\r\n");
    ASSERT_TRUE(open(path));
    EXPECT_EQ(document.titleTrack(), "");
    EXPECT_EQ(document.stageTracks(), Names{folder.file("x.mid")});
    ASSERT_TRUE(commands.SaveSet());
    EXPECT_EQ(ReadBytes(path), "S\r\nA\r\n\r\nend.mid\r\n1\r\nx.mid\r\n");
}

struct BadFile {
    const char* name;
    const char* bytes = nullptr;  // nullptr: no file at all
};

class FailedOpen : public MusicSetCommandsTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(FailedOpen, NamesTheFileAndChangesNothing) {
    const std::string good = writeThreeTrackSet();
    ASSERT_TRUE(open(good));
    document.selectStageTrack(0);
    ASSERT_TRUE(commands.RemoveStageTrack());
    prompter.unsavedAnswers = {Answer::Discard};
    const std::string bad = folder.file("bad.msp");
    if (GetParam().bytes) WriteBytes(bad, GetParam().bytes);
    const MusicSetDocument before = document;

    EXPECT_FALSE(open(bad));
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].contains(tools_common::toQ(bad)));
    EXPECT_EQ(document.stageTracks(), before.stageTracks());
    EXPECT_EQ(document.currentFile(), good);
    EXPECT_TRUE(document.fileOpened());
}

const BadFile kBadFiles[] = {
    {.name = "MissingFile"},
    {.name = "FewerTracksThanTheCount",
     .bytes = "S\r\nA\r\nt.mid\r\ne.mid\r\n3\r\na.mid\r\nb.mid\r\n"},
    {.name = "CountIsNotANumber", .bytes = "S\r\nA\r\nt.mid\r\ne.mid\r\nthree\r\n"},
    {.name = "CountIsNegative", .bytes = "S\r\nA\r\nt.mid\r\ne.mid\r\n-1\r\n"},
    {.name = "EndsBeforeTheCount", .bytes = "S\r\nA\r\n"},
    {.name = "BytesThatAreNotShiftJis", .bytes = "S\r\n\x81\r\nt.mid\r\ne.mid\r\n0\r\n"},
};
INSTANTIATE_TEST_SUITE_P(Rows, FailedOpen, ::testing::ValuesIn(kBadFiles), RowName);

TEST_F(MusicSetCommandsTest, FailedSaveSaysWhereAndWhyAndKeepsTheChanges) {
    document.setSetName("曲集");
    answerFile(folder.file("no-such-folder/set.msp"));
    EXPECT_FALSE(commands.SaveSetAs());
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(
        prompter.messages[0].contains(tools_common::toQ(folder.file("no-such-folder/set.msp"))));
    EXPECT_FALSE(document.fileOpened());
    EXPECT_TRUE(document.isModified());
}

// A double click on "リストから削除" is two removals: the first must leave nothing selected.
TEST_F(MusicSetCommandsTest, RemovingATrackLeavesNothingSelected) {
    ASSERT_TRUE(open(writeThreeTrackSet()));
    EXPECT_EQ(document.selectedStageTrack(), -1);
    document.selectStageTrack(0);
    ASSERT_TRUE(commands.RemoveStageTrack());
    EXPECT_EQ(document.selectedStageTrack(), -1);
    EXPECT_FALSE(commands.RemoveStageTrack()) << "the second click of a double click";
    EXPECT_EQ(document.stageTracks(), (Names{folder.file("b.mid"), folder.file("c.mid")}));
}

TEST_F(MusicSetCommandsTest, CancelledDialogsChangeNothing) {
    const std::string path = writeThreeTrackSet();
    ASSERT_TRUE(open(path));
    const MusicSetDocument before = document;
    EXPECT_FALSE(commands.ChooseTitleTrack());
    EXPECT_FALSE(commands.ChooseEndingTrack());
    EXPECT_FALSE(commands.AddStageTrack());
    EXPECT_FALSE(commands.OpenSet());
    EXPECT_FALSE(commands.SaveSetAs());
    EXPECT_FALSE(commands.RemoveStageTrack());  // nothing selected after opening
    document.selectStageTrack(3);               // past the end: nothing
    EXPECT_FALSE(commands.RemoveStageTrack());
    EXPECT_EQ(document.titleTrack(), before.titleTrack());
    EXPECT_EQ(document.endingTrack(), before.endingTrack());
    EXPECT_EQ(document.stageTracks(), before.stageTracks());
    EXPECT_EQ(document.currentFile(), path);
    EXPECT_FALSE(document.isModified());
    EXPECT_TRUE(prompter.messages.isEmpty());
}

// What happens to New when the author has unsaved changes and answers the question.
struct UnsavedRow {
    const char* name;
    Answer answer = Answer::Cancel;
    bool saveDialogAnswered = false;
    bool newDone = false;
    bool fileWritten = false;
};

class UnsavedChangesBeforeNew : public MusicSetCommandsTest,
                                public ::testing::WithParamInterface<UnsavedRow> {};

TEST_P(UnsavedChangesBeforeNew, FollowsTheAnswer) {
    const UnsavedRow& row = GetParam();
    document.setStaffName("作者C");
    prompter.unsavedAnswers = {row.answer};
    if (row.saveDialogAnswered) answerFile(folder.file("kept.msp"));
    EXPECT_EQ(commands.NewSet(), row.newDone);
    EXPECT_EQ(prompter.unsavedQuestions, 1);
    EXPECT_EQ(prompter.unsavedTexts,
              QStringList{QStringLiteral("ミュージックセットは変更されています。保存しますか？")});
    EXPECT_EQ(document.staffName(), row.newDone ? "New" : "作者C");
    EXPECT_EQ(Exists(folder.file("kept.msp")), row.fileWritten);
}

const UnsavedRow kUnsavedRows[] = {
    {.name = "CancelKeepsTheWork", .answer = Answer::Cancel},
    {.name = "DiscardStartsOver", .answer = Answer::Discard, .newDone = true},
    {.name = "SaveWritesThenStartsOver",
     .answer = Answer::Save,
     .saveDialogAnswered = true,
     .newDone = true,
     .fileWritten = true},
    {.name = "SaveWithCancelledDialogKeepsTheWork", .answer = Answer::Save},
};
INSTANTIATE_TEST_SUITE_P(Rows, UnsavedChangesBeforeNew, ::testing::ValuesIn(kUnsavedRows), RowName);

TEST_F(MusicSetCommandsTest, UnchangedDocumentClosesWithoutAsking) {
    ASSERT_TRUE(open(writeThreeTrackSet()));
    EXPECT_TRUE(commands.confirmClose());
    document.setSetName("夏祭り");  // same text as before: no change
    EXPECT_TRUE(commands.confirmClose());
    EXPECT_EQ(prompter.unsavedQuestions, 0);
    document.setSetName("秋祭り");
    EXPECT_FALSE(commands.confirmClose());
    EXPECT_EQ(prompter.unsavedQuestions, 1);
}

struct Unwritable {
    const char* name;
    const char* setName = "S";
    const char* staffName = "A";
    const char* field = "";  // named in the message
};

class RefusedText : public MusicSetCommandsTest,
                    public ::testing::WithParamInterface<Unwritable> {};

TEST_P(RefusedText, BeforeAskingForAName) {
    document.setSetName(GetParam().setName);
    document.setStaffName(GetParam().staffName);
    answerFile(folder.file("x.msp"));
    EXPECT_FALSE(commands.SaveSet());
    EXPECT_TRUE(prompter.dialogCaptions.isEmpty());
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].contains(QString::fromUtf8(GetParam().field)));
    EXPECT_FALSE(Exists(folder.file("x.msp")));
}

const Unwritable kUnwritables[] = {
    {.name = "EmojiInTheSetName", .setName = "曲\xF0\x9F\x8E\xB5", .field = "ミュージックセット名"},
    {.name = "LineBreakInTheAuthor", .staffName = "A\nB", .field = "製作者"},
    {.name = "CarriageReturnInTheAuthor", .staffName = "A\rB", .field = "製作者"},
};
INSTANTIATE_TEST_SUITE_P(Rows, RefusedText, ::testing::ValuesIn(kUnwritables), RowName);

TEST_F(MusicSetCommandsTest, TrackWhoseNameCannotBeSavedIsRefusedWhenChosen) {
    answerFile("/music/\xF0\x9F\x8E\xB5.mid");
    EXPECT_FALSE(commands.AddStageTrack());
    EXPECT_TRUE(document.stageTracks().empty());
    EXPECT_EQ(prompter.messages.size(), 1);
    // Only the file name is saved: an unusual folder is fine.
    answerFile("/\xF0\x9F\x8E\xB5/ok.mid");
    EXPECT_TRUE(commands.ChooseTitleTrack());
}

}  // namespace
}  // namespace qon::music_set_creator
