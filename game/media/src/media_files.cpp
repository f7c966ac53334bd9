// SPDX-License-Identifier: MIT
#include "media_files.h"

#include <SDL.h>

#include <filesystem>
#include <fstream>

#include "qon/media/media.h"

namespace qon::media {
namespace {

void requireRegularFile(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) return;
    throw MediaError(
        path, std::filesystem::exists(path, error) ? "is not a file" : "the file does not exist");
}

}  // namespace

void CheckWaveFile(const std::string& path) {
    requireRegularFile(path);
    SDL_AudioSpec spec;
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV(path.c_str(), &spec, &samples, &length) == nullptr) {
        throw MediaError(path, std::string("is not a readable WAV sound (") + SDL_GetError() + ")");
    }
    SDL_FreeWAV(samples);
}

void CheckMidiFile(const std::string& path) {
    requireRegularFile(path);
    std::ifstream in(path, std::ios::binary);
    char magic[4] = {};
    in.read(magic, 4);
    const std::string head(magic, static_cast<std::size_t>(in.gcount()));
    // Standard MIDI files start with "MThd"; RIFF-wrapped ones (.rmi) with "RIFF".
    if (head != "MThd" && head != "RIFF") {
        throw MediaError(path, "is not a standard MIDI file");
    }
}

}  // namespace qon::media
