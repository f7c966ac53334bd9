// SPDX-License-Identifier: MIT
#include "qon/content/music.h"

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "qon/content/midi_writer.h"
#include "qon/data/error.h"
#include "qon/data/files.h"
#include "qon/data/music_set.h"
#include "songs.h"

namespace qon::content {

namespace {

namespace fs = std::filesystem;

std::string writeSong(const fs::path& folder, const score::Song& song) {
    const fs::path path = folder / std::string(song.fileName);
    const std::vector<std::uint8_t> midi = score::RenderSong(song);
    WriteFileAtomic(path.string(),
                    std::string_view(reinterpret_cast<const char*>(midi.data()), midi.size()));
    return std::string(song.fileName);
}

std::string writeSet(const fs::path& musicFolder, const MusicSetPlan& plan) {
    const fs::path folder = musicFolder / std::string(plan.folderName);
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) throw DataError(folder.string(), 0, "cannot create the folder: " + error.message());

    MusicSetFile set;
    set.setName = std::string(plan.setName);
    set.staffName = std::string(plan.staffName);
    set.titleTrack = writeSong(folder, plan.title);
    set.endingTrack = writeSong(folder, plan.ending);
    for (const score::Song& song : plan.stages) set.stageTracks.push_back(writeSong(folder, song));

    // The set file goes last: it never names a track that has not been written.
    const fs::path setPath = folder / std::string(plan.fileName);
    WriteMusicSetFile(setPath.string(), set);
    return setPath.string();
}

}  // namespace

std::vector<std::string> GenerateMusicSets(const std::string& musicFolder) {
    std::error_code error;
    const fs::path root = fs::absolute(fs::path(musicFolder), error).lexically_normal();
    if (error) throw DataError(musicFolder, 0, "cannot resolve the folder: " + error.message());
    return {writeSet(root, StandardMusicSet()), writeSet(root, MoonlightMusicSet())};
}

}  // namespace qon::content
