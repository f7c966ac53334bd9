// SPDX-License-Identifier: MIT
// Standard MIDI file reading: timing through tempo maps and divisions, the event forms a
// reader must accept, and the broken files it must refuse with a reason.

#include "qon/music/midi_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "qon/media/media.h"
#include "qon/music_test/midi_writer.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::music {
namespace {

QON_PRINT_ROWS_BY_NAME

using Bytes = std::vector<std::uint8_t>;
using music_test::MidiWriter;

Bytes header(int format, int tracks, int division) {
    return {'M',
            'T',
            'h',
            'd',
            0,
            0,
            0,
            6,
            0,
            static_cast<std::uint8_t>(format),
            0,
            static_cast<std::uint8_t>(tracks),
            static_cast<std::uint8_t>(division >> 8),
            static_cast<std::uint8_t>(division)};
}

Bytes trackChunk(const Bytes& body) {
    Bytes out = {'M',
                 'T',
                 'r',
                 'k',
                 0,
                 0,
                 static_cast<std::uint8_t>(body.size() >> 8),
                 static_cast<std::uint8_t>(body.size())};
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

// ---- files that read -------------------------------------------------------------

struct Expected {
    std::uint64_t timeUs;
    std::uint8_t status;
    std::uint8_t data1;
};

struct ReadCase {
    const char* name;
    std::function<Bytes()> file{};
    std::vector<Expected> events{};
    std::uint64_t lengthUs{};
};

class MidiReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(MidiReadTest, EventsAndLength) {
    const ReadCase& row = GetParam();
    const MidiSong song = ParseMidiFile(row.file(), "case.mid");
    ASSERT_EQ(song.events.size(), row.events.size());
    for (std::size_t i = 0; i < row.events.size(); ++i) {
        SCOPED_TRACE("event " + std::to_string(i));
        EXPECT_EQ(song.events[i].timeUs, row.events[i].timeUs);
        EXPECT_EQ(song.events[i].status, row.events[i].status);
        EXPECT_EQ(song.events[i].data1, row.events[i].data1);
    }
    EXPECT_EQ(song.lengthUs, row.lengthUs);
}

const ReadCase kReadCases[] = {
    {.name = "DefaultTempoIs120BeatsAMinute",
     .file = [] { return MidiWriter(480, 0).note(960, 480, 0, 60).bytes(); },
     .events = {{1000000, 0x90, 60}, {1500000, 0x80, 60}},
     .lengthUs = 1500000},
    {.name = "TempoChangeRetimesOnlyLaterEvents",
     .file =
         [] {
             return MidiWriter(480, 0)
                 .note(0, 480, 0, 60)
                 .tempo(480, 250000)
                 .note(960, 480, 0, 62)
                 .bytes();
         },
     .events = {{0, 0x90, 60}, {500000, 0x80, 60}, {750000, 0x90, 62}, {1000000, 0x80, 62}},
     .lengthUs = 1000000},
    {.name = "ConductorTrackTempoTimesOtherTracks",
     .file =
         [] {
             return MidiWriter(96, 1).track().tempo(0, 1000000).track().note(96, 48, 1, 40).bytes();
         },
     .events = {{1000000, 0x91, 40}, {1500000, 0x81, 40}},
     .lengthUs = 1500000},
    {.name = "EqualTimesKeepTrackOrder",
     .file =
         [] { return MidiWriter(96, 1).track().program(0, 0, 5).track().program(0, 1, 7).bytes(); },
     .events = {{0, 0xC0, 5}, {0, 0xC1, 7}}},
    {.name = "EndOfTrackAfterLastEventKeepsTheRest",
     .file = [] { return MidiWriter(480, 0).note(0, 240, 0, 60).end(1920).bytes(); },
     .events = {{0, 0x90, 60}, {250000, 0x80, 60}},
     .lengthUs = 2000000},
    {.name = "RunningStatusReusesTheLastStatus",
     .file =
         [] {
             return join({header(0, 1, 480), trackChunk({0, 0x90, 60, 100, 0, 64, 100, 0x83, 0x60,
                                                         60, 0, 0, 0xFF, 0x2F, 0})});
         },
     .events = {{0, 0x90, 60}, {0, 0x90, 64}, {500000, 0x90, 60}},
     .lengthUs = 500000},
    {.name = "SmpteDivisionIgnoresTempo",
     .file =  // 25 frames a second of 40 ticks: one tick is a millisecond.
     [] {
         return join({header(0, 1, 0xE728), trackChunk({0, 0xFF, 0x51, 3, 0x01, 0, 0, 0x87, 0x68,
                                                        0x90, 60, 100, 0, 0xFF, 0x2F, 0})});
     },
     .events = {{1000000, 0x90, 60}},
     .lengthUs = 1000000},
    {.name = "Format2PlaysPatternsOneAfterAnother",
     .file =
         [] {
             return MidiWriter(480, 2)
                 .track()
                 .note(0, 480, 0, 60)
                 .track()
                 .note(0, 480, 0, 62)
                 .bytes();
         },
     .events = {{0, 0x90, 60}, {500000, 0x80, 60}, {500000, 0x90, 62}, {1000000, 0x80, 62}},
     .lengthUs = 1000000},
    {.name = "UnknownChunksAreSkipped",
     .file =
         [] {
             return join({header(0, 1, 480),
                          {'X', 'F', 'I', 'H', 0, 0, 0, 2, 1, 2},
                          trackChunk({0, 0xC0, 9, 0, 0xFF, 0x2F, 0})});
         },
     .events = {{0, 0xC0, 9}}},
    {.name = "RiffMidiWrapperIsOpened",
     .file =
         [] {
             const Bytes smf = MidiWriter(480, 0).program(0, 3, 11).bytes();
             const auto size = static_cast<std::uint8_t>(smf.size());
             return join({{'R', 'I',  'F', 'F', static_cast<std::uint8_t>(size + 12),
                           0,   0,    0,   'R', 'M',
                           'I', 'D',  'd', 'a', 't',
                           'a', size, 0,   0,   0},
                          smf});
         },
     .events = {{0, 0xC3, 11}}},
    {.name = "SlowestTempoWithinADayReads",
     .file =  // one tick a quarter at 16.7 s a quarter, a note 5000 ticks in (23 hours)
     [] {
         return join({header(0, 1, 1), trackChunk({0, 0xFF, 0x51, 3, 0xFF, 0xFF, 0xFF, 0xA7, 0x08,
                                                   0x90, 60, 100, 0, 0xFF, 0x2F, 0})});
     },
     .events = {{83886075000, 0x90, 60}},
     .lengthUs = 83886075000},
    {.name = "SystemExclusiveKeptWithoutItsFrame",
     .file =
         [] {
             return join({header(0, 1, 480), trackChunk({0, 0xF0, 5, 0x7E, 0x7F, 0x09, 0x01, 0xF7,
                                                         0, 0xFF, 0x2F, 0})});
         },
     .events = {{0, 0xF0, 0}}},
};

INSTANTIATE_TEST_SUITE_P(Files, MidiReadTest, ::testing::ValuesIn(kReadCases),
                         ::qon::test_support::RowName);

TEST(MidiRead, SystemExclusiveBodyIsTheBytesBetweenF0AndF7) {
    const MidiSong song = ParseMidiFile(
        join({header(0, 1, 480),
              trackChunk({0, 0xF0, 5, 0x7E, 0x7F, 0x09, 0x01, 0xF7, 0, 0xFF, 0x2F, 0})}),
        "gm-on.mid");
    ASSERT_EQ(song.events.size(), 1u);
    const MidiEvent& event = song.events[0];
    const Bytes body(song.sysexBytes.begin() + event.sysexOffset,
                     song.sysexBytes.begin() + event.sysexOffset + event.sysexLength);
    EXPECT_EQ(body, (Bytes{0x7E, 0x7F, 0x09, 0x01}));
}

// ---- files that are refused ------------------------------------------------------

struct RefuseCase {
    const char* name;
    std::function<Bytes()> file{};
    const char* reasonPart{};
};

class MidiRefuseTest : public ::testing::TestWithParam<RefuseCase> {};

TEST_P(MidiRefuseTest, ErrorNamesFileAndReason) {
    const RefuseCase& row = GetParam();
    try {
        ParseMidiFile(row.file(), "/songs/bad.mid");
        FAIL() << "the file was accepted";
    } catch (const media::MediaError& error) {
        EXPECT_EQ(error.file(), "/songs/bad.mid");
        EXPECT_NE(error.reason().find(row.reasonPart), std::string::npos) << error.reason();
    }
}

const RefuseCase kRefuseCases[] = {
    {.name = "EmptyFile", .file = [] { return Bytes{}; }, .reasonPart = "MThd"},
    {.name = "WaveFileIsNotMidi",
     .file = [] { return Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}; },
     .reasonPart = "RMID"},
    {.name = "TextFileIsNotMidi",
     .file = [] { return Bytes{'h', 'e', 'l', 'l', 'o', '\n'}; },
     .reasonPart = "MThd"},
    {.name = "HeaderCutShort",
     .file = [] { return Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1}; },
     .reasonPart = "cut short"},
    {.name = "UnknownFormat",
     .file =
         [] {
             return join({header(3, 1, 480), trackChunk({0, 0xFF, 0x2F, 0})});
         },
     .reasonPart = "format 3"},
    {.name = "ZeroDivision",
     .file =
         [] {
             return join({header(0, 1, 0), trackChunk({0, 0xFF, 0x2F, 0})});
         },
     .reasonPart = "division of 0"},
    {.name = "NoTracksDeclared",
     .file = [] { return header(0, 0, 480); },
     .reasonPart = "no track"},
    {.name = "FewerTracksThanDeclared",
     .file =
         [] {
             return join({header(1, 2, 480), trackChunk({0, 0xFF, 0x2F, 0})});
         },
     .reasonPart = "declares 2 tracks but holds only 1"},
    {.name = "FileCutInsideAnEvent",
     .file =
         [] {
             Bytes bytes = MidiWriter(480, 0).note(0, 480, 0, 60).bytes();
             bytes.resize(bytes.size() - 6);
             return bytes;
         },
     .reasonPart = "track 1 ends in the middle of an event"},
    {.name = "DataByteBeforeAnyStatus",
     .file =
         [] {
             return join({header(0, 1, 480), trackChunk({0, 60, 100, 0, 0xFF, 0x2F, 0})});
         },
     .reasonPart = "data byte before its first status"},
    {.name = "DelayLongerThanFourBytes",
     .file =
         [] {
             return join({header(0, 1, 480), trackChunk({0x81, 0x81, 0x81, 0x81, 0x01, 0xC0, 1})});
         },
     .reasonPart = "longer than 4 bytes"},
    {.name = "TempoAndDivisionPutTheEndCenturiesIn",
     .file =  // one tick a quarter at 16.7 s a quarter, the end 2^28 - 1 ticks in
     [] {
         return join({header(0, 1, 1), trackChunk({0, 0xFF, 0x51, 3, 0xFF, 0xFF, 0xFF, 0, 0x90, 60,
                                                   100, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0x2F, 0})});
     },
     .reasonPart = "lasts longer than 24 hours"},
    {.name = "SlowSmpteTimePutsAnEventPastADay",
     .file =  // one frame a second of one tick: a tick is a second
     [] {
         return join({header(0, 1, 0xFF01),
                      trackChunk({0x85, 0xA3, 0x20, 0x90, 60, 100, 0, 0xFF, 0x2F, 0})});
     },
     .reasonPart = "tick 86432 at 24 hours"},
    {.name = "SystemRealTimeByteInATrack",
     .file =
         [] {
             return join({header(0, 1, 480), trackChunk({0, 0xF4, 0, 0xFF, 0x2F, 0})});
         },
     .reasonPart = "unknown event byte 0xF4"},
};

INSTANTIATE_TEST_SUITE_P(Files, MidiRefuseTest, ::testing::ValuesIn(kRefuseCases),
                         ::qon::test_support::RowName);

TEST(MidiRead, MissingFileAndFolderAreNamed) {
    const test_support::ScratchFolder scratch;
    const std::string folder = scratch.folder("midi-read");
    const std::pair<std::string, const char*> rows[] = {
        {folder + "absent.mid", "does not exist"},
        {folder, "is not a file"},
    };
    for (const auto& [path, reasonPart] : rows) {
        SCOPED_TRACE(path);
        try {
            ReadMidiFile(path);
            FAIL() << "no error";
        } catch (const media::MediaError& error) {
            EXPECT_EQ(error.file(), path);
            EXPECT_NE(error.reason().find(reasonPart), std::string::npos) << error.reason();
        }
    }
}

}  // namespace
}  // namespace qon::music
