// SPDX-License-Identifier: MIT
#pragma once

// One fuzz body for both readings of a music set file: whatever reads must survive
// formatting and read back the same (track names through FileNameOf).

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "qon/data/error.h"
#include "qon/data/music_set.h"
#include "qon/data/paths.h"
#include "qon/data/text.h"

namespace qon::fuzz {

template <typename Parser>
int FuzzMusicSetReading(const std::uint8_t* data, std::size_t size, Parser parse) {
    const std::string path = std::string(MemoryFiles::kFolder) + "set.msp";
    qon::MusicSetFile set;
    try {
        set = parse(AsText(data, size), path);
    } catch (const qon::DataError&) {
        return 0;
    }
    if (set.stageTracks.size() > 32767) Broken("more stage tracks than 16 bits hold");
    const std::string copy = std::string(MemoryFiles::kFolder) + "copy.msp";
    std::string written;
    try {
        written = qon::FormatLines(qon::FormatMusicSetFile(set, copy), copy);
    } catch (const qon::DataError&) {
        return 0;
    }
    const qon::MusicSetFile back = parse(written, copy);
    if (back.setName != set.setName || back.staffName != set.staffName) {
        Broken("names changed on write");
    }
    if (back.titleTrack != qon::FileNameOf(set.titleTrack) ||
        back.endingTrack != qon::FileNameOf(set.endingTrack)) {
        Broken("title or ending track changed on write");
    }
    if (back.stageTracks.size() != set.stageTracks.size()) {
        Broken("stage track count changed on write");
    }
    for (std::size_t i = 0; i < set.stageTracks.size(); ++i) {
        if (back.stageTracks[i] != qon::FileNameOf(set.stageTracks[i])) {
            Broken("stage track " + std::to_string(i) + " changed on write");
        }
    }
    return 0;
}

}  // namespace qon::fuzz
