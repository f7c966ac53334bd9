// SPDX-License-Identifier: MIT
// The starter music and effects as the game plays them: every track rendered by the
// game's music engine with its soundfont, every effect as SDL2_mixer plays it, all at
// one loudness. A change to a song's voices or to an effect's recipe that makes it stand
// out from the rest fails here; qon-loudness prints the whole table.
#include "loudness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "game_audio.h"
#include "qon/content/generator.h"
#include "qon/data/music_set.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::content {
namespace {

// A stretch long enough to pass through a track's intro into its first full section.
constexpr double kTrackSeconds = 25;
// Music swells and thins out with its sections; an effect is scaled to the level exactly.
constexpr double kTrackTolerance = 1.5;
constexpr double kEffectTolerance = 0.5;
constexpr double kWindowDb = 3;

// The starter content, generated once per test process; ctest runs each test in a
// process of its own, so each measures only what it needs.
const GameFolderContent& starterContent() {
    static const test_support::ScratchFolder folder;
    static const GameFolderContent content = GenerateGameFolder(folder.path() + "qon");
    return content;
}

const std::map<std::string, Loudness>& trackLevels() {
    static const std::map<std::string, Loudness> levels = [] {
        std::map<std::string, Loudness> measured;
        for (const std::string& setPath : starterContent().musicSets) {
            const MusicSetFile set = ReadMusicSetForGame(setPath);
            std::vector<std::string> names{set.titleTrack, set.endingTrack};
            names.insert(names.end(), set.stageTracks.begin(), set.stageTracks.end());
            for (const std::string& name : names) {
                const auto samples =
                    RenderTrack(MusicTrackPath(setPath, name), kTrackSeconds, GameSoundFont());
                measured[name] = MeasureLoudness(samples, 44100, 2);
            }
        }
        return measured;
    }();
    return levels;
}

const std::map<std::string, Loudness>& effectLevels() {
    static const std::map<std::string, Loudness> levels = [] {
        std::map<std::string, Loudness> measured;
        for (const std::string& path : starterContent().soundEffects) {
            measured[path.substr(path.rfind('/') + 1)] =
                MeasureLoudness(MixerSamples(path), 44100, 2);
        }
        return measured;
    }();
    return levels;
}

TEST(GameLoudness, EveryTrackSoundsAtTheGameLoudness) {
    EXPECT_GE(trackLevels().size(), 9u);
    for (const auto& [name, level] : trackLevels()) {
        EXPECT_NEAR(level.rmsDb, kGameLoudnessDb, kTrackTolerance) << name;
        EXPECT_LT(level.peakDb, -1.0) << name << " comes close to clipping";
        EXPECT_GT(level.soundingSeconds, kTrackSeconds - 5) << name << " is silent too long";
    }
}

TEST(GameLoudness, EveryEffectSoundsAtTheGameLoudness) {
    EXPECT_EQ(effectLevels().size(), 8u);
    for (const auto& [name, level] : effectLevels()) {
        EXPECT_NEAR(level.rmsDb, kGameLoudnessDb, kEffectTolerance) << name;
        EXPECT_LT(level.peakDb, -1.0) << name << " comes close to clipping";
    }
}

TEST(GameLoudness, LoudestAndQuietestLieWithinThreeDecibels) {
    double loudest = -200;
    double quietest = 0;
    for (const auto* levels : {&trackLevels(), &effectLevels()}) {
        for (const auto& [name, level] : *levels) {
            loudest = std::max(loudest, level.rmsDb);
            quietest = std::min(quietest, level.rmsDb);
        }
    }
    EXPECT_LE(loudest - quietest, kWindowDb) << "loudest " << loudest << ", quietest " << quietest;
}

}  // namespace
}  // namespace qon::content
