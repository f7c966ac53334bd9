// SPDX-License-Identifier: MIT
// The music engine heard through its output: what plays, when it stops, where a resumed
// track goes on, how often a track repeats, and the errors of bad files and soundfonts.

#include "qon/music/music_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "qon/media/media.h"
#include "qon/music_test/midi_writer.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::music {
namespace {

QON_PRINT_ROWS_BY_NAME

using music_test::MidiWriter;

constexpr int kRate = 44100;
constexpr int kTicksPerQuarter = 480;  // at the default tempo a quarter is 0.5 s
constexpr std::uint32_t kSecond = 2 * kTicksPerQuarter;
// Peaks above kLoud are music; below kQuiet, silence. The gap keeps reverb tails and
// dither from counting as either.
constexpr int kLoud = 1000;
constexpr int kQuiet = 40;

// An organ note sounds while held and stops promptly when released.
MidiWriter organ() {
    return MidiWriter(kTicksPerQuarter, 0).program(0, 0, 19);
}

// Notes every quarter second from `from` to `to` (in ticks).
MidiWriter& notesBetween(MidiWriter& midi, std::uint32_t from, std::uint32_t to) {
    for (std::uint32_t tick = from; tick < to; tick += kSecond / 4) {
        midi.note(tick, kSecond / 4, 0, 60 + static_cast<int>(tick / (kSecond / 4)) % 12);
    }
    return midi;
}

class Output {
  public:
    explicit Output(MusicEngine& engine) : m_engine(engine) {}

    // Renders `seconds` more and returns the peak over them.
    int renderPeak(double seconds) {
        const std::size_t from = m_samples.size();
        render(seconds);
        return peak(from, m_samples.size());
    }
    void render(double seconds) {
        int frames = static_cast<int>(seconds * kRate);
        // Uneven block sizes, as an audio device may ask.
        static const int kBlocks[] = {512, 1024, 333, 4096};
        for (int i = 0; frames > 0; ++i) {
            const int count = std::min(frames, kBlocks[i % 4]);
            const std::size_t at = m_samples.size();
            m_samples.resize(at + 2 * static_cast<std::size_t>(count));
            m_engine.render(m_samples.data() + at, count);
            frames -= count;
        }
    }
    int peak(std::size_t from, std::size_t to) const {
        int best = 0;
        for (std::size_t i = from; i < to; ++i) best = std::max(best, std::abs(int{m_samples[i]}));
        return best;
    }
    // How many times the output went from silence to music, judged over 10 ms windows.
    int onsets() const {
        const std::size_t window = 2 * kRate / 100;
        int count = 0;
        bool sounding = false;
        for (std::size_t at = 0; at + window <= m_samples.size(); at += window) {
            const int level = peak(at, at + window);
            if (!sounding && level > kLoud) {
                sounding = true;
                ++count;
            } else if (sounding && level < kQuiet) {
                sounding = false;
            }
        }
        return count;
    }
    // The first frame that is not silent, or -1.
    long firstSoundingFrame() const {
        for (std::size_t i = 0; i < m_samples.size(); ++i) {
            if (std::abs(int{m_samples[i]}) > kQuiet) return static_cast<long>(i / 2);
        }
        return -1;
    }

  private:
    MusicEngine& m_engine;
    std::vector<std::int16_t> m_samples;
};

class MusicEngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(MusicEngine::kDefaultSoundFont)) {
            GTEST_SKIP() << "the TimGM6mb soundfont is not installed";
        }
        std::string reason;
        ASSERT_TRUE(m_engine.openSynth(MusicEngine::kDefaultSoundFont, reason)) << reason;
    }

    MusicEngine::TrackId add(const MidiWriter& midi) {
        return m_engine.add(ParseMidiFile(midi.bytes(), "test.mid"));
    }

    MusicEngine m_engine{kRate};
    Output m_out{m_engine};
};

