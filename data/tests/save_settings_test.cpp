// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "qon/data/error.h"
#include "qon/data/save_file.h"
#include "qon/data/settings.h"
#include "qon/data/text.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon {
namespace {

QON_PRINT_ROWS_BY_NAME

using test_support::ReadBytes;
using test_support::RowName;
using test_support::ScratchFolder;
using test_support::WriteBytes;

const std::string kSavePath = "/mem/qonsave.sav";
const std::string kSettingsPath = "/mem/Init.bse";

// ---- save file -------------------------------------------------------------------

TEST(data_SaveFile, RoundTripInThePrintStatementForm) {
    const SaveSlots slots = {1, 12, -3, 32767};
    const std::string bytes = FormatLines(FormatSaveFile(slots), kSavePath);
    EXPECT_EQ(bytes, " 1 \r\n 12 \r\n-3 \r\n 32767 \r\n");
    EXPECT_EQ(ParseSaveFile(bytes, kSavePath), slots);
}

TEST(data_SaveFile, ReadsHandWrittenSpacingAndBareLf) {
    EXPECT_EQ(ParseSaveFile("1\n 2\n\t3 \n-32768", kSavePath), (SaveSlots{1, 2, 3, -32768}));
}

struct SaveFailureRow {
    const char* name;
    std::string bytes;
    int line = 0;
    const char* reasonPart = "";
};

class SaveFileFailures : public ::testing::TestWithParam<SaveFailureRow> {};

TEST_P(SaveFileFailures, NamesLineAndReason) {
    try {
        ParseSaveFile(GetParam().bytes, kSavePath);
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), kSavePath);
        EXPECT_EQ(error.line(), GetParam().line);
        EXPECT_NE(error.reason().find(GetParam().reasonPart), std::string::npos) << error.what();
    }
}

const SaveFailureRow kSaveFailureRows[] = {
    {.name = "ThreeLines",
     .bytes = " 1 \r\n 1 \r\n 1 \r\n",
     .line = 4,
     .reasonPart = "ends early: save slot 4 of 4"},
    {.name = "Empty", .bytes = "", .line = 1, .reasonPart = "ends early"},
    {.name = "NotANumber",
     .bytes = " 1 \r\nx\r\n 1 \r\n 1 \r\n",
     .line = 2,
     .reasonPart = "save slot 2 \"x\" is not a whole number from -32768 to 32767"},
    {.name = "BeyondSixteenBits",
     .bytes = " 1 \r\n 1 \r\n 40000 \r\n 1 \r\n",
     .line = 3,
     .reasonPart = "save slot 3 \" 40000 \" is out of range: it must be a whole number from "
                   "-32768 to 32767"},
};

INSTANTIATE_TEST_SUITE_P(data, SaveFileFailures, ::testing::ValuesIn(kSaveFailureRows), RowName);

TEST(data_SaveFile, MissingFileIsAnErrorButCanBeCreated) {
    ScratchFolder folder;
    const std::string path = SaveFilePath(folder.file("Spring.stp"));
    EXPECT_EQ(path, folder.file("qonsave.sav"));
    EXPECT_THROW(ReadSaveFile(path), DataError);
    EXPECT_EQ(ReadOrCreateSaveFile(path), (SaveSlots{1, 1, 1, 1}));
    EXPECT_EQ(ReadBytes(path), " 1 \r\n 1 \r\n 1 \r\n 1 \r\n");
}

TEST(data_SaveFile, ReadOrCreateKeepsAnExistingOrBrokenFile) {
    ScratchFolder folder;
    const std::string path = folder.file("qonsave.sav");
    WriteSaveFile(path, {4, 3, 2, 1});
    EXPECT_EQ(ReadOrCreateSaveFile(path), (SaveSlots{4, 3, 2, 1}));
    // A damaged save is reported, never silently replaced by a fresh one.
    WriteBytes(path, "garbage\r\n");
    EXPECT_THROW(ReadOrCreateSaveFile(path), DataError);
    EXPECT_EQ(ReadBytes(path), "garbage\r\n");
    ASSERT_EQ(mkdir(folder.file("dir.sav").c_str(), 0755), 0);
    EXPECT_THROW(ReadOrCreateSaveFile(folder.file("dir.sav")), DataError);
}

struct SlotLabelRow {
    const char* name;
    std::int16_t value = 1;
    const char* label = "";
};

class SaveSlotLabels : public ::testing::TestWithParam<SlotLabelRow> {};

TEST_P(SaveSlotLabels, NameTheLastClearedStage) {
    EXPECT_EQ(SaveSlotLabel(GetParam().value), GetParam().label);
}

const SlotLabelRow kSlotLabelRows[] = {
    {.name = "FreshSlotHasClearedNothing", .value = 1, .label = "STAGE 0までクリア"},
    {.name = "ResumeAtThreeHasClearedTwo", .value = 3, .label = "STAGE 2までクリア"},
    {.name = "TwoDigitStage", .value = 11, .label = "STAGE 10までクリア"},
};

INSTANTIATE_TEST_SUITE_P(data, SaveSlotLabels, ::testing::ValuesIn(kSlotLabelRows), RowName);

// ---- settings file -----------------------------------------------------------------

