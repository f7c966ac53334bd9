// SPDX-License-Identifier: MIT
#include "qon/headless/media_files.h"

#include <SDL.h>

#include "qon/media/media_file.h"

namespace qon::headless {

std::string ReadWaveFile(const std::string& path) {
    std::string bytes = media::ReadMediaFile(path, kMaxWaveFileBytes);
    SDL_AudioSpec spec;
    Uint8* samples = nullptr;
    Uint32 length = 0;
    SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (source == nullptr || SDL_LoadWAV_RW(source, 1, &spec, &samples, &length) == nullptr) {
        throw media::MediaError(
            path, std::string("is not a readable WAV sound (") + SDL_GetError() + ")");
    }
    SDL_FreeWAV(samples);
    return bytes;
}

}  // namespace qon::headless
