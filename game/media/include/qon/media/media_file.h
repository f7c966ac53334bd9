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

// The size caps by purpose (kMaxBitmapFileBytes, kMaxWaveFileBytes, kMaxMidiFileBytes) are
// the file layer's, in qon/data/files.h.

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
