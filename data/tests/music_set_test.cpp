// SPDX-License-Identifier: MIT
#include "qon/data/music_set.h"

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

using Reader = MusicSetFile (*)(const std::string&);

void expectSameSet(const MusicSetFile& a, const MusicSetFile& b) {
    EXPECT_EQ(a.setName, b.setName);
    EXPECT_EQ(a.staffName, b.staffName);
    EXPECT_EQ(a.titleTrack, b.titleTrack);
    EXPECT_EQ(a.endingTrack, b.endingTrack);
    EXPECT_EQ(a.stageTracks, b.stageTracks);
}

TEST(data_MusicSet, NameWithCommaReadsBackTheSameInBothReaders) {
    TempFolder folder;
    const std::string path = folder.file("Set.msp");
    MusicSetFile written;
    written.setName = "Spring, Summer ①～ｱｲｳ";
    written.staffName = " \"作曲\", 二人";
    written.titleTrack = "/home/me/曲 集/Title, 1.mid";
    written.endingTrack = "Ending.mid";
    written.stageTracks = {"/x/s1.mid", "/y/ステージ２.mid", "/x/s1.mid"};
    WriteMusicSetFile(path, written);

    MusicSetFile expected = written;
    expected.titleTrack = "Title, 1.mid";
    expected.stageTracks = {"s1.mid", "ステージ２.mid", "s1.mid"};
    for (Reader reader : {&ReadMusicSetForEditing, &ReadMusicSetForGame}) {
        expectSameSet(reader(path), expected);
    }
    EXPECT_EQ(MusicTrackPath(path, "Title, 1.mid"), folder.file("Title, 1.mid"));
}

TEST(data_MusicSet, NoStageTracksIsFiveLinesEndingInZero) {
    TempFolder folder;
    MusicSetFile set;
    set.setName = "N";
    set.staffName = "S";
    WriteMusicSetFile(folder.file("s.msp"), set);
    EXPECT_EQ(ReadBytes(folder.file("s.msp")), "N\r\nS\r\n\r\n\r\n0\r\n");
    for (Reader reader : {&ReadMusicSetForEditing, &ReadMusicSetForGame}) {
        expectSameSet(reader(folder.file("s.msp")), set);
    }
}

TEST(data_MusicSet, BareLfAndLinesAfterTheTracksAreFine) {
    TempFolder folder;
    WriteBytes(folder.file("s.msp"), "N\nS\nt.mid\ne.mid\n2\na.mid\nb.mid\nextra.mid\n\xFF\n");
    for (Reader reader : {&ReadMusicSetForEditing, &ReadMusicSetForGame}) {
        const MusicSetFile set = reader(folder.file("s.msp"));
        EXPECT_EQ(set.endingTrack, "e.mid");
        EXPECT_EQ(set.stageTracks, (std::vector<std::string>{"a.mid", "b.mid"}));
    }
}

// The track count line as each reader takes it: -1 means the reader refuses it.
struct CountCase {
    const char* name;
    const char* line;
    int editing;
    int game;
};

class TrackCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(TrackCount, EachReaderTakesOrRefusesTheCount) {
    const CountCase& c = GetParam();
    TempFolder folder;
    std::string bytes = std::string("N\r\nS\r\nt.mid\r\ne.mid\r\n") + c.line + "\r\n";
    for (int i = 0; i < 4; ++i) {
        bytes += "s" + std::to_string(i) + ".mid\r\n";
    }
    WriteBytes(folder.file("s.msp"), bytes);
    const std::pair<Reader, int> readers[] = {{&ReadMusicSetForEditing, c.editing},
                                              {&ReadMusicSetForGame, c.game}};
    for (const auto& [reader, expected] : readers) {
        if (expected < 0) {
            try {
                reader(folder.file("s.msp"));
                FAIL() << "accepted " << c.line;
            } catch (const DataError& error) {
                EXPECT_EQ(error.line(), 5);
                EXPECT_NE(error.reason().find("the track count \"" + std::string(c.line) + "\""),
                          std::string::npos)
                    << error.what();
            }
        } else {
            EXPECT_EQ(reader(folder.file("s.msp")).stageTracks.size(),
                      static_cast<std::size_t>(expected));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(data, TrackCount,
                         ::testing::Values(CountCase{"PlainDigits", "3", 3, 3},
                                           CountCase{"SurroundingSpaces", " 2 ", 2, 2},
                                           CountCase{"Zero", "0", 0, 0},
                                           CountCase{"FractionTakesIntegerPart", "3.7", 3, -1},
                                           CountCase{"TrailingWords", "2 tracks", 2, -1},
                                           CountCase{"NotANumber", "abc", -1, -1},
                                           CountCase{"Empty", "", -1, -1},
                                           CountCase{"Negative", "-1", -1, -1},
                                           CountCase{"Huge", "99999999999", -1, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ShortCase {
    const char* name;
    std::string bytes;
    int line;
};

class MusicShortFile : public ::testing::TestWithParam<ShortCase> {};

TEST_P(MusicShortFile, BothReadersNameTheMissingLine) {
    TempFolder folder;
    WriteBytes(folder.file("s.msp"), GetParam().bytes);
    for (Reader reader : {&ReadMusicSetForEditing, &ReadMusicSetForGame}) {
        try {
            reader(folder.file("s.msp"));
            FAIL();
        } catch (const DataError& error) {
            EXPECT_EQ(error.line(), GetParam().line);
            EXPECT_NE(error.reason().find("ends early"), std::string::npos) << error.what();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(data, MusicShortFile,
                         ::testing::Values(ShortCase{"EmptyFile", "", 1},
                                           ShortCase{"NoCountLine", "N\r\nS\r\nt\r\ne\r\n", 5},
                                           ShortCase{"FewerTracksThanCounted",
                                                     "N\r\nS\r\nt\r\ne\r\n3\r\na\r\nb\r\n", 8},
                                           ShortCase{"LargestCountWithTwoTracks",
                                                     "N\r\nS\r\nt\r\ne\r\n32767\r\na\r\nb", 8}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(data_MusicSet, InvalidCp932AndMissingFileAreNamed) {
    TempFolder folder;
    WriteBytes(folder.file("s.msp"), "N\r\n\x81\x7F\r\n");
    for (Reader reader : {&ReadMusicSetForEditing, &ReadMusicSetForGame}) {
        try {
            reader(folder.file("s.msp"));
            FAIL();
        } catch (const DataError& error) {
            EXPECT_EQ(error.line(), 2);
        }
        EXPECT_THROW(reader(folder.file("none.msp")), DataError);
    }
}

}  // namespace
}  // namespace qon
