// SPDX-License-Identifier: MIT
#include "qon/data/graphic_set.h"

#include <gtest/gtest.h>

#include <string>

#include "qon/data/error.h"
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

std::string linesOf(int first, int last) {
    std::string bytes;
    for (int line = first; line <= last; ++line) {
        bytes += "b" + std::to_string(line) + ".bmp\r\n";
    }
    return bytes;
}

TEST(data_GraphicSet, RoundTripKeepsWholeLinesAndBareBitmapNames) {
    TempFolder folder;
    const std::string path = folder.file("Set.bgp");
    GraphicSetFile set;
    set.setName = " Spring, \"quoted\" ①～ｱｲｳ";
    set.staffName = "作者, 二人";
    for (int slot = 0; slot < kBitmapSlots; ++slot) {
        set.bitmaps[slot] = "/elsewhere/My Bitmaps/ブロック" + std::to_string(slot) + ", a.bmp";
    }
    WriteGraphicSetFile(path, set);

    const GraphicSetFile read = ReadGraphicSetFile(path);
    EXPECT_EQ(read.setName, set.setName);
    EXPECT_EQ(read.staffName, set.staffName);
    for (int slot = 0; slot < kBitmapSlots; ++slot) {
        EXPECT_EQ(read.bitmaps[slot], "ブロック" + std::to_string(slot) + ", a.bmp") << slot;
    }
    EXPECT_EQ(GraphicBitmapPath(path, read.bitmaps[22]), folder.file("ブロック22, a.bmp"));

    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    int lineEnds = 0;
    for (std::size_t pos = 0; (pos = bytes.find("\r\n", pos)) != std::string::npos; pos += 2) {
        ++lineEnds;
    }
    EXPECT_EQ(lineEnds, kGraphicSetLines);
}

TEST(data_GraphicSet, BareLfAndLinesAfterTwentyFiveAreFine) {
    TempFolder folder;
    std::string bytes = "Name\nStaff\n";
    for (int line = 3; line <= 25; ++line) {
        bytes += "b" + std::to_string(line) + ".bmp\n";
    }
    bytes += "ignored\n\xFF\xFF not even text\n";
    WriteBytes(folder.file("s.bgp"), bytes);
    const GraphicSetFile set = ReadGraphicSetFile(folder.file("s.bgp"));
    EXPECT_EQ(set.staffName, "Staff");
    EXPECT_EQ(set.bitmaps[0], "b3.bmp");
    EXPECT_EQ(set.bitmaps[22], "b25.bmp");
}

TEST(data_GraphicSet, ShortFileNamesTheMissingSlot) {
    TempFolder folder;
    WriteBytes(folder.file("s.bgp"), "Name\r\nStaff\r\n" + linesOf(3, 24));
    try {
        ReadGraphicSetFile(folder.file("s.bgp"));
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.line(), 25);
        EXPECT_EQ(error.reason(), "the file ends early: the bitmap for \"バー\" expected");
    }
}

TEST(data_GraphicSet, RefusedNameLeavesTheOldFile) {
    TempFolder folder;
    const std::string path = folder.file("s.bgp");
    WriteBytes(path, "old");
    GraphicSetFile set;
    set.staffName = "😀";
    EXPECT_THROW(WriteGraphicSetFile(path, set), DataError);
    EXPECT_EQ(ReadBytes(path), "old");
}

struct PaletteCase {
    const char* name;
    std::string bytes;
    int count;
};

class Palette : public ::testing::TestWithParam<PaletteCase> {};

TEST_P(Palette, ReadsTheSlotsTheFileHas) {
    TempFolder folder;
    WriteBytes(folder.file("s.bgp"), GetParam().bytes);
    const PaletteImages images = ReadPaletteImages(folder.file("s.bgp"));
    ASSERT_EQ(images.count, GetParam().count);
    for (int slot = 0; slot < images.count; ++slot) {
        EXPECT_EQ(images.paths[slot], folder.file("b" + std::to_string(slot + 3) + ".bmp"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    data, Palette,
    ::testing::Values(PaletteCase{"FullFile", "N\r\nS\r\n" + linesOf(3, 25), 20},
                      PaletteCase{"PartLinesMissing", "N\r\nS\r\n" + linesOf(3, 22), 20},
                      PaletteCase{"PartLinesDamaged",
                                  "N\r\nS\r\n" + linesOf(3, 22) + "\xFF\xFF\r\n", 20},
                      PaletteCase{"ShortFile", "N\r\nS\r\n" + linesOf(3, 10), 8},
                      PaletteCase{"OnlyNames", "N\r\nS\r\n", 0}, PaletteCase{"EmptyFile", "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(data_GraphicSet, MissingFileIsAnErrorForEveryReader) {
    TempFolder folder;
    EXPECT_THROW(ReadGraphicSetFile(folder.file("none.bgp")), DataError);
    EXPECT_THROW(ReadPaletteImages(folder.file("none.bgp")), DataError);
}

TEST(data_GraphicSet, SpecialSlotsAreNotInStageCodeOrder) {
    // {stage code, special slot}: the magnet comes before the four winds in the file.
    const int table[][2] = {{101, 0},  {107, 2},  {103, 3},  {106, 6}, {108, 7},
                            {111, 10}, {100, -1}, {112, -1}, {8, -1}};
    for (const auto& row : table) {
        EXPECT_EQ(SpecialSlotForKind(row[0]), row[1]) << row[0];
    }
}

}  // namespace
}  // namespace qon
