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

// What the audio callback needs. The mixer may have granted another channel count than
// stereo; the engine's stereo is then spread through a scratch buffer made here, so the
// callback never allocates.
struct MixerMusic::Hook {
    static constexpr int kScratchFrames = 1024;

    MusicEngine* engine = nullptr;
    int channels = 2;
    std::vector<std::int16_t> scratch = std::vector<std::int16_t>(2 * kScratchFrames);

    static void SDLCALL fill(void* self, Uint8* stream, int bytes) {
        static_cast<Hook*>(self)->fill(reinterpret_cast<std::int16_t*>(stream), bytes);
    }

    void fill(std::int16_t* out, int bytes) {
        const int frames = bytes / static_cast<int>(sizeof(std::int16_t) * channels);
        if (channels == 2) {
            engine->render(out, frames);
            return;
        }
        for (int done = 0; done < frames;) {
            const int count = std::min(frames - done, kScratchFrames);
            engine->render(scratch.data(), count);
            for (int i = 0; i < count; ++i) {
                std::int16_t* frame = out + static_cast<std::ptrdiff_t>(done + i) * channels;
                const std::int16_t left = scratch[2 * i];
                const std::int16_t right = scratch[2 * i + 1];
                if (channels == 1) {
                    frame[0] = static_cast<std::int16_t>((left + right) / 2);
                } else {
                    // Surround layouts start with front left and front right.
                    frame[0] = left;
                    frame[1] = right;
                    std::fill(frame + 2, frame + channels, std::int16_t{0});
                }
            }
            done += count;
        }
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
    if (frequency != m_engine->sampleRate()) m_engine = std::make_shared<MusicEngine>(frequency);

    m_hook = std::make_unique<Hook>();
    m_hook->engine = m_engine.get();
    m_hook->channels = channels;
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
