// SPDX-License-Identifier: MIT
// The night-time starter set: softer colours, minor keys for play, a warm sunrise to end.
#include "songs.h"

namespace qon::content {

using score::DrumStyle;
using score::Role;
using score::Section;
using score::Song;
using score::Voice;

namespace {

// Title: piano over harp and slow strings, D minor; the loop falls back into a quiet
// two-bar intro.
Song lantern() {
    constexpr std::string_view kChartA = "Dm | Bb | F | C | Dm | Bb | Gm | A";
    constexpr std::string_view kMelodyA =
        "a4:6 d5:2 f5:4 e5:4 | d5:8 f5:4 bb4:4 | c5:6 a4:2 f5:8 | e5:6 d5:2 c5:8 |"
        "a5:6 f5:2 d5:4 a5:4 | bb5:6 a5:2 f5:8 | g5:4 bb5:4 d5:4 g5:4 | e5:8 c#5:4 a4:4";
    constexpr std::string_view kChartB = "Bb | C | Am | Dm | Gm | C | F | A7";
    constexpr std::string_view kMelodyB =
        "f5:6 g5:2 f5:4 d5:4 | e5:6 f5:2 g5:8 | a5:6 g5:2 e5:8 | f5:8 d5:8 |"
        "bb5:6 a5:2 g5:4 d5:4 | c6:6 bb5:2 g5:4 e5:4 | a5:8 f5:4 c5:4 | e5:4 g5:4 c#5:4 e5:4";
    return Song{
        .fileName = "Lantern.mid",
        .title = "Lantern",
        .bpm = 92,
        .tonic = 2,
        .minor = true,
        .drums = DrumStyle::Soft,
        .voices =
            {
                Voice{.name = "Piano",
                      .channel = 0,
                      .program = 0,
                      .role = Role::Lead,
                      .velocity = 118,
                      .volume = 127,
                      .pan = 64,
                      .minIntensity = 1},
                Voice{.name = "Celesta",
                      .channel = 1,
                      .program = 8,
                      .role = Role::Double,
                      .velocity = 66,
                      .volume = 96,
                      .pan = 88,
                      .minIntensity = 2,
                      .offset = 12},
                Voice{.name = "Bass",
                      .channel = 3,
                      .program = 32,
                      .role = Role::BassSoft,
                      .velocity = 90,
                      .volume = 127,
                      .pan = 64,
                      .minIntensity = 0,
                      .offset = 33},
                Voice{.name = "Slow Strings",
                      .channel = 4,
                      .program = 49,
                      .role = Role::Pad,
                      .velocity = 62,
                      .volume = 98,
                      .pan = 44,
                      .minIntensity = 0,
                      .offset = 53},
                Voice{.name = "Harp",
                      .channel = 6,
                      .program = 46,
                      .role = Role::Arp8,
                      .velocity = 68,
                      .volume = 101,
                      .pan = 80,
                      .minIntensity = 0,
                      .offset = 50},
                Voice{.name = "Drums",
                      .role = Role::Drums,
                      .velocity = 82,
                      .volume = 123,
                      .pan = 64,
                      .minIntensity = 1},
            },
        .form =
            {
                Section{"Dm | Dm", "", 0, false},
                Section{kChartA, kMelodyA, 1, true},
                Section{kChartB, kMelodyB, 2, true},
            },
    };
}

// Ending: a horn melody that a trumpet joins for the second half, G major.
Song dawn() {
    constexpr std::string_view kChartA = "G | D/F# | Em | C | Am | D | G | D";
    constexpr std::string_view kMelodyA =
        "d4:6 g4:2 b4:8 | a4:6 f#4:2 d4:8 | e4:4 g4:4 b4:4 e5:4 | e5:6 d5:2 c5:8 |"
        "c5:6 b4:2 a4:4 e4:4 | f#4:4 a4:4 d5:8 | b4:6 a4:2 g4:8 | a4:8 r:4 d4:4";
    constexpr std::string_view kChartB = "C | G/B | Am | Em | C | D | G | D";
    constexpr std::string_view kMelodyB =
        "e4:6 g4:2 c5:8 | b4:6 a4:2 g4:8 | a4:6 c5:2 e5:8 | e5:6 d5:2 b4:8 |"
        "c5:6 b4:2 g4:4 e4:4 | f#4:4 a4:4 d5:4 c5:4 | b4:6 a4:2 g4:8 | a4:4 f#4:4 d4:8";
    return Song{
        .fileName = "Dawn.mid",
        .title = "Dawn",
        .bpm = 104,
        .tonic = 7,
        .minor = false,
        .drums = DrumStyle::Pop,
        .voices =
            {
                Voice{.name = "Horn",
                      .channel = 0,
                      .program = 60,
                      .role = Role::Lead,
                      .velocity = 94,
                      .volume = 108,
                      .pan = 64,
                      .minIntensity = 1},
                Voice{.name = "Trumpet",
                      .channel = 1,
                      .program = 56,
                      .role = Role::Double,
                      .velocity = 74,
                      .volume = 80,
                      .pan = 80,
                      .minIntensity = 2,
                      .offset = 12},
                Voice{.name = "Bass",
                      .channel = 3,
                      .program = 33,
                      .role = Role::BassSoft,
                      .velocity = 84,
                      .volume = 96,
                      .pan = 64,
                      .minIntensity = 1,
                      .offset = 31},
                Voice{.name = "Strings",
                      .channel = 4,
                      .program = 48,
                      .role = Role::Pad,
                      .velocity = 58,
                      .volume = 76,
                      .pan = 44,
                      .minIntensity = 1,
                      .offset = 48},
                Voice{.name = "Harp",
                      .channel = 6,
                      .program = 46,
                      .role = Role::Arp8,
                      .velocity = 62,
                      .volume = 80,
                      .pan = 86,
                      .minIntensity = 1,
                      .offset = 43},
                Voice{.name = "Drums",
                      .role = Role::Drums,
                      .velocity = 80,
                      .volume = 96,
                      .pan = 64,
                      .minIntensity = 1},
            },
        .form =
            {
                Section{kChartA, kMelodyA, 1, true},
                Section{kChartB, kMelodyB, 2, true},
            },
        // Horn and trumpet carry far in the soundfont: trimmed to the game's loudness.
        .levelDb = -3.0,
    };
}

// Stage: vibraphone over a steady rock beat and sixteenth electric piano, E minor.
Song drift() {
    constexpr std::string_view kChartA = "Em | C | G | D | Em | C | G | D";
    constexpr std::string_view kMelodyA =
        "e5:2 g5:2 b5:6 a5:2 g5:4 | g5:4 e5:2 c5:2 e5:8 | d5:2 g5:2 b5:6 a5:2 d6:4 |"
        "a5:8 f#5:4 d5:4 | e5:2 g5:2 b5:4 e6:4 d6:2 b5:2 | c6:4 b5:2 g5:2 e5:8 |"
        "d5:2 g5:2 b5:4 d6:4 b5:4 | a5:6 g5:2 f#5:8";
    constexpr std::string_view kChartB = "Am | Em | C | G | Am | Em | C | B7";
    constexpr std::string_view kMelodyB =
        "c6:6 b5:2 a5:8 | g5:6 f#5:2 e5:8 | e5:4 g5:4 c6:4 e6:4 | d6:8 b5:8 |"
        "a5:4 c6:4 e6:6 d6:2 | b5:8 g5:4 e5:4 | g5:4 e5:4 c6:8 | b5:4 a5:4 f#5:4 d#5:4";
    return Song{
        .fileName = "Drift.mid",
        .title = "Drift",
        .bpm = 128,
        .tonic = 4,
        .minor = true,
        .drums = DrumStyle::Rock,
        .voices =
            {
                Voice{.name = "Vibraphone",
                      .channel = 0,
                      .program = 11,
                      .role = Role::Lead,
                      .velocity = 98,
                      .volume = 110,
                      .pan = 64,
                      .minIntensity = 1},
                Voice{.name = "Square",
                      .channel = 1,
                      .program = 80,
                      .role = Role::Double,
                      .velocity = 60,
                      .volume = 62,
                      .pan = 40,
                      .minIntensity = 2,
                      .offset = 0},
                Voice{.name = "Synth Bass",
                      .channel = 3,
                      .program = 38,
                      .role = Role::BassDriving,
                      .velocity = 90,
                      .volume = 100,
                      .pan = 64,
                      .minIntensity = 1,
                      .offset = 28},
                Voice{.name = "Warm Pad",
                      .channel = 4,
                      .program = 89,
                      .role = Role::Pad,
                      .velocity = 56,
                      .volume = 70,
                      .pan = 50,
                      .minIntensity = 1,
                      .offset = 52},
                Voice{.name = "Electric Piano",
                      .channel = 6,
                      .program = 5,
                      .role = Role::Arp16,
                      .velocity = 56,
                      .volume = 66,
                      .pan = 84,
                      .minIntensity = 1,
                      .offset = 52},
                Voice{.name = "Drums",
                      .role = Role::Drums,
                      .velocity = 80,
                      .volume = 96,
                      .pan = 64,
                      .minIntensity = 1},
            },
        .form =
            {
                Section{kChartA, kMelodyA, 1, true},
                Section{kChartA, kMelodyA, 2, true},
                Section{kChartB, kMelodyB, 1, true},
            },
        // Trimmed to the game's loudness.
        .levelDb = -0.5,
    };
}

// Stage: synth brass and octave bass over a dance beat, G minor.
Song nightfall() {
    constexpr std::string_view kChartA = "Gm | Gm | Eb | F | Gm | Gm | Cm | D";
    constexpr std::string_view kMelodyA =
        "g4:2 g4:2 bb4:2 d5:4 c5:2 bb4:2 a4:2 | g4:4 d5:4 g5:6 f5:2 |"
        "g5:2 f5:2 eb5:4 bb4:4 eb5:4 | f5:6 c5:2 a4:8 |"
        "g4:2 g4:2 bb4:2 d5:4 c5:2 bb4:2 a4:2 | bb4:4 d5:4 g5:4 bb5:4 |"
        "c6:4 bb5:2 g5:2 eb5:4 c5:4 | a5:4 f#5:4 d5:4 f#4:4";
    constexpr std::string_view kChartB = "Eb | F | Dm | Gm | Cm | F | Bb | D7";
    constexpr std::string_view kMelodyB =
        "g5:6 f5:2 eb5:4 g5:4 | a5:6 g5:2 f5:4 c5:4 | f5:4 a5:4 d6:8 | bb5:6 a5:2 g5:8 |"
        "eb5:4 g5:4 c6:4 bb5:4 | a5:6 bb5:2 c6:8 | d6:4 bb5:4 f5:4 d5:4 | c6:4 a5:4 f#5:4 d5:4";
    return Song{
        .fileName = "Nightfall.mid",
        .title = "Nightfall",
        .bpm = 144,
        .tonic = 7,
        .minor = true,
        .drums = DrumStyle::Dance,
        .voices =
            {
                Voice{.name = "Synth Brass",
                      .channel = 0,
                      .program = 62,
                      .role = Role::Lead,
                      .velocity = 92,
                      .volume = 113,
                      .pan = 64,
                      .minIntensity = 1},
                Voice{.name = "Brass Harmony",
                      .channel = 2,
                      .program = 63,
                      .role = Role::Harmony,
                      .velocity = 70,
                      .volume = 80,
                      .pan = 86,
                      .minIntensity = 2},
                Voice{.name = "Picked Bass",
                      .channel = 3,
                      .program = 34,
                      .role = Role::BassOctaves,
                      .velocity = 94,
                      .volume = 115,
                      .pan = 64,
                      .minIntensity = 1,
                      .offset = 31},
                Voice{.name = "Synth Strings",
                      .channel = 4,
                      .program = 50,
                      .role = Role::Pad,
                      .velocity = 54,
                      .volume = 78,
                      .pan = 40,
                      .minIntensity = 1,
                      .offset = 55},
                Voice{.name = "Piano Stabs",
                      .channel = 5,
                      .program = 5,
                      .role = Role::Stabs,
                      .velocity = 74,
                      .volume = 87,
                      .pan = 90,
                      .minIntensity = 2,
                      .offset = 58},
                Voice{.name = "Drums",
                      .role = Role::Drums,
                      .velocity = 90,
                      .volume = 115,
                      .pan = 64,
                      .minIntensity = 1},
            },
        .form =
            {
                Section{kChartA, kMelodyA, 1, true},
                Section{kChartA, kMelodyA, 2, true},
                Section{kChartB, kMelodyB, 2, true},
            },
    };
}

}  // namespace

MusicSetPlan MoonlightMusicSet() {
    return MusicSetPlan{
        .folderName = "Moonlight",
        .fileName = "Moonlight.msp",
        .setName = "qon ムーンライト",
        .staffName = "qon サウンドチーム",
        .title = lantern(),
        .ending = dawn(),
        .stages = {drift(), nightfall()},
    };
}

}  // namespace qon::content
