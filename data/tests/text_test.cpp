// SPDX-License-Identifier: MIT
#include "qon/data/text.h"

#include <gtest/gtest.h>

#include <string>

#include "qon/data/error.h"
#include "qon/test_support/rows.h"

namespace qon {
namespace {

QON_PRINT_ROWS_BY_NAME

using test_support::RowName;

// ---- CP932 conversion --------------------------------------------------------

struct Cp932Row {
    const char* name;
    std::string utf8;
    std::string cp932;
};

class Cp932RoundTrip : public ::testing::TestWithParam<Cp932Row> {};

TEST_P(Cp932RoundTrip, EncodesAndDecodesBothWays) {
    const Cp932Row& row = GetParam();
    EXPECT_EQ(Utf8ToCp932(row.utf8), row.cp932);
    EXPECT_EQ(Cp932ToUtf8(row.cp932), row.utf8);
    EXPECT_TRUE(IsCp932Representable(row.utf8));
}

const Cp932Row kCp932Rows[] = {
    {.name = "PlainAscii", .utf8 = "Stage 1, ok", .cp932 = "Stage 1, ok"},
    {.name = "BackslashStaysBackslash", .utf8 = "C:\\Sets\\a~b", .cp932 = "C:\\Sets\\a~b"},
    {.name = "CircledDigitOne", .utf8 = "①", .cp932 = "\x87\x40"},
    {.name = "FullWidthTilde", .utf8 = "～", .cp932 = "\x81\x60"},
    {.name = "HalfWidthKana", .utf8 = "ｱｲｳｰ", .cp932 = "\xB1\xB2\xB3\xB0"},
    {.name = "KanjiAndKana",
     .utf8 = "壊れないブロック",
     .cp932 = "\x89\xF3\x82\xEA\x82\xC8\x82\xA2\x83\x75\x83\x8D\x83\x62\x83\x4E"},
    {.name = "EmptyText", .utf8 = "", .cp932 = ""},
};

INSTANTIATE_TEST_SUITE_P(data, Cp932RoundTrip, ::testing::ValuesIn(kCp932Rows), RowName);

struct TextRow {
    const char* name;
    std::string text;
};

class Cp932Refuses : public ::testing::TestWithParam<TextRow> {};

TEST_P(Cp932Refuses, EncodingRefusesUnrepresentableOrBrokenUtf8) {
    EXPECT_FALSE(Utf8ToCp932(GetParam().text).has_value());
    EXPECT_FALSE(IsCp932Representable(GetParam().text));
}

const TextRow kUnencodableRows[] = {
    {.name = "Emoji", .text = "ab😀"},
    {.name = "HangulSyllable", .text = "한"},
    {.name = "BrokenUtf8",
     .text = "a\xFF"
             "b"},
    {.name = "CutUtf8Sequence", .text = "\xE3\x81"},
};

INSTANTIATE_TEST_SUITE_P(data, Cp932Refuses, ::testing::ValuesIn(kUnencodableRows), RowName);

class Cp932InvalidBytes : public ::testing::TestWithParam<TextRow> {};

TEST_P(Cp932InvalidBytes, DecodingRefusesBytesThatAreNotCp932) {
    EXPECT_FALSE(Cp932ToUtf8(GetParam().text).has_value());
}

const TextRow kUndecodableRows[] = {
    {.name = "LoneLeadByteAtEnd", .text = "ab\x81"},
    {.name = "ByteA0", .text = "\xA0"},
    {.name = "ByteFD", .text = "x\xFD"},
    {.name = "LeadByteWithBadTrail", .text = "\x81\x20"},
};

INSTANTIATE_TEST_SUITE_P(data, Cp932InvalidBytes, ::testing::ValuesIn(kUndecodableRows), RowName);

// ---- LineReader ----------------------------------------------------------------

struct LineEndRow {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

class LineEnds : public ::testing::TestWithParam<LineEndRow> {};

TEST_P(LineEnds, SplitsLinesWhateverTheLineEnd) {
    EXPECT_EQ(ParseLines(GetParam().bytes, "a.txt"), GetParam().lines);
}

const LineEndRow kLineEndRows[] = {
    {.name = "CrLf", .bytes = "one\r\ntwo\r\n", .lines = {"one", "two"}},
    {.name = "BareLf", .bytes = "one\ntwo\n", .lines = {"one", "two"}},
    {.name = "LastLineWithoutLineEnd", .bytes = "one\r\ntwo", .lines = {"one", "two"}},
    {.name = "MixedLineEnds", .bytes = "one\ntwo\r\nthree", .lines = {"one", "two", "three"}},
    {.name = "EmptyLinesKept", .bytes = "\r\n\r\nx\r\n", .lines = {"", "", "x"}},
    {.name = "EmptyFileHasNoLines", .bytes = "", .lines = {}},
    {.name = "CrInsideLineKept", .bytes = "a\rb\r\n", .lines = {"a\rb"}},
    {.name = "Cp932Decoded", .bytes = "\x87\x40\x81\x60\xB1\r\n", .lines = {"①～ｱ"}},
};

INSTANTIATE_TEST_SUITE_P(data, LineEnds, ::testing::ValuesIn(kLineEndRows), RowName);

TEST(data_LineReader, ReadsALineOfAMegabyte) {
    const std::string longLine(1 << 20, 'x');
    LineReader reader("long.txt", longLine + "\r\nend");
    EXPECT_EQ(reader.next(), longLine);
    EXPECT_EQ(reader.next(), "end");
    EXPECT_EQ(reader.lineNumber(), 2);
    EXPECT_EQ(reader.next(), std::nullopt);
}

TEST(data_LineReader, InvalidCp932NamesFileAndLine) {
    const std::string path = "/mem/bad.txt";
    LineReader reader(path,
                      "fine\r\nstill fine\r\nab\xFD"
                      "cd\r\n");
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
    LineReader reader("short.txt", "only\r\n");
    reader.require("the first line");
    try {
        reader.require("the stage count");
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.line(), 2);
        EXPECT_EQ(error.reason(), "the file ends early: the stage count expected");
    }
}

TEST(data_FormatLines, EndsEveryLineWithCrLfInCp932) {
    EXPECT_EQ(FormatLines({"①", "", "ｱ"}, "a.txt"), "\x87\x40\r\n\r\n\xB1\r\n");
    EXPECT_EQ(FormatLines({}, "a.txt"), "");
}

TEST(data_DataError, MessageNamesFileAndLine) {
    EXPECT_STREQ(DataError("/a/Stage3.stg", 12, "row 12 is bad").what(),
                 "\"/a/Stage3.stg\", line 12: row 12 is bad");
    EXPECT_STREQ(DataError("/a/Stage3.stg", 0, "the file does not exist").what(),
                 "\"/a/Stage3.stg\": the file does not exist");
}

// ---- quoting in messages -----------------------------------------------------------

struct QuoteRow {
    const char* name;
    std::string_view raw = "";
    const char* path = "";  // as QuotedPath shows it
    const char* text = "";  // as QuotedText shows it
};

class Quoting : public ::testing::TestWithParam<QuoteRow> {};

TEST_P(Quoting, ShowsWhatCannotBeSeen) {
    EXPECT_EQ(QuotedPath(GetParam().raw), GetParam().path);
    EXPECT_EQ(QuotedText(GetParam().raw), GetParam().text);
}

const QuoteRow kQuoteRows[] = {
    {.name = "PlainPathInQuotes",
     .raw = "/sets/Easy.stp",
     .path = "\"/sets/Easy.stp\"",
     .text = "\"/sets/Easy.stp\""},
    {.name = "TrailingSpaceOfAPathIsAnEscape",
     .raw = "/sets/Easy.stp  ",
     .path = "\"/sets/Easy.stp\\x20\\x20\"",
     .text = "\"/sets/Easy.stp  \""},
    {.name = "InnerSpacesStayPlain",
     .raw = "/my sets/a b.stp",
     .path = "\"/my sets/a b.stp\"",
     .text = "\"/my sets/a b.stp\""},
    {.name = "CarriageReturnCannotMoveTheCursor",
     .raw = "/sets/Easy.stp\r",
     .path = "\"/sets/Easy.stp\\r\"",
     .text = "\"/sets/Easy.stp\\r\""},
    {.name = "LineFeedAndTab", .raw = "a\nb\tc", .path = "\"a\\nb\\tc\"", .text = "\"a\\nb\\tc\""},
    {.name = "EscapeAndDeleteAsHex",
     .raw = "a\x1B[2Jb\x7F",
     .path = "\"a\\x1B[2Jb\\x7F\"",
     .text = "\"a\\x1B[2Jb\\x7F\""},
    {.name = "BytesThatAreNotUtf8AsHex",
     .raw = "a\xFF\xC3",
     .path = "\"a\\xFF\\xC3\"",
     .text = "\"a\\xFF\\xC3\""},
    {.name = "JapaneseStaysReadable",
     .raw = "/セット/森.msp",
     .path = "\"/セット/森.msp\"",
     .text = "\"/セット/森.msp\""},
    {.name = "ZeroWidthSpaceAndByteOrderMark",
     .raw = "a\u200Bb\uFEFF",
     .path = "\"a\\u200Bb\\uFEFF\"",
     .text = "\"a\\u200Bb\\uFEFF\""},
    {.name = "NoBreakSpace", .raw = "a\u00A0b", .path = "\"a\\u00A0b\"", .text = "\"a\\u00A0b\""},
    {.name = "LongTextIsCutAfterFortyCharacters",
     .raw = "森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森林",
     .path =
         "\"森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森林\"",
     .text =
         "\"森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森森…\""},
};
INSTANTIATE_TEST_SUITE_P(data, Quoting, ::testing::ValuesIn(kQuoteRows), RowName);

TEST(data_DataError, PathWithACarriageReturnIsShownEscaped) {
    const DataError error("/sets/Easy.stp\r", 0, "the file does not exist");
    EXPECT_STREQ(error.what(), "\"/sets/Easy.stp\\r\": the file does not exist");
    EXPECT_EQ(error.file(), "/sets/Easy.stp\r") << "the file itself stays as it was given";
}

// ---- numbers and their ranges in messages ------------------------------------------

TEST(data_NumberProblem, SaysOutOfRangeForANumberAndNotANumberOtherwise) {
    EXPECT_EQ(NumberProblem("the stage count", "40000", 1, 32767),
              "the stage count \"40000\" is out of range: it must be a whole number from 1 to "
              "32767");
    EXPECT_EQ(NumberProblem("the stage count", " -3 ", 1, 32767),
              "the stage count \" -3 \" is out of range: it must be a whole number from 1 to "
              "32767");
    EXPECT_EQ(NumberProblem("the stage count", "3.5", 1, 32767),
              "the stage count \"3.5\" is not a whole number from 1 to 32767");
    EXPECT_EQ(NumberProblem("the stage count", "", 1, 32767),
              "the stage count \"\" is not a whole number from 1 to 32767");
}

// ---- bare CR line ends -------------------------------------------------------------

TEST(data_LineReader, BareCrLineEndsAreNamedWhenTheFileEndsEarly) {
    LineReader reader("/mem/Stage1.stg", "0000\r0000\r0000\r");
    reader.require("row 1 of 30 of the stage");
    try {
        reader.require("row 2 of 30 of the stage");
        FAIL() << "a file of bare CR line ends is one line";
    } catch (const DataError& error) {
        EXPECT_EQ(error.line(), 2);
        EXPECT_NE(error.reason().find("bare CR"), std::string::npos) << error.what();
        EXPECT_NE(error.reason().find("row 2 of 30 of the stage is missing"), std::string::npos)
            << error.what();
        EXPECT_NE(error.reason().find("CR LF"), std::string::npos) << error.what();
    }
}

TEST(data_LineReader, CrLfFilesThatEndEarlySayOnlyThat) {
    LineReader reader("/mem/Stage1.stg", "0000\r\n");
    reader.require("row 1 of 30 of the stage");
    try {
        reader.require("row 2 of 30 of the stage");
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.reason(), "the file ends early: row 2 of 30 of the stage expected");
    }
}

TEST(data_LineReader, ACrBeforeTheLineEndStaysPartOfTheLine) {
    // A file converted twice (CR CR LF) still reads line by line, as it always has.
    LineReader reader("/mem/a.txt", "ab\r\r\ncd\r\r\n");
    EXPECT_EQ(reader.require("line 1"), "ab\r");
    EXPECT_EQ(reader.require("line 2"), "cd\r");
}

// ---- numbers -------------------------------------------------------------------

struct IntRow {
    const char* name;
    const char* text = "";
    std::optional<std::int16_t> value = std::nullopt;  // none: not a 16-bit number
};

class ParseInt16Cases : public ::testing::TestWithParam<IntRow> {};

TEST_P(ParseInt16Cases, ParsesWholeLinesOnly) {
    EXPECT_EQ(ParseInt16(GetParam().text), GetParam().value);
}

const IntRow kIntRows[] = {
    {.name = "PrintStatementForm", .text = " 1 ", .value = 1},
    {.name = "NegativePrintForm", .text = "-3 ", .value = -3},
    {.name = "PlusSign", .text = "+5", .value = 5},
    {.name = "Tabs", .text = "\t7\t", .value = 7},
    {.name = "LeadingZeros", .text = "007", .value = 7},
    {.name = "Largest", .text = "32767", .value = 32767},
    {.name = "Smallest", .text = "-32768", .value = -32768},
    {.name = "TooLarge", .text = "32768"},
    {.name = "TooSmall", .text = "-32769"},
    {.name = "Huge", .text = "99999999999999999999"},
    {.name = "Empty", .text = ""},
    {.name = "OnlySpaces", .text = "   "},
    {.name = "Word", .text = "abc"},
    {.name = "TrailingText", .text = "1a"},
    {.name = "TwoNumbers", .text = "1 2"},
    {.name = "Fraction", .text = "3.7"},
    {.name = "TwoSigns", .text = "+-1"},
    {.name = "SignAlone", .text = "-"},
};

INSTANTIATE_TEST_SUITE_P(data, ParseInt16Cases, ::testing::ValuesIn(kIntRows), RowName);

TEST(data_ParseInt32, AcceptsValuesBeyondSixteenBits) {
    EXPECT_EQ(ParseInt32(" 40000 "), 40000);
    EXPECT_EQ(ParseInt32("2147483648"), std::nullopt);
}

TEST(data_PrintStatementInteger, PadsWithSpaceOrSign) {
    struct Row {
        long value;
        const char* text;
    };
    const Row table[] = {{.value = 1, .text = " 1 "},
                         {.value = 0, .text = " 0 "},
                         {.value = -3, .text = "-3 "},
                         {.value = 32767, .text = " 32767 "},
                         {.value = -32768, .text = "-32768 "}};
    for (const auto& [value, text] : table) {
        EXPECT_EQ(PrintStatementInteger(value), text) << value;
        EXPECT_EQ(ParseInt16(PrintStatementInteger(value)), value) << "reads back " << value;
    }
}

}  // namespace
}  // namespace qon
