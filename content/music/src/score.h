// SPDX-License-Identifier: MIT
#pragma once

// The composing layer of the starter music: a song is a form of sections, each section a
// chord chart and a hand-written melody; the accompaniment (bass, chords, arpeggios,
// drums) is derived from the chords by fixed patterns. Everything is deterministic, so
// two builds write byte-identical MIDI files.
//
// All music here is in 4/4. Positions and lengths are counted in steps of a sixteenth
// note, 16 steps to a bar.

#include <cstdint>
#include <string_view>
#include <vector>

#include "qon/content/midi_writer.h"

namespace qon::content::score {

inline constexpr int kStepsPerBar = 16;
inline constexpr std::uint16_t kTicksPerQuarter = 480;
inline constexpr std::uint32_t kTicksPerStep = kTicksPerQuarter / 4;
inline constexpr int kDrumChannel = 9;

// A chord: the root and the intervals above it; bass differs from root for slash chords.
struct Chord {
    int root = 0;                // pitch class 0..11 (C = 0)
    int bass = 0;                // pitch class of the lowest note
    std::vector<int> intervals;  // semitones above the root, first one 0
    bool contains(int pitchClass) const;
};

// "C", "F#m", "Bb7", "Dm7", "Cmaj7", "Gsus4", "Bdim", "Cadd9", "C/E". Throws
// std::invalid_argument naming the symbol.
Chord ParseChord(std::string_view symbol);

struct ChordSpan {
    int startStep = 0;  // from the start of the section
    int steps = 0;
    Chord chord;
};

// Bars separated by "|"; the chords of one bar share it equally ("Am D" = two halves).
// Throws std::invalid_argument for an empty bar or a bar that four beats cannot share.
std::vector<ChordSpan> ParseChordChart(std::string_view chart);

struct MelodyNote {
    int startStep = 0;
    int steps = 0;
    int key = -1;  // MIDI key; -1 for a rest
};

// Tokens "pitch:steps" separated by blanks, "|" at every bar line. Pitches are a letter,
// an optional "#" or "b" and an octave digit ("c5" = 72, "f#4" = 66, "bb4" = 70); "r" is a
// rest and "-" ties on to the note before. Each "|" checks that the bar holds exactly
// 16 steps, so a miscounted bar is caught when the song is built, not heard later.
// Throws std::invalid_argument naming the token or the bar.
std::vector<MelodyNote> ParseMelody(std::string_view text);

enum class Role {
    Lead,         // the melody
    Double,       // the melody, moved by `offset` semitones
    Harmony,      // the melody a diatonic third lower, on chord tones where possible
    BassSoft,     // root on 1, root and fifth after
    BassDriving,  // eighths on the root
    BassOctaves,  // eighths leaping root / octave
    BassFunk,     // syncopated root, octave and fifth
    BassMarch,    // quarters root, fifth, octave, fifth
    Pad,          // chords held as long as they last
    Stabs,        // short chords on the offbeats
    Pulse,        // chords on every beat
    Arp8,         // broken chords in eighths, up and down
    Arp16,        // broken chords in sixteenths
    Drums,
};

enum class DrumStyle { Soft, Pop, Rock, Dance, Funk, March };

struct Voice {
    std::string_view name;  // track name
    int channel = 0;
    int program = 0;  // General MIDI program 0..127
    Role role = Role::Lead;
    int velocity = 90;
    int volume = 100;      // controller 7
    int pan = 64;          // controller 10
    int minIntensity = 1;  // plays only in sections at least this intense
    int offset = 0;        // Double: semitones; chords and bass: the lowest key used
};

struct Section {
    std::string_view chords;
    std::string_view melody;  // empty: the lead rests
    int intensity = 1;        // 0 intro, 1 normal, 2 full
    bool fill = true;         // drum fill in the last bar, leading into what follows
};

struct Song {
    std::string_view fileName;
    std::string_view title;
    double bpm = 120;
    int tonic = 0;       // pitch class
    bool minor = false;  // natural minor; the raised seventh comes from the chords
    DrumStyle drums = DrumStyle::Pop;
    std::vector<Voice> voices;
    std::vector<Section> form;
    // How much softer than its voices' volumes the whole song plays, in dB (0 or below),
    // sent as expression (controller 11) on every channel, so the balance of the voices
    // stays as written. Each song's trim is measured through the game's synthesizer
    // (qon-loudness) so that every track sounds at the game's loudness, about -23 dBFS.
    double levelDb = 0;
};

// True when the pitch class belongs to the song's major or natural minor scale.
bool InScale(const Song& song, int pitchClass);

// Bars in the whole form. Throws std::invalid_argument when a section's melody and chord
// chart differ in length.
int CountBars(const Song& song);

double DurationSeconds(const Song& song);

// The finished tracks: a conductor track (title, tempo, metre, key) and one per voice,
// all ending exactly at the last bar line. Throws std::invalid_argument for a song whose
// level would need to be raised above its voices' volumes.
std::vector<MidiTrack> ArrangeSong(const Song& song);

// ArrangeSong turned into a standard MIDI file.
std::vector<std::uint8_t> RenderSong(const Song& song);

}  // namespace qon::content::score
