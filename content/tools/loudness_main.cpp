// SPDX-License-Identifier: MIT
// qon-loudness: how loud every music track and every sound effect of a game folder
// comes out of the game.
//
//   qon-loudness GAMEFOLDER [--seconds N] [--window DB]
//
// The tracks are those of the music sets in "MusicSet.sel", each rendered from its start
// for --seconds (default 30) by the game's music engine; the effects are the eight files
// of "Se/" as SDL2_mixer plays them. One line each: RMS over the sounding part and peak,
// in dBFS (see content/src/loudness.h). The exit status is 1 when the loudest and the quietest lie
// more than --window dB (default 3) apart, 2 when something cannot be read or played.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "game_audio.h"
#include "loudness.h"
#include "qon/data/music_set.h"
#include "qon/data/paths.h"
#include "qon/data/set_list.h"

namespace {

struct Item {
    std::string name;
    qon::content::Loudness level;
};

double parseNumber(const char* text) {
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || value <= 0) {
        std::fprintf(stderr, "qon-loudness: \"%s\" is not a positive number\n", text);
        std::exit(2);
    }
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder;
    double seconds = 30;
    double window = 3;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc) {
            seconds = parseNumber(argv[++i]);
        } else if (arg == "--window" && i + 1 < argc) {
            window = parseNumber(argv[++i]);
        } else if (folder.empty() && !arg.starts_with("--")) {
            folder = arg;
        } else {
            std::fprintf(stderr, "usage: qon-loudness GAMEFOLDER [--seconds N] [--window DB]\n");
            return 2;
        }
    }
    if (folder.empty()) {
        std::fprintf(stderr, "usage: qon-loudness GAMEFOLDER [--seconds N] [--window DB]\n");
        return 2;
    }
    if (folder.back() != '/') folder += '/';

    std::vector<Item> items;
    try {
        for (const std::string& entry : qon::ReadSetList(folder + "MusicSet.sel")) {
            const std::string setPath = qon::ResolveListEntry(folder, entry);
            const qon::MusicSetFile set = qon::ReadMusicSetForGame(setPath);
            std::vector<std::string> tracks{set.titleTrack, set.endingTrack};
            tracks.insert(tracks.end(), set.stageTracks.begin(), set.stageTracks.end());
            for (const std::string& track : tracks) {
                const auto samples = qon::content::RenderTrack(
                    qon::MusicTrackPath(setPath, track), seconds, qon::content::GameSoundFont());
                items.push_back({set.setName + " / " + track,
                                 qon::content::MeasureLoudness(samples, 44100, 2)});
            }
        }
        for (const char* effect : {"SeBar.wav", "SeBlock.wav", "SeCur.wav", "SeItem.wav",
                                   "SeSelect.wav", "SeBreak.wav", "SeBlack.wav", "SeKin.wav"}) {
            const auto samples = qon::content::MixerSamples(folder + "Se/" + effect);
            items.push_back({std::string("effect / ") + effect,
                             qon::content::MeasureLoudness(samples, 44100, 2)});
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qon-loudness: %s\n", e.what());
        return 2;
    }

    double loudest = -200;
    double quietest = 0;
    // Names last: set names may be Japanese, which no column width lines up.
    std::printf("%9s %9s %9s  %s\n", "RMS dBFS", "peak dBFS", "sounding", "track or effect");
    for (const Item& item : items) {
        std::printf("%9.1f %9.1f %8.1fs  %s\n", item.level.rmsDb, item.level.peakDb,
                    item.level.soundingSeconds, item.name.c_str());
        loudest = std::max(loudest, item.level.rmsDb);
        quietest = std::min(quietest, item.level.rmsDb);
    }
    std::printf("loudest %.1f, quietest %.1f: %.1f dB apart (window %.1f dB)\n", loudest, quietest,
                loudest - quietest, window);
    return loudest - quietest <= window ? 0 : 1;
}
