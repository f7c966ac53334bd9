// SPDX-License-Identifier: MIT
// The music set creator's reading of a music set file (the count is the integer part of line 5).
// A set that reads is written again and must read back the same.

#include "fuzz_files.h"
#include "qon/data/error.h"
#include "qon/data/music_set.h"
#include "qon/data/paths.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static qon::fuzz::ScratchFolder folder("music_set_editing");
    folder.fresh();
    const std::string path = folder.write("set.msp", qon::fuzz::AsText(data, size));
    qon::MusicSetFile set;
    try {
        set = qon::ReadMusicSetForEditing(path);
    } catch (const qon::DataError&) {
        return 0;
    }
    if (set.stageTracks.size() > 32767) qon::fuzz::Broken("more stage tracks than 16 bits hold");
    const std::string copy = folder.path() + "copy.msp";
    try {
        qon::WriteMusicSetFile(copy, set);
    } catch (const qon::DataError&) {
        return 0;
    }
    const qon::MusicSetFile back = qon::ReadMusicSetForEditing(copy);
    if (back.setName != set.setName || back.staffName != set.staffName) {
        qon::fuzz::Broken("names changed on write");
    }
    if (back.titleTrack != qon::FileNameOf(set.titleTrack) ||
        back.endingTrack != qon::FileNameOf(set.endingTrack)) {
        qon::fuzz::Broken("title or ending track changed on write");
    }
    if (back.stageTracks.size() != set.stageTracks.size()) {
        qon::fuzz::Broken("stage track count changed on write");
    }
    for (std::size_t i = 0; i < set.stageTracks.size(); ++i) {
        if (back.stageTracks[i] != qon::FileNameOf(set.stageTracks[i])) {
            qon::fuzz::Broken("stage track " + std::to_string(i) + " changed on write");
        }
    }
    return 0;
}
