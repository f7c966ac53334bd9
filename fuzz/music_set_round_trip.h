// SPDX-License-Identifier: MIT
#pragma once

// One fuzz body for both readings of a music set file: whatever reads must survive a
// write and read back the same (track names through FileNameOf).

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_files.h"
#include "qon/data/error.h"
#include "qon/data/music_set.h"
#include "qon/data/paths.h"

namespace qon::fuzz {

template <typename Reader>
int FuzzMusicSetReading(const std::uint8_t* data, std::size_t size, ScratchFolder& folder,
                        Reader read) {
    folder.fresh();
    const std::string path = folder.write("set.msp", AsText(data, size));
    qon::MusicSetFile set;
    try {
        set = read(path);
    } catch (const qon::DataError&) {
        return 0;
    }
    if (set.stageTracks.size() > 32767) Broken("more stage tracks than 16 bits hold");
    const std::string copy = folder.path() + "copy.msp";
    try {
        qon::WriteMusicSetFile(copy, set);
    } catch (const qon::DataError&) {
        return 0;
    }
    const qon::MusicSetFile back = read(copy);
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