TEST_F(MusicEngineTest, PlayRendersMusic) {
    MidiWriter midi = organ();
    const auto track = add(notesBetween(midi, 0, 2 * kSecond));
    ASSERT_TRUE(m_engine.play(track, 0));
    EXPECT_GT(m_out.renderPeak(0.5), kLoud);
    EXPECT_EQ(m_engine.soundingTrack(), track);
}

TEST_F(MusicEngineTest, FirstNoteStartsAtItsTime) {
    const auto track = add(organ().tempo(0, 250000).note(kSecond, kSecond, 0, 60));  // at 0.5 s
    m_engine.play(track, 0);
    m_out.render(1.0);
    const long frame = m_out.firstSoundingFrame();
    EXPECT_GE(frame, kRate / 2);
    EXPECT_LT(frame, kRate / 2 + kRate / 100) << "the note starts over 10 ms late";
}

TEST_F(MusicEngineTest, StopFallsSilentAfterReleaseEvenWithPedalDown) {
    // A held note under a held sustain pedal: only pedals up plus all notes off ends it.
    const auto track =
        add(organ().cc(0, 0, 64, 127).note(0, 20 * kSecond, 0, 60).note(0, 20 * kSecond, 0, 64));
    m_engine.play(track, 0);
    ASSERT_GT(m_out.renderPeak(0.5), kLoud);
    ASSERT_TRUE(m_engine.stop(track));
    m_out.render(2.0);
    EXPECT_LT(m_out.renderPeak(0.5), kQuiet);
    EXPECT_EQ(m_engine.soundingTrack(), MusicEngine::kNoTrack);
}

TEST_F(MusicEngineTest, ResumeContinuesNearTheStopNotTheStart) {
    // Silent for its first 2 s: a resume that restarted the piece would be silent.
    MidiWriter midi = organ();
    const auto track = add(notesBetween(midi, 2 * kSecond, 8 * kSecond));
    m_engine.play(track, 0);
    ASSERT_GT(m_out.renderPeak(3.0), kLoud);
    m_engine.stop(track);
    const std::int64_t stoppedAt = m_engine.position(track);
    m_out.render(1.5);
    ASSERT_LT(m_out.renderPeak(0.5), kQuiet);
    EXPECT_EQ(m_engine.position(track), stoppedAt) << "a stopped track must not move on";

    ASSERT_TRUE(m_engine.resume(track));
    EXPECT_GT(m_out.renderPeak(0.3), kLoud);
    EXPECT_NEAR(static_cast<double>(m_engine.position(track)), 3.3 * kRate, 0.01 * kRate);
    EXPECT_EQ(m_engine.soundingTrack(), track);
}

TEST_F(MusicEngineTest, EachTrackResumesFromItsOwnPosition) {
    MidiWriter first = organ();
    MidiWriter second = organ();
    const auto a = add(notesBetween(first, 0, 10 * kSecond));
    const auto b = add(notesBetween(second, 0, 10 * kSecond));
    m_engine.play(a, 0);
    m_out.render(2.0);
    m_engine.stop(a);
    m_engine.play(b, 0);
    m_out.render(1.0);
    m_engine.stop(b);
    m_engine.resume(a);
    m_out.render(0.5);
    EXPECT_NEAR(static_cast<double>(m_engine.position(a)), 2.5 * kRate, 0.01 * kRate);
    EXPECT_NEAR(static_cast<double>(m_engine.position(b)), 1.0 * kRate, 0.01 * kRate);
}

TEST_F(MusicEngineTest, SecondPlayReplacesTheFirst) {
    MidiWriter loud = organ();
    MidiWriter late = organ();
    const auto first = add(notesBetween(loud, 0, 10 * kSecond));
    const auto second = add(notesBetween(late, 2 * kSecond, 4 * kSecond));
    m_engine.play(first, 8);
    ASSERT_GT(m_out.renderPeak(1.0), kLoud);
    m_engine.play(second, 0);
    // The first is released at once; the second is still in its silent opening.
    m_out.render(1.0);
    EXPECT_LT(m_out.renderPeak(0.5), kQuiet);
    EXPECT_GT(m_out.renderPeak(1.0), kLoud);
    EXPECT_EQ(m_engine.soundingTrack(), second);
}

