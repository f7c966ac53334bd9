// SPDX-License-Identifier: MIT
#include "qon/music_set_creator/music_set_editor.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "qon/data/music_set.h"
#include "qon/data/text.h"
#include "scratch_folder.h"

namespace qon::orvinth {
namespace {

using test::ReadBytes;
using test::ScratchFolder;
using test::WriteBytes;
using Answer = tools::Prompter::Answer;
using Names = std::vector<std::string>;

// Test files are written in the file's own code page.
std::string Sjis(std::string_view utf8) {
    return Utf8ToCp932(utf8).value();
}

class OrvinthEditor : public ::testing::Test {
  protected:
    // A music set on disk with three stage tracks.
    std::string writeThreeTrackSet(const std::string& name = "set.msp") {
        std::string path = folder.file(name);
        WriteBytes(path, Sjis("夏祭り\r\n作者A\r\ntitle.mid\r\nend.mid\r\n3\r\na.mid\r\nb.mid\r\n"
                              "c.mid\r\n"));
        return path;
    }
    bool open(const std::string& path) {
        prompter.fileAnswers.push_back(tools::toQ(path));
        return editor.OpenSet();
    }
    void answerFile(const std::string& path) { prompter.fileAnswers.push_back(tools::toQ(path)); }

    ScratchFolder folder;
    tools::ScriptedPrompter prompter;
    MusicSetEditor editor{prompter};
};

TEST_F(OrvinthEditor, OpenRemoveSecondAndOverwriteRewritesInPlace) {
    const std::string path = writeThreeTrackSet();
    ASSERT_TRUE(open(path));
    EXPECT_EQ(editor.document().titleTrack, folder.file("title.mid"));
    EXPECT_EQ(editor.document().stageTracks,
              (Names{folder.file("a.mid"), folder.file("b.mid"), folder.file("c.mid")}));
    ASSERT_TRUE(editor.RemoveStageTrack(1));
    const int dialogsBefore = prompter.dialogCaptions.size();
    ASSERT_TRUE(editor.SaveSet());
    EXPECT_EQ(prompter.dialogCaptions.size(), dialogsBefore);  // no dialog on overwrite
    EXPECT_EQ(ReadBytes(path),
              Sjis("夏祭り\r\n作者A\r\ntitle.mid\r\nend.mid\r\n2\r\na.mid\r\nc.mid\r\n"));
    EXPECT_EQ(editor.trackCount(), 2);
    EXPECT_FALSE(editor.isModified());

    MusicSetFile game = ReadMusicSetForGame(path);
    EXPECT_EQ(game.staffName, "作者A");
    EXPECT_EQ(game.stageTracks, (Names{"a.mid", "c.mid"}));
}

TEST_F(OrvinthEditor, FreshSetWithEmptyListWritesFiveLines) {
    answerFile(folder.file("new.msp"));
    ASSERT_TRUE(editor.SaveSet());  // nothing opened yet: asks for a name
    EXPECT_EQ(prompter.dialogFilters, QStringList{"ミュージックセット(*.msp)"});
    EXPECT_EQ(ReadBytes(folder.file("new.msp")), "New\r\nNew\r\n\r\n\r\n0\r\n");
    EXPECT_TRUE(editor.fileOpened());
}

TEST_F(OrvinthEditor, BuiltSetIsReadBackByTheGameWithCommasAndDuplicates) {
    for (const char* track : {"/music/Title.mid", "/music/End.mid", "/music/a.mid", "/music/a.mid"})
        answerFile(track);
    ASSERT_TRUE(editor.ChooseTitleTrack());
    ASSERT_TRUE(editor.ChooseEndingTrack());
    ASSERT_TRUE(editor.AddStageTrack());
    ASSERT_TRUE(editor.AddStageTrack());
    EXPECT_EQ(prompter.dialogFilters.front(), QStringLiteral("MIDIファイル(*.mid)"));
    editor.setSetName("春, 夏");
    editor.setStaffName(" 作者 \"B\"");
    answerFile(folder.file("built.msp"));
    ASSERT_TRUE(editor.SaveSetAs());

    MusicSetFile game = ReadMusicSetForGame(folder.file("built.msp"));
    EXPECT_EQ(game.setName, "春, 夏");
    EXPECT_EQ(game.staffName, " 作者 \"B\"");
    EXPECT_EQ(game.titleTrack, "Title.mid");
    EXPECT_EQ(game.endingTrack, "End.mid");
    EXPECT_EQ(game.stageTracks, (Names{"a.mid", "a.mid"}));
}

TEST_F(OrvinthEditor, OverwriteAfterNewAsksForANameAndLeavesTheOldFile) {
    const std::string old = writeThreeTrackSet();
    const std::string before = ReadBytes(old);
    ASSERT_TRUE(open(old));
    ASSERT_TRUE(editor.NewSet());
    EXPECT_EQ(editor.document().setName, "New");
    EXPECT_TRUE(editor.document().stageTracks.empty());
    answerFile(folder.file("other.msp"));
    ASSERT_TRUE(editor.SaveSet());
    EXPECT_EQ(prompter.dialogCaptions.size(), 2);  // open, then save as
    EXPECT_EQ(ReadBytes(old), before);
    EXPECT_EQ(editor.currentFile(), folder.file("other.msp"));
}

TEST_F(OrvinthEditor, SavingIntoAnotherFolderKeepsTheBareNames) {
    const std::string path = writeThreeTrackSet();
    ASSERT_TRUE(open(path));
    std::filesystem::create_directory(folder.file("copy"));
    answerFile(folder.file("copy/set.msp"));
    ASSERT_TRUE(editor.SaveSetAs());
    EXPECT_EQ(ReadBytes(folder.file("copy/set.msp")), ReadBytes(path));
}

TEST_F(OrvinthEditor, OpenReplacesTheListWithExactlyTheFilesTracks) {
    answerFile("/music/x.mid");
    ASSERT_TRUE(editor.AddStageTrack());
    prompter.unsavedAnswers = {Answer::Discard};
    ASSERT_TRUE(open(writeThreeTrackSet()));
    EXPECT_EQ(editor.document().stageTracks.size(), 3u);
    EXPECT_EQ(editor.trackCount(), 3);
}

TEST_F(OrvinthEditor, EmptyTrackLinesStayEmptyThroughARoundTrip) {
    const std::string path = folder.file("blank.msp");
    WriteBytes(path, "S\r\nA\r\n\r\nend.mid\r\n1.0\r\nx.mid\r\nleft over\r\n");
    ASSERT_TRUE(open(path));
    EXPECT_EQ(editor.document().titleTrack, "");
    EXPECT_EQ(editor.document().stageTracks, Names{folder.file("x.mid")});
    ASSERT_TRUE(editor.SaveSet());
    EXPECT_EQ(ReadBytes(path), "S\r\nA\r\n\r\nend.mid\r\n1\r\nx.mid\r\n");
}

struct BadFile {
    const char* name;
    const char* bytes;  // nullptr: no file at all
};

void PrintTo(const BadFile& row, std::ostream* out) {
    *out << row.name;
}

class OrvinthFailedOpen : public OrvinthEditor, public ::testing::WithParamInterface<BadFile> {};

TEST_P(OrvinthFailedOpen, NamesTheFileAndChangesNothing) {
    const std::string good = writeThreeTrackSet();
    ASSERT_TRUE(open(good));
    ASSERT_TRUE(editor.RemoveStageTrack(0));
    prompter.unsavedAnswers = {Answer::Discard};
    const std::string bad = folder.file("bad.msp");
    if (GetParam().bytes) WriteBytes(bad, GetParam().bytes);
    const MusicSetDocument before = editor.document();

    EXPECT_FALSE(open(bad));
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].contains(tools::toQ(bad)));
    EXPECT_EQ(editor.document().stageTracks, before.stageTracks);
    EXPECT_EQ(editor.currentFile(), good);
    EXPECT_TRUE(editor.fileOpened());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OrvinthFailedOpen,
    ::testing::Values(BadFile{"MissingFile", nullptr},
                      BadFile{"FewerTracksThanTheCount",
                              "S\r\nA\r\nt.mid\r\ne.mid\r\n3\r\na.mid\r\nb.mid\r\n"},
                      BadFile{"CountIsNotANumber", "S\r\nA\r\nt.mid\r\ne.mid\r\nthree\r\n"},
                      BadFile{"CountIsNegative", "S\r\nA\r\nt.mid\r\ne.mid\r\n-1\r\n"},
                      BadFile{"EndsBeforeTheCount", "S\r\nA\r\n"},
                      BadFile{"BytesThatAreNotShiftJis", "S\r\n\x81\r\nt.mid\r\ne.mid\r\n0\r\n"}),
    [](const ::testing::TestParamInfo<BadFile>& info) { return std::string(info.param.name); });

