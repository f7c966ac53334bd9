// SPDX-License-Identifier: MIT
#include "qon/data/text.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "qon/data/error.h"
#include "temp_folder.h"

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

using test::TempFolder;
using test::WriteBytes;

// ---- CP932 conversion --------------------------------------------------------

struct Cp932Case {
    const char* name;
    std::string utf8;
    std::string cp932;
};

class Cp932RoundTrip : public ::testing::TestWithParam<Cp932Case> {};

TEST_P(Cp932RoundTrip, EncodesAndDecodesBothWays) {
    const Cp932Case& c = GetParam();
    EXPECT_EQ(Utf8ToCp932(c.utf8), c.cp932);
    EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8);
    EXPECT_TRUE(IsCp932Representable(c.utf8));
}

INSTANTIATE_TEST_SUITE_P(
    data, Cp932RoundTrip,
    ::testing::Values(Cp932Case{"PlainAscii", "Stage 1, ok", "Stage 1, ok"},
                      Cp932Case{"BackslashStaysBackslash", "C:\\Sets\\a~b", "C:\\Sets\\a~b"},
                      Cp932Case{"CircledDigitOne", "①", "\x87\x40"},
                      Cp932Case{"FullWidthTilde", "～", "\x81\x60"},
                      Cp932Case{"HalfWidthKana", "ｱｲｳｰ", "\xB1\xB2\xB3\xB0"},
                      Cp932Case{"KanjiAndKana", "壊れないブロック",
                                "\x89\xF3\x82\xEA\x82\xC8\x82\xA2\x83\x75\x83\x8D\x83\x62\x83\x4E"},
                      Cp932Case{"EmptyText", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusedCase {
    const char* name;
    std::string text;
};

class Cp932Refuses : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(Cp932Refuses, EncodingRefusesUnrepresentableOrBrokenUtf8) {
    EXPECT_FALSE(Utf8ToCp932(GetParam().text).has_value());
    EXPECT_FALSE(IsCp932Representable(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(data, Cp932Refuses,
                         ::testing::Values(RefusedCase{"Emoji", "ab😀"},
                                           RefusedCase{"HangulSyllable", "한"},
                                           RefusedCase{"BrokenUtf8",
                                                       "a\xFF"
                                                       "b"},
                                           RefusedCase{"CutUtf8Sequence", "\xE3\x81"}),
                         [](const auto& info) { return std::string(info.param.name); });

class Cp932InvalidBytes : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(Cp932InvalidBytes, DecodingRefusesBytesThatAreNotCp932) {
    EXPECT_FALSE(Cp932ToUtf8(GetParam().text).has_value());
}

INSTANTIATE_TEST_SUITE_P(data, Cp932InvalidBytes,
                         ::testing::Values(RefusedCase{"LoneLeadByteAtEnd", "ab\x81"},
                                           RefusedCase{"ByteA0", "\xA0"},
                                           RefusedCase{"ByteFD", "x\xFD"},
                                           RefusedCase{"LeadByteWithBadTrail", "\x81\x20"}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- LineReader ----------------------------------------------------------------

struct LineEndCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

class LineEnds : public ::testing::TestWithParam<LineEndCase> {};

TEST_P(LineEnds, SplitsLinesWhateverTheLineEnd) {
    TempFolder folder;
    WriteBytes(folder.file("a.txt"), GetParam().bytes);
    EXPECT_EQ(ReadAllLines(folder.file("a.txt")), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    data, LineEnds,
    ::testing::Values(LineEndCase{"CrLf", "one\r\ntwo\r\n", {"one", "two"}},
                      LineEndCase{"BareLf", "one\ntwo\n", {"one", "two"}},
                      LineEndCase{"LastLineWithoutLineEnd", "one\r\ntwo", {"one", "two"}},
                      LineEndCase{"MixedLineEnds", "one\ntwo\r\nthree", {"one", "two", "three"}},
                      LineEndCase{"EmptyLinesKept", "\r\n\r\nx\r\n", {"", "", "x"}},
                      LineEndCase{"EmptyFileHasNoLines", "", {}},
                      LineEndCase{"CrInsideLineKept", "a\rb\r\n", {"a\rb"}},
                      LineEndCase{"Cp932Decoded", "\x87\x40\x81\x60\xB1\r\n", {"①～ｱ"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(data_LineReader, ReadsALineOfAMegabyte) {
    TempFolder folder;
    const std::string longLine(1 << 20, 'x');
    WriteBytes(folder.file("long.txt"), longLine + "\r\nend");
    LineReader reader = LineReader::FromFile(folder.file("long.txt"));
    EXPECT_EQ(reader.next(), longLine);
    EXPECT_EQ(reader.next(), "end");
    EXPECT_EQ(reader.lineNumber(), 2);
    EXPECT_EQ(reader.next(), std::nullopt);
}

TEST(data_LineReader, InvalidCp932NamesFileAndLine) {
    TempFolder folder;
    const std::string path = folder.file("bad.txt");
    WriteBytes(path,
               "fine\r\nstill fine\r\nab\xFD"
               "cd\r\n");
    LineReader reader = LineReader::FromFile(path);
    reader.next();
    reader.next();
    try {
        reader.next();
        FAIL() << "invalid CP932 was accepted";
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), path);
        EXPECT_EQ(error.line(), 3);
        EXPECT_NE(error.reason().find("0xFD"), std::string::npos) << error.what();
        EXPECT_NE(error.reason().find("Shift-JIS"), std::string::npos) << error.what();
    }
}

TEST(data_LineReader, RequireNamesTheMissingLineAndWhatWasExpected) {
    TempFolder folder;
    WriteBytes(folder.file("short.txt"), "only\r\n");
    LineReader reader = LineReader::FromFile(folder.file("short.txt"));
    reader.require("the first line");
    try {
        reader.require("the stage count");
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.line(), 2);
        EXPECT_EQ(error.reason(), "the file ends early: the stage count expected");
    }
}

struct OpenFailureCase {
    const char* name;
    void (*prepare)(const std::string& path);
    const char* reasonPart;
};

class LineReaderOpenFailures : public ::testing::TestWithParam<OpenFailureCase> {};

TEST_P(LineReaderOpenFailures, RefusesWithAReasonForTheWholeFile) {
    TempFolder folder;
    const std::string path = folder.file("target");
    GetParam().prepare(path);
    try {
        LineReader reader = LineReader::FromFile(path);
        FAIL() << "opened " << path;
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), path);
        EXPECT_EQ(error.line(), 0);
        EXPECT_NE(error.reason().find(GetParam().reasonPart), std::string::npos) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    data, LineReaderOpenFailures,
    ::testing::Values(
        OpenFailureCase{"MissingFile", [](const std::string&) {}, "does not exist"},
        OpenFailureCase{"FolderGivenAsFile",
                        [](const std::string& p) { ASSERT_EQ(mkdir(p.c_str(), 0755), 0); },
                        "folder"},
        OpenFailureCase{"FifoDoesNotBlock",
                        [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0644), 0); },
                        "not an ordinary file"},
        OpenFailureCase{"FileLargerThanTheCap",
                        [](const std::string& p) {
                            WriteBytes(p, "");
                            ASSERT_EQ(truncate(p.c_str(), kMaxTextFileBytes + 1), 0);
                        },
                        "too large"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(data_DataError, MessageNamesFileAndLine) {
    EXPECT_STREQ(DataError("/a/Stage3.stg", 12, "row 12 is bad").what(),
                 "/a/Stage3.stg, line 12: row 12 is bad");
    EXPECT_STREQ(DataError("/a/Stage3.stg", 0, "the file does not exist").what(),
                 "/a/Stage3.stg: the file does not exist");
}

// ---- numbers -------------------------------------------------------------------

struct IntCase {
    const char* name;
    const char* text;
    std::optional<std::int16_t> value;
};

class ParseInt16Cases : public ::testing::TestWithParam<IntCase> {};

TEST_P(ParseInt16Cases, ParsesWholeLinesOnly) {
    EXPECT_EQ(ParseInt16(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    data, ParseInt16Cases,
    ::testing::Values(
        IntCase{"PrintStatementForm", " 1 ", 1}, IntCase{"NegativePrintForm", "-3 ", -3},
        IntCase{"PlusSign", "+5", 5}, IntCase{"Tabs", "\t7\t", 7},
        IntCase{"LeadingZeros", "007", 7}, IntCase{"Largest", "32767", 32767},
        IntCase{"Smallest", "-32768", -32768}, IntCase{"TooLarge", "32768", std::nullopt},
        IntCase{"TooSmall", "-32769", std::nullopt},
        IntCase{"Huge", "99999999999999999999", std::nullopt}, IntCase{"Empty", "", std::nullopt},
        IntCase{"OnlySpaces", "   ", std::nullopt}, IntCase{"Word", "abc", std::nullopt},
        IntCase{"TrailingText", "1a", std::nullopt}, IntCase{"TwoNumbers", "1 2", std::nullopt},
        IntCase{"Fraction", "3.7", std::nullopt}, IntCase{"TwoSigns", "+-1", std::nullopt},
        IntCase{"SignAlone", "-", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(data_ParseInt32, AcceptsValuesBeyondSixteenBits) {
    EXPECT_EQ(ParseInt32(" 40000 "), 40000);
    EXPECT_EQ(ParseInt32("2147483648"), std::nullopt);
}

TEST(data_PrintStatementInteger, PadsWithSpaceOrSign) {
    const std::pair<long, const char*> table[] = {
        {1, " 1 "}, {0, " 0 "}, {-3, "-3 "}, {32767, " 32767 "}, {-32768, "-32768 "}};
    for (const auto& [value, text] : table) {
        EXPECT_EQ(PrintStatementInteger(value), text) << value;
        EXPECT_EQ(ParseInt16(PrintStatementInteger(value)), value) << "reads back " << value;
    }
}

}  // namespace
}  // namespace qon