struct RepeatCase {
    const char* name;
    int repeats{};
    int onsets{};
    bool soundingAfter{};
};

class MusicRepeatTest : public MusicEngineTest, public ::testing::WithParamInterface<RepeatCase> {};

TEST_P(MusicRepeatTest, PlaysOncePlusItsRepeats) {
    const RepeatCase& row = GetParam();
    // One short note, then a rest to the end of the 1 s piece.
    const auto track = add(organ().note(0, kSecond / 10, 0, 72).end(kSecond));
    m_engine.play(track, row.repeats);
    m_out.render(5.5);
    EXPECT_EQ(m_out.onsets(), row.onsets);
    EXPECT_EQ(m_engine.soundingTrack() == track, row.soundingAfter);
}

const RepeatCase kRepeatCases[] = {
    {.name = "NoRepeatPlaysOnce", .onsets = 1},
    {.name = "TwoRepeatsPlayThreeTimes", .repeats = 2, .onsets = 3},
    {.name = "NegativeRepeatsForEver", .repeats = -1, .onsets = 6, .soundingAfter = true},
};

INSTANTIATE_TEST_SUITE_P(Counts, MusicRepeatTest, ::testing::ValuesIn(kRepeatCases),
                         ::qon::test_support::RowName);

// After a resume the repeat count of the last play is in force again: the plays made
// before the stop are not counted off.
TEST_F(MusicEngineTest, ResumeRestoresTheRepeatCountOfTheLastPlay) {
    const auto track = add(organ().note(0, kSecond / 10, 0, 72).end(kSecond));
    m_engine.play(track, 2);
    m_out.render(1.5);  // first play done, second under way
    ASSERT_EQ(m_out.onsets(), 2);
    m_engine.stop(track);
    m_out.render(1.0);
    m_engine.resume(track);
    m_out.render(5.0);
    // The rest of the second play, then two repeats more.
    EXPECT_EQ(m_out.onsets(), 4);
    EXPECT_EQ(m_engine.soundingTrack(), MusicEngine::kNoTrack);
}

// A chord of thousands of notes at one instant: the synthesizer gets it a slice's worth
// at a time, without a word on the terminal, and the piece goes on afterwards.
TEST_F(MusicEngineTest, HugeChordIsSpreadOverSlicesQuietly) {
    MidiWriter chord = organ();
    for (int i = 0; i < 30000; ++i) chord.note(0, kSecond, i % 16, 24 + i % 80, 100);
    const auto track = add(chord.note(2 * kSecond, kSecond / 4, 0, 72));
    m_engine.play(track, 0);
    ::testing::internal::CaptureStderr();
    std::vector<std::int16_t> slice(2 * MusicEngine::kSliceFrames);
    std::uint64_t before = m_engine.eventsSent();
    std::uint64_t most = 0;
    for (int i = 0; i < 2000 && m_engine.soundingTrack() == track; ++i) {
        m_engine.render(slice.data(), MusicEngine::kSliceFrames);
        most = std::max(most, m_engine.eventsSent() - before);
        before = m_engine.eventsSent();
    }
    const std::string logged = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(most, static_cast<std::uint64_t>(MusicEngine::kMaxEventsPerSlice));
    EXPECT_EQ(m_engine.soundingTrack(), MusicEngine::kNoTrack) << "the piece never ended";
    EXPECT_EQ(m_engine.eventsSent(), 2u * 30000 + 2 + 1) << "every event reached the synthesizer";
    EXPECT_LE(std::count(logged.begin(), logged.end(), '\n'), 1) << logged;
}

