// SPDX-License-Identifier: MIT
// Files made to hurt the game, played through qon-replay: a MIDI chord of 30,000 notes at
// one instant, a MIDI file past the size cap, run-length bitmaps of a kilobyte that claim
// 4096 x 4096 pixels, the last stage of a 32767-stage project cleared from a save slot,
// and a save slot past the project's last stage. The game must go on at once, say what
// is wrong where something is, and stay small.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "broken_folder.h"
#include "qon/data/files.h"
#include "qon/data/graphic_set.h"
#include "qon/data/music_set.h"
#include "qon/data/paths.h"
#include "qon/data/save_file.h"
#include "qon/data/stage.h"
#include "qon/music_test/midi_writer.h"
#include "qon/test_support/media_bytes.h"
#include "qon/test_support/scratch_folder.h"
#include "replay_run.h"

namespace qon::bad_content {
namespace {

namespace fs = std::filesystem;

// Space skips the logo; Space again chooses "New Game" once the title menu is up.
constexpr const char* kNewGameScript = "0 down Space\n30 up Space\n150 down Space\n155 up Space\n";
// The same, and once back at the title (after a stage that cannot load), "New Game" again.
constexpr const char* kNewGameTwiceScript =
    "0 down Space\n30 up Space\n150 down Space\n155 up Space\n"
    "600 down Space\n605 up Space\n";
// Down to "Load Game", choose it, choose slot 1; then Space held: the ending runs a page in
// 27 frames.
constexpr const char* kLoadSlotOneScript =
    "0 down Space\n30 up Space\n150 down Down\n152 up Down\n160 down Space\n165 up Space\n"
    "180 down Space\n185 up Space\n400 down Space\n";
constexpr int kFrames = 1500;
constexpr int kTimeLimitSeconds = 60;
// The game in the headless twin keeps well below this; a picture or piece that costs
// what its header or its notes claim does not.
constexpr long kResidentLimitKb = 100 * 1024;

ReplayRun Replay(const BrokenFolder& folder, const std::string& name, const char* script,
                 int frames = kFrames) {
    const test_support::ScratchFolder scratch;
    const std::string runDir = scratch.folder("run-" + name);
    WriteBytes(runDir + "script.txt", script);
    return RunReplay({QON_REPLAY, folder.path(), runDir + "script.txt", "--frames",
                      std::to_string(frames), "--out", runDir},
                     runDir, kTimeLimitSeconds);
}

// The run ended in order, by itself, within the limits.
void ExpectOrderlyRun(const ReplayRun& run) {
    ASSERT_TRUE(run.started) << "qon-replay could not be started";
    ASSERT_FALSE(run.timedOut) << "the game hung";
    ASSERT_FALSE(run.signalled) << "the game crashed:\n" << run.stderrText;
    ASSERT_FALSE(run.trace.empty()) << run.stderrText;
    ASSERT_TRUE(run.trace.back().closing);
    EXPECT_EQ(run.exitStatus, 0) << run.stderrText;
    EXPECT_LT(run.peakResidentKb, kResidentLimitKb);
    ::testing::Test::RecordProperty("peakResidentKb", static_cast<int>(run.peakResidentKb));
}

std::vector<std::string> Messages(const ReplayRun& run) {
    std::vector<std::string> all;
    for (const TraceLine& line : run.trace) {
        all.insert(all.end(), line.messages.begin(), line.messages.end());
    }
    return all;
}

std::vector<std::string> Screens(const ReplayRun& run) {
    std::vector<std::string> screens;
    for (const TraceLine& line : run.trace) {
        if (!line.closing) screens.push_back(line.screen);
    }
    return screens;
}

bool Shows(const std::vector<std::string>& screens, const std::string& screen) {
    return std::find(screens.begin(), screens.end(), screen) != screens.end();
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string TitleTrackOf(const BrokenFolder& folder) {
    return MusicTrackPath(folder.musicSet(), ReadMusicSetForGame(folder.musicSet()).titleTrack);
}

// A piece that is one chord: 30,000 notes struck at the same instant (90 KB of running
// status), held for a second.
std::string ChordOfThirtyThousandNotes() {
    music_test::MidiWriter chord(480, 0);
    for (int i = 0; i < 30000; ++i) chord.note(0, 960, i % 16, 24 + i % 80, 100);
    return chord.text();
}

// The title track is the chord: it loads, the title plays it, and the game answers every
// key exactly as it does with a plain title track.
TEST(HostileMusic, ChordOfThirtyThousandNotesAsTheTitleTrackChangesNothing) {
    BrokenFolder control(QON_STAGE_DIR);
    const ReplayRun expected = Replay(control, "ChordControl", kNewGameScript);
    BrokenFolder folder(QON_STAGE_DIR);
    WriteBytes(TitleTrackOf(folder), ChordOfThirtyThousandNotes());
    const ReplayRun run = Replay(folder, "Chord", kNewGameScript);

    ExpectOrderlyRun(run);
    EXPECT_TRUE(Messages(run).empty()) << Messages(run).front();
    EXPECT_EQ(Screens(run), Screens(expected)) << "the game did not answer as it does without it";
    const bool played = std::any_of(run.trace.begin(), run.trace.end(), [](const TraceLine& l) {
        return std::find(l.music.begin(), l.music.end(), "play title x4") != l.music.end();
    });
    EXPECT_TRUE(played) << "the chord never played";
}

// A MIDI file larger than any piece is refused before it is read, and said so; the game
// plays on without that track.
TEST(HostileMusic, MidiFileBeyondTheCapIsRefusedUnread) {
    BrokenFolder folder(QON_STAGE_DIR);
    const std::string track = TitleTrackOf(folder);
    fs::resize_file(track, kMaxMidiFileBytes + 1);  // sparse: claimed, nothing stored
    const ReplayRun run = Replay(folder, "HugeMidi", kNewGameScript);

    ExpectOrderlyRun(run);
    const std::vector<std::string> messages = Messages(run);
    ASSERT_FALSE(messages.empty()) << "the refused track was not reported";
    EXPECT_TRUE(Contains(messages.front(), FileNameOf(track))) << messages.front();
    EXPECT_TRUE(Contains(messages.front(), "too large")) << messages.front();
    const std::vector<std::string> screens = Screens(run);
    EXPECT_TRUE(Shows(screens, "play")) << "the game did not play on";
}

// Every bitmap of the set is a 1 KB run-length file claiming 4096 x 4096 pixels: each
// stage start refuses the first one from its header, before anything is decoded.
TEST(HostileBitmaps, KilobyteBitmapsClaimingHugeSizesCostNothing) {
    BrokenFolder folder(QON_STAGE_DIR);
    const std::string hostile = test_support::Rle8BmpClaiming(4096, 4096);
    ASSERT_LT(hostile.size(), 1100u);
    for (int slot = 0; slot < kBitmapSlots; ++slot) WriteBytes(folder.bitmap(slot), hostile);
    const ReplayRun run = Replay(folder, "RleBitmaps", kNewGameTwiceScript);

    ExpectOrderlyRun(run);
    const std::vector<std::string> messages = Messages(run);
    ASSERT_EQ(messages.size(), 2u) << "one message for each of the two stage starts";
    EXPECT_TRUE(Contains(messages.front(), FileNameOf(folder.bitmap(0)))) << messages.front();
    EXPECT_TRUE(Contains(messages.front(), "4096 x 4096")) << messages.front();
    EXPECT_EQ(Screens(run).back(), "title") << "the game did not go back to the title";
}

// A project of 32767 stages, the most there can be; only its last stage file exists (the
// game reads no other) and it is empty, so it clears at once. Loaded from a save slot and
// cleared, it leads to the ending; nothing wraps round to a negative stage.
TEST(HostileStages, ClearingStage32767FromASaveSlotReachesTheEnding) {
    BrokenFolder folder(QON_STAGE_DIR);
    const std::string project = folder.stageProject();
    const std::string projectFolder = FolderOf(project);
    for (const auto& entry : fs::directory_iterator(projectFolder)) fs::remove(entry.path());
    WriteBytes(project, "Longest Tour\r\n32767\r\nHoshi Kobo\r\n");
    WriteBytes(StageFilePath(project, 32767), EmptyStageFile());
    const std::string save = SaveFilePath(project);
    const std::string slots = " 32767 \r\n 1 \r\n 1 \r\n 1 \r\n";
    WriteBytes(save, slots);
    const ReplayRun run = Replay(folder, "Stage32767", kLoadSlotOneScript, 3000);

    ExpectOrderlyRun(run);
    EXPECT_TRUE(Messages(run).empty()) << Messages(run).front();
    const std::vector<std::string> screens = Screens(run);
    EXPECT_TRUE(Shows(screens, "clear"));
    EXPECT_TRUE(Shows(screens, "ending")) << "the last stage did not lead to the ending";
    EXPECT_FALSE(Shows(screens, "save")) << "a save screen after the last stage";
    for (const TraceLine& line : run.trace) {
        if (!line.closing) {
            ASSERT_GE(line.stage, 1) << "the stage number wrapped";
        }
    }
    EXPECT_EQ(ReadBytes(save), slots) << "the save file was written";
}

// A slot whose stage the project does not have is named, with the project's stage count,
// and the load menu stays for another choice.
TEST(HostileStages, SaveSlotPastTheLastStageNamesTheSlotAndTheStageCount) {
    BrokenFolder folder(QON_STAGE_DIR);
    const StageProjectHeader header = ReadStageProjectHeader(folder.stageProject());
    const int pastTheEnd = header.StageCount + 1;
    WriteBytes(SaveFilePath(folder.stageProject()),
               " " + std::to_string(pastTheEnd) + " \r\n 1 \r\n 1 \r\n 1 \r\n");
    const ReplayRun run = Replay(folder, "SlotPastTheEnd", kLoadSlotOneScript, 300);

    ExpectOrderlyRun(run);
    const std::vector<std::string> messages = Messages(run);
    ASSERT_EQ(messages.size(), 1u);
    for (const std::string& part :
         {std::string("qonsave.sav"), std::string("save slot 1"),
          "resumes at stage " + std::to_string(pastTheEnd),
          "has " + std::to_string(header.StageCount) + " stages", std::string("another slot")}) {
        EXPECT_TRUE(Contains(messages.front(), part)) << part << " in:\n" << messages.front();
    }
    EXPECT_FALSE(Contains(messages.front(), ".stg")) << "the slot, not a stage file, is wrong";
    const std::vector<std::string> screens = Screens(run);
    EXPECT_EQ(screens.back(), "load") << "the load menu did not stay";
    EXPECT_FALSE(Shows(screens, "intro")) << "a stage was started";
}

}  // namespace
}  // namespace qon::bad_content
