// SPDX-License-Identifier: MIT
#include "qon/data/paths.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "qon/data/error.h"

namespace qon {
namespace {

// Table rows print as their name in test listings.
template <typename Row>
requires requires(const Row& row) {
    row.name;
}
void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

struct PathCase {
    const char* name;
    const char* path;
    const char* folder;
    const char* fileName;
};

class PathSplit : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathSplit, FolderKeepsTheLastSlashAndFileNameIsTheRest) {
    EXPECT_EQ(FolderOf(GetParam().path), GetParam().folder);
    EXPECT_EQ(FileNameOf(GetParam().path), GetParam().fileName);
}

INSTANTIATE_TEST_SUITE_P(
    data, PathSplit,
    ::testing::Values(PathCase{"AbsoluteFile", "/home/a/Blocks/Spring.stp", "/home/a/Blocks/",
                               "Spring.stp"},
                      PathCase{"RootFile", "/x.bgp", "/", "x.bgp"},
                      PathCase{"RelativeFile", "sets/x.msp", "sets/", "x.msp"},
                      PathCase{"TrailingSlash", "/a/b/", "/a/b/", ""},
                      PathCase{"SpacesCommasAndJapanese", "/My Sets/春, 夏/ブロック①.bmp",
                               "/My Sets/春, 夏/", "ブロック①.bmp"},
                      PathCase{"BackslashIsNotASeparator", "/a/b\\c.bmp", "/a/", "b\\c.bmp"}),
    [](const auto& info) { return std::string(info.param.name); });

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

struct HexCase {
    const char* name;
    const char* text;
    long value;
};

class HexToLongCases : public ::testing::TestWithParam<HexCase> {};

TEST_P(HexToLongCases, ValueOfLeadingHexDigits) {
    EXPECT_EQ(HexToLong(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    data, HexToLongCases,
    ::testing::Values(HexCase{"UpperCase", "1F", 31}, HexCase{"LowerCaseEmpty", "ff", 255},
                      HexCase{"UpperCaseEmpty", "FF", 255}, HexCase{"MixedCase", "fF", 255},
                      HexCase{"Unbreakable", "08", 8}, HexCase{"SpecialLowerCase", "6f", 111},
                      HexCase{"OneDigit", "F", 15}, HexCase{"StopsAtNonHex", "1g", 1},
                      HexCase{"NoLeadingDigit", "g1", 0}, HexCase{"EmptyText", "", 0},
                      HexCase{"LeadingSpace", " 1", 0}, HexCase{"NoSign", "-1", 0},
                      HexCase{"SaturatesOnLongRuns", "FFFFFFFFFFFFFFFFFFFFFFFFFFFF", LONG_MAX}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qon
