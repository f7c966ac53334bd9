// SPDX-License-Identifier: MIT
// The play order of the stage tracks, tracks from other folders copied beside the set,
// the recent files, and messages in the window's language.
#include <gtest/gtest.h>

#include "qon/data/error.h"
#include "qon/data/music_set.h"
#include "qon/data/text.h"
#include "qon/music_set_creator/music_set_commands.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/media_bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::music_set_creator {
namespace {

using test_support::Exists;
using test_support::ReadBytes;
using test_support::RowName;
using test_support::ScratchFolder;
using test_support::WriteBytes;
using tools_common::toQ;
using Choice = tools_common::Prompter::Choice;
using Names = std::vector<std::string>;

QON_PRINT_ROWS_BY_NAME

struct Harness {
    ScratchFolder root;
    std::string music = root.folder("music");
    std::string sets = root.folder("sets");
    tools_common::ScriptedPrompter prompter;
    tools_common::RecentFiles recent{nullptr};
    MusicSetDocument document;
    MusicSetCommands commands{document, prompter};

    Harness() { commands.setRecentFiles(&recent); }

    std::string midi(const std::string& name) {
        WriteBytes(music + name, test_support::MidiBytes() + name);
        return music + name;
    }
    void add(const std::string& path) {
        prompter.fileAnswers.push_back(toQ(path));
        ASSERT_TRUE(commands.AddStageTrack());
    }
    bool saveAs(const std::string& path, std::optional<Choice> copy = std::nullopt) {
        prompter.fileAnswers.push_back(toQ(path));
        if (copy) prompter.choiceAnswers.push_back(*copy);
        return commands.SaveSetAs();
    }
    bool gameFindsEveryTrack(const std::string& setPath) const {
        const MusicSetFile file = ReadMusicSetForGame(setPath);
        Names names = {file.titleTrack, file.endingTrack};
        names.insert(names.end(), file.stageTracks.begin(), file.stageTracks.end());
        for (const std::string& name : names) {
            if (!Exists(MusicTrackPath(setPath, name))) return false;
        }
        return true;
    }
};

struct MoveRow {
    const char* name;
    int from = 0;
    int to = 0;
    Names order{};  // of a, b, c, d afterwards
    bool moved = true;
};

class StageTrackMove : public ::testing::TestWithParam<MoveRow> {};

TEST_P(StageTrackMove, ChangesThePlayOrderThatIsSaved) {
    const MoveRow& row = GetParam();
    Harness h;
    for (const char* name : {"a.mid", "b.mid", "c.mid", "d.mid"}) h.add(h.music + name);
    const std::string setPath = h.music + "order.msp";
    ASSERT_TRUE(h.saveAs(setPath));

    EXPECT_EQ(h.commands.MoveStageTrack(row.from, row.to), row.moved);

    EXPECT_EQ(h.document.isModified(), row.moved);
    ASSERT_TRUE(h.commands.SaveSet());
    EXPECT_EQ(ReadMusicSetForGame(setPath).stageTracks, row.order);
}

const MoveRow kMoves[] = {
    {.name = "SecondUpBecomesFirst",
     .from = 1,
     .to = 0,
     .order = {"b.mid", "a.mid", "c.mid", "d.mid"}},
    {.name = "FirstDownBecomesSecond",
     .from = 0,
     .to = 1,
     .order = {"b.mid", "a.mid", "c.mid", "d.mid"}},
    {.name = "LastDraggedToTheTop",
     .from = 3,
     .to = 0,
     .order = {"d.mid", "a.mid", "b.mid", "c.mid"}},
    {.name = "FirstDraggedToTheBottom",
     .from = 0,
     .to = 3,
     .order = {"b.mid", "c.mid", "d.mid", "a.mid"}},
    {.name = "FirstCannotGoUp",
     .from = 0,
     .to = -1,
     .order = {"a.mid", "b.mid", "c.mid", "d.mid"},
     .moved = false},
    {.name = "LastCannotGoDown",
     .from = 3,
     .to = 4,
     .order = {"a.mid", "b.mid", "c.mid", "d.mid"},
     .moved = false},
    {.name = "NothingSelectedMovesNothing",
     .from = -1,
     .to = 0,
     .order = {"a.mid", "b.mid", "c.mid", "d.mid"},
     .moved = false},
    {.name = "DroppedOnItselfMovesNothing",
     .from = 2,
     .to = 2,
     .order = {"a.mid", "b.mid", "c.mid", "d.mid"},
     .moved = false},
};
INSTANTIATE_TEST_SUITE_P(Moves, StageTrackMove, ::testing::ValuesIn(kMoves), RowName);

TEST(StageTrackOrder, UpAndDownMoveOneOfTwoEqualEntries) {
    Harness h;
    for (const char* name : {"a.mid", "a.mid", "b.mid"}) h.add(h.music + name);
    ASSERT_TRUE(h.commands.MoveStageTrackUp(2));
    ASSERT_TRUE(h.commands.MoveStageTrackUp(1));
    EXPECT_FALSE(h.commands.MoveStageTrackUp(0));
    EXPECT_TRUE(h.commands.MoveStageTrackDown(0));
    EXPECT_EQ(h.document.stageTracks(),
              (Names{h.music + "a.mid", h.music + "b.mid", h.music + "a.mid"}));
}

TEST(SaveBesideTracks, YesCopiesEveryTrackNextToTheSet) {
    Harness h;
    h.prompter.fileAnswers = {toQ(h.midi("Title.mid")), toQ(h.midi("End.mid"))};
    ASSERT_TRUE(h.commands.ChooseTitleTrack());
    ASSERT_TRUE(h.commands.ChooseEndingTrack());
    h.add(h.midi("Stage1.mid"));
    h.add(h.music + "Stage1.mid");
    const std::string setPath = h.sets + "Summer.msp";

    ASSERT_TRUE(h.saveAs(setPath, Choice::Yes));

    ASSERT_EQ(h.prompter.questions.size(), 1);
    EXPECT_TRUE(h.prompter.questions[0].contains(toQ(h.music + "Title.mid")));
    EXPECT_EQ(h.prompter.questions[0].count(QStringLiteral("Stage1.mid")), 1);
    EXPECT_EQ(h.prompter.titles, QStringList{QStringLiteral("QONOrvinth")});
    EXPECT_TRUE(h.gameFindsEveryTrack(setPath));
    EXPECT_EQ(ReadBytes(h.sets + "End.mid"), ReadBytes(h.music + "End.mid"));
    EXPECT_EQ(h.document.stageTracks(), (Names{h.sets + "Stage1.mid", h.sets + "Stage1.mid"}));
    EXPECT_EQ(h.document.titleTrack(), h.sets + "Title.mid");
    // Beside the set now: overwriting asks nothing.
    ASSERT_TRUE(h.commands.SaveSet());
    EXPECT_EQ(h.prompter.questions.size(), 1);
}

TEST(SaveBesideTracks, NoSavesTheBareNamesAndCancelSavesNothing) {
    Harness h;
    h.add(h.midi("Stage1.mid"));

    EXPECT_FALSE(h.saveAs(h.sets + "Cancelled.msp", Choice::Cancel));
    EXPECT_FALSE(Exists(h.sets + "Cancelled.msp"));

    ASSERT_TRUE(h.saveAs(h.sets + "AsItIs.msp", Choice::No));
    EXPECT_EQ(ReadMusicSetForGame(h.sets + "AsItIs.msp").stageTracks, Names{"Stage1.mid"});
    EXPECT_FALSE(Exists(h.sets + "Stage1.mid"));
    EXPECT_FALSE(h.gameFindsEveryTrack(h.sets + "AsItIs.msp"));
}

TEST(RecentMusicSets, OpenedAndSavedSetsAreListedAndReopenedWithoutADialog) {
    Harness h;
    h.add(h.midi("Stage1.mid"));
    const std::string setPath = h.music + "Spring.msp";
    ASSERT_TRUE(h.saveAs(setPath));
    EXPECT_EQ(h.recent.paths(), QStringList{toQ(setPath)});
    ASSERT_TRUE(h.commands.NewSet());
    const auto dialogs = h.prompter.dialogFilters.size();

    EXPECT_TRUE(h.commands.OpenSetFrom(setPath));

    EXPECT_EQ(h.prompter.dialogFilters.size(), dialogs);
    EXPECT_EQ(h.prompter.usedFiles, QStringList{toQ(setPath)});
    EXPECT_EQ(h.document.stageTracks(), Names{h.music + "Stage1.mid"});
}

TEST(RecentMusicSets, AVanishedSetIsSaidAndLeavesTheList) {
    Harness h;
    const std::string gone = h.sets + "Gone.msp";
    h.recent.add(toQ(gone));

    EXPECT_FALSE(h.commands.OpenSetFrom(gone));

    ASSERT_EQ(h.prompter.messages.size(), 1);
    EXPECT_TRUE(h.prompter.messages[0].contains(QStringLiteral("一覧から外します")));
    EXPECT_TRUE(h.recent.paths().isEmpty());
}

TEST(MusicSetMessages, AFileThatCannotBeOpenedIsExplainedInJapanese) {
    Harness h;
    const std::string bad = h.sets + "bad.msp";
    WriteBytes(bad, "S\r\nA\r\nt.mid\r\ne.mid\r\nthree\r\n");
    h.prompter.fileAnswers.push_back(toQ(bad));

    EXPECT_FALSE(h.commands.OpenSet());

    ASSERT_EQ(h.prompter.messages.size(), 1);
    EXPECT_EQ(
        h.prompter.messages[0],
        QStringLiteral("ミュージックセットを開けませんでした。\n\n") + toQ(QuotedPath(bad)) +
            QStringLiteral("\n5 行目：曲数「three」が 0 から 32767 までの整数ではありません。"));
    EXPECT_EQ(h.prompter.titles, QStringList{QStringLiteral("QONOrvinth")});
}

}  // namespace
}  // namespace qon::music_set_creator
