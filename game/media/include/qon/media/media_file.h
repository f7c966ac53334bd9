// SPDX-License-Identifier: MIT
#pragma once

// Media files (bitmaps, wave sounds, MIDI files) are read through the one door to the
// disk, like every data file, and decoded from memory. A file that cannot be read
// becomes a MediaError: "the file does not exist", "is not a file" for a folder, pipe or
// device, otherwise the door's own reason.

#include <cstddef>
#include <filesystem>
#include <string>

#include "qon/data/error.h"
#include "qon/data/files.h"
#include "qon/media/media.h"

namespace qon::media {

// Size caps by purpose. A bitmap's own header is checked against its pixel size limit as
// well; this cap only keeps an absurd file from being read whole: a 4096 x 4096 picture
// of 32 bits a pixel, with room for headers and a palette.
inline constexpr std::size_t kMaxBitmapFileBytes = 4096u * 4096u * 4u + 64u * 1024u;
// Sound effects are short; a minute of CD-quality stereo is far beyond any of them.
inline constexpr std::size_t kMaxWaveFileBytes = 64u * 1024u * 1024u;
// Standard MIDI files of whole pieces stay well below a megabyte.
inline constexpr std::size_t kMaxMidiFileBytes = 16u * 1024u * 1024u;

inline std::string ReadMediaFile(const std::string& path, std::size_t maxBytes) {
    try {
        return ReadFileBytes(path, maxBytes);
    } catch (const DataError& error) {
        std::error_code ignored;
        if (!IsOrdinaryFile(path) && std::filesystem::exists(path, ignored)) {
            throw MediaError(path, "is not a file");
        }
        throw MediaError(path, error.reason());
    }
}

}  // namespace qon::media
