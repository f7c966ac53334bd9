// SPDX-License-Identifier: MIT
#include "score.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "midi_reader.h"
#include "songs.h"

namespace qon::content::score {
namespace {

struct MelodyCase {
    const char* name;
    const char* text;
    std::vector<MelodyNote> notes;
};

class MelodyText : public ::testing::TestWithParam<MelodyCase> {};

TEST_P(MelodyText, Parses) {
    const auto notes = ParseMelody(GetParam().text);
    ASSERT_EQ(notes.size(), GetParam().notes.size());
    for (std::size_t i = 0; i < notes.size(); ++i) {
        EXPECT_EQ(notes[i].startStep, GetParam().notes[i].startStep) << "note " << i;
        EXPECT_EQ(notes[i].steps, GetParam().notes[i].steps) << "note " << i;
        EXPECT_EQ(notes[i].key, GetParam().notes[i].key) << "note " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MelodyText,
    ::testing::Values(MelodyCase{"MiddleCIsSixty", "c4:16", {{0, 16, 60}}},
                      MelodyCase{
                          "SharpAndFlatMeetOnOneKey", "f#4:8 gb4:8", {{0, 8, 66}, {8, 8, 66}}},
                      MelodyCase{"FlatOfBIsNotTheLetterB", "bb4:8 b4:8", {{0, 8, 70}, {8, 8, 71}}},
                      MelodyCase{"RestHasNoKey", "r:4 a5:12", {{0, 4, -1}, {4, 12, 81}}},
                      MelodyCase{"TieCarriesAcrossTheBarLine",
                                 "c5:8 e5:8 |-:4 g5:12",
                                 {{0, 8, 72}, {8, 12, 76}, {20, 12, 79}}},
                      MelodyCase{"TrailingBarLineIsAllowed", "c5:16 |", {{0, 16, 72}}}),
    [](const auto& info) { return std::string(info.param.name); });

class MelodyTextRefused : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(MelodyTextRefused, Throws) {
    EXPECT_THROW(ParseMelody(GetParam().second), std::invalid_argument);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MelodyTextRefused,
    ::testing::Values(std::pair{"BarTooShort", "c5:8 d5:4 | e5:16"},
                      std::pair{"BarTooLong", "c5:8 d5:12 | e5:12"},
                      std::pair{"LastBarShort", "c5:16 | d5:8"}, std::pair{"NoLength", "c5 d5:8"},
                      std::pair{"ZeroLength", "c5:0 d5:16"}, std::pair{"NotALetter", "h5:16"},
                      std::pair{"NoOctave", "c:16"}, std::pair{"TieWithNothingBefore", "-:16"}),
    [](const auto& info) { return std::string(info.param.first); });

struct ChordCase {
    const char* symbol;
    int root;
    int bass;
    std::vector<int> intervals;
};

class ChordSymbol : public ::testing::TestWithParam<ChordCase> {};

TEST_P(ChordSymbol, Parses) {
    const Chord chord = ParseChord(GetParam().symbol);
    EXPECT_EQ(chord.root, GetParam().root);
    EXPECT_EQ(chord.bass, GetParam().bass);
    EXPECT_EQ(chord.intervals, GetParam().intervals);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ChordSymbol,
    ::testing::Values(ChordCase{"C", 0, 0, {0, 4, 7}}, ChordCase{"F#m", 6, 6, {0, 3, 7}},
                      ChordCase{"Bb", 10, 10, {0, 4, 7}}, ChordCase{"Bbm7", 10, 10, {0, 3, 7, 10}},
                      ChordCase{"A/C#", 9, 1, {0, 4, 7}}, ChordCase{"G7", 7, 7, {0, 4, 7, 10}},
                      ChordCase{"Cb", 11, 11, {0, 4, 7}}),
    [](const auto& info) {
        std::string name;
        for (const char c : std::string(info.param.symbol)) {
            name += c == '#'   ? std::string("Sharp")
                    : c == '/' ? std::string("Over")
                               : std::string(1, c);
        }
        return name;
    });

TEST(ChordChart, HalfBarsAndRefusals) {
    const auto spans = ParseChordChart("C | Am D");
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[2].startStep, 24);
    EXPECT_EQ(spans[2].steps, 8);
    EXPECT_THROW(ParseChordChart("C | | G"), std::invalid_argument);
    EXPECT_THROW(ParseChordChart("C G Am"), std::invalid_argument);
    EXPECT_THROW(ParseChordChart("C | H"), std::invalid_argument);
    EXPECT_THROW(ParseChordChart("C | Cm9"), std::invalid_argument);
}

// ---- the compositions themselves ---------------------------------------------------------

std::vector<Song> allSongs() {
    std::vector<Song> songs;
    for (MusicSetPlan set : {StandardMusicSet(), MoonlightMusicSet()}) {
        songs.push_back(set.title);
        songs.push_back(set.ending);
        for (const Song& song : set.stages) songs.push_back(song);
    }
    return songs;
}

// A wrong letter in a melody is the mistake nobody would hear in a test run: every
// melody note must be in the key or in the chord under it (a borrowed leading tone), and
// a note struck on beat 1 or 3, or where the chord changes, must belong to the chord.
TEST(Compositions, MelodiesStayInKeyAndLandOnChordTones) {
    for (const Song& song : allSongs()) {
        for (std::size_t s = 0; s < song.form.size(); ++s) {
            const Section& section = song.form[s];
            if (section.melody.empty()) continue;
            const auto chords = ParseChordChart(section.chords);
            for (const MelodyNote& note : ParseMelody(section.melody)) {
                if (note.key < 0) continue;
                const ChordSpan* under = nullptr;
                for (const ChordSpan& span : chords) {
                    if (note.startStep >= span.startStep &&
                        note.startStep < span.startStep + span.steps) {
                        under = &span;
                    }
                }
                ASSERT_NE(under, nullptr);
                const int pitchClass = note.key % 12;
                const std::string where = std::string(song.title) + ", section " +
                                          std::to_string(s + 1) + ", bar " +
                                          std::to_string(note.startStep / kStepsPerBar + 1) +
                                          ", step " + std::to_string(note.startStep % kStepsPerBar);
                EXPECT_TRUE(InScale(song, pitchClass) || under->chord.contains(pitchClass))
                    << where;
                const bool strong = note.startStep % 8 == 0 || note.startStep == under->startStep;
                if (strong) {
                    EXPECT_TRUE(under->chord.contains(pitchClass)) << where;
                }
            }
        }
    }
}

// Looping cleanly: a song must come back to its first chord from its dominant (or the
// tonic itself), so the last chord of the form is V, V7 or I of the key.
TEST(Compositions, LastChordLeadsBackToTheFirst) {
    for (const Song& song : allSongs()) {
        const auto first = ParseChordChart(song.form.front().chords).front().chord;
        const auto last = ParseChordChart(song.form.back().chords).back().chord;
        EXPECT_EQ(first.root, song.tonic) << song.title;
        EXPECT_TRUE(last.root == (song.tonic + 7) % 12 || last.root == song.tonic) << song.title;
    }
}

TEST(Compositions, LengthsSuitAGame) {
    for (const Song& song : allSongs()) {
        EXPECT_GE(DurationSeconds(song), 30.0) << song.title;
        EXPECT_LE(DurationSeconds(song), 90.0) << song.title;
    }
}

// ---- the level of a song ----------------------------------------------------------------

// The expression value every voice channel gets at the start of the song, in track order.
std::vector<int> expressionsOf(const Song& song) {
    const testing::MidiFileData file = testing::ParseMidi(RenderSong(song));
    std::vector<int> values;
    for (std::size_t t = 1; t < file.tracks.size(); ++t) {
        int value = -1;
        for (const testing::MidiEvent& event : file.tracks[t].events) {
            if ((event.status & 0xF0) == 0xB0 && event.data.at(0) == 11 && event.tick == 0)
                value = event.data.at(1);
        }
        values.push_back(value);
    }
    return values;
}

struct LevelRow {
    const char* name;
    double levelDb = 0;
    int expExpression = 127;
};

class SongLevel : public ::testing::TestWithParam<LevelRow> {};

// The synthesizer reads expression as 40 log10(value / 127) dB, so a trim of -6 dB is
// 127 x 10^(-6/40) = 89.9.
TEST_P(SongLevel, IsSentAsExpressionOnEveryVoice) {
    Song song = StandardMusicSet().title;
    song.levelDb = GetParam().levelDb;
    const std::vector<int> values = expressionsOf(song);
    ASSERT_EQ(values.size(), song.voices.size());
    for (int value : values) EXPECT_EQ(value, GetParam().expExpression);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SongLevel,
    ::testing::Values(LevelRow{.name = "AsWritten"},
                      LevelRow{.name = "SixDecibelsDown", .levelDb = -6, .expExpression = 90},
                      LevelRow{.name = "FarDownStaysAudible", .levelDb = -200, .expExpression = 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SongLevelRefused, RaisingASongAboveItsVoicesThrows) {
    Song song = StandardMusicSet().title;
    song.levelDb = 1;
    EXPECT_THROW(RenderSong(song), std::invalid_argument);
}

TEST(Compositions, MelodyAndChordsOfASectionMustAgreeInLength) {
    Song song{.fileName = "x.mid",
              .title = "x",
              .voices = {},
              .form = {Section{"C | G", "c5:16", 1, true}}};
    EXPECT_THROW(CountBars(song), std::invalid_argument);
}

}  // namespace
}  // namespace qon::content::score
