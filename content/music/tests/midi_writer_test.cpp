// SPDX-License-Identifier: MIT
#include "qon/content/midi_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "midi_reader.h"
#include "qon/data/error.h"

namespace qon::content {
namespace {

using testing::FindNoteFault;
using testing::MidiEvent;
using testing::ParseMidi;

struct VlqCase {
    const char* name;
    std::uint32_t value;
    std::vector<std::uint8_t> bytes;
};

class VariableLength : public ::testing::TestWithParam<VlqCase> {};

TEST_P(VariableLength, EncodesAndDecodesBack) {
    const VlqCase& row = GetParam();
    EXPECT_EQ(EncodeVariableLength(row.value), row.bytes);
    std::size_t pos = 0;
    EXPECT_EQ(testing::ReadVariableLength(row.bytes, pos), row.value);
    EXPECT_EQ(pos, row.bytes.size());
}

INSTANTIATE_TEST_SUITE_P(
    Edges, VariableLength,
    ::testing::Values(VlqCase{"ZeroIsOneByte", 0, {0x00}}, VlqCase{"LargestOneByte", 127, {0x7F}},
                      VlqCase{"SmallestTwoBytes", 128, {0x81, 0x00}},
                      VlqCase{"LargestTwoBytes", 0x3FFF, {0xFF, 0x7F}},
                      VlqCase{"SmallestThreeBytes", 0x4000, {0x81, 0x80, 0x00}},
                      VlqCase{"LargestThreeBytes", 0x1FFFFF, {0xFF, 0xFF, 0x7F}},
                      VlqCase{"SmallestFourBytes", 0x200000, {0x81, 0x80, 0x80, 0x00}},
                      VlqCase{"LargestAllowed", 0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VariableLengthLimit, RefusesValuesBeyondFourBytes) {
    EXPECT_THROW(EncodeVariableLength(0x10000000), std::invalid_argument);
    EXPECT_THROW(EncodeVariableLength(0xFFFFFFFF), std::invalid_argument);
}

// Notes of one track in file order, as (tick, status, key).
std::vector<std::tuple<std::uint32_t, int, int>> noteEvents(const MidiTrack& track) {
    const auto file = ParseMidi(BuildMidiFile(480, {track}));
    std::vector<std::tuple<std::uint32_t, int, int>> notes;
    for (const MidiEvent& event : file.tracks.at(0).events) {
        if (event.status != 0xFF && (event.status & 0xE0) == 0x80) {
            notes.emplace_back(event.tick, event.status, event.data[0]);
        }
    }
    return notes;
}

TEST(MidiTrackNotes, ReStruckKeyEndsBeforeItStartsAgain) {
    MidiTrack track("t");
    track.endAt(960);
    track.note(0, 0, 60, 100, 480);
    track.note(240, 0, 60, 100, 480);  // overlaps the first one
    const std::vector<std::tuple<std::uint32_t, int, int>> expected{
        {0, 0x90, 60}, {240, 0x80, 60}, {240, 0x90, 60}, {720, 0x80, 60}};
    EXPECT_EQ(noteEvents(track), expected);
}

TEST(MidiTrackNotes, SameKeyOnOtherChannelIsIndependent) {
    MidiTrack track("t");
    track.endAt(960);
    track.note(0, 0, 60, 100, 480);
    track.note(240, 1, 60, 100, 480);
    const std::vector<std::tuple<std::uint32_t, int, int>> expected{
        {0, 0x90, 60}, {240, 0x91, 60}, {480, 0x80, 60}, {720, 0x81, 60}};
    EXPECT_EQ(noteEvents(track), expected);
}

TEST(MidiTrackNotes, NoteReachingPastTheEndIsCutAtIt) {
    MidiTrack track("t");
    track.endAt(480);
    track.note(240, 9, 49, 100, 960);
    track.note(480, 9, 36, 100, 120);  // starts at the end: nothing left of it
    const std::vector<std::tuple<std::uint32_t, int, int>> expected{{240, 0x99, 49},
                                                                    {480, 0x89, 49}};
    EXPECT_EQ(noteEvents(track), expected);
    const auto file = ParseMidi(BuildMidiFile(480, {track}));
    EXPECT_EQ(FindNoteFault(file.tracks[0]), "");
    EXPECT_EQ(file.tracks[0].endTick, 480u);
}

TEST(MidiTrackNotes, TwoNotesStartingTogetherLeaveOne) {
    MidiTrack track("t");
    track.endAt(480);
    track.note(0, 0, 64, 90, 240);
    track.note(0, 0, 64, 100, 480);
    const auto file = ParseMidi(BuildMidiFile(480, {track}));
    EXPECT_EQ(FindNoteFault(file.tracks[0]), "");
    EXPECT_EQ(noteEvents(track).size(), 2u);
}

TEST(MidiFileLayout, OneTrackIsFormatZeroAndSeveralFormatOne) {
    MidiTrack conductor("song");
    conductor.tempo(0, 150);
    conductor.timeSignature(0, 4, 4);
    conductor.keySignature(0, -1, false);
    conductor.endAt(1920);
    MidiTrack melody("melody");
    melody.programChange(0, 0, 80);
    melody.controlChange(0, 0, 7, 100);
    melody.note(0, 0, 72, 100, 1920);
    melody.endAt(1920);

    const auto single = ParseMidi(BuildMidiFile(480, {conductor}));
    EXPECT_EQ(single.format, 0);
    const auto both = ParseMidi(BuildMidiFile(96, {conductor, melody}));
    EXPECT_EQ(both.format, 1);
    EXPECT_EQ(both.division, 96);
    ASSERT_EQ(both.tracks.size(), 2u);
    // Track name first, end-of-track last.
    EXPECT_EQ(both.tracks[1].events.front().metaType, 0x03);
    EXPECT_EQ(std::string(both.tracks[1].events.front().data.begin(),
                          both.tracks[1].events.front().data.end()),
              "melody");
    EXPECT_EQ(both.tracks[1].events.back().metaType, 0x2F);
    // 150 bpm is 400000 microseconds a quarter: a 4/4 bar lasts 1.6 s.
    EXPECT_NEAR(testing::SecondsAt(both, 4 * 96), 1.6, 1e-9);
}

struct BadCall {
    const char* name;
    void (*call)(MidiTrack&);
};

class MidiTrackRefuses : public ::testing::TestWithParam<BadCall> {};

TEST_P(MidiTrackRefuses, OutOfRangeArguments) {
    MidiTrack track("t");
    EXPECT_THROW(GetParam().call(track), std::invalid_argument);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MidiTrackRefuses,
    ::testing::Values(
        BadCall{"Channel16", [](MidiTrack& t) { t.note(0, 16, 60, 100, 10); }},
        BadCall{"NegativeChannel", [](MidiTrack& t) { t.programChange(0, -1, 0); }},
        BadCall{"Key128", [](MidiTrack& t) { t.note(0, 0, 128, 100, 10); }},
        BadCall{"VelocityZeroWouldBeANoteOff", [](MidiTrack& t) { t.note(0, 0, 60, 0, 10); }},
        BadCall{"Velocity128", [](MidiTrack& t) { t.note(0, 0, 60, 128, 10); }},
        BadCall{"Program128", [](MidiTrack& t) { t.programChange(0, 0, 128); }},
        BadCall{"ControllerValue128", [](MidiTrack& t) { t.controlChange(0, 0, 7, 128); }},
        BadCall{"TempoZero", [](MidiTrack& t) { t.tempo(0, 0); }},
        BadCall{"DenominatorThree", [](MidiTrack& t) { t.timeSignature(0, 4, 3); }},
        BadCall{"EightSharps", [](MidiTrack& t) { t.keySignature(0, 8, false); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MidiTrackEnd, EventAfterTheEndIsAProgrammingError) {
    MidiTrack track("t");
    track.endAt(480);
    track.programChange(960, 0, 1);
    EXPECT_THROW(track.chunk(), std::logic_error);
}

TEST(WriteBinaryFileAtomic, ReplacesWholeFileAndReportsMissingFolder) {
    const std::filesystem::path folder = testing::ScratchFolderFor("atomic");
    const std::string path = (folder / "a.mid").string();
    WriteBinaryFileAtomic(path, std::vector<std::uint8_t>(100, 1));
    WriteBinaryFileAtomic(path, {1, 2, 3});
    EXPECT_EQ(testing::ReadFileBytes(path), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    const std::string missing = (folder / "no such folder" / "b.mid").string();
    try {
        WriteBinaryFileAtomic(missing, {1});
        FAIL() << "writing into a missing folder succeeded";
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), missing);
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace qon::content
