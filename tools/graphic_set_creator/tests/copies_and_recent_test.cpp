// SPDX-License-Identifier: MIT
// Bitmaps from other folders copied beside the set on saving, and the recent files.
#include <gtest/gtest.h>

#include <string>

#include "qon/graphic_set_creator/graphic_set_commands.h"
#include "qon/test_support/bytes.h"
#include "slot_bitmaps.h"

namespace qon::graphic_set_creator {
namespace {

using test::WriteFittingBitmap;
using test_support::Exists;
using test_support::ReadBytes;
using test_support::ScratchFolder;
using tools_common::RecentFiles;
using tools_common::ScriptedPrompter;
using tools_common::toQ;
using Choice = tools_common::Prompter::Choice;

struct Harness {
    ScratchFolder root;
    std::string pictures = root.folder("pictures");
    std::string sets = root.folder("sets");
    GraphicSetDocument document;
    ScriptedPrompter prompter;
    FileImageLoader loader;
    RecentFiles recent{nullptr};
    GraphicSetCommands commands{document, prompter, loader};

    Harness() { commands.setRecentFiles(&recent); }

    // Every slot picked from the pictures folder.
    void pickAll() {
        for (SlotGroup group : {SlotGroup::Blocks, SlotGroup::SpecialBlocks, SlotGroup::Parts}) {
            const SlotRange range = RangeOf(group);
            for (int slot = range.first; slot < range.first + range.count; ++slot) {
                prompter.fileAnswers.push_back(toQ(WriteFittingBitmap(root, slot, "pictures/s")));
            }
            ASSERT_TRUE(commands.chooseGroup(group));
        }
    }
    bool saveAs(const std::string& path, Choice copy) {
        prompter.fileAnswers.push_back(toQ(path));
        prompter.choiceAnswers.push_back(copy);
        return commands.SaveSetAs();
    }
    bool open(const std::string& path) {
        prompter.fileAnswers.push_back(toQ(path));
        return commands.OpenSet();
    }
    // Every bitmap the game would look for beside the set is there.
    bool gameFindsEveryBitmap(const std::string& setPath) const {
        const GraphicSetFile file = ReadGraphicSetFile(setPath);
        for (const std::string& name : file.bitmaps) {
            if (!Exists(GraphicBitmapPath(setPath, name))) return false;
        }
        return true;
    }
};

TEST(SaveBesideBitmaps, YesCopiesEveryBitmapNextToTheSet) {
    Harness h;
    h.pickAll();
    const std::string setPath = h.sets + "Blue.bgp";

    ASSERT_TRUE(h.saveAs(setPath, Choice::Yes));

    ASSERT_EQ(h.prompter.questions.size(), 1);
    EXPECT_TRUE(h.prompter.questions[0].contains(toQ(h.pictures + "s0.bmp")));
    EXPECT_TRUE(h.prompter.questions[0].contains(QStringLiteral("（ほか 13 個）")));
    EXPECT_EQ(h.prompter.titles, QStringList{QStringLiteral("QONPavane")});
    EXPECT_TRUE(h.gameFindsEveryBitmap(setPath));
    EXPECT_EQ(ReadBytes(h.sets + "s20.bmp"), ReadBytes(h.pictures + "s20.bmp"));
    // The document names the copies now, so the next overwrite has nothing to ask.
    EXPECT_EQ(h.document.blockFile(0), h.sets + "s0.bmp");
    ASSERT_TRUE(h.commands.SaveSet());
    EXPECT_EQ(h.prompter.questions.size(), 1);
}

TEST(SaveBesideBitmaps, NoSavesTheSetAsItIsAndDoesNotAskAgain) {
    Harness h;
    h.pickAll();
    const std::string setPath = h.sets + "Blue.bgp";

    ASSERT_TRUE(h.saveAs(setPath, Choice::No));
    ASSERT_TRUE(h.commands.SaveSet());

    EXPECT_EQ(h.prompter.questions.size(), 1);
    EXPECT_EQ(ReadGraphicSetFile(setPath).bitmaps[0], "s0.bmp");
    EXPECT_FALSE(Exists(h.sets + "s0.bmp"));
    EXPECT_FALSE(h.gameFindsEveryBitmap(setPath));
}

TEST(SaveBesideBitmaps, CancelWritesNothing) {
    Harness h;
    h.pickAll();
    const std::string setPath = h.sets + "Blue.bgp";

    EXPECT_FALSE(h.saveAs(setPath, Choice::Cancel));

    EXPECT_FALSE(Exists(setPath));
    EXPECT_FALSE(Exists(h.sets + "s0.bmp"));
    EXPECT_FALSE(h.document.fileOpened());
    EXPECT_TRUE(h.document.isModified());
}

TEST(SaveBesideBitmaps, NamesReadFromASetAreLookedForBesideThatSet) {
    Harness h;
    h.pickAll();
    const std::string original = h.pictures + "Blue.bgp";
    ASSERT_TRUE(h.saveAs(original, Choice::Yes));
    EXPECT_TRUE(h.prompter.questions.isEmpty());  // already beside it
    ASSERT_TRUE(h.open(original));
    EXPECT_EQ(h.document.blockFile(0), "s0.bmp");

    const std::string moved = h.sets + "Blue copy.bgp";
    ASSERT_TRUE(h.saveAs(moved, Choice::Yes));

    ASSERT_EQ(h.prompter.questions.size(), 1);
    EXPECT_TRUE(h.prompter.questions[0].contains(toQ(h.pictures + "s0.bmp")));
    EXPECT_TRUE(h.gameFindsEveryBitmap(moved));
    EXPECT_EQ(ReadGraphicSetFile(moved).bitmaps, ReadGraphicSetFile(original).bitmaps);
}

TEST(RecentGraphicSets, OpenedAndSavedSetsAreListedNewestFirst) {
    Harness h;
    h.pickAll();
    const std::string first = h.pictures + "First.bgp";
    const std::string second = h.pictures + "Second.bgp";
    ASSERT_TRUE(h.saveAs(first, Choice::Yes));
    ASSERT_TRUE(h.saveAs(second, Choice::Yes));
    ASSERT_TRUE(h.open(first));

    EXPECT_EQ(h.recent.paths(), (QStringList{toQ(first), toQ(second)}));
}

TEST(RecentGraphicSets, OpeningOneSkipsTheDialogAndMovesTheDialogsThere) {
    Harness h;
    h.pickAll();
    const std::string setPath = h.pictures + "Blue.bgp";
    ASSERT_TRUE(h.saveAs(setPath, Choice::Yes));
    ASSERT_TRUE(h.commands.NewSet());
    const auto dialogs = h.prompter.dialogFilters.size();

    EXPECT_TRUE(h.commands.OpenSetFrom(setPath));

    EXPECT_EQ(h.prompter.dialogFilters.size(), dialogs);
    EXPECT_EQ(h.prompter.usedFiles, QStringList{toQ(setPath)});
    EXPECT_EQ(h.document.currentFile(), setPath);
    EXPECT_FALSE(h.document.picture(22).isNull());
}

TEST(RecentGraphicSets, AVanishedSetIsSaidAndLeavesTheList) {
    Harness h;
    const std::string gone = h.sets + "Gone.bgp";
    h.recent.add(toQ(gone));

    EXPECT_FALSE(h.commands.OpenSetFrom(gone));

    ASSERT_EQ(h.prompter.messages.size(), 1);
    EXPECT_TRUE(h.prompter.messages[0].contains(toQ(gone)));
    EXPECT_TRUE(h.prompter.messages[0].contains(QStringLiteral("一覧から外します")));
    EXPECT_TRUE(h.recent.paths().isEmpty());
}

}  // namespace
}  // namespace qon::graphic_set_creator
