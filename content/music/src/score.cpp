// SPDX-License-Identifier: MIT
#include "score.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <stdexcept>
#include <string>

namespace qon::content::score {

namespace {

// ---- text of chord charts and melodies -------------------------------------------------

std::vector<std::string_view> splitBlanks(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        std::size_t j = i;
        while (j < text.size() && !std::isspace(static_cast<unsigned char>(text[j]))) ++j;
        if (j > i) words.push_back(text.substr(i, j - i));
        i = j;
    }
    return words;
}

// Reads "C", "F#", "Bb" from the front of text; returns the pitch class, or -1.
int parsePitchClass(std::string_view& text) {
    static constexpr std::array<int, 7> kLetter{9, 11, 0, 2, 4, 5, 7};  // a..g
    if (text.empty()) return -1;
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    if (letter < 'a' || letter > 'g') return -1;
    int pitchClass = kLetter[letter - 'a'];
    text.remove_prefix(1);
    if (!text.empty() && text[0] == '#') {
        ++pitchClass;
        text.remove_prefix(1);
    } else if (!text.empty() && text[0] == 'b') {
        --pitchClass;
        text.remove_prefix(1);
    }
    return (pitchClass + 12) % 12;
}

// ---- arrangement helpers -----------------------------------------------------------------

// A small, fixed jitter of velocities so repeated notes do not sound mechanical; the
// same note at the same place always gets the same value.
int jitter(std::uint32_t tick, int key, int channel) {
    std::uint32_t h = tick * 2654435761u ^ static_cast<std::uint32_t>(key) * 40503u ^
                      static_cast<std::uint32_t>(channel) * 97u;
    h ^= h >> 15;
    return static_cast<int>(h % 7) - 3;
}

int clampVelocity(int velocity) {
    return std::clamp(velocity, 1, 127);
}

// Lowest key at or above floor with the given pitch class.
int keyAtOrAbove(int pitchClass, int floor) {
    return floor + ((pitchClass - floor % 12) % 12 + 12) % 12;
}

int fifthOf(const Chord& chord) {
    for (int interval : chord.intervals) {
        if (interval >= 6 && interval <= 8) return interval;
    }
    return 7;
}

// Chord tones as keys: each pitch class placed at its lowest key at or above floor.
std::vector<int> voicing(const Chord& chord, int floor) {
    std::vector<int> keys;
    for (int interval : chord.intervals) {
        const int key = keyAtOrAbove((chord.root + interval) % 12, floor);
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

struct SectionPlan {
    int startStep;  // in the song
    int steps;
    const Section* section;
    std::vector<ChordSpan> chords;
    std::vector<MelodyNote> melody;

    const ChordSpan& chordAt(int step) const {
        for (const ChordSpan& span : chords) {
            if (step >= span.startStep && step < span.startStep + span.steps) return span;
        }
        return chords.back();
    }
};

std::vector<SectionPlan> planSections(const Song& song) {
    std::vector<SectionPlan> plans;
    int start = 0;
    for (const Section& section : song.form) {
        SectionPlan plan{start, 0, &section, ParseChordChart(section.chords), {}};
        plan.steps = plan.chords.back().startStep + plan.chords.back().steps;
        if (!section.melody.empty()) {
            plan.melody = ParseMelody(section.melody);
            const int melodySteps = plan.melody.back().startStep + plan.melody.back().steps;
            if (melodySteps != plan.steps) {
                throw std::invalid_argument(std::string(song.title) + ": a melody of " +
                                            std::to_string(melodySteps / kStepsPerBar) +
                                            " bars over a chord chart of " +
                                            std::to_string(plan.steps / kStepsPerBar) + " bars");
            }
        }
        start += plan.steps;
        plans.push_back(std::move(plan));
    }
    if (plans.empty()) throw std::invalid_argument(std::string(song.title) + ": an empty form");
    return plans;
}

std::uint32_t tickOf(int step) {
    return static_cast<std::uint32_t>(step) * kTicksPerStep;
}

// Ticks a note of the given steps really sounds: a short breath before the next one.
std::uint32_t gateOf(int steps, std::uint32_t breath) {
    const std::uint32_t full = tickOf(steps);
    return full > breath * 2 ? full - breath : full / 2;
}

int accentOf(int stepInBar) {
    if (stepInBar == 0) return 8;
    if (stepInBar % 4 == 0) return 3;
    if (stepInBar % 2 == 1) return -4;
    return 0;
}

// A diatonic third below, preferring a tone of the chord under it.
int thirdBelow(const Song& song, const Chord& chord, int key) {
    for (int drop : {3, 4}) {
        if (chord.contains((key - drop) % 12)) return key - drop;
    }
    for (int drop : {3, 4}) {
        if (InScale(song, (key - drop) % 12)) return key - drop;
    }
    return key - 3;
}

void addMelody(MidiTrack& track, const Song& song, const Voice& voice, const SectionPlan& plan) {
    const int lift = (plan.section->intensity - 1) * 4;
    for (const MelodyNote& note : plan.melody) {
        if (note.key < 0) continue;
        int key = note.key;
        if (voice.role == Role::Double) key += voice.offset;
        if (voice.role == Role::Harmony)
            key = thirdBelow(song, plan.chordAt(note.startStep).chord, key);
        const std::uint32_t tick = tickOf(plan.startStep + note.startStep);
        const int velocity =
            voice.velocity + accentOf(note.startStep % kStepsPerBar) + lift + jitter(tick, key, 0);
        track.note(tick, voice.channel, key, clampVelocity(velocity), gateOf(note.steps, 24));
    }
}

struct BassHit {
    int step;
    int steps;
    int degree;  // 0 root, 1 fifth, 2 octave
};

std::vector<BassHit> bassPattern(Role role) {
    switch (role) {
        case Role::BassSoft:
            return {{0, 6, 0}, {6, 2, 0}, {8, 6, 1}, {14, 2, 0}};
        case Role::BassDriving:
            return {{0, 2, 0}, {2, 2, 0},  {4, 2, 0},  {6, 2, 0},
                    {8, 2, 0}, {10, 2, 0}, {12, 2, 0}, {14, 2, 1}};
        case Role::BassOctaves:
            return {{0, 2, 0}, {2, 2, 2},  {4, 2, 0},  {6, 2, 2},
                    {8, 2, 0}, {10, 2, 2}, {12, 2, 0}, {14, 2, 2}};
        case Role::BassFunk:
            return {{0, 3, 0}, {3, 1, 0},  {4, 2, 2},  {6, 2, 0},
                    {8, 3, 0}, {11, 1, 0}, {12, 2, 1}, {14, 2, 2}};
        case Role::BassMarch:
            return {{0, 4, 0}, {4, 4, 1}, {8, 4, 2}, {12, 4, 1}};
        default:
            return {};
    }
}

void addBass(MidiTrack& track, const Voice& voice, const SectionPlan& plan) {
    const auto pattern = bassPattern(voice.role);
    for (int bar = 0; bar < plan.steps; bar += kStepsPerBar) {
        for (const BassHit& hit : pattern) {
            const int step = bar + hit.step;
            const ChordSpan& span = plan.chordAt(step);
            // A new chord always lands on its bass note, whatever the pattern says.
            const int degree = step == span.startStep ? 0 : hit.degree;
            const int bassKey = keyAtOrAbove(span.chord.bass, voice.offset);
            int key = bassKey;
            if (degree == 1)
                key = keyAtOrAbove(span.chord.root, voice.offset) + fifthOf(span.chord);
            if (degree == 2) key = bassKey + 12;
            // Never hold a bass note into the next chord.
            const int steps = std::min(hit.steps, span.startStep + span.steps - step);
            const std::uint32_t tick = tickOf(plan.startStep + step);
            const int velocity =
                voice.velocity + accentOf(hit.step) + jitter(tick, key, voice.channel);
            track.note(tick, voice.channel, key, clampVelocity(velocity),
                       gateOf(steps, voice.role == Role::BassOctaves ? 40 : 20));
        }
    }
}

void addChordHits(MidiTrack& track, const Voice& voice, const SectionPlan& plan,
                  std::initializer_list<int> steps, int length, std::uint32_t breath) {
    for (int bar = 0; bar < plan.steps; bar += kStepsPerBar) {
        for (int stepInBar : steps) {
            const int step = bar + stepInBar;
            const ChordSpan& span = plan.chordAt(step);
            const std::uint32_t tick = tickOf(plan.startStep + step);
            for (int key : voicing(span.chord, voice.offset)) {
                const int velocity =
                    voice.velocity + accentOf(stepInBar) / 2 + jitter(tick, key, voice.channel);
                track.note(tick, voice.channel, key, clampVelocity(velocity),
                           gateOf(length, breath));
            }
        }
    }
}

void addPad(MidiTrack& track, const Voice& voice, const SectionPlan& plan) {
    for (const ChordSpan& span : plan.chords) {
        const std::uint32_t tick = tickOf(plan.startStep + span.startStep);
        for (int key : voicing(span.chord, voice.offset)) {
            track.note(tick, voice.channel, key, clampVelocity(voice.velocity),
                       gateOf(span.steps, 10));
        }
    }
}

void addArpeggio(MidiTrack& track, const Voice& voice, const SectionPlan& plan, int stride) {
    // Up and down through four tones: the chord and its root an octave higher.
    static constexpr std::array<int, 6> kUpDown{0, 1, 2, 3, 2, 1};
    for (const ChordSpan& span : plan.chords) {
        std::vector<int> tones = voicing(span.chord, voice.offset);
        tones.resize(3, tones.back());
        tones.push_back(tones.front() + 12);
        int position = 0;
        for (int step = span.startStep; step < span.startStep + span.steps; step += stride) {
            const int key =
                tones[static_cast<std::size_t>(kUpDown[static_cast<std::size_t>(position % 6)])];
            ++position;
            const std::uint32_t tick = tickOf(plan.startStep + step);
            const int velocity =
                voice.velocity + accentOf(step % kStepsPerBar) + jitter(tick, key, voice.channel);
            track.note(tick, voice.channel, key, clampVelocity(velocity), gateOf(stride, 20));
        }
    }
}

// ---- drums -------------------------------------------------------------------------------

namespace drum {
constexpr int kKick = 36;
constexpr int kSideStick = 37;
constexpr int kSnare = 38;
constexpr int kClap = 39;
constexpr int kClosedHat = 42;
constexpr int kLowTom = 45;
constexpr int kOpenHat = 46;
constexpr int kMidTom = 47;
constexpr int kCrash = 49;
constexpr int kHighTom = 50;
constexpr int kRide = 51;
constexpr int kTambourine = 54;
}  // namespace drum

// One instrument over one bar: 16 characters, "X" accent, "x" normal, "o" soft, "-"
// ghost, "." silent.
struct DrumLine {
    int key;
    std::string_view hits;
};

struct DrumKit {
    std::vector<DrumLine> normal;
    std::vector<DrumLine> full;  // added in the most intense sections
    std::vector<DrumLine> fill;  // replaces the second half of a section's last bar
};

int hitVelocity(char hit) {
    switch (hit) {
        case 'X':
            return 112;
        case 'x':
            return 92;
        case 'o':
            return 66;
        case '-':
            return 48;
        default:
            return 0;
    }
}

DrumKit drumKit(DrumStyle style) {
    using namespace drum;
    const std::vector<DrumLine> tomFill{{kKick, "........x......."},
                                        {kSnare, "........xo......"},
                                        {kHighTom, "..........xo...."},
                                        {kMidTom, "............xo.."},
                                        {kLowTom, "..............xX"}};
    switch (style) {
        case DrumStyle::Soft:
            return {{{kKick, "x.........o....."},
                     {kSideStick, "....x.......x..."},
                     {kClosedHat, "o.-.o.-.o.-.o.-."}},
                    {{kTambourine, "....-.......-..."}},
                    {{kKick, "........x......."},
                     {kMidTom, "............o.o."},
                     {kLowTom, "..............-o"}}};
        case DrumStyle::Pop:
            return {{{kKick, "x.......x.o....."},
                     {kSnare, "....x.......x..."},
                     {kClosedHat, "x.o.x.o.x.o.x.o."}},
                    {{kClap, "....o.......o..."}, {kOpenHat, "..............o."}},
                    tomFill};
        case DrumStyle::Rock:
            return {{{kKick, "X.....x.X.x....."},
                     {kSnare, "....X.......X..."},
                     {kClosedHat, "x.o.x.o.x.o.x.o."}},
                    {{kClosedHat, ".-.-.-.-.-.-.-.-"}, {kOpenHat, "..............o."}},
                    tomFill};
        case DrumStyle::Dance:
            return {{{kKick, "X...x...X...x..."},
                     {kClap, "....x.......x..."},
                     {kOpenHat, "..o...o...o...o."}},
                    {{kClosedHat, "-.-.-.-.-.-.-.-."}, {kSnare, "....o.......o..."}},
                    tomFill};
        case DrumStyle::Funk:
            return {{{kKick, "X..x....x.x....."},
                     {kSnare, "....X..-....X..-"},
                     {kClosedHat, "xoxoxoxoxoxoxoxo"}},
                    {{kTambourine, "..o...o...o...o."}},
                    tomFill};
        case DrumStyle::March:
            return {{{kKick, "X.......x......."},
                     {kSnare, "....x.......x.-o"},
                     {kRide, "x.o.x.o.x.o.x.o."}},
                    {{kKick, "....o.......o..."}, {kSnare, "..-.....-......."}},
                    {{kKick, "........x......."}, {kSnare, "........o-o-xoxX"}}};
    }
    return {};
}

void addDrumLine(MidiTrack& track, const Voice& voice, int barStart, const DrumLine& line,
                 int fromStep, int toStep) {
    for (int step = fromStep; step < toStep; ++step) {
        const int base = hitVelocity(line.hits[static_cast<std::size_t>(step)]);
        if (base == 0) continue;
        const std::uint32_t tick = tickOf(barStart + step);
        const int velocity = base * voice.velocity / 100 + jitter(tick, line.key, kDrumChannel);
        track.note(tick, kDrumChannel, line.key, clampVelocity(velocity), 60);
    }
}

void addDrums(MidiTrack& track, const Song& song, const Voice& voice, const SectionPlan& plan) {
    const DrumKit kit = drumKit(song.drums);
    const int lastBar = plan.steps - kStepsPerBar;
    for (int bar = 0; bar < plan.steps; bar += kStepsPerBar) {
        const int barStart = plan.startStep + bar;
        const bool fill = plan.section->fill && bar == lastBar;
        const int grooveEnd = fill ? kStepsPerBar / 2 : kStepsPerBar;
        for (const DrumLine& line : kit.normal)
            addDrumLine(track, voice, barStart, line, 0, grooveEnd);
        if (plan.section->intensity >= 2) {
            for (const DrumLine& line : kit.full)
                addDrumLine(track, voice, barStart, line, 0, grooveEnd);
        }
        if (fill) {
            for (const DrumLine& line : kit.fill) {
                addDrumLine(track, voice, barStart, line, kStepsPerBar / 2, kStepsPerBar);
            }
        }
    }
    // Every section opens with a crash, the first bar of the song included, so the loop
    // back to the start lands like the beginning of a new chorus.
    const std::uint32_t tick = tickOf(plan.startStep);
    track.note(tick, kDrumChannel, drum::kCrash, clampVelocity(voice.velocity + 10),
               tickOf(kStepsPerBar / 2));
}

int sharpsOf(const Song& song) {
    // Key signature of each major key by tonic pitch class (C = 0).
    static constexpr std::array<int, 12> kMajorSharps{0, -5, 2, -3, 4, -1, 6, 1, -4, 3, -2, 5};
    const int major = song.minor ? (song.tonic + 3) % 12 : song.tonic;
    return kMajorSharps[static_cast<std::size_t>(major)];
}

}  // namespace

bool Chord::contains(int pitchClass) const {
    pitchClass = (pitchClass % 12 + 12) % 12;
    for (int interval : intervals) {
        if ((root + interval) % 12 == pitchClass) return true;
    }
    return false;
}

Chord ParseChord(std::string_view symbol) {
    std::string_view rest = symbol;
    const int root = parsePitchClass(rest);
    if (root < 0) throw std::invalid_argument("bad chord \"" + std::string(symbol) + "\"");
    std::string_view quality = rest;
    int bass = root;
    if (const auto slash = rest.find('/'); slash != std::string_view::npos) {
        quality = rest.substr(0, slash);
        std::string_view bassText = rest.substr(slash + 1);
        bass = parsePitchClass(bassText);
        if (bass < 0 || !bassText.empty()) {
            throw std::invalid_argument("bad bass note in chord \"" + std::string(symbol) + "\"");
        }
    }
    struct Quality {
        std::string_view name;
        std::vector<int> intervals;
    };
    static const std::vector<Quality> kQualities{
        {"", {0, 4, 7}},         {"m", {0, 3, 7}},    {"7", {0, 4, 7, 10}}, {"m7", {0, 3, 7, 10}},
        {"maj7", {0, 4, 7, 11}}, {"sus4", {0, 5, 7}}, {"dim", {0, 3, 6}},   {"add9", {0, 4, 7, 14}},
    };
    for (const Quality& candidate : kQualities) {
        if (candidate.name == quality) return Chord{root, bass, candidate.intervals};
    }
    throw std::invalid_argument("unknown chord quality in \"" + std::string(symbol) + "\"");
}

std::vector<ChordSpan> ParseChordChart(std::string_view chart) {
    std::vector<ChordSpan> spans;
    int barStart = 0;
    std::size_t from = 0;
    while (from <= chart.size()) {
        const std::size_t bar = std::min(chart.find('|', from), chart.size());
        const auto symbols = splitBlanks(chart.substr(from, bar - from));
        const int count = static_cast<int>(symbols.size());
        if (count == 0 || kStepsPerBar % count != 0 || kStepsPerBar / count < 4) {
            throw std::invalid_argument("bar " + std::to_string(barStart / kStepsPerBar + 1) +
                                        " of a chord chart must hold 1, 2 or 4 chords");
        }
        const int steps = kStepsPerBar / count;
        for (int i = 0; i < count; ++i) {
            spans.push_back(ChordSpan{barStart + i * steps, steps,
                                      ParseChord(symbols[static_cast<std::size_t>(i)])});
        }
        barStart += kStepsPerBar;
        from = bar + 1;
    }
    return spans;
}

std::vector<MelodyNote> ParseMelody(std::string_view text) {
    // A bar line needs no blanks around it ("c5:4|d5:4"), which keeps joined literals safe.
    std::string spaced;
    for (char c : text) {
        if (c == '|') {
            spaced += " | ";
        } else {
            spaced += c;
        }
    }
    std::vector<MelodyNote> notes;
    int step = 0;
    int barEnd = kStepsPerBar;
    for (std::string_view token : splitBlanks(spaced)) {
        if (token == "|") {
            if (step != barEnd) {
                throw std::invalid_argument(
                    "melody bar " + std::to_string(barEnd / kStepsPerBar) + " holds " +
                    std::to_string(step - barEnd + kStepsPerBar) + " steps instead of 16");
            }
            barEnd += kStepsPerBar;
            continue;
        }
        const auto fail = [&] {
            throw std::invalid_argument("bad melody token \"" + std::string(token) + "\"");
        };
        const auto colon = token.find(':');
        if (colon == std::string_view::npos) fail();
        std::string_view pitch = token.substr(0, colon);
        const std::string_view lengthText = token.substr(colon + 1);
        int steps = 0;
        for (char c : lengthText) {
            if (c < '0' || c > '9') fail();
            steps = steps * 10 + (c - '0');
            if (steps > 4 * kStepsPerBar) fail();
        }
        if (lengthText.empty() || steps == 0) fail();
        if (pitch == "-") {
            if (notes.empty()) fail();
            notes.back().steps += steps;
        } else if (pitch == "r") {
            notes.push_back(MelodyNote{step, steps, -1});
        } else {
            const int pitchClass = parsePitchClass(pitch);
            if (pitchClass < 0 || pitch.size() != 1 || pitch[0] < '1' || pitch[0] > '8') fail();
            // Octave numbers follow the convention where c4 is middle C (key 60); "b#"
            // and "cb" are not used, so the octave never needs correcting.
            const int key = (pitch[0] - '0' + 1) * 12 + pitchClass;
            notes.push_back(MelodyNote{step, steps, key});
        }
        step += steps;
    }
    if (step != barEnd && !(step == barEnd - kStepsPerBar && step > 0)) {
        throw std::invalid_argument("the last melody bar holds " +
                                    std::to_string(step - barEnd + kStepsPerBar) +
                                    " steps instead of 16");
    }
    return notes;
}

bool InScale(const Song& song, int pitchClass) {
    static constexpr std::array<int, 7> kMajor{0, 2, 4, 5, 7, 9, 11};
    static constexpr std::array<int, 7> kMinor{0, 2, 3, 5, 7, 8, 10};
    const int degree = ((pitchClass - song.tonic) % 12 + 12) % 12;
    const auto& scale = song.minor ? kMinor : kMajor;
    return std::find(scale.begin(), scale.end(), degree) != scale.end();
}

int CountBars(const Song& song) {
    const auto plans = planSections(song);
    return (plans.back().startStep + plans.back().steps) / kStepsPerBar;
}

double DurationSeconds(const Song& song) {
    return CountBars(song) * 4 * 60.0 / song.bpm;
}

std::vector<MidiTrack> ArrangeSong(const Song& song) {
    const auto plans = planSections(song);
    const std::uint32_t end = tickOf(plans.back().startStep + plans.back().steps);

    if (song.levelDb > 0) {
        throw std::invalid_argument(std::string(song.title) +
                                    ": a song's level can only be trimmed down; raise its "
                                    "voices' volumes instead");
    }
    // The synthesizer turns expression into gain as 40 log10(value / 127) dB.
    const int expression = std::clamp(
        static_cast<int>(std::lround(127.0 * std::pow(10.0, song.levelDb / 40.0))), 1, 127);

    std::vector<MidiTrack> tracks;
    MidiTrack conductor{std::string(song.title)};
    conductor.tempo(0, song.bpm);
    conductor.timeSignature(0, 4, 4);
    conductor.keySignature(0, sharpsOf(song), song.minor);
    conductor.endAt(end);
    tracks.push_back(std::move(conductor));

    for (const Voice& voice : song.voices) {
        MidiTrack track{std::string(voice.name)};
        track.endAt(end);
        const int channel = voice.role == Role::Drums ? kDrumChannel : voice.channel;
        track.programChange(0, channel, voice.program);
        track.controlChange(0, channel, 7, voice.volume);
        track.controlChange(0, channel, 11, expression);
        track.controlChange(0, channel, 10, voice.pan);
        track.controlChange(0, channel, 91, voice.role == Role::Drums ? 24 : 48);  // reverb
        for (const SectionPlan& plan : plans) {
            if (plan.section->intensity < voice.minIntensity) continue;
            switch (voice.role) {
                case Role::Lead:
                case Role::Double:
                case Role::Harmony:
                    addMelody(track, song, voice, plan);
                    break;
                case Role::BassSoft:
                case Role::BassDriving:
                case Role::BassOctaves:
                case Role::BassFunk:
                case Role::BassMarch:
                    addBass(track, voice, plan);
                    break;
                case Role::Pad:
                    addPad(track, voice, plan);
                    break;
                case Role::Stabs:
                    addChordHits(track, voice, plan, {2, 6, 10, 14}, 1, 20);
                    break;
                case Role::Pulse:
                    addChordHits(track, voice, plan, {0, 4, 8, 12}, 3, 40);
                    break;
                case Role::Arp8:
                    addArpeggio(track, voice, plan, 2);
                    break;
                case Role::Arp16:
                    addArpeggio(track, voice, plan, 1);
                    break;
                case Role::Drums:
                    addDrums(track, song, voice, plan);
                    break;
            }
        }
        tracks.push_back(std::move(track));
    }
    return tracks;
}

std::vector<std::uint8_t> RenderSong(const Song& song) {
    return BuildMidiFile(kTicksPerQuarter, ArrangeSong(song));
}

}  // namespace qon::content::score