TEST(data_Settings, WrittenAsPlainDigitsAndReadBack) {
    const std::string bytes = FormatLines(FormatSettingsFile({0, 2, 1}), kSettingsPath);
    EXPECT_EQ(bytes, "0\r\n2\r\n1\r\n");
    const GameSettings read = ParseSettingsFile(bytes, kSettingsPath);
    EXPECT_EQ(read.StageSetIndex, 0);
    EXPECT_EQ(read.BitMapSetIndex, 2);
    EXPECT_EQ(read.MusicSetIndex, 1);
}

TEST(data_Settings, MissingFileIsCreatedWithThreeZeros) {
    ScratchFolder folder;
    const std::string path = folder.file(kSettingsFileName);
    EXPECT_THROW(ReadSettingsFile(path), DataError);
    const GameSettings created = ReadOrCreateSettingsFile(path);
    EXPECT_EQ(created.StageSetIndex + created.BitMapSetIndex + created.MusicSetIndex, 0);
    EXPECT_EQ(ReadBytes(path), "0\r\n0\r\n0\r\n");
    WriteBytes(path, " 1 \n2\n 3");
    EXPECT_EQ(ReadOrCreateSettingsFile(path).MusicSetIndex, 3);
}

struct SettingsFailureRow {
    const char* name;
    std::string bytes;
    int line = 0;
    // Parts the reason must hold: what is wrong, the range, and what to do.
    std::vector<std::string> reasonParts = {};
};

class SettingsFailures : public ::testing::TestWithParam<SettingsFailureRow> {};

TEST_P(SettingsFailures, NamesTheLine) {
    try {
        ParseSettingsFile(GetParam().bytes, kSettingsPath);
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), kSettingsPath);
        EXPECT_EQ(error.line(), GetParam().line) << error.what();
        for (const std::string& part : GetParam().reasonParts) {
            EXPECT_NE(error.reason().find(part), std::string::npos) << error.what();
        }
    }
}

// ReadOrCreateSettingsFile creates only a missing file: a broken one is reported and kept.
TEST_P(SettingsFailures, BrokenFileOnDiskIsNotReplaced) {
    ScratchFolder folder;
    const std::string path = folder.file(kSettingsFileName);
    WriteBytes(path, GetParam().bytes);
    try {
        ReadOrCreateSettingsFile(path);
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.line(), GetParam().line) << error.what();
    }
    EXPECT_EQ(ReadBytes(path), GetParam().bytes) << "a broken file is not replaced";
}

const SettingsFailureRow kSettingsFailureRows[] = {
    {.name = "TwoLines", .bytes = "0\r\n0\r\n", .line = 3},
    {.name = "NotANumber",
     .bytes = "0\r\nzwei\r\n0\r\n",
     .line = 2,
     .reasonParts = {"the graphic set choice \"zwei\" is not a whole number from 0 to 32767",
                     "BitMapSet.sel", "configuration screen"}},
    {.name = "Fraction", .bytes = "1.5\r\n0\r\n0\r\n", .line = 1},
    {.name = "BeyondSixteenBitsSaysTheRangeAndWhatToDo",
     .bytes = "99999\r\n0\r\n0\r\n",
     .line = 1,
     .reasonParts = {"the stage set choice \"99999\" is out of range",
                     "a whole number from 0 to 32767", "StageSet.sel", "delete Init.bse",
                     "choose the sets again in the configuration screen"}},
    {.name = "Empty", .bytes = "", .line = 1},
};

INSTANTIATE_TEST_SUITE_P(data, SettingsFailures, ::testing::ValuesIn(kSettingsFailureRows),
                         RowName);

struct BoundRow {
    const char* name;
    std::int16_t stored = 0;
    std::int16_t listCount = 3;
    std::int16_t used = 0;
};

class SettingsBound : public ::testing::TestWithParam<BoundRow> {};

TEST_P(SettingsBound, IndexIsKeptOnlyInsideItsList) {
    const BoundRow& row = GetParam();
    SetLists lists;
    lists.stage.count = row.listCount;
    lists.bitmap.count = row.listCount;
    lists.music.count = row.listCount;
    const GameSettings bounded = BoundSettings({row.stored, row.stored, row.stored}, lists);
    EXPECT_EQ(bounded.StageSetIndex, row.used);
    EXPECT_EQ(bounded.BitMapSetIndex, row.used);
    EXPECT_EQ(bounded.MusicSetIndex, row.used);
}

const BoundRow kBoundRows[] = {
    {.name = "PastTheEndBecomesZero", .stored = 5, .listCount = 3, .used = 0},
    {.name = "LastEntryKept", .stored = 2, .listCount = 3, .used = 2},
    {.name = "OnePastTheEnd", .stored = 3, .listCount = 3, .used = 0},
    {.name = "NegativeBecomesZero", .stored = -1, .listCount = 3, .used = 0},
    {.name = "MostNegative", .stored = -32768, .listCount = 3, .used = 0},
    {.name = "EmptyList", .stored = 0, .listCount = 0, .used = 0},
};

INSTANTIATE_TEST_SUITE_P(data, SettingsBound, ::testing::ValuesIn(kBoundRows), RowName);

TEST(data_Settings, EachIndexIsBoundAgainstItsOwnList) {
    SetLists lists;
    lists.stage.count = 3;
    lists.bitmap.count = 1;
    lists.music.count = 6;
    const GameSettings bounded = BoundSettings({5, 0, 5}, lists);
    EXPECT_EQ(bounded.StageSetIndex, 0);
    EXPECT_EQ(bounded.BitMapSetIndex, 0);
    EXPECT_EQ(bounded.MusicSetIndex, 5);
}

}  // namespace
}  // namespace qon
