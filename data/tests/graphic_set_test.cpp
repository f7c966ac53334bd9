// SPDX-License-Identifier: MIT
#include "qon/data/graphic_set.h"

#include <gtest/gtest.h>

#include <string>

#include "qon/data/error.h"
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

const std::string kSetPath = "/mem/sets/s.bgp";

std::string linesOf(int first, int last) {
    std::string bytes;
    for (int line = first; line <= last; ++line) {
        bytes += "b" + std::to_string(line) + ".bmp\r\n";
    }
    return bytes;
}

TEST(data_GraphicSet, RoundTripKeepsWholeLinesAndBareBitmapNames) {
    const std::string path = "/mem/sets/Set.bgp";
    GraphicSetFile set;
    set.setName = " Spring, \"quoted\" ①～ｱｲｳ";
    set.staffName = "作者, 二人";
    for (int slot = 0; slot < kBitmapSlots; ++slot) {
        set.bitmaps[slot] = "/elsewhere/My Bitmaps/ブロック" + std::to_string(slot) + ", a.bmp";
    }
    const std::string bytes = FormatLines(FormatGraphicSetFile(set), path);

    const GraphicSetFile read = ParseGraphicSetFile(bytes, path);
    EXPECT_EQ(read.setName, set.setName);
    EXPECT_EQ(read.staffName, set.staffName);
    for (int slot = 0; slot < kBitmapSlots; ++slot) {
        EXPECT_EQ(read.bitmaps[slot], "ブロック" + std::to_string(slot) + ", a.bmp") << slot;
    }
    EXPECT_EQ(GraphicBitmapPath(path, read.bitmaps[22]), "/mem/sets/ブロック22, a.bmp");

    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    int lineEnds = 0;
    for (std::size_t pos = 0; (pos = bytes.find("\r\n", pos)) != std::string::npos; pos += 2) {
        ++lineEnds;
    }
    EXPECT_EQ(lineEnds, kGraphicSetLines);
}

TEST(data_GraphicSet, BareLfAndLinesAfterTwentyFiveAreFine) {
    std::string bytes = "Name\nStaff\n";
    for (int line = 3; line <= 25; ++line) {
        bytes += "b" + std::to_string(line) + ".bmp\n";
    }
    bytes += "ignored\n\xFF\xFF not even text\n";
    const GraphicSetFile set = ParseGraphicSetFile(bytes, kSetPath);
    EXPECT_EQ(set.staffName, "Staff");
    EXPECT_EQ(set.bitmaps[0], "b3.bmp");
    EXPECT_EQ(set.bitmaps[22], "b25.bmp");
}

TEST(data_GraphicSet, ShortFileNamesTheMissingSlot) {
    try {
        ParseGraphicSetFile("Name\r\nStaff\r\n" + linesOf(3, 24), kSetPath);
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), kSetPath);
        EXPECT_EQ(error.line(), 25);
        EXPECT_EQ(error.reason(), "the file ends early: the bitmap for \"バー\" expected");
    }
}

TEST(data_GraphicSet, RefusedNameLeavesTheOldFile) {
    ScratchFolder folder;
    const std::string path = folder.file("s.bgp");
    WriteBytes(path, "old");
    GraphicSetFile set;
    set.staffName = "😀";
    EXPECT_THROW(WriteGraphicSetFile(path, set), DataError);
    EXPECT_EQ(ReadBytes(path), "old");
}

struct PaletteRow {
    const char* name;
    std::string bytes;
    int count = 0;
};

class Palette : public ::testing::TestWithParam<PaletteRow> {};

TEST_P(Palette, ReadsTheSlotsTheFileHas) {
    const PaletteImages images = ParsePaletteImages(GetParam().bytes, kSetPath);
    ASSERT_EQ(images.count, GetParam().count);
    for (int slot = 0; slot < images.count; ++slot) {
        EXPECT_EQ(images.paths[slot], "/mem/sets/b" + std::to_string(slot + 3) + ".bmp");
    }
}

const PaletteRow kPaletteRows[] = {
    {.name = "FullFile", .bytes = "N\r\nS\r\n" + linesOf(3, 25), .count = 20},
    {.name = "PartLinesMissing", .bytes = "N\r\nS\r\n" + linesOf(3, 22), .count = 20},
    {.name = "PartLinesDamaged",
     .bytes = "N\r\nS\r\n" + linesOf(3, 22) + "\xFF\xFF\r\n",
     .count = 20},
    {.name = "ShortFile", .bytes = "N\r\nS\r\n" + linesOf(3, 10), .count = 8},
    {.name = "OnlyNames", .bytes = "N\r\nS\r\n", .count = 0},
    {.name = "EmptyFile", .bytes = "", .count = 0},
};

INSTANTIATE_TEST_SUITE_P(data, Palette, ::testing::ValuesIn(kPaletteRows), RowName);

// Bitmap paths are built from the set's folder, so a set path without one is refused
// before any file is looked at.
TEST(data_GraphicSet, PaletteOfASetPathWithoutFolderIsRefused) {
    for (const auto& read : {+[] { ParsePaletteImages(linesOf(1, 25), "s.bgp"); },
                             +[] { ReadPaletteImages("no-such-set.bgp"); }}) {
        try {
            read();
            FAIL();
        } catch (const DataError& error) {
            EXPECT_NE(error.reason().find("names no folder"), std::string::npos) << error.what();
        }
    }
}

struct SpecialSlotRow {
    const char* name;
    int kind = 0;
    int slot = -1;
};

class SpecialSlots : public ::testing::TestWithParam<SpecialSlotRow> {};

// The magnet comes before the four winds in the file.
TEST_P(SpecialSlots, AreNotInStageCodeOrder) {
    EXPECT_EQ(SpecialSlotForKind(GetParam().kind), GetParam().slot);
}

const SpecialSlotRow kSpecialSlotRows[] = {
    {.name = "PinIsTheFirstSlot", .kind = 101, .slot = 0},
    {.name = "MagnetIsSlotTwo", .kind = 107, .slot = 2},
    {.name = "WindLeftFollowsTheMagnet", .kind = 103, .slot = 3},
    {.name = "WindUpIsSlotSix", .kind = 106, .slot = 6},
    {.name = "WarpIsSlotSeven", .kind = 108, .slot = 7},
    {.name = "BombIsTheLastSlot", .kind = 111, .slot = 10},
    {.name = "KindBelowTheSpecialsHasNoSlot", .kind = 100},
    {.name = "KindAboveTheSpecialsHasNoSlot", .kind = 112},
    {.name = "UnbreakableHasNoSpecialSlot", .kind = 8},
};

INSTANTIATE_TEST_SUITE_P(data, SpecialSlots, ::testing::ValuesIn(kSpecialSlotRows), RowName);

}  // namespace
}  // namespace qon
