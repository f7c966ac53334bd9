// SPDX-License-Identifier: MIT
#include "qon/data/music_set.h"

#include <gtest/gtest.h>

#include <string>

#include "qon/data/error.h"
#include "qon/data/text.h"
#include "qon/test_support/rows.h"

namespace qon {
namespace {

QON_PRINT_ROWS_BY_NAME

using test_support::RowName;

const std::string kSetPath = "/mem/music/s.msp";

using Parser = MusicSetFile (*)(std::string_view, const std::string&);
constexpr Parser kBothReadings[] = {&ParseMusicSetForEditing, &ParseMusicSetForGame};

void expectSameSet(const MusicSetFile& a, const MusicSetFile& b) {
    EXPECT_EQ(a.setName, b.setName);
    EXPECT_EQ(a.staffName, b.staffName);
    EXPECT_EQ(a.titleTrack, b.titleTrack);
    EXPECT_EQ(a.endingTrack, b.endingTrack);
    EXPECT_EQ(a.stageTracks, b.stageTracks);
}

std::string formatted(const MusicSetFile& set) {
    return FormatLines(FormatMusicSetFile(set, kSetPath), kSetPath);
}

TEST(data_MusicSet, NameWithCommaReadsBackTheSameInBothReaders) {
    MusicSetFile written;
    written.setName = "Spring, Summer ①～ｱｲｳ";
    written.staffName = " \"作曲\", 二人";
    written.titleTrack = "/home/me/曲 集/Title, 1.mid";
    written.endingTrack = "Ending.mid";
    written.stageTracks = {"/x/s1.mid", "/y/ステージ２.mid", "/x/s1.mid"};
    const std::string bytes = formatted(written);

    MusicSetFile expected = written;
    expected.titleTrack = "Title, 1.mid";
    expected.stageTracks = {"s1.mid", "ステージ２.mid", "s1.mid"};
    for (Parser parse : kBothReadings) {
        expectSameSet(parse(bytes, kSetPath), expected);
    }
    EXPECT_EQ(MusicTrackPath(kSetPath, "Title, 1.mid"), "/mem/music/Title, 1.mid");
}

TEST(data_MusicSet, NoStageTracksIsFiveLinesEndingInZero) {
    MusicSetFile set;
    set.setName = "N";
    set.staffName = "S";
    const std::string bytes = formatted(set);
    EXPECT_EQ(bytes, "N\r\nS\r\n\r\n\r\n0\r\n");
    for (Parser parse : kBothReadings) {
        expectSameSet(parse(bytes, kSetPath), set);
    }
}

TEST(data_MusicSet, MoreStageTracksThanSixteenBitsCountIsRefusedByName) {
    MusicSetFile set;
    set.stageTracks.assign(32767, "s.mid");
    EXPECT_EQ(FormatMusicSetFile(set, kSetPath)[4], "32767");
    set.stageTracks.push_back("one too many.mid");
    try {
        FormatMusicSetFile(set, kSetPath);
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), kSetPath);
        EXPECT_EQ(error.reason(), "a music set holds at most 32767 stage tracks, not 32768");
    }
}

TEST(data_MusicSet, BareLfAndLinesAfterTheTracksAreFine) {
    const std::string bytes = "N\nS\nt.mid\ne.mid\n2\na.mid\nb.mid\nextra.mid\n\xFF\n";
    for (Parser parse : kBothReadings) {
        const MusicSetFile set = parse(bytes, kSetPath);
        EXPECT_EQ(set.endingTrack, "e.mid");
        EXPECT_EQ(set.stageTracks, (std::vector<std::string>{"a.mid", "b.mid"}));
    }
}

// The track count line as each reader takes it: -1 means the reader refuses it.
struct CountRow {
    const char* name;
    const char* line = "";
    int editing = -1;
    int game = -1;
};

class TrackCount : public ::testing::TestWithParam<CountRow> {};

TEST_P(TrackCount, EachReaderTakesOrRefusesTheCount) {
    const CountRow& row = GetParam();
    std::string bytes = std::string("N\r\nS\r\nt.mid\r\ne.mid\r\n") + row.line + "\r\n";
    for (int i = 0; i < 4; ++i) {
        bytes += "s" + std::to_string(i) + ".mid\r\n";
    }
    const std::pair<Parser, int> readers[] = {{&ParseMusicSetForEditing, row.editing},
                                              {&ParseMusicSetForGame, row.game}};
    for (const auto& [parse, expected] : readers) {
        if (expected < 0) {
            try {
                parse(bytes, kSetPath);
                FAIL() << "accepted " << row.line;
            } catch (const DataError& error) {
                EXPECT_EQ(error.line(), 5);
                EXPECT_NE(error.reason().find("the track count \"" + std::string(row.line) + "\""),
                          std::string::npos)
                    << error.what();
            }
        } else {
            EXPECT_EQ(parse(bytes, kSetPath).stageTracks.size(),
                      static_cast<std::size_t>(expected));
        }
    }
}

const CountRow kCountRows[] = {
    {.name = "PlainDigits", .line = "3", .editing = 3, .game = 3},
    {.name = "SurroundingSpaces", .line = " 2 ", .editing = 2, .game = 2},
    {.name = "Zero", .line = "0", .editing = 0, .game = 0},
    {.name = "FractionTakesIntegerPart", .line = "3.7", .editing = 3},
    {.name = "TrailingWords", .line = "2 tracks", .editing = 2},
    {.name = "NotANumber", .line = "abc"},
    {.name = "Empty", .line = ""},
    {.name = "Negative", .line = "-1"},
    {.name = "Huge", .line = "99999999999"},
};

INSTANTIATE_TEST_SUITE_P(data, TrackCount, ::testing::ValuesIn(kCountRows), RowName);

struct ShortFileRow {
    const char* name;
    std::string bytes;
    int line = 0;  // the line found missing
};

class MusicShortFile : public ::testing::TestWithParam<ShortFileRow> {};

TEST_P(MusicShortFile, BothReadersNameTheMissingLine) {
    for (Parser parse : kBothReadings) {
        try {
            parse(GetParam().bytes, kSetPath);
            FAIL();
        } catch (const DataError& error) {
            EXPECT_EQ(error.line(), GetParam().line);
            EXPECT_NE(error.reason().find("ends early"), std::string::npos) << error.what();
        }
    }
}

const ShortFileRow kShortFileRows[] = {
    {.name = "EmptyFile", .bytes = "", .line = 1},
    {.name = "NoCountLine", .bytes = "N\r\nS\r\nt\r\ne\r\n", .line = 5},
    {.name = "FewerTracksThanCounted", .bytes = "N\r\nS\r\nt\r\ne\r\n3\r\na\r\nb\r\n", .line = 8},
    {.name = "LargestCountWithTwoTracks",
     .bytes = "N\r\nS\r\nt\r\ne\r\n32767\r\na\r\nb",
     .line = 8},
};

INSTANTIATE_TEST_SUITE_P(data, MusicShortFile, ::testing::ValuesIn(kShortFileRows), RowName);

TEST(data_MusicSet, InvalidCp932IsNamed) {
    for (Parser parse : kBothReadings) {
        try {
            parse("N\r\n\x81\x7F\r\n", kSetPath);
            FAIL();
        } catch (const DataError& error) {
            EXPECT_EQ(error.file(), kSetPath);
            EXPECT_EQ(error.line(), 2);
        }
    }
}

}  // namespace
}  // namespace qon
