// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "midi_reader.h"
#include "qon/content/music.h"
#include "qon/data/error.h"
#include "qon/data/music_set.h"
#include "qon/test_support/bytes.h"
#include "songs.h"

namespace qon::content {
namespace {

namespace fs = std::filesystem;
using testing::MidiEvent;
using testing::MidiFileData;

// ctest runs test processes side by side, so each process works in a folder of its own
// and removes it when it ends.
struct ScratchFolder {
    fs::path path = testing::ScratchFolderFor("sets");
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};
const ScratchFolder kScratch;
const fs::path kOutput = kScratch.path / "music";

// Generated once for the whole program; every test reads the same files.
const std::vector<std::string>& generatedSets() {
    static const std::vector<std::string> paths = GenerateMusicSets(kOutput.string());
    return paths;
}

TEST(GenerateMusicSets, WritesTheMainSetFirstThenTheSecond) {
    const auto& paths = generatedSets();
    ASSERT_EQ(paths.size(), 2u);
    for (const std::string& path : paths) {
        EXPECT_TRUE(fs::path(path).is_absolute()) << path;
        EXPECT_EQ(fs::path(path).extension(), ".msp") << path;
    }
    EXPECT_NE(fs::path(paths[0]).parent_path(), fs::path(paths[1]).parent_path());

    const MusicSetFile main = ReadMusicSetForGame(paths[0]);
    EXPECT_GE(main.stageTracks.size(), 3u);
    const MusicSetFile second = ReadMusicSetForGame(paths[1]);
    EXPECT_GE(second.stageTracks.size(), 2u);
    EXPECT_NE(main.setName, second.setName);
}

TEST(GenerateMusicSets, BothReadersAgreeAndEveryTrackExists) {
    for (const std::string& path : generatedSets()) {
        SCOPED_TRACE(path);
        const MusicSetFile game = ReadMusicSetForGame(path);
        const MusicSetFile editing = ReadMusicSetForEditing(path);
        EXPECT_EQ(game.setName, editing.setName);
        EXPECT_EQ(game.staffName, editing.staffName);
        EXPECT_FALSE(game.staffName.empty());
        EXPECT_EQ(game.titleTrack, editing.titleTrack);
        EXPECT_EQ(game.endingTrack, editing.endingTrack);
        EXPECT_EQ(game.stageTracks, editing.stageTracks);

        std::vector<std::string> names{game.titleTrack, game.endingTrack};
        names.insert(names.end(), game.stageTracks.begin(), game.stageTracks.end());
        EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size())
            << "a track is named twice";
        for (const std::string& name : names) {
            EXPECT_EQ(name.find('/'), std::string::npos) << name;
            EXPECT_TRUE(fs::is_regular_file(MusicTrackPath(path, name))) << name;
        }
    }
}

TEST(GenerateMusicSets, RunningTwiceWritesTheSameBytes) {
    const fs::path again = kScratch.path / "again";
    const auto first = generatedSets();
    const auto second = GenerateMusicSets(again.string());
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        for (const auto& entry : fs::directory_iterator(fs::path(first[i]).parent_path())) {
            const fs::path twin = fs::path(second[i]).parent_path() / entry.path().filename();
            EXPECT_EQ(testing::ReadFileBytes(entry.path().string()),
                      testing::ReadFileBytes(twin.string()))
                << entry.path();
        }
    }
}

TEST(GenerateMusicSets, ReturnsCleanPathsForAFolderWrittenLoosely) {
    const auto paths = GenerateMusicSets((kScratch.path / "loose/./deeper/").string());
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0], (kScratch.path / "loose/deeper/Standard/Standard.msp").string());
    EXPECT_TRUE(fs::is_regular_file(paths[1]));
}

TEST(GenerateMusicSets, FolderThatIsAFileIsReportedByName) {
    const fs::path blocker = kScratch.path / "blocker";
    test_support::WriteBytes(blocker.string(), "not a folder");
    try {
        GenerateMusicSets(blocker.string());
        FAIL() << "generating under a file succeeded";
    } catch (const DataError& error) {
        EXPECT_NE(error.file().find("blocker"), std::string::npos) << error.what();
    }
}

// ---- every MIDI file, one row each -------------------------------------------------------