// A piece sets its channels up at its start; resuming must restore that set-up, and a new
// piece must not inherit another piece's.
TEST_F(MusicEngineTest, ResumeRestoresThePiecesChannelSetUp) {
    MidiWriter muted = organ().cc(0, 0, 7, 0);
    MidiWriter plain = MidiWriter(kTicksPerQuarter, 0);
    const auto mutedTrack = add(notesBetween(muted, 0, 10 * kSecond));
    const auto plainTrack = add(notesBetween(plain, 0, 10 * kSecond));
    m_engine.play(mutedTrack, 0);
    EXPECT_LT(m_out.renderPeak(1.0), kQuiet);
    m_engine.play(plainTrack, 0);
    EXPECT_GT(m_out.renderPeak(1.0), kLoud) << "the muted piece's volume leaked into the next";
    m_engine.stop(plainTrack);
    m_out.render(2.0);  // the plain piece's release
    m_engine.resume(mutedTrack);
    EXPECT_LT(m_out.renderPeak(1.0), kQuiet) << "resume lost the piece's own volume";
}

TEST_F(MusicEngineTest, ResumeOfATrackNeverPlayedPlaysItOnceFromTheStart) {
    const auto track = add(organ().note(0, kSecond / 10, 0, 72).end(kSecond));
    ASSERT_TRUE(m_engine.resume(track));
    m_out.render(3.0);
    EXPECT_EQ(m_out.onsets(), 1);
}

TEST_F(MusicEngineTest, ResumeOfAFinishedTrackStaysSilent) {
    const auto track = add(organ().note(0, kSecond / 10, 0, 72).end(kSecond));
    m_engine.play(track, 0);
    m_out.render(2.0);
    ASSERT_TRUE(m_engine.resume(track));
    m_out.render(2.0);
    EXPECT_EQ(m_out.onsets(), 1);
}

TEST_F(MusicEngineTest, UnloadingTheSoundingTrackSilencesIt) {
    MidiWriter midi = organ();
    const auto track = add(notesBetween(midi, 0, 10 * kSecond));
    m_engine.play(track, 0);
    m_out.render(0.5);
    EXPECT_TRUE(m_engine.unload(track));
    m_out.render(2.0);
    EXPECT_LT(m_out.renderPeak(0.5), kQuiet);
    EXPECT_EQ(m_engine.soundingTrack(), MusicEngine::kNoTrack);
}

TEST_F(MusicEngineTest, StoppingAnotherTrackLeavesTheSoundingOne) {
    MidiWriter playing = organ();
    MidiWriter idle = organ();
    const auto a = add(notesBetween(playing, 0, 10 * kSecond));
    const auto b = add(notesBetween(idle, 0, 10 * kSecond));
    m_engine.play(a, 0);
    m_out.render(0.5);
    EXPECT_TRUE(m_engine.stop(b));
    EXPECT_GT(m_out.renderPeak(0.5), kLoud);
    EXPECT_EQ(m_engine.soundingTrack(), a);
}

TEST_F(MusicEngineTest, EmptyPieceEndsAtOnceWhateverItsRepeats) {
    const auto track = add(MidiWriter(kTicksPerQuarter, 0).end(0));
    m_engine.play(track, -1);
    m_out.render(0.1);
    EXPECT_EQ(m_engine.soundingTrack(), MusicEngine::kNoTrack);
}

// The audio thread renders while the game thread loads, plays, stops and unloads: no
// call may see a track half gone (run under the sanitizers to catch it).
TEST_F(MusicEngineTest, ControlCallsWhileRendering) {
    std::atomic<bool> running{true};
    std::atomic<long> blocks{0};
    std::thread audio([&] {
        std::vector<std::int16_t> block(2 * 512);
        while (running) {
            m_engine.render(block.data(), 512);
            ++blocks;
        }
    });
    MidiWriter midi = organ();
    const MidiSong song = ParseMidiFile(notesBetween(midi, 0, 2 * kSecond).bytes(), "x.mid");
    MusicEngine::TrackId kept = m_engine.add(song);
    for (int round = 0; round < 200; ++round) {
        const MusicEngine::TrackId fresh = m_engine.add(song);
        m_engine.play(fresh, round % 3);
        m_engine.stop(kept);
        m_engine.resume(kept);
        m_engine.play(kept, -1);
        m_engine.resume(fresh);
        EXPECT_TRUE(m_engine.unload(fresh));
    }
    running = false;
    audio.join();
    EXPECT_GT(blocks.load(), 0);
    EXPECT_EQ(m_engine.soundingTrack(), MusicEngine::kNoTrack) << "the last resume was unloaded";
}

