// SPDX-License-Identifier: MIT
// The engine on SDL2_mixer's music stream: music and effects reach the output together,
// and the seam's music operations keep their contracts with and without a sound device.

#include "qon/platform/mixer_music.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "qon/music_test/midi_writer.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::platform {

using namespace qon::media;
using music::MusicEngine;

namespace {

using music_test::MidiWriter;

constexpr int kRate = 44100;
// One folder for the whole binary: its tests run one after another.
const test_support::ScratchFolder& scratch() {
    static const test_support::ScratchFolder folder;
    return folder;
}

std::string writeTune(const std::string& name, std::uint32_t silentTicks) {
    MidiWriter midi(480, 0);
    midi.program(0, 0, 19);
    for (std::uint32_t tick = silentTicks; tick < silentTicks + 4800; tick += 240) {
        midi.note(tick, 240, 0, 60 + static_cast<int>(tick / 240) % 12);
    }
    const std::string path = scratch().file(name);
    test_support::WriteBytes(path, midi.text());
    return path;
}

// Opens the mixer on an audio driver chosen by name, closes it again on destruction.
// The driver goes through the environment, as the mixer starts SDL's audio itself.
class OpenMixer {
  public:
    explicit OpenMixer(const char* driver) {
        if (const char* before = std::getenv("SDL_AUDIODRIVER")) m_driverBefore = before;
        setenv("SDL_AUDIODRIVER", driver, 1);
        m_ok = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 &&
               Mix_OpenAudio(kRate, MIX_DEFAULT_FORMAT, 2, 1024) == 0;
        if (!m_ok) m_error = SDL_GetError();
    }
    ~OpenMixer() {
        if (m_ok) Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        if (m_driverBefore.empty()) {
            unsetenv("SDL_AUDIODRIVER");
        } else {
            setenv("SDL_AUDIODRIVER", m_driverBefore.c_str(), 1);
        }
    }
    bool ok() const { return m_ok; }
    const std::string& error() const { return m_error; }

  private:
    bool m_ok = false;
    std::string m_error;
    std::string m_driverBefore;
};

class MixerMusicTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { SDL_Init(0); }
    static void TearDownTestSuite() { SDL_Quit(); }
};

TEST_F(MixerMusicTest, MusicAndEffectsMixIntoTheOutput) {
    if (!std::filesystem::exists(MusicEngine::kDefaultSoundFont)) GTEST_SKIP() << "no soundfont";
    const std::string rawFile = scratch().file("disk-output.raw");
    setenv("SDL_DISKAUDIOFILE", rawFile.c_str(), 1);
    {
        OpenMixer mixer("disk");
        ASSERT_TRUE(mixer.ok()) << mixer.error();
        MixerMusic music;
        std::string reason;
        ASSERT_TRUE(music.start(MusicEngine::kDefaultSoundFont, reason)) << reason;
        ASSERT_TRUE(music.ready(reason)) << reason;
        // Music silent for its first half second; an effect (a square wave) in the first
        // tenth of a second.
        MusicTrackPtr track = music.LoadMusic(writeTune("late.mid", 480));
        std::vector<std::int16_t> square(2 * kRate / 10);
        for (std::size_t i = 0; i < square.size(); ++i) square[i] = (i / 100) % 2 ? 8000 : -8000;
        Mix_Chunk* effect = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(square.data()),
                                              static_cast<Uint32>(square.size() * 2));
        ASSERT_NE(effect, nullptr);
        ASSERT_TRUE(music.PlayMusic(track.get(), 0));
        Mix_PlayChannel(0, effect, 0);
        SDL_Delay(1500);
        music.close();
        Mix_HaltChannel(-1);
        Mix_FreeChunk(effect);
    }
    const std::string bytes = test_support::ReadBytes(rawFile);
    std::vector<std::int16_t> out(bytes.size() / 2);
    std::memcpy(out.data(), bytes.data(), out.size() * 2);
    // The device ran before the soundfont was loaded: time is measured from the effect's
    // first sample, which started together with the music.
    const auto start =
        std::find_if(out.begin(), out.end(), [](std::int16_t v) { return std::abs(v) > 4000; });
    ASSERT_NE(start, out.end()) << "the effect is missing";
    const std::size_t origin = static_cast<std::size_t>(start - out.begin()) & ~std::size_t{1};
    ASSERT_GT(out.size(), origin + static_cast<std::size_t>(2 * 0.9 * kRate))
        << "the disk driver wrote too little";
    const auto peak = [&](double from, double to) {
        int best = 0;
        for (auto i = origin + static_cast<std::size_t>(2 * from * kRate);
             i < origin + static_cast<std::size_t>(2 * to * kRate); ++i) {
            best = std::max(best, std::abs(int{out[i]}));
        }
        return best;
    };
    EXPECT_LT(peak(0.15, 0.45), 40) << "music sounded during its silent opening";
    EXPECT_GT(peak(0.55, 0.9), 1000) << "the music is missing";
}

