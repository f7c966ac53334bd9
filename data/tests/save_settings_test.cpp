// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "qon/data/error.h"
#include "qon/data/save_file.h"
#include "qon/data/settings.h"
#include "temp_folder.h"

namespace qon {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

template <typename Row>
requires requires(const Row& row) {
    row.name;
}
void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

// ---- save file -------------------------------------------------------------------

TEST(data_SaveFile, RoundTripInThePrintStatementForm) {
    TempFolder folder;
    const SaveSlots slots = {1, 12, -3, 32767};
    WriteSaveFile(folder.file("qonsave.sav"), slots);
    EXPECT_EQ(ReadBytes(folder.file("qonsave.sav")), " 1 \r\n 12 \r\n-3 \r\n 32767 \r\n");
    EXPECT_EQ(ReadSaveFile(folder.file("qonsave.sav")), slots);
}

TEST(data_SaveFile, ReadsHandWrittenSpacingAndBareLf) {
    TempFolder folder;
    WriteBytes(folder.file("qonsave.sav"), "1\n 2\n\t3 \n-32768");
    EXPECT_EQ(ReadSaveFile(folder.file("qonsave.sav")), (SaveSlots{1, 2, 3, -32768}));
}

struct SaveFailureCase {
    const char* name;
    std::string bytes;
    int line;
    const char* reasonPart;
};

class SaveFileFailures : public ::testing::TestWithParam<SaveFailureCase> {};

TEST_P(SaveFileFailures, NamesLineAndReason) {
    TempFolder folder;
    WriteBytes(folder.file("qonsave.sav"), GetParam().bytes);
    try {
        ReadSaveFile(folder.file("qonsave.sav"));
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.line(), GetParam().line);
        EXPECT_NE(error.reason().find(GetParam().reasonPart), std::string::npos) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    data, SaveFileFailures,
    ::testing::Values(
        SaveFailureCase{"ThreeLines", " 1 \r\n 1 \r\n 1 \r\n", 4, "ends early: save slot 4 of 4"},
        SaveFailureCase{"Empty", "", 1, "ends early"},
        SaveFailureCase{"NotANumber", " 1 \r\nx\r\n 1 \r\n 1 \r\n", 2,
                        "save slot 2 \"x\" is not a whole number from -32768 to 32767"},
        SaveFailureCase{"BeyondSixteenBits", " 1 \r\n 1 \r\n 40000 \r\n 1 \r\n", 3, "\" 40000 \""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(data_SaveFile, MissingFileIsAnErrorButCanBeCreated) {
    TempFolder folder;
    const std::string path = SaveFilePath(folder.file("Spring.stp"));
    EXPECT_EQ(path, folder.file("qonsave.sav"));
    EXPECT_THROW(ReadSaveFile(path), DataError);
    EXPECT_EQ(ReadOrCreateSaveFile(path), (SaveSlots{1, 1, 1, 1}));
    EXPECT_EQ(ReadBytes(path), " 1 \r\n 1 \r\n 1 \r\n 1 \r\n");
}

TEST(data_SaveFile, ReadOrCreateKeepsAnExistingOrBrokenFile) {
    TempFolder folder;
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

TEST(data_SaveFile, SlotLabels) {
    const std::pair<std::int16_t, const char*> table[] = {
        {1, "STAGE 0までクリア"}, {3, "STAGE 2までクリア"}, {11, "STAGE 10までクリア"}};
    for (const auto& [value, label] : table) {
        EXPECT_EQ(SaveSlotLabel(value), label);
    }
}

// ---- settings file -----------------------------------------------------------------

TEST(data_Settings, WrittenAsPlainDigitsAndReadBack) {
    TempFolder folder;
    const std::string path = folder.file(kSettingsFileName);
    WriteSettingsFile(path, {0, 2, 1});
    EXPECT_EQ(ReadBytes(path), "0\r\n2\r\n1\r\n");
    const GameSettings read = ReadSettingsFile(path);
    EXPECT_EQ(read.StageSetIndex, 0);
    EXPECT_EQ(read.BitMapSetIndex, 2);
    EXPECT_EQ(read.MusicSetIndex, 1);
}

TEST(data_Settings, MissingFileIsCreatedWithThreeZeros) {
    TempFolder folder;
    const std::string path = folder.file(kSettingsFileName);
    EXPECT_THROW(ReadSettingsFile(path), DataError);
    const GameSettings created = ReadOrCreateSettingsFile(path);
    EXPECT_EQ(created.StageSetIndex + created.BitMapSetIndex + created.MusicSetIndex, 0);
    EXPECT_EQ(ReadBytes(path), "0\r\n0\r\n0\r\n");
    WriteBytes(path, " 1 \n2\n 3");
    EXPECT_EQ(ReadOrCreateSettingsFile(path).MusicSetIndex, 3);
}

struct SettingsFailureCase {
    const char* name;
    std::string bytes;
    int line;
};

class SettingsFailures : public ::testing::TestWithParam<SettingsFailureCase> {};

TEST_P(SettingsFailures, NamesTheLine) {
    TempFolder folder;
    const std::string path = folder.file(kSettingsFileName);
    WriteBytes(path, GetParam().bytes);
    for (auto reader : {&ReadSettingsFile, &ReadOrCreateSettingsFile}) {
        try {
            reader(path);
            FAIL();
        } catch (const DataError& error) {
            EXPECT_EQ(error.line(), GetParam().line) << error.what();
        }
    }
    EXPECT_EQ(ReadBytes(path), GetParam().bytes) << "a broken file is not replaced";
}

INSTANTIATE_TEST_SUITE_P(data, SettingsFailures,
                         ::testing::Values(SettingsFailureCase{"TwoLines", "0\r\n0\r\n", 3},
                                           SettingsFailureCase{"NotANumber", "0\r\nzwei\r\n0\r\n",
                                                               2},
                                           SettingsFailureCase{"Fraction", "1.5\r\n0\r\n0\r\n", 1},
                                           SettingsFailureCase{"Empty", "", 1}),
                         [](const auto& info) { return std::string(info.param.name); });

struct BoundCase {
    const char* name;
    std::int16_t stored;
    std::int16_t listCount;
    std::int16_t used;
};

class SettingsBound : public ::testing::TestWithParam<BoundCase> {};

TEST_P(SettingsBound, IndexIsKeptOnlyInsideItsList) {
    const BoundCase& c = GetParam();
    SetLists lists;
    lists.stage.count = c.listCount;
    lists.bitmap.count = c.listCount;
    lists.music.count = c.listCount;
    const GameSettings bounded = BoundSettings({c.stored, c.stored, c.stored}, lists);
    EXPECT_EQ(bounded.StageSetIndex, c.used);
    EXPECT_EQ(bounded.BitMapSetIndex, c.used);
    EXPECT_EQ(bounded.MusicSetIndex, c.used);
}

INSTANTIATE_TEST_SUITE_P(data, SettingsBound,
                         ::testing::Values(BoundCase{"PastTheEndBecomesZero", 5, 3, 0},
                                           BoundCase{"LastEntryKept", 2, 3, 2},
                                           BoundCase{"OnePastTheEnd", 3, 3, 0},
                                           BoundCase{"NegativeBecomesZero", -1, 3, 0},
                                           BoundCase{"MostNegative", -32768, 3, 0},
                                           BoundCase{"EmptyList", 0, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

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
