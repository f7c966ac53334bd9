// SPDX-License-Identifier: MIT
// The choose runs: a run sets every slot of its group or none of them.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "bitmap_fixture.h"
#include "qon/pavane/graphic_set_creator.h"

namespace qon::pavane {
namespace {

using testing::BitmapFolder;
using tools::ScriptedPrompter;
using tools::toQ;

struct Harness {
    BitmapFolder folder;
    GraphicSetDocument document;
    ScriptedPrompter prompter;
    FileImageLoader loader;
    GraphicSetCreator creator{document, prompter, loader};

    // Queues fitting bitmaps for every slot of the group, named with `prefix`.
    void queueFitting(SlotGroup group, const std::string& prefix = "s") {
        const SlotRange range = RangeOf(group);
        for (int slot = range.first; slot < range.first + range.count; ++slot) {
            prompter.fileAnswers.push_back(toQ(folder.fittingBitmap(slot, prefix)));
        }
    }
    void fill(SlotGroup group, const std::string& prefix = "old") {
        queueFitting(group, prefix);
        ASSERT_TRUE(creator.chooseGroup(group));
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
    SlotGroup group;
    int badIndex;  // position within the group
    int width;
    int height;
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
        h.prompter.fileAnswers.push_back(toQ(i == row.badIndex
                                                 ? h.folder.bitmap("bad.bmp", row.width, row.height)
                                                 : h.folder.fittingBitmap(slot, "new")));
    }
    // Answers after the refused one must never be asked for.
    h.prompter.fileAnswers.push_back(toQ(h.folder.fittingBitmap(range.first, "unused")));
    const int dialogsBefore = static_cast<int>(h.prompter.dialogFilters.size());

