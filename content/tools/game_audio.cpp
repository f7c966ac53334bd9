// SPDX-License-Identifier: MIT
#include "game_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <stdexcept>

#include "qon/music/music_engine.h"

namespace qon::content {

namespace {

constexpr int kRate = 44100;
constexpr int kChannels = 2;

// The mixer is opened once for the whole process in the game's device format; effects
// loaded later are converted to it.
void openMixer() {
    static bool opened = false;
    if (opened) return;
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0 && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        throw std::runtime_error(std::string("no audio: ") + SDL_GetError());
    }
    if (Mix_OpenAudio(kRate, MIX_DEFAULT_FORMAT, kChannels, 1024) != 0) {
        throw std::runtime_error(std::string("the mixer cannot open: ") + Mix_GetError());
    }
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    if (rate != kRate || format != AUDIO_S16SYS || channels != kChannels) {
        throw std::runtime_error("the mixer did not open as 44100 Hz, 16-bit stereo");
    }
    opened = true;
}

}  // namespace

std::vector<std::int16_t> RenderTrack(const std::string& midiPath, double seconds,
                                      const std::string& soundFontPath) {
    music::MusicEngine engine(kRate);
    std::string reason;
    if (!engine.openSynth(soundFontPath, reason)) throw std::runtime_error(reason);
    const music::MusicEngine::TrackId track = engine.load(midiPath);
    engine.play(track, -1);
    const auto frames = static_cast<std::size_t>(seconds * kRate);
    std::vector<std::int16_t> samples(frames * kChannels);
    constexpr std::size_t kSlice = 4096;
    for (std::size_t done = 0; done < frames; done += kSlice) {
        const std::size_t count = std::min(kSlice, frames - done);
        engine.render(samples.data() + done * kChannels, static_cast<int>(count));
    }
    return samples;
}

std::vector<std::int16_t> MixerSamples(const std::string& wavPath) {
    openMixer();
    Mix_Chunk* chunk = Mix_LoadWAV(wavPath.c_str());
    if (chunk == nullptr) {
        throw std::runtime_error(wavPath + ": " + Mix_GetError());
    }
    const auto* first = reinterpret_cast<const std::int16_t*>(chunk->abuf);
    std::vector<std::int16_t> samples(first, first + chunk->alen / sizeof(std::int16_t));
    Mix_FreeChunk(chunk);
    return samples;
}

std::string GameSoundFont() {
    return music::MusicEngine::kDefaultSoundFont;
}

}  // namespace qon::content