// ---- operations on tracks that are not there ----------------------------------------

TEST(MusicEngineIds, OperationsOnMissingTracksReturnFalse) {
    MusicEngine engine;
    const auto unloaded = engine.add(ParseMidiFile(MidiWriter().note(0, 10, 0, 60).bytes(), "x"));
    ASSERT_TRUE(engine.unload(unloaded));
    const std::pair<const char*, MusicEngine::TrackId> rows[] = {
        {"empty", MusicEngine::kNoTrack},
        {"unloaded", unloaded},
    };
    for (const auto& [name, id] : rows) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(engine.unload(id));
        EXPECT_FALSE(engine.play(id, 1));
        EXPECT_FALSE(engine.resume(id));
        EXPECT_FALSE(engine.stop(id));
    }
}

// ---- without a synthesizer ----------------------------------------------------------

TEST(MusicEngineSilent, SequencesWithoutASynthesizer) {
    MusicEngine engine(kRate);
    const auto track = engine.add(
        ParseMidiFile(MidiWriter(kTicksPerQuarter).note(0, 100, 0, 60).end(kSecond).bytes(), "x"));
    engine.play(track, 1);
    std::vector<std::int16_t> block(2 * kRate, 1);
    engine.render(block.data(), kRate / 2);
    EXPECT_EQ(*std::max_element(block.begin(), block.begin() + kRate), 0);
    EXPECT_EQ(engine.soundingTrack(), track);
    for (int i = 0; i < 4; ++i) engine.render(block.data(), kRate / 2);
    EXPECT_EQ(engine.soundingTrack(), MusicEngine::kNoTrack) << "two plays of 1 s are over";
}

// A chord sent over many slices holds the piece back meanwhile: what follows the chord keeps
// its distance from it.
TEST(MusicEngineSilent, EventsBeyondASliceWaitAndThePieceWaitsWithThem) {
    MusicEngine engine(kRate);
    MidiWriter chord(kTicksPerQuarter, 0);
    constexpr int kNotes = 10 * MusicEngine::kMaxEventsPerSlice;
    for (int i = 0; i < kNotes; ++i) chord.event(0, {0x90, static_cast<std::uint8_t>(i % 128), 1});
    chord.note(kSecond, 10, 0, 60);  // the note after the chord, 1 s later
    const auto track = engine.add(ParseMidiFile(chord.bytes(), "chord.mid"));
    engine.play(track, 0);
    std::vector<std::int16_t> slice(2 * MusicEngine::kSliceFrames);
    for (int i = 0; i < 10; ++i) {
        engine.render(slice.data(), MusicEngine::kSliceFrames);
        EXPECT_EQ(engine.eventsSent(),
                  static_cast<std::uint64_t>((i + 1) * MusicEngine::kMaxEventsPerSlice));
        if (i < 9) {
            EXPECT_EQ(engine.position(track), 0) << "the piece must wait for its chord";
        }
    }
    // The chord went out with the tenth slice, which the piece then moved through.
    EXPECT_EQ(engine.position(track), MusicEngine::kSliceFrames);
    // The next note comes a second of music after the chord, not sooner.
    std::vector<std::int16_t> second(2 * kRate);
    engine.render(second.data(), kRate - MusicEngine::kSliceFrames - 1);
    EXPECT_EQ(engine.eventsSent(), static_cast<std::uint64_t>(kNotes));
    engine.render(slice.data(), 2);
    EXPECT_EQ(engine.eventsSent(), static_cast<std::uint64_t>(kNotes + 1));
}