TEST_F(OrvinthEditor, FailedSaveSaysWhereAndWhyAndKeepsTheChanges) {
    editor.setSetName("曲集");
    answerFile(folder.file("no-such-folder/set.msp"));
    EXPECT_FALSE(editor.SaveSetAs());
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].contains(tools::toQ(folder.file("no-such-folder/set.msp"))));
    EXPECT_FALSE(editor.fileOpened());
    EXPECT_TRUE(editor.isModified());
}

TEST_F(OrvinthEditor, CancelledDialogsChangeNothing) {
    const std::string path = writeThreeTrackSet();
    ASSERT_TRUE(open(path));
    const MusicSetDocument before = editor.document();
    EXPECT_FALSE(editor.ChooseTitleTrack());
    EXPECT_FALSE(editor.ChooseEndingTrack());
    EXPECT_FALSE(editor.AddStageTrack());
    EXPECT_FALSE(editor.OpenSet());
    EXPECT_FALSE(editor.SaveSetAs());
    EXPECT_FALSE(editor.RemoveStageTrack(-1));
    EXPECT_FALSE(editor.RemoveStageTrack(3));
    EXPECT_EQ(editor.document().titleTrack, before.titleTrack);
    EXPECT_EQ(editor.document().endingTrack, before.endingTrack);
    EXPECT_EQ(editor.document().stageTracks, before.stageTracks);
    EXPECT_EQ(editor.currentFile(), path);
    EXPECT_FALSE(editor.isModified());
    EXPECT_TRUE(prompter.messages.isEmpty());
}

