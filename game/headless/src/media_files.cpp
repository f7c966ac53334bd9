// SPDX-License-Identifier: MIT
#include "qon/headless/media_files.h"

#include <SDL.h>

#include "qon/media/media_file.h"

namespace qon::headless {

std::string ReadWaveFile(const std::string& path) {
    std::string bytes = media::ReadMediaFile(path, media::kMaxWaveFileBytes);
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

std::string ReadMidiFileBytes(const std::string& path) {
    std::string bytes = media::ReadMediaFile(path, media::kMaxMidiFileBytes);
    // Standard MIDI files start with "MThd"; RIFF-wrapped ones (.rmi) with "RIFF".
    if (bytes.compare(0, 4, "MThd") != 0 && bytes.compare(0, 4, "RIFF") != 0) {
        throw media::MediaError(path, "is not a standard MIDI file");
    }
    return bytes;
}

}  // namespace qon::headless