// A file named in several slots of a music set is read once and its piece shared.
TEST(MusicEngineSilent, OneFileLoadedTwiceIsReadOnce) {
    const test_support::ScratchFolder scratch;
    const std::string path = scratch.file("theme.mid");
    test_support::WriteBytes(path, MidiWriter(kTicksPerQuarter, 0).note(0, 10, 0, 60).text());
    MusicEngine engine(kRate);
    const auto first = engine.load(path);
    // Changed on disk now: a second load shares the piece already read.
    test_support::WriteBytes(path, MidiWriter(kTicksPerQuarter, 0).note(0, 10, 0, 62).text());
    const auto second = engine.load(path);
    ASSERT_NE(first, second);
    EXPECT_EQ(engine.song(first), engine.song(second));
    EXPECT_EQ(engine.song(second)->events.front().data1, 60);
    // Once no track holds it, the file is read again.
    engine.unload(first);
    engine.unload(second);
    const auto third = engine.load(path);
    EXPECT_EQ(engine.song(third)->events.front().data1, 62);
}

// The soundfont loads on its own thread while the game already plays a track: the track
// joins in where it has got to, with its own channel set-up.
TEST(MusicEngineSilent, TrackStartedBeforeTheSynthesizerJoinsInSetUp) {
    if (!std::filesystem::exists(MusicEngine::kDefaultSoundFont)) GTEST_SKIP() << "no soundfont";
    MusicEngine engine(kRate);
    MidiWriter muted = organ().cc(0, 0, 7, 0);
    MidiWriter plain = MidiWriter(kTicksPerQuarter, 0);
    const auto mutedTrack =
        engine.add(ParseMidiFile(notesBetween(muted, 0, 10 * kSecond).bytes(), "m"));
    const auto plainTrack =
        engine.add(ParseMidiFile(notesBetween(plain, 0, 10 * kSecond).bytes(), "p"));
    Output out(engine);
    engine.play(mutedTrack, 0);
    out.render(1.0);
    std::string reason;
    ASSERT_TRUE(engine.openSynth(MusicEngine::kDefaultSoundFont, reason)) << reason;
    EXPECT_LT(out.renderPeak(1.0), kQuiet) << "the piece's volume set-up was lost";
    engine.play(plainTrack, 0);
    EXPECT_GT(out.renderPeak(1.0), kLoud);
}

struct SoundFontCase {
    const char* name;
    std::string path{};
    const char* reasonPart{};
};

TEST(MusicEngineSilent, BadSoundFontIsRefusedWithItsPath) {
    const test_support::ScratchFolder scratch;
    const std::string folder = scratch.folder("soundfont");
    test_support::WriteBytes(folder + "not-a-font.sf2", MidiWriter().note(0, 10, 0, 60).text());
    const SoundFontCase rows[] = {
        {.name = "Missing", .path = folder + "absent.sf2", .reasonPart = "does not exist"},
        {.name = "Folder", .path = folder, .reasonPart = "is not a file"},
        {.name = "NotASoundFont",
         .path = folder + "not-a-font.sf2",
         .reasonPart = "is not a SoundFont"},
    };
    for (const SoundFontCase& row : rows) {
        SCOPED_TRACE(row.name);
        MusicEngine engine;
        std::string reason;
        EXPECT_FALSE(engine.openSynth(row.path, reason));
        EXPECT_NE(reason.find(row.path), std::string::npos) << reason;
        EXPECT_NE(reason.find(row.reasonPart), std::string::npos) << reason;
        EXPECT_FALSE(engine.audible());
    }
}

TEST(MusicEngineSilent, LoadErrorsNameTheFile) {
    const test_support::ScratchFolder scratch;
    const std::string folder = scratch.path();
    test_support::WriteBytes(folder + "bad-header.mid", "MTrk this is no header");
    const std::pair<std::string, const char*> rows[] = {
        {folder + "absent.mid", "does not exist"},
        {folder + "bad-header.mid", "MThd"},
    };
    MusicEngine engine;
    for (const auto& [path, reasonPart] : rows) {
        SCOPED_TRACE(path);
        try {
            engine.load(path);
            FAIL() << "loaded";
        } catch (const media::MediaError& error) {
            EXPECT_EQ(error.file(), path);
            EXPECT_NE(error.reason().find(reasonPart), std::string::npos) << error.reason();
        }
    }
}

}  // namespace
}  // namespace qon::music