TEST_F(MixerMusicTest, MissingSoundFontLeavesMusicSilentButWorking) {
    OpenMixer mixer("dummy");
    ASSERT_TRUE(mixer.ok()) << mixer.error();
    MixerMusic music;
    std::string reason;
    const std::string absent = scratch().file("absent.sf2");
    EXPECT_FALSE(music.start(absent, reason));
    EXPECT_NE(reason.find(absent), std::string::npos) << reason;
    MusicTrackPtr track = music.LoadMusic(writeTune("quiet.mid", 0));
    EXPECT_TRUE(music.PlayMusic(track.get(), 4));
    EXPECT_TRUE(music.StopMusic(track.get()));
    EXPECT_TRUE(music.ResumeMusic(track.get()));
    EXPECT_TRUE(music.UnloadMusic(track));
}

TEST_F(MixerMusicTest, DamagedSoundFontIsReportedOnceLoaded) {
    OpenMixer mixer("dummy");
    ASSERT_TRUE(mixer.ok()) << mixer.error();
    const std::string damaged = scratch().file("damaged.sf2");
    const char header[] = "RIFF\x40\0\0\0sfbkLIST and then nothing useful";
    test_support::WriteBytes(damaged, std::string_view(header, sizeof header - 1));
    MixerMusic music;
    std::string reason;
    ASSERT_TRUE(music.start(damaged, reason)) << "the header looks right: " << reason;
    EXPECT_FALSE(music.ready(reason));
    EXPECT_NE(reason.find(damaged), std::string::npos) << reason;
    MusicTrackPtr track = music.LoadMusic(writeTune("after-damage.mid", 0));
    EXPECT_TRUE(music.PlayMusic(track.get(), 0));
}

TEST_F(MixerMusicTest, SeamOperationsWithoutASoundDevice) {
    MixerMusic music;  // never started: no device
    MusicTrackPtr empty;
    EXPECT_FALSE(music.UnloadMusic(empty));
    EXPECT_FALSE(music.PlayMusic(nullptr, 4));
    EXPECT_FALSE(music.ResumeMusic(nullptr));
    EXPECT_FALSE(music.StopMusic(nullptr));

    MusicTrackPtr track = music.LoadMusic(writeTune("seam.mid", 0));
    ASSERT_TRUE(track);
    EXPECT_TRUE(music.PlayMusic(track.get(), 8));
    EXPECT_NE(music.engine().soundingTrack(), MusicEngine::kNoTrack);
    EXPECT_TRUE(music.UnloadMusic(track));
    EXPECT_FALSE(track);
    EXPECT_EQ(music.engine().soundingTrack(), MusicEngine::kNoTrack);

    EXPECT_THROW(music.LoadMusic(scratch().file("absent.mid")), MediaError);
}

TEST_F(MixerMusicTest, DroppedTrackIsSilencedAndFreed) {
    MixerMusic music;
    MusicTrackPtr track = music.LoadMusic(writeTune("dropped.mid", 0));
    music.PlayMusic(track.get(), 0);
    track = music.LoadMusic(writeTune("next.mid", 0));  // the first is dropped unstopped
    EXPECT_EQ(music.engine().soundingTrack(), MusicEngine::kNoTrack);
}

}  // namespace
}  // namespace qon::platform
