// SPDX-License-Identifier: MIT
// The main starter set. Every song's last bar sits on the dominant (or a fill over it)
// so that the loop back to bar 1 resolves instead of stopping.
#include "songs.h"

namespace qon::content {

using score::DrumStyle;
using score::Role;
using score::Section;
using score::Song;
using score::Voice;

namespace {

// Title: an easy, open melody on flute over electric piano arpeggios, F major.
Song sunrise() {
    constexpr std::string_view kChartA = "F | C/E | Dm | Bb | F | C | Bb C | F";
    constexpr std::string_view kMelodyA =
        "c5:6 a4:2 c5:4 f5:4 | e5:6 d5:2 c5:8 | d5:4 f5:4 a5:4 g5:2 f5:2 | f5:8 d5:4 r:4 |"
        "c5:6 a4:2 c5:4 f5:4 | g5:6 f5:2 e5:4 c5:4 | d5:4 bb4:4 c5:4 e5:4 | f5:12 r:4";
    constexpr std::string_view kChartB = "Bb | C | Am | Dm | Gm | C | Bb | C";
    constexpr std::string_view kMelodyB =
        "d5:4 f5:4 bb5:6 a5:2 | g5:12 e5:4 | a5:4 e5:4 c5:4 e5:4 | f5:6 e5:2 d5:8 |"
        "d5:4 g5:4 bb5:4 a5:2 g5:2 | g5:6 e5:2 c5:8 | f5:4 d5:4 f5:4 bb5:4 | g5:8 e5:4 r:4";
    constexpr std::string_view kChartLast = "F | C/E | Dm | Bb | F | C | Bb C | Gm7 C7";
    constexpr std::string_view kMelodyLast =
        "c5:6 a4:2 c5:4 f5:4 | e5:6 d5:2 c5:8 | d5:4 f5:4 a5:4 g5:2 f5:2 | f5:8 d5:4 r:4 |"
        "c5:6 a4:2 c5:4 f5:4 | g5:6 f5:2 e5:4 c5:4 | d5:4 bb4:4 c5:4 e5:4 |"
        "f5:8 e5:2 d5:2 bb4:2 g4:2";
    return Song{
        .fileName = "Sunrise.mid",
        .title = "Sunrise",
        .bpm = 108,
        .tonic = 5,
        .minor = false,
        .drums = DrumStyle::Pop,
        .voices =
            {
                Voice{.name = "Flute",
                      .channel = 0,
                      .program = 73,
                      .role = Role::Lead,
                      .velocity = 100,
                      .volume = 112,
                      .pan = 64,
                      .minIntensity = 1},
                Voice{.name = "Vibraphone",
                      .channel = 1,
                      .program = 11,
                      .role = Role::Double,
                      .velocity = 72,
                      .volume = 80,
                      .pan = 84,
                      .minIntensity = 2,
                      .offset = 0},
                Voice{.name = "Bass",
                      .channel = 3,
                      .program = 33,
                      .role = Role::BassSoft,
                      .velocity = 86,
                      .volume = 100,
                      .pan = 64,
                      .minIntensity = 0,
                      .offset = 33},
                Voice{.name = "Strings",
                      .channel = 4,
                      .program = 48,
                      .role = Role::Pad,
                      .velocity = 50,
                      .volume = 68,
                      .pan = 50,
                      .minIntensity = 0,
                      .offset = 48},
                Voice{.name = "Electric Piano",
                      .channel = 6,
                      .program = 4,
                      .role = Role::Arp8,
                      .velocity = 62,
                      .volume = 76,
                      .pan = 78,
                      .minIntensity = 0,
                      .offset = 55},
                Voice{.name = "Drums",
                      .role = Role::Drums,
                      .velocity = 72,
                      .volume = 96,
                      .pan = 64,
                      .minIntensity = 1},
            },
        .form =
            {
                Section{"F | C", "", 0, false},
                Section{kChartA, kMelodyA, 1, true},
                Section{kChartB, kMelodyB, 1, true},
                Section{kChartLast, kMelodyLast, 2, true},
            },
    };
}

// Ending: a brass fanfare and a march, D major.
Song victory() {
    constexpr std::string_view kChartIntro = "D | G | D | A";
    constexpr std::string_view kMelodyIntro =
        "d5:2 d5:1 d5:1 d5:4 a5:8 | b5:2 b5:1 b5:1 b5:4 d6:8 |"
        "a5:2 a5:1 a5:1 a5:4 f#5:4 a5:4 | e5:12 r:4";
    constexpr std::string_view kChartA = "D | A/C# | Bm | F#m | G | D | Em | A";
    constexpr std::string_view kMelodyA =
        "f#5:6 e5:2 d5:4 a5:4 | e5:6 f#5:2 e5:4 c#5:4 | d5:4 f#5:4 b5:6 a5:2 | a5:8 f#5:8 |"
        "g5:4 b5:4 d6:6 c#6:2 | d6:4 a5:4 f#5:4 d5:4 | e5:4 g5:4 b5:4 a5:2 g5:2 | a5:12 r:4";
    constexpr std::string_view kChartB = "G | A | F#m | Bm | Em | A | D | D";
    constexpr std::string_view kMelodyB =
        "b5:6 a5:2 g5:4 d6:4 | c#6:6 b5:2 a5:4 e5:4 | f#5:4 a5:4 c#6:4 a5:4 | b5:8 d6:8 |"
        "e6:6 d6:2 b5:4 g5:4 | a5:4 c#6:4 e6:4 c#6:4 | d6:16 | r:8 a5:2 b5:2 c#6:2 a5:2";
    constexpr std::string_view kChartTag = "G | A | D | A";
    constexpr std::string_view kMelodyTag =
        "d6:8 b5:8 | c#6:8 e6:8 | d6:12 r:4 | a5:4 e5:2 e5:2 a4:4 c#5:4";
    return Song{
        .fileName = "Victory.mid",
        .title = "Victory",
        .bpm = 120,
        .tonic = 2,
        .minor = false,
        .drums = DrumStyle::March,
        .voices =
            {
                Voice{.name = "Trumpet",
                      .channel = 0,
                      .program = 56,
                      .role = Role::Lead,
                      .velocity = 104,
                      .volume = 114,
                      .pan = 64,
                      .minIntensity = 1},
                Voice{.name = "Brass",
                      .channel = 1,
                      .program = 61,
                      .role = Role::Double,
                      .velocity = 78,
                      .volume = 84,
                      .pan = 44,
                      .minIntensity = 1,
                      .offset = -12},
                Voice{.name = "Bass",
                      .channel = 3,
                      .program = 32,
                      .role = Role::BassMarch,
                      .velocity = 88,
                      .volume = 100,
                      .pan = 64,
                      .minIntensity = 1,
                      .offset = 33},
                Voice{.name = "Choir",
                      .channel = 4,
                      .program = 52,
                      .role = Role::Pad,
                      .velocity = 54,
                      .volume = 60,
                      .pan = 40,
                      .minIntensity = 2,
                      .offset = 55},
                Voice{.name = "Strings",
                      .channel = 5,
                      .program = 48,
                      .role = Role::Pulse,
                      .velocity = 62,
                      .volume = 64,
                      .pan = 88,
                      .minIntensity = 1,
                      .offset = 57},
                Voice{.name = "Drums",
                      .role = Role::Drums,
                      .velocity = 88,
                      .volume = 100,
                      .pan = 64,
                      .minIntensity = 1},
            },
        .form =
            {
                Section{kChartIntro, kMelodyIntro, 1, true},
                Section{kChartA, kMelodyA, 1, true},
                Section{kChartB, kMelodyB, 2, true},
                Section{kChartTag, kMelodyTag, 2, true},
            },
        // Brass over a march: trimmed to the game's loudness.
        .levelDb = -1.0,
    };
}

// Stage: bouncing square-wave arpeggios over a four-on-the-floor beat, C major.
Song bounce() {
    constexpr std::string_view kChartA = "C | G | Am | F | C | G | F | G";
    constexpr std::string_view kMelodyA =
        "c5:2 e5:2 g5:2 c6:4 g5:2 e5:2 g5:2 | b5:4 a5:2 g5:2 d5:4 g5:4 |"
        "a5:2 c6:2 e6:4 c6:2 a5:2 e5:4 | f5:4 a5:4 c6:4 a5:2 g5:2 |"
        "e5:2 g5:2 c6:2 e6:4 d6:2 c6:2 g5:2 | d6:4 b5:2 g5:2 d5:4 b4:4 |"
        "a4:2 c5:2 f5:2 a5:4 g5:2 f5:2 a5:2 | g5:6 f5:2 d5:2 e5:2 d5:2 b4:2";
    constexpr std::string_view kChartB = "Am | F | C | G | Am | F | Dm | G7";
    constexpr std::string_view kMelodyB =
        "e5:6 a5:6 c6:4 | c6:6 a5:2 f5:8 | g5:6 e5:2 c5:4 e5:4 | d5:8 g5:4 b5:4 |"
        "c6:6 b5:2 a5:4 e5:4 | f5:6 a5:2 c6:8 | d6:4 c6:4 a5:4 f5:4 | g5:4 f5:2 d5:2 b4:4 d5:4";
    constexpr std::string_view kChartLast = "C | G | Am | F | C | G | F | G7";
    constexpr std::string_view kMelodyLast =
        "c5:2 e5:2 g5:2 c6:4 g5:2 e5:2 g5:2 | b5:4 a5:2 g5:2 d5:4 g5:4 |"
        "a5:2 c6:2 e6:4 c6:2 a5:2 e5:4 | f5:4 a5:4 c6:4 a5:2 g5:2 |"
        "e5:2 g5:2 c6:2 e6:4 d6:2 c6:2 g5:2 | d6:4 b5:2 g5:2 d5:4 b4:4 |"
        "a4:2 c5:2 f5:2 a5:4 g5:2 f5:2 a5:2 | g5:4 d5:2 e5:2 f5:2 d5:2 b4:2 g4:2";
    return Song{
        .fileName = "Bounce.mid",
        .title = "Bounce",
        .bpm = 152,
        .tonic = 0,
        .minor = false,
        .drums = DrumStyle::Dance,
        .voices =
            {
                Voice{.name = "Square Lead",
                      .channel = 0,
                      .program = 80,
                      .role = Role::Lead,
                      .velocity = 92,
                      .volume = 96,
                      .pan = 64,
                      .minIntensity = 1},
                Voice{.name = "Square Harmony",
                      .channel = 2,
                      .program = 80,
                      .role = Role::Harmony,
                      .velocity = 70,
                      .volume = 70,
                      .pan = 36,
                      .minIntensity = 2},
                Voice{.name = "Synth Bass",
                      .channel = 3,
                      .program = 38,
                      .role = Role::BassOctaves,
                      .velocity = 94,
                      .volume = 90,
                      .pan = 64,
                      .minIntensity = 1,
                      .offset = 33},
                Voice{.name = "Synth Strings",
                      .channel = 4,
                      .program = 50,
                      .role = Role::Pad,
                      .velocity = 54,
                      .volume = 66,
                      .pan = 44,
                      .minIntensity = 2,
                      .offset = 55},
                Voice{.name = "Piano Stabs",
                      .channel = 5,
                      .program = 5,
                      .role = Role::Stabs,
                      .velocity = 78,
                      .volume = 80,
                      .pan = 88,
                      .minIntensity = 1,
                      .offset = 60},
                Voice{.name = "Drums",
                      .role = Role::Drums,
                      .velocity = 94,
                      .volume = 100,
                      .pan = 64,
                      .minIntensity = 1},
            },
        .form =
            {
                Section{kChartA, kMelodyA, 1, true},
                Section{kChartA, kMelodyA, 2, true},
                Section{kChartB, kMelodyB, 1, true},
                Section{kChartLast, kMelodyLast, 2, true},
            },
    };
}

// Stage: a driving minor-key run with a sawtooth lead and sixteenth arpeggios, A minor.
Song neon() {
    constexpr std::string_view kChartA = "Am | F | C | G | Am | F | C | G";
    constexpr std::string_view kMelodyA =
        "a4:3 c5:3 e5:2 a5:4 g5:2 e5:2 | f5:3 e5:3 c5:2 a4:4 c5:4 |"
        "e5:3 g5:3 c6:6 g5:4 | b5:3 a5:3 g5:2 d5:4 b4:4 |"
        "a4:3 c5:3 e5:2 a5:4 b5:2 c6:2 | c6:3 a5:3 f5:2 a5:4 c6:4 |"
        "e6:4 d6:2 c6:2 g5:4 e5:4 | d5:4 g5:4 b5:2 a5:2 g5:2 d5:2";
    constexpr std::string_view kChartB = "Dm | Am | F | G | Dm | Am | E | E7";
    constexpr std::string_view kMelodyB =
        "f5:8 a5:4 d6:4 | c6:8 a5:4 e5:4 | f5:6 g5:2 a5:4 c6:4 | b5:8 d6:4 b5:4 |"
        "a5:6 f5:2 d5:4 f5:4 | e5:6 a5:2 c6:4 e6:4 | g#5:4 b5:4 e6:4 d6:4 |"
        "e6:4 b5:4 g#5:2 e5:2 b4:2 g#4:2";
    // The last time through turns to E for a proper cadence back to the top.
    constexpr std::string_view kChartLast = "Am | F | C | G | Am | F | Dm | E";
    constexpr std::string_view kMelodyLast =
        "a4:3 c5:3 e5:2 a5:4 g5:2 e5:2 | f5:3 e5:3 c5:2 a4:4 c5:4 |"
        "e5:3 g5:3 c6:6 g5:4 | b5:3 a5:3 g5:2 d5:4 b4:4 |"
        "a4:3 c5:3 e5:2 a5:4 b5:2 c6:2 | c6:3 a5:3 f5:2 a5:4 c6:4 |"
        "d6:4 c6:2 a5:2 f5:4 d5:4 | e5:4 g#5:4 b5:2 g#5:2 e5:2 b4:2";
    return Song{
        .fileName = "Neon.mid",
        .title = "Neon",
        .bpm = 140,
        .tonic = 9,
        .minor = true,
        .drums = DrumStyle::Rock,
        .voices =
            {
                Voice{.name = "Saw Lead",
                      .channel = 0,
                      .program = 81,
                      .role = Role::Lead,
                      .velocity = 90,
                      .volume = 92,
                      .pan = 64,
                      .minIntensity = 1},
                Voice{.name = "Square Octave",
                      .channel = 1,
                      .program = 80,
                      .role = Role::Double,
                      .velocity = 68,
                      .volume = 70,
                      .pan = 84,
                      .minIntensity = 2,
                      .offset = -12},
                Voice{.name = "Synth Bass",
                      .channel = 3,
                      .program = 39,
                      .role = Role::BassDriving,
                      .velocity = 94,
                      .volume = 90,
                      .pan = 64,
                      .minIntensity = 1,
                      .offset = 33},
                Voice{.name = "Warm Pad",
                      .channel = 4,
                      .program = 89,
                      .role = Role::Pad,
                      .velocity = 58,
                      .volume = 70,
                      .pan = 40,
                      .minIntensity = 1,
                      .offset = 52},
                Voice{.name = "Arpeggio",
                      .channel = 6,
                      .program = 5,
                      .role = Role::Arp16,
                      .velocity = 60,
                      .volume = 70,
                      .pan = 90,
                      .minIntensity = 1,
                      .offset = 57},
                Voice{.name = "Drums",
                      .role = Role::Drums,
                      .velocity = 92,
                      .volume = 100,
                      .pan = 64,
                      .minIntensity = 1},
            },
        .form =
            {
                Section{kChartA, kMelodyA, 1, true},
                Section{kChartA, kMelodyA, 2, true},
                Section{kChartB, kMelodyB, 1, true},
                Section{kChartLast, kMelodyLast, 2, true},
            },
    };
}

// Stage: punchy brass over slap bass and funk drums, G major.
Song ricochet() {
    constexpr std::string_view kChartA = "G | Em | C | D | G | Em | Am D | G";
    constexpr std::string_view kMelodyA =
        "g5:2 r:2 g5:2 b5:2 d6:4 b5:4 | e6:2 r:2 d6:2 b5:2 g5:4 e5:4 |"
        "e5:2 g5:2 c6:2 e6:2 c6:2 g5:2 e5:4 | f#5:4 a5:4 d6:6 r:2 |"
        "g5:2 r:2 g5:2 b5:2 d6:2 e6:2 d6:2 b5:2 | e6:4 b5:4 g5:2 a5:2 b5:4 |"
        "c6:2 b5:2 a5:4 a5:2 f#5:2 d5:4 | g5:8 r:4 d5:2 f#5:2";
    constexpr std::string_view kChartB = "C | D | Bm | Em | C | D | Am | D7";
    constexpr std::string_view kMelodyB =
        "e5:6 g5:6 c6:4 | a5:6 f#5:6 d5:4 | d5:4 f#5:4 b5:4 a5:4 | g5:8 e5:4 b4:4 |"
        "c5:4 e5:4 g5:4 c6:4 | d6:6 c6:2 a5:4 f#5:4 | e5:4 a5:4 c6:4 e6:4 |"
        "d6:4 c6:4 a5:4 f#5:2 a5:2";
    constexpr std::string_view kChartLast = "G | Em | C | D | G | Em | C | D";
    constexpr std::string_view kMelodyLast =
        "g5:2 r:2 g5:2 b5:2 d6:4 b5:4 | e6:2 r:2 d6:2 b5:2 g5:4 e5:4 |"
        "e5:2 g5:2 c6:2 e6:2 c6:2 g5:2 e5:4 | f#5:4 a5:4 d6:6 r:2 |"
        "g5:2 r:2 g5:2 b5:2 d6:2 e6:2 d6:2 b5:2 | e6:4 b5:4 g5:2 a5:2 b5:4 |"
        "e6:4 c6:4 g5:4 e5:4 | d5:2 f#5:2 a5:2 d6:4 c6:2 a5:2 f#5:2";
    return Song{
        .fileName = "Ricochet.mid",
        .title = "Ricochet",
        .bpm = 164,
        .tonic = 7,
        .minor = false,
        .drums = DrumStyle::Funk,
        .voices =
            {
                Voice{.name = "Brass Lead",
                      .channel = 0,
                      .program = 61,
                      .role = Role::Lead,
                      .velocity = 110,
                      .volume = 127,
                      .pan = 64,
                      .minIntensity = 1},
                Voice{.name = "Xylophone",
                      .channel = 1,
                      .program = 13,
                      .role = Role::Double,
                      .velocity = 74,
                      .volume = 83,
                      .pan = 90,
                      .minIntensity = 2,
                      .offset = 0},
                Voice{.name = "Slap Bass",
                      .channel = 3,
                      .program = 36,
                      .role = Role::BassFunk,
                      .velocity = 90,
                      .volume = 89,
                      .pan = 64,
                      .minIntensity = 1,
                      .offset = 31},
                Voice{.name = "Strings",
                      .channel = 4,
                      .program = 49,
                      .role = Role::Pad,
                      .velocity = 50,
                      .volume = 67,
                      .pan = 40,
                      .minIntensity = 2,
                      .offset = 55},
                Voice{.name = "Muted Guitar",
                      .channel = 5,
                      .program = 28,
                      .role = Role::Stabs,
                      .velocity = 80,
                      .volume = 85,
                      .pan = 30,
                      .minIntensity = 1,
                      .offset = 55},
                Voice{.name = "Drums",
                      .role = Role::Drums,
                      .velocity = 92,
                      .volume = 109,
                      .pan = 64,
                      .minIntensity = 1},
            },
        .form =
            {
                Section{kChartA, kMelodyA, 1, true},
                Section{kChartA, kMelodyA, 2, true},
                Section{kChartB, kMelodyB, 1, true},
                Section{kChartLast, kMelodyLast, 2, true},
            },
    };
}

}  // namespace

MusicSetPlan StandardMusicSet() {
    return MusicSetPlan{
        .folderName = "Standard",
        .fileName = "Standard.msp",
        .setName = "qon スタンダード",
        .staffName = "qon サウンドチーム",
        .title = sunrise(),
        .ending = victory(),
        .stages = {bounce(), neon(), ricochet()},
    };
}

}  // namespace qon::content
