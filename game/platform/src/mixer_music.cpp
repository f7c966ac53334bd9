// SPDX-License-Identifier: MIT
#include "qon/platform/mixer_music.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cassert>
#include <vector>

namespace qon::platform {

using namespace qon::media;
using music::MusicEngine;

namespace {

// From this device rate on, the synthesizer renders at half of it.
constexpr int kHalfRateFrom = 44100;

// A track handed to the game. Dropping it without UnloadMusic (a replaced array of stage
// tracks) still frees it in the engine, and silences it when it was sounding.
class EngineTrack final : public MusicTrack {
  public:
    EngineTrack(std::weak_ptr<MusicEngine> owner, MusicEngine::TrackId trackId)
        : engine(std::move(owner)), id(trackId) {}
    ~EngineTrack() override {
        if (const auto alive = engine.lock()) alive->unload(id);
    }
    std::weak_ptr<MusicEngine> engine;
    MusicEngine::TrackId id;
};

MusicEngine::TrackId idOf(MusicTrack* track) {
    const auto* ours = dynamic_cast<EngineTrack*>(track);
    return ours == nullptr ? MusicEngine::kNoTrack : ours->id;
}

}  // namespace

// What the audio callback needs. The synthesizer renders at half the device's rate
// when the device runs at 44.1 kHz or more: that halves the cost of the music, which is
// most of what the game spends while it waits between frames, and a General MIDI
// soundfont holds little above the 11 kHz a half rate keeps. The callback doubles the
// rate back by linear interpolation. The mixer may also have granted another channel
// count than stereo; the engine's stereo is then spread here. Both go through a scratch
// buffer made here, so the callback never allocates.
struct MixerMusic::Hook {
    static constexpr int kScratchFrames = 1024;

    MusicEngine* engine = nullptr;
    int channels = 2;
    bool halfRate = false;
    std::vector<std::int16_t> scratch = std::vector<std::int16_t>(2 * kScratchFrames);
    // Frames of `scratch` rendered and not yet used, from `next` on.
    int next = 0;
    int available = 0;
    // Half rate: the frame before the current one, and whether the current one's second
    // output (the frame itself, after the midpoint) is still to come.
    std::int16_t previous[2] = {0, 0};
    std::int16_t current[2] = {0, 0};
    bool secondHalf = false;

    static void SDLCALL fill(void* self, Uint8* stream, int bytes) {
        static_cast<Hook*>(self)->fill(reinterpret_cast<std::int16_t*>(stream), bytes);
    }

    void fill(std::int16_t* out, int bytes) {
        const int frames = bytes / static_cast<int>(sizeof(std::int16_t) * channels);
        if (channels == 2 && !halfRate) {
            engine->render(out, frames);
            return;
        }
        for (int i = 0; i < frames; ++i) {
            std::int16_t left = 0;
            std::int16_t right = 0;
            if (!halfRate) {
                take(frames - i, left, right);
            } else if (secondHalf) {
                left = current[0];
                right = current[1];
                secondHalf = false;
            } else {
                previous[0] = current[0];
                previous[1] = current[1];
                take((frames - i + 1) / 2, current[0], current[1]);
                left = static_cast<std::int16_t>((previous[0] + current[0]) / 2);
                right = static_cast<std::int16_t>((previous[1] + current[1]) / 2);
                secondHalf = true;
            }
            put(out + static_cast<std::ptrdiff_t>(i) * channels, left, right);
        }
    }

    // The next rendered frame; renders what is still wanted (at most the scratch's size)
    // when none is left, so the engine never runs far ahead of the device.
    void take(int wanted, std::int16_t& left, std::int16_t& right) {
        if (available == 0) {
            available = std::clamp(wanted, 1, kScratchFrames);
            engine->render(scratch.data(), available);
            next = 0;
        }
        left = scratch[2 * next];
        right = scratch[2 * next + 1];
        ++next;
        --available;
    }

    void put(std::int16_t* frame, std::int16_t left, std::int16_t right) const {
        if (channels == 1) {
            frame[0] = static_cast<std::int16_t>((left + right) / 2);
            return;
        }
        // Surround layouts start with front left and front right.
        frame[0] = left;
        frame[1] = right;
        std::fill(frame + 2, frame + channels, std::int16_t{0});
    }
};

MixerMusic::MixerMusic() : m_engine(std::make_shared<MusicEngine>()) {}

MixerMusic::~MixerMusic() {
    close();
}

bool MixerMusic::start(const std::string& soundFontPath, std::string& reason) {
    assert(!m_tracksLoaded && "MixerMusic::start must come before the first LoadMusic");
    close();
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) == 0) {
        reason = "music cannot play: the sound device is not open";
        return false;
    }
    if (format != AUDIO_S16SYS || channels < 1) {
        reason = "music cannot play: the sound device does not take 16-bit samples";
        return false;
    }
    if (!MusicEngine::checkSoundFont(soundFontPath, reason)) return false;
    const bool halfRate = frequency >= kHalfRateFrom && frequency % 2 == 0;
    const int engineRate = halfRate ? frequency / 2 : frequency;
    if (engineRate != m_engine->sampleRate()) m_engine = std::make_shared<MusicEngine>(engineRate);

    m_hook = std::make_unique<Hook>();
    m_hook->engine = m_engine.get();
    m_hook->channels = channels;
    m_hook->halfRate = halfRate;
    Mix_HookMusic(&Hook::fill, m_hook.get());
    // The engine renders silence until the synthesizer is in place.
    m_loaded = false;
    m_loadProblem.clear();
    m_loader = std::thread([this, engine = m_engine, soundFontPath] {
        // The first frames are drawn meanwhile, and they come first: music is heard only
        // from the title on, seconds later, and a track started earlier joins in where it
        // has got to. A lower priority for this thread alone.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
        engine->openSynth(soundFontPath, m_loadProblem);
    });
    return true;
}

bool MixerMusic::ready(std::string& reason) {
    if (m_loader.joinable()) {
        m_loader.join();
        m_loaded = true;
    }
    if (!m_loaded) {
        reason = "music was not started";
        return false;
    }
    if (!m_engine->audible()) {
        reason = m_loadProblem;
        return false;
    }
    return true;
}

void MixerMusic::close() {
    if (m_loader.joinable()) {
        m_loader.join();
        m_loaded = true;
    }
    if (!m_hook) return;
    // Mix_HookMusic waits for a running callback, so the hook can be freed after it.
    Mix_HookMusic(nullptr, nullptr);
    m_hook.reset();
}

MusicTrackPtr MixerMusic::LoadMusic(const std::string& path) {
    m_tracksLoaded = true;
    return std::make_unique<EngineTrack>(m_engine, m_engine->load(path));
}

bool MixerMusic::UnloadMusic(MusicTrackPtr& track) {
    if (!track) return false;
    track.reset();  // its destructor unloads it from the engine
    return true;
}

bool MixerMusic::PlayMusic(MusicTrack* track, int repeats) {
    return m_engine->play(idOf(track), repeats);
}

bool MixerMusic::ResumeMusic(MusicTrack* track) {
    return m_engine->resume(idOf(track));
}

bool MixerMusic::StopMusic(MusicTrack* track) {
    return m_engine->stop(idOf(track));
}

}  // namespace qon::platform