struct TrackFile {
    std::string folder;
    std::string name;
};

void PrintTo(const TrackFile& file, std::ostream* out) {
    *out << file.folder << "/" << file.name;
}

std::vector<TrackFile> allTrackFiles() {
    std::vector<TrackFile> files;
    for (const MusicSetPlan& set : {StandardMusicSet(), MoonlightMusicSet()}) {
        const std::string folder(set.folderName);
        files.push_back({folder, std::string(set.title.fileName)});
        files.push_back({folder, std::string(set.ending.fileName)});
        for (const auto& song : set.stages) files.push_back({folder, std::string(song.fileName)});
    }
    return files;
}

class GeneratedMidi : public ::testing::TestWithParam<TrackFile> {
  protected:
    MidiFileData parse() {
        generatedSets();
        const fs::path path = kOutput / GetParam().folder / GetParam().name;
        return testing::ParseMidi(testing::ReadFileBytes(path.string()));
    }
};

TEST_P(GeneratedMidi, IsAWellFormedStandardMidiFile) {
    MidiFileData file;
    ASSERT_NO_THROW(file = parse());
    EXPECT_EQ(file.format, 1);
    EXPECT_GE(file.tracks.size(), 4u);  // conductor, melody, bass, drums at least
    EXPECT_GE(file.division, 96);
    for (const auto& track : file.tracks) {
        ASSERT_FALSE(track.events.empty());
        EXPECT_EQ(track.events.back().status, 0xFF);
        EXPECT_EQ(track.events.back().metaType, 0x2F);
    }
}

TEST_P(GeneratedMidi, LastsThirtyToNinetySeconds) {
    const MidiFileData file = parse();
    std::uint32_t end = 0;
    for (const auto& track : file.tracks) end = std::max(end, track.endTick);
    const double seconds = testing::SecondsAt(file, end);
    EXPECT_GE(seconds, 30.0);
    EXPECT_LE(seconds, 90.0);
}

TEST_P(GeneratedMidi, EndsOnABarLineWithEveryNoteReleased) {
    const MidiFileData file = parse();
    int beatsPerBar = 0;
    for (const MidiEvent& event : file.tracks[0].events) {
        if (event.status == 0xFF && event.metaType == 0x58) beatsPerBar = event.data.at(0);
    }
    ASSERT_GT(beatsPerBar, 0) << "no time signature in the first track";
    const std::uint32_t end = file.tracks[0].endTick;
    EXPECT_EQ(end % static_cast<std::uint32_t>(beatsPerBar * file.division), 0u);
    for (std::size_t t = 0; t < file.tracks.size(); ++t) {
        // Every track ends together: a shorter track would make the loop point drift.
        EXPECT_EQ(file.tracks[t].endTick, end) << "track " << t;
        EXPECT_EQ(testing::FindNoteFault(file.tracks[t]), "") << "track " << t;
    }
}

TEST_P(GeneratedMidi, HasMelodyBassAndDrumsWithInstrumentsSetFirst) {
    const MidiFileData file = parse();
    std::set<int> programmed;
    std::set<int> sounding;
    bool lowNotes = false;
    for (const auto& track : file.tracks) {
        for (const MidiEvent& event : track.events) {
            if (event.status == 0xFF) continue;
            const int channel = event.status & 0x0F;
            if ((event.status & 0xF0) == 0xC0) programmed.insert(channel);
            if ((event.status & 0xF0) == 0x90 && event.data[1] > 0) {
                if (channel != 9) {
                    EXPECT_TRUE(programmed.count(channel))
                        << "channel " << channel << " plays before its program change";
                    lowNotes = lowNotes || event.data[0] < 48;
                }
                sounding.insert(channel);
            }
        }
    }
    EXPECT_TRUE(sounding.count(9)) << "no drums on channel 10";
    EXPECT_GE(sounding.size(), 4u) << "too few instruments";
    EXPECT_TRUE(lowNotes) << "no bass line";
}

INSTANTIATE_TEST_SUITE_P(StarterSets, GeneratedMidi, ::testing::ValuesIn(allTrackFiles()),
                         [](const auto& info) {
                             return info.param.folder + "_" +
                                    fs::path(info.param.name).stem().string();
                         });

}  // namespace
}  // namespace qon::content
