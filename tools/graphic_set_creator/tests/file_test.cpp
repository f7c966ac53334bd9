// SPDX-License-Identifier: MIT
// Saving, opening and the unsaved-changes question, read back by the game's and the
// stage editor's readers.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <optional>
#include <string>
#include <vector>

#include "bitmap_fixture.h"
#include "qon/data/error.h"
#include "qon/data/text.h"
#include "qon/pavane/graphic_set_creator.h"

namespace qon::pavane {
namespace {

using testing::BitmapFolder;
using tools::Prompter;
using tools::ScriptedPrompter;
using tools::toQ;

std::string slotName(const std::string& prefix, int slot) {
    return prefix + std::to_string(slot) + ".bmp";
}

struct Harness {
    BitmapFolder folder;
    GraphicSetDocument document;
    ScriptedPrompter prompter;
    FileImageLoader loader;
    GraphicSetCreator creator{document, prompter, loader};

    void fillAll(const std::string& prefix = "s") {
        for (SlotGroup group : {SlotGroup::Blocks, SlotGroup::SpecialBlocks, SlotGroup::Parts}) {
            const SlotRange range = RangeOf(group);
            for (int slot = range.first; slot < range.first + range.count; ++slot) {
                prompter.fileAnswers.push_back(toQ(folder.fittingBitmap(slot, prefix)));
            }
            ASSERT_TRUE(creator.chooseGroup(group));
        }
    }
    // A saved set whose bitmaps are named prefix0.bmp .. prefix22.bmp.
    std::string savedSet(const std::string& fileName, const std::string& prefix) {
        GraphicSetFile file;
        file.setName = "Set " + prefix;
        file.staffName = "Staff " + prefix;
        for (int slot = 0; slot < kBitmapSlots; ++slot) {
            folder.fittingBitmap(slot, prefix);
            file.bitmaps[slot] = slotName(prefix, slot);
        }
        const std::string path = folder.path(fileName);
        WriteGraphicSetFile(path, file);
        return path;
    }
    bool saveAs(const std::string& path) {
        prompter.fileAnswers.push_back(toQ(path));
        return creator.SaveSetAs();
    }
    bool open(const std::string& path) {
        prompter.fileAnswers.push_back(toQ(path));
        return creator.OpenSet();
    }
};

TEST(Save, WritesBareNamesThatBothReadersFind) {
    Harness h;
    h.fillAll();
    h.document.setSetName("青い, \"セット\"");
    h.document.setStaffName("  ①作者～ｶﾅ");
    const std::string setPath = h.folder.path("mine.bgp");

    ASSERT_TRUE(h.saveAs(setPath));

    EXPECT_TRUE(h.prompter.messages.isEmpty()) << h.prompter.messages.join('\n').toStdString();
    EXPECT_EQ(h.prompter.dialogFilters.last(),
              QStringLiteral("QONグラフィックプロジェクト/*.bgp (*.bgp)"));
    const GraphicSetFile game = ReadGraphicSetFile(setPath);
    EXPECT_EQ(game.setName, "青い, \"セット\"");
    EXPECT_EQ(game.staffName, "  ①作者～ｶﾅ");
    for (int slot = 0; slot < kBitmapSlots; ++slot) {
        EXPECT_EQ(game.bitmaps[slot], slotName("s", slot));
        EXPECT_TRUE(QFile::exists(toQ(GraphicBitmapPath(setPath, game.bitmaps[slot]))));
    }
    const PaletteImages palette = ReadPaletteImages(setPath);
    ASSERT_EQ(palette.count, kBlockSlots + kSpecialSlots);
    for (int slot = 0; slot < palette.count; ++slot) {
        EXPECT_EQ(palette.paths[slot], h.folder.path(slotName("s", slot)));
    }
    EXPECT_EQ(ReadAllLines(setPath).size(), 25u);
    EXPECT_TRUE(h.document.fileOpened());
    EXPECT_FALSE(h.document.isModified());
}

// A save that must be refused before any dialog shows and before anything is written.
struct RefusedSaveRow {
    const char* name;
    int emptySlot;  // -1: all slots set
    const char* setName;
    const char* staffName;
    const char* mentioned;  // the message must name this
};

class RefusedSave : public ::testing::TestWithParam<RefusedSaveRow> {};

TEST_P(RefusedSave, NamesTheProblemAndWritesNothing) {
    const RefusedSaveRow& row = GetParam();
    Harness h;
    h.fillAll();
    if (row.emptySlot >= 0) h.document.setSlot(row.emptySlot, "", QImage());
    h.document.setSetName(row.setName);
    h.document.setStaffName(row.staffName);
    const std::string setPath = h.folder.path("refused.bgp");
    h.prompter.fileAnswers.push_back(toQ(setPath));
    const auto dialogsBefore = h.prompter.dialogFilters.size();

    EXPECT_FALSE(h.creator.SaveSetAs());
    EXPECT_FALSE(h.creator.SaveSet());

    EXPECT_EQ(h.prompter.dialogFilters.size(), dialogsBefore);
    ASSERT_EQ(h.prompter.messages.size(), 2);
    EXPECT_TRUE(h.prompter.messages[0].contains(QString::fromUtf8(row.mentioned)))
        << h.prompter.messages[0].toStdString();
    EXPECT_FALSE(QFile::exists(toQ(setPath)));
    EXPECT_FALSE(h.document.fileOpened());
    EXPECT_TRUE(h.document.isModified());
}

INSTANTIATE_TEST_SUITE_P(
    Problems, RefusedSave,
    ::testing::Values(RefusedSaveRow{"FirstBlockEmpty", 0, "a", "b", "ブロック1"},
                      RefusedSaveRow{"UnbreakableEmpty", 8, "a", "b", "壊れないブロック"},
                      RefusedSaveRow{"PinEmpty", kFirstSpecialSlot, "a", "b", "ピン"},
                      RefusedSaveRow{"BarEmpty", kFirstPartSlot + 2, "a", "b", "バー"},
                      RefusedSaveRow{"EmojiInSetName", -1, "set \xF0\x9F\x98\x80", "b",
                                     "\xF0\x9F\x98\x80"},
                      RefusedSaveRow{"EmojiInStaffName", -1, "a", "\xF0\x9F\x8E\xB5 me", "製作者"},
                      RefusedSaveRow{"LineBreakInSetName", -1, "two\nlines", "b", "改行"},
                      RefusedSaveRow{"CarriageReturnInStaff", -1, "a", "b\r", "改行"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Save, BitmapNameThatShiftJisCannotHoldIsRefused) {
    Harness h;
    h.fillAll();
    const std::string odd = h.folder.bitmap("bar\xF0\x9F\x98\x80.bmp", 128, 12);
    h.prompter.fileAnswers.push_back(toQ(odd));
    ASSERT_TRUE(h.creator.ChooseSlot(kFirstPartSlot + 2));

    EXPECT_FALSE(h.saveAs(h.folder.path("x.bgp")));
    ASSERT_EQ(h.prompter.messages.size(), 1);
    EXPECT_TRUE(h.prompter.messages[0].contains(QStringLiteral("バー")));
    EXPECT_FALSE(QFile::exists(toQ(h.folder.path("x.bgp"))));
}

TEST(Save, FailedWriteSaysWhichFileAndKeepsTheDocumentUnsaved) {
    Harness h;
    h.fillAll();
    const std::string intoMissingFolder = h.folder.path("no/such/folder/set.bgp");

    EXPECT_FALSE(h.saveAs(intoMissingFolder));

    ASSERT_EQ(h.prompter.messages.size(), 1);
    EXPECT_TRUE(h.prompter.messages[0].contains(toQ(intoMissingFolder)));
    EXPECT_FALSE(h.document.fileOpened());
    EXPECT_TRUE(h.document.currentFile().empty());
    EXPECT_TRUE(h.document.isModified());
}

TEST(Save, CancelledDialogWritesNothing) {
    Harness h;
    h.fillAll();
    h.prompter.fileAnswers.push_back(std::nullopt);
    EXPECT_FALSE(h.creator.SaveSetAs());
    EXPECT_TRUE(h.prompter.messages.isEmpty());
    EXPECT_FALSE(h.document.fileOpened());
    EXPECT_TRUE(h.document.isModified());
}

TEST(Save, OverwriteAfterOpenRewritesInPlaceWithoutADialog) {
    Harness h;
    const std::string setPath = h.savedSet("a.bgp", "a");
    ASSERT_TRUE(h.open(setPath));
    h.document.setStaffName("Someone else");
    const auto dialogsBefore = h.prompter.dialogFilters.size();

    ASSERT_TRUE(h.creator.SaveSet());

    EXPECT_EQ(h.prompter.dialogFilters.size(), dialogsBefore);
    const std::vector<std::string> lines = ReadAllLines(setPath);
    ASSERT_EQ(lines.size(), 25u);
    EXPECT_EQ(lines[1], "Someone else");
    EXPECT_EQ(lines[24], slotName("a", 22));
    EXPECT_FALSE(h.document.isModified());
}

TEST(Save, OverwriteAfterNewAsksForAName) {
    Harness h;
    const std::string setPath = h.savedSet("a.bgp", "a");
    ASSERT_TRUE(h.open(setPath));
    ASSERT_TRUE(h.creator.NewSet());
    h.fillAll("b");
    h.prompter.fileAnswers.push_back(toQ(h.folder.path("b.bgp")));
    const auto dialogsBefore = h.prompter.dialogFilters.size();

    ASSERT_TRUE(h.creator.SaveSet());

    EXPECT_EQ(h.prompter.dialogFilters.size(), dialogsBefore + 1);
    EXPECT_EQ(ReadGraphicSetFile(setPath).bitmaps[0], slotName("a", 0));
    EXPECT_EQ(ReadGraphicSetFile(h.folder.path("b.bgp")).bitmaps[0], slotName("b", 0));
}

TEST(Save, OpenedBareNamesAreWrittenBackUnchangedUnderANewName) {
    Harness h;
    const std::string original = h.savedSet("a.bgp", "a");
    ASSERT_TRUE(h.open(original));
    const std::string copy = h.folder.path("copy.bgp");

    ASSERT_TRUE(h.saveAs(copy));

    EXPECT_EQ(ReadAllLines(copy), ReadAllLines(original));
    EXPECT_EQ(h.document.currentFile(), copy);
}

TEST(Open, FillsEverySlotWithoutASizeCheck) {
    Harness h;
    const std::string setPath = h.savedSet("a.bgp", "a");
    // A hand-made set may hold a bitmap of another size; opening does not judge it.
    h.folder.bitmap(slotName("a", 5), 60, 20);

    ASSERT_TRUE(h.open(setPath));

    EXPECT_TRUE(h.prompter.messages.isEmpty());
    EXPECT_EQ(h.prompter.dialogFilters,
              QStringList{QStringLiteral("QONグラフィックプロジェクト/*.bgp (*.bgp)")});
    EXPECT_EQ(h.document.setName(), "Set a");
    EXPECT_EQ(h.document.staffName(), "Staff a");
    for (int slot = 0; slot < kBitmapSlots; ++slot) {
        EXPECT_EQ(h.document.entry(slot), slotName("a", slot));
        EXPECT_FALSE(h.document.picture(slot).isNull());
    }
    EXPECT_EQ(h.document.picture(5).size(), QSize(60, 20));
    EXPECT_TRUE(h.document.fileOpened());
    EXPECT_EQ(h.document.currentFile(), setPath);
    EXPECT_FALSE(h.document.isModified());
}

class OpenStops : public ::testing::TestWithParam<int> {};

TEST_P(OpenStops, AtTheSlotWhoseBitmapIsMissing) {
    const int failing = GetParam();
    Harness h;
    const std::string before = h.savedSet("before.bgp", "old");
    ASSERT_TRUE(h.open(before));
    const std::string broken = h.savedSet("broken.bgp", "new");
    QFile::remove(toQ(h.folder.path(slotName("new", failing))));

    EXPECT_FALSE(h.open(broken));

    EXPECT_EQ(h.prompter.unsavedQuestions, 0);
    ASSERT_EQ(h.prompter.messages.size(), 1);
    EXPECT_TRUE(h.prompter.messages[0].contains(toQ(broken)));
    EXPECT_TRUE(h.prompter.messages[0].contains(toQ(slotName("new", failing))));
    EXPECT_EQ(h.document.setName(), "Set new");
    for (int slot = 0; slot < kBitmapSlots; ++slot) {
        SCOPED_TRACE(slot);
        if (slot < failing) {
            EXPECT_EQ(h.document.entry(slot), slotName("new", slot));
            EXPECT_FALSE(h.document.picture(slot).isNull());
        } else if (slot == failing) {
            EXPECT_EQ(h.document.entry(slot), slotName("new", slot));
            EXPECT_TRUE(h.document.picture(slot).isNull());
        } else {
            EXPECT_EQ(h.document.entry(slot), slotName("old", slot));
            EXPECT_FALSE(h.document.picture(slot).isNull());
        }
    }
    // The mix belongs to neither file: an overwrite must ask instead of replacing one.
    EXPECT_FALSE(h.document.fileOpened());
    EXPECT_TRUE(h.document.isModified());
    const auto dialogsBefore = h.prompter.dialogFilters.size();
    h.prompter.fileAnswers.push_back(std::nullopt);
    EXPECT_FALSE(h.creator.SaveSet());
    EXPECT_EQ(h.prompter.dialogFilters.size(), dialogsBefore + 1);
    EXPECT_EQ(ReadGraphicSetFile(before).bitmaps[kFirstPartSlot], slotName("old", kFirstPartSlot));
}

INSTANTIATE_TEST_SUITE_P(Slots, OpenStops,
                         ::testing::Values(0, 8, kFirstSpecialSlot, kFirstSpecialSlot + 10,
                                           kFirstPartSlot + 2),
                         [](const auto& info) { return "Slot" + std::to_string(info.param); });

TEST(Open, ShortFileChangesNothingAndNamesTheFile) {
    Harness h;
    h.fillAll();
    const std::string setPath = h.folder.path("short.bgp");
    std::vector<std::string> lines = {"name", "staff"};
    for (int slot = 0; slot < 10; ++slot) lines.push_back(slotName("s", slot));
    WriteLinesAtomic(setPath, lines);
    h.prompter.unsavedAnswers.push_back(Prompter::Answer::Discard);

    EXPECT_FALSE(h.open(setPath));

    ASSERT_EQ(h.prompter.messages.size(), 1);
    EXPECT_TRUE(h.prompter.messages[0].contains(toQ(setPath)));
    EXPECT_EQ(h.document.setName(), "New");
    EXPECT_EQ(h.document.firstEmptySlot(), -1);
}

TEST(Open, CancelledDialogChangesNothing) {
    Harness h;
    h.prompter.fileAnswers.push_back(std::nullopt);
    EXPECT_FALSE(h.creator.OpenSet());
    EXPECT_TRUE(h.prompter.messages.isEmpty());
    EXPECT_FALSE(h.document.isModified());
    EXPECT_EQ(h.document.setName(), "New");
}

// The question asked before New, Open and closing when there are unsaved changes.
enum class Leave { New, Open, Close };

struct UnsavedRow {
    const char* name;
    Leave leave;
    Prompter::Answer answer;
    bool proceeds;
    bool savesFirst;
};

class UnsavedChanges : public ::testing::TestWithParam<UnsavedRow> {};

TEST_P(UnsavedChanges, AreSavedDroppedOrKept) {
    const UnsavedRow& row = GetParam();
    Harness h;
    const std::string current = h.savedSet("current.bgp", "c");
    const std::string other = h.savedSet("other.bgp", "o");
    ASSERT_TRUE(h.open(current));
    h.document.setSetName("edited");
    h.prompter.unsavedAnswers.push_back(row.answer);
    if (row.leave == Leave::Open) h.prompter.fileAnswers.push_back(toQ(other));

    bool proceeded = false;
    switch (row.leave) {
        case Leave::New:
            proceeded = h.creator.NewSet();
            break;
        case Leave::Open:
            proceeded = h.creator.OpenSet();
            break;
        case Leave::Close:
            proceeded = h.creator.confirmClose();
            break;
    }

    EXPECT_EQ(h.prompter.unsavedQuestions, 1);
    EXPECT_EQ(proceeded, row.proceeds);
    EXPECT_EQ(ReadGraphicSetFile(current).setName, row.savesFirst ? "edited" : "Set c");
    if (!row.proceeds) {
        EXPECT_EQ(h.document.setName(), "edited");
        EXPECT_TRUE(h.document.isModified());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, UnsavedChanges,
    ::testing::Values(
        UnsavedRow{"NewSaveFirst", Leave::New, Prompter::Answer::Save, true, true},
        UnsavedRow{"NewDiscard", Leave::New, Prompter::Answer::Discard, true, false},
        UnsavedRow{"NewCancel", Leave::New, Prompter::Answer::Cancel, false, false},
        UnsavedRow{"OpenSaveFirst", Leave::Open, Prompter::Answer::Save, true, true},
        UnsavedRow{"OpenDiscard", Leave::Open, Prompter::Answer::Discard, true, false},
        UnsavedRow{"OpenCancel", Leave::Open, Prompter::Answer::Cancel, false, false},
        UnsavedRow{"CloseSaveFirst", Leave::Close, Prompter::Answer::Save, true, true},
        UnsavedRow{"CloseDiscard", Leave::Close, Prompter::Answer::Discard, true, false},
        UnsavedRow{"CloseCancel", Leave::Close, Prompter::Answer::Cancel, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UnsavedChangesSave, RefusedSaveKeepsTheWindowOpen) {
    Harness h;
    h.document.setSetName("only a name");  // every slot still empty
    h.prompter.unsavedAnswers.push_back(Prompter::Answer::Save);

    EXPECT_FALSE(h.creator.confirmClose());
    ASSERT_EQ(h.prompter.messages.size(), 1);
    EXPECT_TRUE(h.prompter.messages[0].contains(QStringLiteral("ブロック1")));
}

TEST(UnsavedChangesSave, NothingIsAskedWhenNothingChanged) {
    Harness h;
    EXPECT_TRUE(h.creator.confirmClose());
    EXPECT_TRUE(h.creator.NewSet());
    EXPECT_EQ(h.prompter.unsavedQuestions, 0);
}

}  // namespace
}  // namespace qon::pavane
