// SPDX-License-Identifier: MIT
#include "qon/content/midi_writer.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "midi_reader.h"
#include "qon/test_support/rows.h"

namespace qon::content {
namespace {

QON_PRINT_ROWS_BY_NAME

using test_support::RowName;
using testing::FindNoteFault;
using testing::MidiEvent;
using testing::ParseMidi;

struct VlqRow {
    const char* name;
    std::uint32_t value = 0;
    std::vector<std::uint8_t> bytes;  // the encoding
};

class VariableLength : public ::testing::TestWithParam<VlqRow> {};

TEST_P(VariableLength, EncodesAndDecodesBack) {
    const VlqRow& row = GetParam();
    EXPECT_EQ(EncodeVariableLength(row.value), row.bytes);
    std::size_t pos = 0;
    EXPECT_EQ(testing::ReadVariableLength(row.bytes, pos), row.value);
    EXPECT_EQ(pos, row.bytes.size());
}

const VlqRow kVlqRows[] = {
    {.name = "ZeroIsOneByte", .value = 0, .bytes = {0x00}},
    {.name = "LargestOneByte", .value = 127, .bytes = {0x7F}},
    {.name = "SmallestTwoBytes", .value = 128, .bytes = {0x81, 0x00}},
    {.name = "LargestTwoBytes", .value = 0x3FFF, .bytes = {0xFF, 0x7F}},
    {.name = "SmallestThreeBytes", .value = 0x4000, .bytes = {0x81, 0x80, 0x00}},
    {.name = "LargestThreeBytes", .value = 0x1FFFFF, .bytes = {0xFF, 0xFF, 0x7F}},
    {.name = "SmallestFourBytes", .value = 0x200000, .bytes = {0x81, 0x80, 0x80, 0x00}},
    {.name = "LargestAllowed", .value = 0x0FFFFFFF, .bytes = {0xFF, 0xFF, 0xFF, 0x7F}},
};

INSTANTIATE_TEST_SUITE_P(Edges, VariableLength, ::testing::ValuesIn(kVlqRows), RowName);

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

struct BadCallRow {
    const char* name;
    void (*call)(MidiTrack&) = nullptr;
};

class MidiTrackRefuses : public ::testing::TestWithParam<BadCallRow> {};

TEST_P(MidiTrackRefuses, OutOfRangeArguments) {
    MidiTrack track("t");
    EXPECT_THROW(GetParam().call(track), std::invalid_argument);
}

const BadCallRow kBadCallRows[] = {
    {.name = "Channel16", .call = [](MidiTrack& t) { t.note(0, 16, 60, 100, 10); }},
    {.name = "NegativeChannel", .call = [](MidiTrack& t) { t.programChange(0, -1, 0); }},
    {.name = "Key128", .call = [](MidiTrack& t) { t.note(0, 0, 128, 100, 10); }},
    {.name = "VelocityZeroWouldBeANoteOff", .call = [](MidiTrack& t) { t.note(0, 0, 60, 0, 10); }},
    {.name = "Velocity128", .call = [](MidiTrack& t) { t.note(0, 0, 60, 128, 10); }},
    {.name = "Program128", .call = [](MidiTrack& t) { t.programChange(0, 0, 128); }},
    {.name = "ControllerValue128", .call = [](MidiTrack& t) { t.controlChange(0, 0, 7, 128); }},
    {.name = "TempoZero", .call = [](MidiTrack& t) { t.tempo(0, 0); }},
    {.name = "DenominatorThree", .call = [](MidiTrack& t) { t.timeSignature(0, 4, 3); }},
    {.name = "EightSharps", .call = [](MidiTrack& t) { t.keySignature(0, 8, false); }},
};

INSTANTIATE_TEST_SUITE_P(Rows, MidiTrackRefuses, ::testing::ValuesIn(kBadCallRows), RowName);

TEST(MidiTrackEnd, EventAfterTheEndIsAProgrammingError) {
    MidiTrack track("t");
    track.endAt(480);
    track.programChange(960, 0, 1);
    EXPECT_THROW(track.chunk(), std::logic_error);
}

}  // namespace
}  // namespace qon::content
