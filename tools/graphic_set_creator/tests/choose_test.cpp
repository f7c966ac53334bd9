// SPDX-License-Identifier: MIT
// The choose runs: a run sets every slot of its group or none of them.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "qon/graphic_set_creator/graphic_set_commands.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "slot_bitmaps.h"

namespace qon::graphic_set_creator {
namespace {

using test::WriteBitmap;
using test::WriteFittingBitmap;
using test_support::RowName;
using test_support::ScratchFolder;
using tools_common::ScriptedPrompter;
using tools_common::toQ;

QON_PRINT_ROWS_BY_NAME

struct Harness {
    ScratchFolder folder;
    GraphicSetDocument document;
    ScriptedPrompter prompter;
    FileImageLoader loader;
    GraphicSetCommands commands{document, prompter, loader};

    // Queues fitting bitmaps for every slot of the group, named with `prefix`.
    void queueFitting(SlotGroup group, const std::string& prefix = "s") {
        const SlotRange range = RangeOf(group);
        for (int slot = range.first; slot < range.first + range.count; ++slot) {
            prompter.fileAnswers.push_back(toQ(WriteFittingBitmap(folder, slot, prefix)));
        }
    }
    void fill(SlotGroup group, const std::string& prefix = "old") {
        queueFitting(group, prefix);
        ASSERT_TRUE(commands.chooseGroup(group));
    }
    int filledSlots(SlotGroup group) const {
        const SlotRange range = RangeOf(group);
        int filled = 0;
        for (int slot = range.first; slot < range.first + range.count; ++slot) {
            if (!document.entry(slot).empty()) ++filled;
            EXPECT_EQ(document.entry(slot).empty(), document.picture(slot).isNull()) << slot;
        }
        return filled;
    }
};

// One bitmap in a run has another size than its slot wants.
struct WrongSizeRow {
    const char* name;
    SlotGroup group = SlotGroup::Blocks;
    int badIndex = 0;  // position within the group
    int width = 0;
    int height = 0;
};

class WrongSizeEmptiesGroup : public ::testing::TestWithParam<WrongSizeRow> {};

TEST_P(WrongSizeEmptiesGroup, EvenTheSlotsPickedBeforeIt) {
    const WrongSizeRow& row = GetParam();
    Harness h;
    // The other groups are full and must stay so.
    for (SlotGroup group : {SlotGroup::Blocks, SlotGroup::SpecialBlocks, SlotGroup::Parts}) {
        h.fill(group, "keep");
    }
    const SlotRange range = RangeOf(row.group);
    for (int i = 0; i <= row.badIndex; ++i) {
        const int slot = range.first + i;
        h.prompter.fileAnswers.push_back(
            toQ(i == row.badIndex ? WriteBitmap(h.folder, "bad.bmp", row.width, row.height)
                                  : WriteFittingBitmap(h.folder, slot, "new")));
    }
    // Answers after the refused one must never be asked for.
    h.prompter.fileAnswers.push_back(toQ(WriteFittingBitmap(h.folder, range.first, "unused")));
    const int dialogsBefore = static_cast<int>(h.prompter.dialogFilters.size());

    EXPECT_FALSE(h.commands.chooseGroup(row.group));

    EXPECT_EQ(h.prompter.messages, QStringList{QStringLiteral("サイズが違います。")});
    EXPECT_EQ(static_cast<int>(h.prompter.dialogFilters.size()) - dialogsBefore, row.badIndex + 1);
    EXPECT_EQ(h.filledSlots(row.group), 0);
    for (SlotGroup other : {SlotGroup::Blocks, SlotGroup::SpecialBlocks, SlotGroup::Parts}) {
        if (other != row.group) {
            EXPECT_EQ(h.filledSlots(other), RangeOf(other).count);
        }
    }
    EXPECT_TRUE(h.document.isModified());
}

const WrongSizeRow kWrongSizes[] = {
    {.name = "BlockOneTooWide",
     .group = SlotGroup::Blocks,
     .badIndex = 0,
     .width = 54,
     .height = 15},
    {.name = "SecondBlockTooTall",
     .group = SlotGroup::Blocks,
     .badIndex = 1,
     .width = 53,
     .height = 16},
    {.name = "LastBlockTooWide",
     .group = SlotGroup::Blocks,
     .badIndex = 8,
     .width = 54,
     .height = 15},
    {.name = "BlockNarrower", .group = SlotGroup::Blocks, .badIndex = 3, .width = 52, .height = 15},
    {.name = "FirstSpecialTooWide",
     .group = SlotGroup::SpecialBlocks,
     .badIndex = 0,
     .width = 54,
     .height = 15},
    {.name = "LastSpecialTooTall",
     .group = SlotGroup::SpecialBlocks,
     .badIndex = 10,
     .width = 53,
     .height = 16},
    {.name = "MainBallGivenMiniBallSize",
     .group = SlotGroup::Parts,
     .badIndex = 0,
     .width = 6,
     .height = 6},
    {.name = "MiniBallTooTall", .group = SlotGroup::Parts, .badIndex = 1, .width = 6, .height = 7},
    {.name = "BarOnePixelShort",
     .group = SlotGroup::Parts,
     .badIndex = 2,
     .width = 127,
     .height = 12},
    {.name = "BarGivenBlockSize",
     .group = SlotGroup::Parts,
     .badIndex = 2,
     .width = 53,
     .height = 15},
};
INSTANTIATE_TEST_SUITE_P(Sizes, WrongSizeEmptiesGroup, ::testing::ValuesIn(kWrongSizes), RowName);

struct GroupRow {
    const char* name;
    SlotGroup group = SlotGroup::Blocks;
    std::vector<QString> filters{};  // the filter of each dialog of the run
};

class FullRun : public ::testing::TestWithParam<GroupRow> {};

TEST_P(FullRun, SetsEverySlotWithTheChosenPathAndFilter) {
    const GroupRow& row = GetParam();
    Harness h;
    h.queueFitting(row.group);

    EXPECT_TRUE(h.commands.chooseGroup(row.group));

    EXPECT_TRUE(h.prompter.messages.isEmpty());
    EXPECT_EQ(
        std::vector<QString>(h.prompter.dialogFilters.begin(), h.prompter.dialogFilters.end()),
        row.filters);
    const SlotRange range = RangeOf(row.group);
    for (int slot = range.first; slot < range.first + range.count; ++slot) {
        // Special and part filters do not say which slot is asked for; the caption does.
        EXPECT_TRUE(h.prompter.dialogCaptions[slot - range.first].contains(
            QString::fromUtf8(BitmapSlotLabel(slot).data(), BitmapSlotLabel(slot).size())));
        EXPECT_EQ(h.document.entry(slot), h.folder.file("s" + std::to_string(slot) + ".bmp"));
        const BitmapSize size = RequiredBitmapSize(slot);
        EXPECT_EQ(h.document.picture(slot).size(), QSize(size.width, size.height));
    }
    EXPECT_EQ(h.filledSlots(SlotGroup::Blocks) + h.filledSlots(SlotGroup::SpecialBlocks) +
                  h.filledSlots(SlotGroup::Parts),
              range.count);
    EXPECT_TRUE(h.document.isModified());
}

std::vector<QString> blockFilters() {
    std::vector<QString> filters;
    for (int n = 1; n <= 9; ++n)
        filters.push_back(QStringLiteral("ブロック%1/*.bmp (*.bmp)").arg(n));
    return filters;
}

INSTANTIATE_TEST_SUITE_P(
    Groups, FullRun,
    ::testing::Values(
        GroupRow{
            .name = "BlocksNameTheirNumber", .group = SlotGroup::Blocks, .filters = blockFilters()},
        GroupRow{.name = "SpecialBlocksShareOneFilter",
                 .group = SlotGroup::SpecialBlocks,
                 .filters = std::vector<QString>(11, QStringLiteral("特殊ブロック/*.bmp (*.bmp)"))},
        GroupRow{.name = "PartsShareOneFilter",
                 .group = SlotGroup::Parts,
                 .filters = std::vector<QString>(3, QStringLiteral("パーツ/*.bmp (*.bmp)"))}),
    RowName);

TEST(ChooseRun, CancelMidwayLeavesTheGroupAsItWas) {
    Harness h;
    h.fill(SlotGroup::Blocks, "old");
    const std::string firstBefore = h.document.blockFile(0);
    h.prompter.fileAnswers.push_back(toQ(WriteFittingBitmap(h.folder, 0, "new")));
    h.prompter.fileAnswers.push_back(toQ(WriteFittingBitmap(h.folder, 1, "new")));
    h.prompter.fileAnswers.push_back(std::nullopt);

    EXPECT_FALSE(h.commands.ChooseBlocks());

    EXPECT_TRUE(h.prompter.messages.isEmpty());
    EXPECT_EQ(h.document.blockFile(0), firstBefore);
    EXPECT_EQ(h.filledSlots(SlotGroup::Blocks), 9);
}

TEST(ChooseRun, UnloadableFileEmptiesTheGroupAndNamesTheFile) {
    Harness h;
    h.fill(SlotGroup::SpecialBlocks);
    h.prompter.fileAnswers.push_back(toQ(WriteFittingBitmap(h.folder, kFirstSpecialSlot, "new")));
    const std::string broken = h.folder.file("broken.bmp");
    test_support::WriteBytes(broken, "this is not a bitmap\r\n");
    h.prompter.fileAnswers.push_back(toQ(broken));

    EXPECT_FALSE(h.commands.ChooseSpecialBlocks());

    ASSERT_EQ(h.prompter.messages.size(), 1);
    EXPECT_TRUE(h.prompter.messages[0].contains(toQ(broken)));
    EXPECT_TRUE(h.prompter.messages[0].contains(QStringLiteral("ミニボール（アイテム）")));
    EXPECT_EQ(h.filledSlots(SlotGroup::SpecialBlocks), 0);
}

// Picking one slot by clicking its preview.
struct SinglePickRow {
    const char* name;
    int slot = 0;
    int width = 0;
    int height = 0;
    bool accepted = false;
};

class SinglePick : public ::testing::TestWithParam<SinglePickRow> {};

TEST_P(SinglePick, ChangesOnlyThatSlot) {
    const SinglePickRow& row = GetParam();
    Harness h;
    h.fill(GroupOf(row.slot), "old");
    const std::string before = h.document.entry(row.slot);
    const std::string chosen = WriteBitmap(h.folder, "one.bmp", row.width, row.height);
    h.prompter.fileAnswers.push_back(toQ(chosen));
    const auto dialogsBefore = h.prompter.dialogFilters.size();

    EXPECT_EQ(h.commands.ChooseSlot(row.slot), row.accepted);

    EXPECT_EQ(h.prompter.dialogFilters.size(), dialogsBefore + 1);
    EXPECT_EQ(h.document.entry(row.slot), row.accepted ? chosen : before);
    EXPECT_EQ(h.prompter.messages.isEmpty(), row.accepted);
    if (!row.accepted) {
        EXPECT_EQ(h.prompter.messages, QStringList{QStringLiteral("サイズが違います。")});
    }
    // Never the whole group.
    EXPECT_EQ(h.filledSlots(GroupOf(row.slot)), RangeOf(GroupOf(row.slot)).count);
}

const SinglePickRow kSinglePicks[] = {
    {.name = "BlockFits", .slot = 4, .width = 53, .height = 15, .accepted = true},
    {.name = "BlockTooWideKeepsOldPicture", .slot = 4, .width = 54, .height = 15},
    {.name = "BlockTooTallKeepsOldPicture", .slot = 8, .width = 53, .height = 16},
    {.name = "BombFits",
     .slot = kFirstSpecialSlot + 10,
     .width = 53,
     .height = 15,
     .accepted = true},
    {.name = "BarFits", .slot = kFirstPartSlot + 2, .width = 128, .height = 12, .accepted = true},
    {.name = "BarRefusesBlockSize", .slot = kFirstPartSlot + 2, .width = 53, .height = 15},
    {.name = "MiniBallRefusesMainBallSize", .slot = kFirstPartSlot + 1, .width = 12, .height = 12},
};
INSTANTIATE_TEST_SUITE_P(Slots, SinglePick, ::testing::ValuesIn(kSinglePicks), RowName);

TEST(ChooseRun, EachPickShowsBeforeTheNextDialogOpens) {
    Harness h;
    h.queueFitting(SlotGroup::Blocks);
    std::vector<int> filledAtEachDialog;
    h.prompter.beforeEachDialog = [&] {
        filledAtEachDialog.push_back(h.filledSlots(SlotGroup::Blocks));
    };
    std::vector<int> shown;
    h.commands.setPickShown([&](int slot) { shown.push_back(slot); });

    EXPECT_TRUE(h.commands.ChooseBlocks());

    EXPECT_EQ(filledAtEachDialog, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(ChooseRun, ARefusedSizeEmptiesTheGroupThatWasAlreadyShowing) {
    Harness h;
    h.prompter.fileAnswers = {toQ(WriteFittingBitmap(h.folder, kFirstPartSlot)),
                              toQ(WriteFittingBitmap(h.folder, kFirstPartSlot + 1)),
                              toQ(WriteBitmap(h.folder, "short-bar.bmp", 127, 12))};
    int filledAtLastDialog = -1;
    h.prompter.beforeEachDialog = [&] { filledAtLastDialog = h.filledSlots(SlotGroup::Parts); };

    EXPECT_FALSE(h.commands.ChooseParts());

    EXPECT_EQ(filledAtLastDialog, 2);
    EXPECT_EQ(h.filledSlots(SlotGroup::Parts), 0);
    EXPECT_EQ(h.prompter.messages, QStringList{QStringLiteral("サイズが違います。")});
    EXPECT_EQ(h.prompter.titles, QStringList{QStringLiteral("QONPavane")});
}

TEST(ChooseRun, CancelAfterPicksShowedPutsBackTheUntouchedDocument) {
    Harness h;
    h.prompter.fileAnswers = {toQ(WriteFittingBitmap(h.folder, kFirstSpecialSlot)),
                              toQ(WriteFittingBitmap(h.folder, kFirstSpecialSlot + 1)),
                              std::nullopt};

    EXPECT_FALSE(h.commands.ChooseSpecialBlocks());

    EXPECT_EQ(h.filledSlots(SlotGroup::SpecialBlocks), 0);
    EXPECT_FALSE(h.document.isModified());
}

}  // namespace
}  // namespace qon::graphic_set_creator
