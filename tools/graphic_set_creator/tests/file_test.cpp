// SPDX-License-Identifier: MIT
// Saving, opening and the unsaved-changes question, read back by the game's and the
// stage editor's readers.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "qon/data/error.h"
#include "qon/data/text.h"
#include "qon/graphic_set_creator/graphic_set_commands.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "qon/tools_common/testing/watchdog.h"
#include "slot_bitmaps.h"

namespace qon::graphic_set_creator {
namespace {

using test::WriteBitmap;
using test::WriteFittingBitmap;
using test_support::Exists;
using test_support::RowName;
using test_support::ScratchFolder;
using tools_common::Prompter;
using tools_common::ScriptedPrompter;
using tools_common::toQ;

QON_PRINT_ROWS_BY_NAME

std::string slotName(const std::string& prefix, int slot) {
    return prefix + std::to_string(slot) + ".bmp";
}

struct Harness {
    ScratchFolder folder;
    GraphicSetDocument document;
    ScriptedPrompter prompter;
    FileImageLoader loader;
    GraphicSetCommands commands{document, prompter, loader};

    void fillAll(const std::string& prefix = "s") {
        for (SlotGroup group : {SlotGroup::Blocks, SlotGroup::SpecialBlocks, SlotGroup::Parts}) {
            const SlotRange range = RangeOf(group);
            for (int slot = range.first; slot < range.first + range.count; ++slot) {
                prompter.fileAnswers.push_back(toQ(WriteFittingBitmap(folder, slot, prefix)));
            }
            ASSERT_TRUE(commands.chooseGroup(group));
        }
    }
    // A saved set whose bitmaps are named prefix0.bmp .. prefix22.bmp.
    std::string savedSet(const std::string& fileName, const std::string& prefix) {
        GraphicSetFile file;
        file.setName = "Set " + prefix;
        file.staffName = "Staff " + prefix;
        for (int slot = 0; slot < kBitmapSlots; ++slot) {
            WriteFittingBitmap(folder, slot, prefix);
            file.bitmaps[slot] = slotName(prefix, slot);
        }
        const std::string path = folder.file(fileName);
        WriteGraphicSetFile(path, file);
        return path;
    }
    bool saveAs(const std::string& path) {
        prompter.fileAnswers.push_back(toQ(path));
        return commands.SaveSetAs();
    }
    bool open(const std::string& path) {
        prompter.fileAnswers.push_back(toQ(path));
        return commands.OpenSet();
    }
};

TEST(Save, WritesBareNamesThatBothReadersFind) {
    Harness h;
    h.fillAll();
    h.document.setSetName("青い, \"セット\"");
    h.document.setStaffName("  ①作者～ｶﾅ");
    const std::string setPath = h.folder.file("mine.bgp");

    ASSERT_TRUE(h.saveAs(setPath));

    EXPECT_TRUE(h.prompter.messages.isEmpty()) << h.prompter.messages.join('\n').toStdString();
    EXPECT_EQ(h.prompter.dialogFilters.last(),
              QStringLiteral("QONグラフィックプロジェクト/*.bgp (*.bgp)"));
    const GraphicSetFile game = ReadGraphicSetFile(setPath);
    EXPECT_EQ(game.setName, "青い, \"セット\"");
    EXPECT_EQ(game.staffName, "  ①作者～ｶﾅ");
    for (int slot = 0; slot < kBitmapSlots; ++slot) {
        EXPECT_EQ(game.bitmaps[slot], slotName("s", slot));
        EXPECT_TRUE(Exists(GraphicBitmapPath(setPath, game.bitmaps[slot])));
    }
    const PaletteImages palette = ReadPaletteImages(setPath);
    ASSERT_EQ(palette.count, kBlockSlots + kSpecialSlots);
    for (int slot = 0; slot < palette.count; ++slot) {
        EXPECT_EQ(palette.paths[slot], h.folder.file(slotName("s", slot)));
    }
    EXPECT_EQ(ReadAllLines(setPath).size(), 25u);
    EXPECT_TRUE(h.document.fileOpened());
    EXPECT_FALSE(h.document.isModified());
}

// A save that must be refused before any dialog shows and before anything is written.
struct RefusedSaveRow {
    const char* name;
    int emptySlot = -1;  // -1: all slots set
    const char* setName = "a";
    const char* staffName = "b";
    const char* mentioned = "";  // the message must name this
};

class RefusedSave : public ::testing::TestWithParam<RefusedSaveRow> {};

TEST_P(RefusedSave, NamesTheProblemAndWritesNothing) {
    const RefusedSaveRow& row = GetParam();
    Harness h;
    h.fillAll();
    if (row.emptySlot >= 0) h.document.setSlot(row.emptySlot, "", QImage());
    h.document.setSetName(row.setName);
    h.document.setStaffName(row.staffName);
    const std::string setPath = h.folder.file("refused.bgp");
    h.prompter.fileAnswers.push_back(toQ(setPath));
    const auto dialogsBefore = h.prompter.dialogFilters.size();

    EXPECT_FALSE(h.commands.SaveSetAs());
    EXPECT_FALSE(h.commands.SaveSet());

    EXPECT_EQ(h.prompter.dialogFilters.size(), dialogsBefore);
    ASSERT_EQ(h.prompter.messages.size(), 2);
    EXPECT_TRUE(h.prompter.messages[0].contains(QString::fromUtf8(row.mentioned)))
        << h.prompter.messages[0].toStdString();
    EXPECT_FALSE(Exists(setPath));
    EXPECT_FALSE(h.document.fileOpened());
    EXPECT_TRUE(h.document.isModified());
}

const RefusedSaveRow kRefusedSaves[] = {
    {.name = "FirstBlockEmpty", .emptySlot = 0, .mentioned = "ブロック1"},
    {.name = "UnbreakableEmpty", .emptySlot = 8, .mentioned = "壊れないブロック"},
    {.name = "PinEmpty", .emptySlot = kFirstSpecialSlot, .mentioned = "ピン"},
    {.name = "BarEmpty", .emptySlot = kFirstPartSlot + 2, .mentioned = "バー"},
    {.name = "EmojiInSetName", .setName = "set \xF0\x9F\x98\x80", .mentioned = "\xF0\x9F\x98\x80"},
    {.name = "EmojiInStaffName", .staffName = "\xF0\x9F\x8E\xB5 me", .mentioned = "製作者"},
    {.name = "LineBreakInSetName", .setName = "two\nlines", .mentioned = "改行"},
    {.name = "CarriageReturnInStaff", .staffName = "b\r", .mentioned = "改行"},
};
INSTANTIATE_TEST_SUITE_P(Problems, RefusedSave, ::testing::ValuesIn(kRefusedSaves), RowName);

TEST(Save, BitmapNameThatShiftJisCannotHoldIsRefused) {
    Harness h;
    h.fillAll();
    const std::string odd = WriteBitmap(h.folder, "bar\xF0\x9F\x98\x80.bmp", 128, 12);
    h.prompter.fileAnswers.push_back(toQ(odd));
    ASSERT_TRUE(h.commands.ChooseSlot(kFirstPartSlot + 2));

    EXPECT_FALSE(h.saveAs(h.folder.file("x.bgp")));
    ASSERT_EQ(h.prompter.messages.size(), 1);
    EXPECT_TRUE(h.prompter.messages[0].contains(QStringLiteral("バー")));
    EXPECT_FALSE(Exists(h.folder.file("x.bgp")));
}

TEST(Save, FailedWriteSaysWhichFileAndKeepsTheDocumentUnsaved) {
    Harness h;
    h.fillAll();
    const std::string intoMissingFolder = h.folder.file("no/such/folder/set.bgp");
    // The bitmaps are not in that folder: save without copying them.
    h.prompter.choiceAnswers = {Prompter::Choice::No};

    EXPECT_FALSE(h.saveAs(intoMissingFolder));

    EXPECT_EQ(h.prompter.questions.size(), 1);
    ASSERT_EQ(h.prompter.messages.size(), 1);
    EXPECT_TRUE(h.prompter.messages[0].contains(toQ(intoMissingFolder)));
    EXPECT_TRUE(h.prompter.messages[0].contains(QStringLiteral("ファイルに書き込めません")))
        << h.prompter.messages[0].toStdString();
    EXPECT_FALSE(h.document.fileOpened());
    EXPECT_TRUE(h.document.currentFile().empty());
    EXPECT_TRUE(h.document.isModified());
}

TEST(Save, CancelledDialogWritesNothing) {
    Harness h;
    h.fillAll();
    h.prompter.fileAnswers.push_back(std::nullopt);
    EXPECT_FALSE(h.commands.SaveSetAs());
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

    ASSERT_TRUE(h.commands.SaveSet());

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
    ASSERT_TRUE(h.commands.NewSet());
    h.fillAll("b");
    h.prompter.fileAnswers.push_back(toQ(h.folder.file("b.bgp")));
    const auto dialogsBefore = h.prompter.dialogFilters.size();

    ASSERT_TRUE(h.commands.SaveSet());

    EXPECT_EQ(h.prompter.dialogFilters.size(), dialogsBefore + 1);
    EXPECT_EQ(ReadGraphicSetFile(setPath).bitmaps[0], slotName("a", 0));
    EXPECT_EQ(ReadGraphicSetFile(h.folder.file("b.bgp")).bitmaps[0], slotName("b", 0));
}

TEST(Save, OpenedBareNamesAreWrittenBackUnchangedUnderANewName) {
    Harness h;
    const std::string original = h.savedSet("a.bgp", "a");
    ASSERT_TRUE(h.open(original));
    const std::string copy = h.folder.file("copy.bgp");

    ASSERT_TRUE(h.saveAs(copy));

    EXPECT_EQ(ReadAllLines(copy), ReadAllLines(original));
    EXPECT_EQ(h.document.currentFile(), copy);
}

TEST(Open, FillsEverySlotWithoutASizeCheck) {
    Harness h;
    const std::string setPath = h.savedSet("a.bgp", "a");
    // A hand-made set may hold a bitmap of another size; opening does not judge it.
    WriteBitmap(h.folder, slotName("a", 5), 60, 20);

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

struct StopRow {
    const char* name;
    int slot = 0;  // the slot whose bitmap is missing
};

class OpenStops : public ::testing::TestWithParam<StopRow> {};

TEST_P(OpenStops, AtTheSlotWhoseBitmapIsMissing) {
    const int failing = GetParam().slot;
    Harness h;
    const std::string before = h.savedSet("before.bgp", "old");
    ASSERT_TRUE(h.open(before));
    const std::string broken = h.savedSet("broken.bgp", "new");
    std::filesystem::remove(h.folder.file(slotName("new", failing)));

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
    EXPECT_FALSE(h.commands.SaveSet());
    EXPECT_EQ(h.prompter.dialogFilters.size(), dialogsBefore + 1);
    EXPECT_EQ(ReadGraphicSetFile(before).bitmaps[kFirstPartSlot], slotName("old", kFirstPartSlot));
}

const StopRow kStops[] = {
    {.name = "FirstBlock", .slot = 0},
    {.name = "UnbreakableBlock", .slot = 8},
    {.name = "FirstSpecialBlock", .slot = kFirstSpecialSlot},
    {.name = "LastSpecialBlock", .slot = kFirstSpecialSlot + 10},
    {.name = "Bar", .slot = kFirstPartSlot + 2},
};
INSTANTIATE_TEST_SUITE_P(Slots, OpenStops, ::testing::ValuesIn(kStops), RowName);

// A named pipe never delivers a picture and must not hold the tool: opening it for
// reading would block until some other program wrote to it.
TEST(Open, NamedPipeAsABitmapStopsTheOpenAtItsSlot) {
    Harness h;
    const std::string setPath = h.savedSet("piped.bgp", "p");
    const std::string pipe = h.folder.file(slotName("p", 3));
    std::filesystem::remove(pipe);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    {
        tools_common::testing::Watchdog watchdog(std::chrono::seconds(20),
                                                 "opening a graphic set with a pipe as a bitmap");
        EXPECT_FALSE(h.open(setPath));
    }
    ASSERT_EQ(h.prompter.messages.size(), 1);
    EXPECT_TRUE(h.prompter.messages[0].contains(toQ(pipe))) << h.prompter.messages[0].toStdString();
    EXPECT_TRUE(h.prompter.messages[0].contains(QStringLiteral("名前付きパイプ")));
    EXPECT_FALSE(h.document.picture(2).isNull());
    EXPECT_TRUE(h.document.picture(3).isNull());
    EXPECT_FALSE(h.document.fileOpened());
}

TEST(Open, NamedPipeChosenForASlotIsRefusedAtOnce) {
    Harness h;
    const std::string pipe = h.folder.file("pipe.bmp");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    h.prompter.fileAnswers.push_back(toQ(pipe));
    {
        tools_common::testing::Watchdog watchdog(std::chrono::seconds(20),
                                                 "choosing a pipe as a bitmap");
        EXPECT_FALSE(h.commands.ChooseSlot(0));
    }
    ASSERT_EQ(h.prompter.messages.size(), 1);
    EXPECT_TRUE(h.prompter.messages[0].contains(toQ(pipe)));
    EXPECT_TRUE(h.document.entry(0).empty());
}

TEST(Open, ShortFileChangesNothingAndNamesTheFile) {
    Harness h;
    h.fillAll();
    const std::string setPath = h.folder.file("short.bgp");
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
    EXPECT_FALSE(h.commands.OpenSet());
    EXPECT_TRUE(h.prompter.messages.isEmpty());
    EXPECT_FALSE(h.document.isModified());
    EXPECT_EQ(h.document.setName(), "New");
}

// The question asked before New, Open and closing when there are unsaved changes.
enum class Leave { New, Open, Close };

struct UnsavedRow {
    const char* name;
    Leave leave = Leave::Close;
    Prompter::Answer answer = Prompter::Answer::Cancel;
    bool proceeds = false;
    bool savesFirst = false;
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
            proceeded = h.commands.NewSet();
            break;
        case Leave::Open:
            proceeded = h.commands.OpenSet();
            break;
        case Leave::Close:
            proceeded = h.commands.confirmClose();
            break;
    }

    EXPECT_EQ(h.prompter.unsavedQuestions, 1);
    EXPECT_EQ(h.prompter.unsavedTexts,
              QStringList{QStringLiteral(
                  "グラフィックセットへの変更が保存されていません。保存しますか？")});
    EXPECT_EQ(proceeded, row.proceeds);
    EXPECT_EQ(ReadGraphicSetFile(current).setName, row.savesFirst ? "edited" : "Set c");
    if (!row.proceeds) {
        EXPECT_EQ(h.document.setName(), "edited");
        EXPECT_TRUE(h.document.isModified());
    }
}

const UnsavedRow kUnsavedRows[] = {
    {.name = "NewSaveFirst",
     .leave = Leave::New,
     .answer = Prompter::Answer::Save,
     .proceeds = true,
     .savesFirst = true},
    {.name = "NewDiscard",
     .leave = Leave::New,
     .answer = Prompter::Answer::Discard,
     .proceeds = true},
    {.name = "NewCancel", .leave = Leave::New, .answer = Prompter::Answer::Cancel},
    {.name = "OpenSaveFirst",
     .leave = Leave::Open,
     .answer = Prompter::Answer::Save,
     .proceeds = true,
     .savesFirst = true},
    {.name = "OpenDiscard",
     .leave = Leave::Open,
     .answer = Prompter::Answer::Discard,
     .proceeds = true},
    {.name = "OpenCancel", .leave = Leave::Open, .answer = Prompter::Answer::Cancel},
    {.name = "CloseSaveFirst",
     .leave = Leave::Close,
     .answer = Prompter::Answer::Save,
     .proceeds = true,
     .savesFirst = true},
    {.name = "CloseDiscard",
     .leave = Leave::Close,
     .answer = Prompter::Answer::Discard,
     .proceeds = true},
    {.name = "CloseCancel", .leave = Leave::Close, .answer = Prompter::Answer::Cancel},
};
INSTANTIATE_TEST_SUITE_P(Answers, UnsavedChanges, ::testing::ValuesIn(kUnsavedRows), RowName);

TEST(UnsavedChangesSave, RefusedSaveKeepsTheWindowOpen) {
    Harness h;
    h.document.setSetName("only a name");  // every slot still empty
    h.prompter.unsavedAnswers.push_back(Prompter::Answer::Save);

    EXPECT_FALSE(h.commands.confirmClose());
    ASSERT_EQ(h.prompter.messages.size(), 1);
    EXPECT_TRUE(h.prompter.messages[0].contains(QStringLiteral("ブロック1")));
}

TEST(UnsavedChangesSave, NothingIsAskedWhenNothingChanged) {
    Harness h;
    EXPECT_TRUE(h.commands.confirmClose());
    EXPECT_TRUE(h.commands.NewSet());
    EXPECT_EQ(h.prompter.unsavedQuestions, 0);
}

}  // namespace
}  // namespace qon::graphic_set_creator
