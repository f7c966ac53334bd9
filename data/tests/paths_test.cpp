// SPDX-License-Identifier: MIT
#include "qon/data/paths.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "qon/data/error.h"
#include "qon/test_support/rows.h"

namespace qon {
namespace {

QON_PRINT_ROWS_BY_NAME

using test_support::RowName;

struct PathRow {
    const char* name;
    const char* path = "";
    const char* folder = "";
    const char* fileName = "";
};

class PathSplit : public ::testing::TestWithParam<PathRow> {};

TEST_P(PathSplit, FolderKeepsTheLastSlashAndFileNameIsTheRest) {
    EXPECT_EQ(FolderOf(GetParam().path), GetParam().folder);
    EXPECT_EQ(FileNameOf(GetParam().path), GetParam().fileName);
}

const PathRow kPathRows[] = {
    {.name = "AbsoluteFile",
     .path = "/home/a/Blocks/Spring.stp",
     .folder = "/home/a/Blocks/",
     .fileName = "Spring.stp"},
    {.name = "RootFile", .path = "/x.bgp", .folder = "/", .fileName = "x.bgp"},
    {.name = "RelativeFile", .path = "sets/x.msp", .folder = "sets/", .fileName = "x.msp"},
    {.name = "TrailingSlash", .path = "/a/b/", .folder = "/a/b/", .fileName = ""},
    {.name = "SpacesCommasAndJapanese",
     .path = "/My Sets/春, 夏/ブロック①.bmp",
     .folder = "/My Sets/春, 夏/",
     .fileName = "ブロック①.bmp"},
    {.name = "BackslashIsNotASeparator",
     .path = "/a/b\\c.bmp",
     .folder = "/a/",
     .fileName = "b\\c.bmp"},
};

INSTANTIATE_TEST_SUITE_P(data, PathSplit, ::testing::ValuesIn(kPathRows), RowName);

TEST(data_Paths, FileNameOfTextWithoutSlashIsWhole) {
    EXPECT_EQ(FileNameOf("Block1.bmp"), "Block1.bmp");
    EXPECT_EQ(FileNameOf(""), "");
}

TEST(data_Paths, FolderOfPathWithoutSlashIsAnError) {
    for (const char* path : {"Spring.stp", ""}) {
        try {
            FolderOf(path);
            FAIL() << "accepted " << path;
        } catch (const DataError& error) {
            EXPECT_EQ(error.file(), path);
            EXPECT_EQ(error.line(), 0);
        }
    }
}

TEST(data_Paths, ProgramFolderIsTheExecutablesFolderWithSlash) {
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(folder, std::filesystem::read_symlink("/proc/self/exe").parent_path().string() + "/");
}

struct HexRow {
    const char* name;
    const char* text = "";
    long value = 0;
};

class HexToLongCases : public ::testing::TestWithParam<HexRow> {};

TEST_P(HexToLongCases, ValueOfLeadingHexDigits) {
    EXPECT_EQ(HexToLong(GetParam().text), GetParam().value);
}

const HexRow kHexRows[] = {
    {.name = "UpperCase", .text = "1F", .value = 31},
    {.name = "LowerCaseEmpty", .text = "ff", .value = 255},
    {.name = "UpperCaseEmpty", .text = "FF", .value = 255},
    {.name = "MixedCase", .text = "fF", .value = 255},
    {.name = "Unbreakable", .text = "08", .value = 8},
    {.name = "SpecialLowerCase", .text = "6f", .value = 111},
    {.name = "OneDigit", .text = "F", .value = 15},
    {.name = "StopsAtNonHex", .text = "1g", .value = 1},
    {.name = "NoLeadingDigit", .text = "g1", .value = 0},
    {.name = "EmptyText", .text = "", .value = 0},
    {.name = "LeadingSpace", .text = " 1", .value = 0},
    {.name = "NoSign", .text = "-1", .value = 0},
    {.name = "SaturatesOnLongRuns", .text = "FFFFFFFFFFFFFFFFFFFFFFFFFFFF", .value = LONG_MAX},
};

INSTANTIATE_TEST_SUITE_P(data, HexToLongCases, ::testing::ValuesIn(kHexRows), RowName);

}  // namespace
}  // namespace qon