    EXPECT_FALSE(h.creator.chooseGroup(row.group));

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

INSTANTIATE_TEST_SUITE_P(
    Sizes, WrongSizeEmptiesGroup,
    ::testing::Values(WrongSizeRow{"BlockOneTooWide", SlotGroup::Blocks, 0, 54, 15},
                      WrongSizeRow{"SecondBlockTooTall", SlotGroup::Blocks, 1, 53, 16},
                      WrongSizeRow{"LastBlockTooWide", SlotGroup::Blocks, 8, 54, 15},
                      WrongSizeRow{"BlockNarrower", SlotGroup::Blocks, 3, 52, 15},
                      WrongSizeRow{"FirstSpecialTooWide", SlotGroup::SpecialBlocks, 0, 54, 15},
                      WrongSizeRow{"LastSpecialTooTall", SlotGroup::SpecialBlocks, 10, 53, 16},
                      WrongSizeRow{"MainBallGivenMiniBallSize", SlotGroup::Parts, 0, 6, 6},
                      WrongSizeRow{"MiniBallTooTall", SlotGroup::Parts, 1, 6, 7},
                      WrongSizeRow{"BarOnePixelShort", SlotGroup::Parts, 2, 127, 12},
                      WrongSizeRow{"BarGivenBlockSize", SlotGroup::Parts, 2, 53, 15}),
    [](const auto& info) { return std::string(info.param.name); });

struct GroupRow {
    const char* name;
    SlotGroup group;
    std::vector<QString> filters;  // the filter of each dialog of the run
};

class FullRun : public ::testing::TestWithParam<GroupRow> {};

TEST_P(FullRun, SetsEverySlotWithTheChosenPathAndFilter) {
    const GroupRow& row = GetParam();
    Harness h;
    h.queueFitting(row.group);

    EXPECT_TRUE(h.creator.chooseGroup(row.group));

    EXPECT_TRUE(h.prompter.messages.isEmpty());
    EXPECT_EQ(
        std::vector<QString>(h.prompter.dialogFilters.begin(), h.prompter.dialogFilters.end()),
        row.filters);
    const SlotRange range = RangeOf(row.group);
    for (int slot = range.first; slot < range.first + range.count; ++slot) {
        // Special and part filters do not say which slot is asked for; the caption does.
        EXPECT_TRUE(h.prompter.dialogCaptions[slot - range.first].contains(
            QString::fromUtf8(BitmapSlotLabel(slot).data(), BitmapSlotLabel(slot).size())));
        EXPECT_EQ(h.document.entry(slot), h.folder.path("s" + std::to_string(slot) + ".bmp"));
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
    ::testing::Values(GroupRow{"BlocksNameTheirNumber", SlotGroup::Blocks, blockFilters()},
                      GroupRow{
                          "SpecialBlocksShareOneFilter", SlotGroup::SpecialBlocks,
                          std::vector<QString>(11, QStringLiteral("特殊ブロック/*.bmp (*.bmp)"))},
                      GroupRow{"PartsShareOneFilter", SlotGroup::Parts,
                               std::vector<QString>(3, QStringLiteral("パーツ/*.bmp (*.bmp)"))}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChooseRun, CancelMidwayLeavesTheGroupAsItWas) {
    Harness h;
    h.fill(SlotGroup::Blocks, "old");
    const std::string firstBefore = h.document.blockFile(0);
    h.prompter.fileAnswers.push_back(toQ(h.folder.fittingBitmap(0, "new")));
    h.prompter.fileAnswers.push_back(toQ(h.folder.fittingBitmap(1, "new")));
    h.prompter.fileAnswers.push_back(std::nullopt);

    EXPECT_FALSE(h.creator.ChooseBlocks());

    EXPECT_TRUE(h.prompter.messages.isEmpty());
    EXPECT_EQ(h.document.blockFile(0), firstBefore);
    EXPECT_EQ(h.filledSlots(SlotGroup::Blocks), 9);
}

TEST(ChooseRun, UnloadableFileEmptiesTheGroupAndNamesTheFile) {
    Harness h;
    h.fill(SlotGroup::SpecialBlocks);
    h.prompter.fileAnswers.push_back(toQ(h.folder.fittingBitmap(kFirstSpecialSlot, "new")));
    const std::string broken = h.folder.notAPicture("broken.bmp");
    h.prompter.fileAnswers.push_back(toQ(broken));

    EXPECT_FALSE(h.creator.ChooseSpecialBlocks());

    ASSERT_EQ(h.prompter.messages.size(), 1);
    EXPECT_TRUE(h.prompter.messages[0].contains(toQ(broken)));
    EXPECT_TRUE(h.prompter.messages[0].contains(QStringLiteral("ミニボール（アイテム）")));
    EXPECT_EQ(h.filledSlots(SlotGroup::SpecialBlocks), 0);
}

// Picking one slot by clicking its preview.
struct SinglePickRow {
    const char* name;
    int slot;
    int width;
    int height;
    bool accepted;
};

class SinglePick : public ::testing::TestWithParam<SinglePickRow> {};

TEST_P(SinglePick, ChangesOnlyThatSlot) {
    const SinglePickRow& row = GetParam();
    Harness h;
    h.fill(GroupOf(row.slot), "old");
    const std::string before = h.document.entry(row.slot);
    const std::string chosen = h.folder.bitmap("one.bmp", row.width, row.height);
    h.prompter.fileAnswers.push_back(toQ(chosen));
    const auto dialogsBefore = h.prompter.dialogFilters.size();

    EXPECT_EQ(h.creator.ChooseSlot(row.slot), row.accepted);

    EXPECT_EQ(h.prompter.dialogFilters.size(), dialogsBefore + 1);
    EXPECT_EQ(h.document.entry(row.slot), row.accepted ? chosen : before);
    EXPECT_EQ(h.prompter.messages.isEmpty(), row.accepted);
    if (!row.accepted) {
        EXPECT_EQ(h.prompter.messages, QStringList{QStringLiteral("サイズが違います。")});
    }
    // Never the whole group.
    EXPECT_EQ(h.filledSlots(GroupOf(row.slot)), RangeOf(GroupOf(row.slot)).count);
}

INSTANTIATE_TEST_SUITE_P(
    Slots, SinglePick,
    ::testing::Values(SinglePickRow{"BlockFits", 4, 53, 15, true},
                      SinglePickRow{"BlockTooWideKeepsOldPicture", 4, 54, 15, false},
                      SinglePickRow{"BlockTooTallKeepsOldPicture", 8, 53, 16, false},
                      SinglePickRow{"BombFits", kFirstSpecialSlot + 10, 53, 15, true},
                      SinglePickRow{"BarFits", kFirstPartSlot + 2, 128, 12, true},
                      SinglePickRow{"BarRefusesBlockSize", kFirstPartSlot + 2, 53, 15, false},
                      SinglePickRow{"MiniBallRefusesMainBallSize", kFirstPartSlot + 1, 12, 12,
                                    false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qon::pavane