// What happens to New when the author has unsaved changes and answers the question.
struct UnsavedRow {
    const char* name;
    Answer answer;
    bool saveDialogAnswered;
    bool newDone;
    bool fileWritten;
};

void PrintTo(const UnsavedRow& row, std::ostream* out) {
    *out << row.name;
}

class OrvinthUnsavedNew : public OrvinthEditor, public ::testing::WithParamInterface<UnsavedRow> {};

TEST_P(OrvinthUnsavedNew, FollowsTheAnswer) {
    const UnsavedRow& row = GetParam();
    editor.setStaffName("作者C");
    prompter.unsavedAnswers = {row.answer};
    if (row.saveDialogAnswered) answerFile(folder.file("kept.msp"));
    EXPECT_EQ(editor.NewSet(), row.newDone);
    EXPECT_EQ(prompter.unsavedQuestions, 1);
    EXPECT_EQ(editor.document().staffName, row.newDone ? "New" : "作者C");
    EXPECT_EQ(std::filesystem::exists(folder.file("kept.msp")), row.fileWritten);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OrvinthUnsavedNew,
    ::testing::Values(UnsavedRow{"CancelKeepsTheWork", Answer::Cancel, false, false, false},
                      UnsavedRow{"DiscardStartsOver", Answer::Discard, false, true, false},
                      UnsavedRow{"SaveWritesThenStartsOver", Answer::Save, true, true, true},
                      UnsavedRow{"SaveWithCancelledDialogKeepsTheWork", Answer::Save, false, false,
                                 false}),
    [](const ::testing::TestParamInfo<UnsavedRow>& info) { return std::string(info.param.name); });

TEST_F(OrvinthEditor, UnchangedDocumentClosesWithoutAsking) {
    ASSERT_TRUE(open(writeThreeTrackSet()));
    EXPECT_TRUE(editor.confirmClose());
    editor.setSetName("夏祭り");  // same text as before: no change
    EXPECT_TRUE(editor.confirmClose());
    EXPECT_EQ(prompter.unsavedQuestions, 0);
    editor.setSetName("秋祭り");
    EXPECT_FALSE(editor.confirmClose());
    EXPECT_EQ(prompter.unsavedQuestions, 1);
}

struct Unwritable {
    const char* name;
    const char* setName;
    const char* staffName;
    const char* field;  // named in the message
};

void PrintTo(const Unwritable& row, std::ostream* out) {
    *out << row.name;
}

class OrvinthRefusesText : public OrvinthEditor,
                           public ::testing::WithParamInterface<Unwritable> {};

TEST_P(OrvinthRefusesText, BeforeAskingForAName) {
    editor.setSetName(GetParam().setName);
    editor.setStaffName(GetParam().staffName);
    answerFile(folder.file("x.msp"));
    EXPECT_FALSE(editor.SaveSet());
    EXPECT_TRUE(prompter.dialogCaptions.isEmpty());
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].contains(QString::fromUtf8(GetParam().field)));
    EXPECT_FALSE(std::filesystem::exists(folder.file("x.msp")));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OrvinthRefusesText,
    ::testing::Values(Unwritable{"EmojiInTheSetName", "曲\xF0\x9F\x8E\xB5", "A",
                                 "ミュージックセット名"},
                      Unwritable{"LineBreakInTheAuthor", "S", "A\nB", "製作者"},
                      Unwritable{"CarriageReturnInTheAuthor", "S", "A\rB", "製作者"}),
    [](const ::testing::TestParamInfo<Unwritable>& info) { return std::string(info.param.name); });

TEST_F(OrvinthEditor, TrackWhoseNameCannotBeSavedIsRefusedWhenChosen) {
    answerFile("/music/\xF0\x9F\x8E\xB5.mid");
    EXPECT_FALSE(editor.AddStageTrack());
    EXPECT_TRUE(editor.document().stageTracks.empty());
    EXPECT_EQ(prompter.messages.size(), 1);
    // Only the file name is saved: an unusual folder is fine.
    answerFile("/\xF0\x9F\x8E\xB5/ok.mid");
    EXPECT_TRUE(editor.ChooseTitleTrack());
}

}  // namespace
}  // namespace qon::orvinth
