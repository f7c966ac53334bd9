// SPDX-License-Identifier: MIT
// The headless twin: virtual clock, scripted input, recorded sounds, music and messages.

#include "qon/headless/headless.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "qon/test_support/bytes.h"
#include "qon/test_support/media_bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::headless {
namespace {

using namespace qon::media;

namespace fs = std::filesystem;

// Every test runs in a process of its own, so one folder per process is private to it.
std::string scratch(const std::string& name) {
    static const test_support::ScratchFolder folder;
    return folder.file(name);
}

InputEvent keyDown(int frame, int key) {
    return {frame, InputEvent::Type::KeyDown, key, {}};
}
InputEvent keyUp(int frame, int key) {
    return {frame, InputEvent::Type::KeyUp, key, {}};
}
InputEvent joy(int frame, int x, int y, int buttons) {
    return {frame, InputEvent::Type::Joystick, 0, JoystickSample{x, y, buttons}};
}

TEST(HeadlessClock, EachFlipIsOneSixtiethWithoutDrift) {
    HeadlessMedia media;
    for (int i = 0; i < 60; ++i) media.FlipScreen();
    EXPECT_EQ(media.clockMicros(), 1000000);
    EXPECT_EQ(media.Tick(), 1000);
    media.Doze(5);
    EXPECT_EQ(media.Tick(), 1005);
}

TEST(HeadlessClock, PlayFramePacingNeedsNoExtraTime) {
    // A play frame: mark, draw, flip, then wait for more than 7 ms since the mark. The
    // flip alone advances 16 ms, so the wait ends at once.
    HeadlessMedia media;
    media.MarkFrame();
    media.FlipScreen();
    const std::int64_t before = media.clockMicros();
    media.WaitFrame(7);
    EXPECT_EQ(media.clockMicros(), before);
}

TEST(HeadlessClock, WaitMsAdvancesTheVirtualClock) {
    HeadlessMedia media;
    media.WaitMs(100);
    EXPECT_EQ(media.Tick(), 100);
    EXPECT_EQ(media.framesPresented(), 0);
}

struct ScriptCase {
    const char* name;
    std::vector<InputEvent> script{};
    int flips{};  // frames presented before sampling
    bool spaceDown{};
    ControllerState expected{};
};

class ScriptTimingTest : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(ScriptTimingTest, EventAtFrameNActsOnceFrameNMinusOneIsPresented) {
    const ScriptCase& row = GetParam();
    HeadlessMedia media;
    bool hasJoystick = false;
    for (const InputEvent& e : row.script) hasJoystick |= e.type == InputEvent::Type::Joystick;
    media.SetScript(row.script, hasJoystick);
    media.InitJoystick(16384);
    for (int i = 0; i < row.flips; ++i) media.FlipScreen();
    media.ReadController();
    EXPECT_EQ(media.IsKeyDown(Vk::Space), row.spaceDown);
    EXPECT_EQ(media.controller().ControllerX, row.expected.ControllerX);
    EXPECT_EQ(media.controller().ControllerY, row.expected.ControllerY);
    EXPECT_EQ(media.controller().ControllerButtons, row.expected.ControllerButtons);
}

INSTANTIATE_TEST_SUITE_P(Table, ScriptTimingTest,
                         ::testing::Values(ScriptCase{.name = "FrameZeroActsFromTheStart",
                                                      .script = {keyDown(0, Vk::Space)},
                                                      .spaceDown = true,
                                                      .expected = {0, 0, 0}},
                                           ScriptCase{.name = "NotYetBeforeItsFrame",
                                                      .script = {keyDown(3, Vk::Space)},
                                                      .flips = 2,
                                                      .expected = {0, 0, 0}},
                                           ScriptCase{.name = "ActsAfterFrameBeforeIt",
                                                      .script = {keyDown(3, Vk::Space)},
                                                      .flips = 3,
                                                      .spaceDown = true,
                                                      .expected = {0, 0, 0}},
                                           ScriptCase{.name = "UpReleases",
                                                      .script = {keyDown(1, Vk::Right),
                                                                 keyUp(2, Vk::Right)},
                                                      .flips = 2,
                                                      .expected = {0, 0, 0}},
                                           ScriptCase{.name = "ArrowHeld",
                                                      .script = {keyDown(1, Vk::Right)},
                                                      .flips = 5,
                                                      .expected = {1, 0, 0}},
                                           ScriptCase{.name = "EnterIsSelectButton",
                                                      .script = {keyDown(0, Vk::Enter)},
                                                      .expected = {0, 0, 8}},
                                           ScriptCase{.name = "JoystickFromScript",
                                                      .script = {joy(2, 0, 65535, 4)},
                                                      .flips = 2,
                                                      .expected = {-1, 1, 4}},
                                           ScriptCase{.name = "JoystickCentredUntilItsEvent",
                                                      .script = {joy(5, 0, 0, 8)},
                                                      .flips = 1,
                                                      .expected = {0, 0, 0}}),
                         ::qon::test_support::RowName);

TEST(HeadlessInput, QuitKeyThrowsAtTheNextPump) {
    HeadlessMedia media;
    media.SetScript({keyDown(2, Vk::E)}, false);
    media.FlipScreen();
    EXPECT_NO_THROW(media.PumpEvents());
    media.FlipScreen();
    EXPECT_THROW(media.PumpEvents(), QuitRequested);
}

TEST(HeadlessInput, FlipCallbackSeesEachFrameBeforeItsEvents) {
    HeadlessMedia media;
    media.SetScript({keyDown(1, Vk::Space)}, false);
    std::vector<std::pair<int, bool>> seen;
    media.SetFlipCallback([&](int frame) { seen.emplace_back(frame, media.IsKeyDown(Vk::Space)); });
    media.FlipScreen();
    media.FlipScreen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_pair(0, false));
    EXPECT_EQ(seen[1], std::make_pair(1, true));
}

TEST(HeadlessSound, EffectsAreRecordedByNameInOrder) {
    HeadlessMedia media;
    const std::string kin = scratch("SeKin.wav");
    const std::string bar = scratch("SeBar.wav");
    test_support::WriteBytes(kin, test_support::WavBytes());
    test_support::WriteBytes(bar, test_support::WavBytes());
    SoundEffectPtr a = media.LoadSoundEffect(kin);
    SoundEffectPtr b = media.LoadSoundEffect(bar);
    // The twin knows the effects only as objects; their owner names them.
    media.SetNames(
        [&](const SoundEffect& effect) { return &effect == a.get() ? "SeKin" : "SeBar"; }, nullptr);
    media.PlaySoundEffect(*a);
    media.PlaySoundEffect(*b);
    media.PlaySoundEffect(*a);
    EXPECT_EQ(media.TakeSounds(), (std::vector<std::string>{"SeKin", "SeBar", "SeKin"}));
    EXPECT_TRUE(media.TakeSounds().empty());
}

TEST(HeadlessSound, EffectsWithoutANamerReadAsUnnamed) {
    HeadlessMedia media;
    const std::string path = scratch("SeCur.wav");
    test_support::WriteBytes(path, test_support::WavBytes());
    SoundEffectPtr effect = media.LoadSoundEffect(path);
    media.PlaySoundEffect(*effect);
    EXPECT_EQ(media.TakeSounds(), std::vector<std::string>{"(unnamed)"});
}

struct BrokenFileRow {
    const char* name;
    std::string file = {};   // under the scratch folder; empty: the folder itself
    std::string bytes = {};  // written unless `absent`
    bool absent = false;
    const char* reasonPart = "";
};

QON_PRINT_ROWS_BY_NAME

class BrokenEffectFile : public ::testing::TestWithParam<BrokenFileRow> {};

TEST_P(BrokenEffectFile, IsAMediaErrorNamingTheFile) {
    const BrokenFileRow& row = GetParam();
    const std::string path = row.file.empty() ? scratch("") : scratch(row.file);
    if (!row.absent && !row.file.empty()) test_support::WriteBytes(path, row.bytes);
    HeadlessMedia media;
    try {
        media.LoadSoundEffect(path);
        FAIL() << "loaded";
    } catch (const MediaError& error) {
        EXPECT_EQ(error.file(), path);
        EXPECT_NE(error.reason().find(row.reasonPart), std::string::npos) << error.reason();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, BrokenEffectFile,
    ::testing::Values(
        BrokenFileRow{.name = "MissingFile",
                      .file = "missing.wav",
                      .absent = true,
                      .reasonPart = "the file does not exist"},
        BrokenFileRow{.name = "FolderIsNotAFile", .reasonPart = "is not a file"},
        BrokenFileRow{.name = "EmptyFile", .file = "empty.wav", .reasonPart = "not a readable WAV"},
        BrokenFileRow{.name = "RiffHeaderOnly",
                      .file = "junk.wav",
                      .bytes = "RIFF but not really",
                      .reasonPart = "not a readable WAV"},
        BrokenFileRow{.name = "TruncatedWave",
                      .file = "cut.wav",
                      .bytes = test_support::WavBytes().substr(0, 30),
                      .reasonPart = "not a readable WAV"}),
    test_support::RowName);

// The twin reads MIDI files whole, as the game's engine does, so a replay refuses the same
// files the game refuses, with the same reasons.
TEST(HeadlessMusic, MidiFilesAreReadAsTheGameReadsThem) {
    HeadlessMedia media;
    const std::string smf = test_support::MidiBytes();
    const std::string riff = scratch("wrapped.rmi");
    const std::string riffWithoutData = scratch("empty.rmi");
    const std::string text = scratch("text.mid");
    const std::string shortFile = scratch("short.mid");
    const std::string endless = scratch("endless.mid");
    std::string riffBytes = "RIFF";
    riffBytes += std::string("\0\0\0\0", 4) + "RMIDdata";
    riffBytes.push_back(static_cast<char>(smf.size()));
    riffBytes += std::string(3, '\0') + smf;
    test_support::WriteBytes(riff, riffBytes);
    test_support::WriteBytes(riffWithoutData, "RIFF....RMIDdata");
    test_support::WriteBytes(text, "this is no MIDI file");
    test_support::WriteBytes(shortFile, "MTh");
    // One tick a quarter at 16.7 s a quarter, ending 2^28 ticks in: centuries.
    test_support::WriteBytes(endless, std::string("MThd\0\0\0\6\0\0\0\1\0\1"
                                                  "MTrk\0\0\0\x0e"
                                                  "\0\xFF\x51\3\xFF\xFF\xFF"
                                                  "\xFF\xFF\xFF\x7F\xFF\x2F\0",
                                                  14 + 8 + 14));
    EXPECT_TRUE(media.LoadMusic(riff));
    EXPECT_THROW(media.LoadMusic(riffWithoutData), MediaError);
    EXPECT_THROW(media.LoadMusic(text), MediaError);
    EXPECT_THROW(media.LoadMusic(shortFile), MediaError);
    EXPECT_THROW(media.LoadMusic(scratch("absent.mid")), MediaError);
    try {
        media.LoadMusic(endless);
        FAIL() << "a piece of centuries was loaded";
    } catch (const MediaError& error) {
        EXPECT_NE(error.reason().find("24 hours"), std::string::npos) << error.what();
    }
}

TEST(HeadlessSound, BrokenEffectFileIsAMediaError) {
    HeadlessMedia media;
    EXPECT_THROW(media.LoadSoundEffect(scratch("missing.wav")), MediaError);
    const std::string junk = scratch("junk.wav");
    test_support::WriteBytes(junk, "RIFF but not really");
    EXPECT_THROW(media.LoadSoundEffect(junk), MediaError);
}

TEST(HeadlessMusic, CallsAreRecordedAndEmptyTracksAnswerFalse) {
    HeadlessMedia media;
    const std::string path = scratch("title.mid");
    test_support::WriteBytes(path, test_support::MidiBytes());
    MusicTrackPtr title = media.LoadMusic(path);
    // Asked at the moment of each call: the unloaded track is gone afterwards.
    const MusicTrack* named = title.get();
    media.SetNames(
        nullptr, [named](const MusicTrack& track) { return &track == named ? "title" : "other"; });
    MusicTrackPtr none;
    EXPECT_TRUE(media.StopMusic(title.get()));
    EXPECT_TRUE(media.PlayMusic(title.get(), 4));
    EXPECT_TRUE(media.ResumeMusic(title.get()));
    EXPECT_FALSE(media.PlayMusic(none.get(), 4));
    EXPECT_FALSE(media.UnloadMusic(none));
    EXPECT_TRUE(media.UnloadMusic(title));
    EXPECT_FALSE(title);
    EXPECT_EQ(media.TakeMusic(), (std::vector<std::string>{"stop title", "play title",
                                                           "resume title", "unload title"}));
}

TEST(HeadlessMusic, ResumeOfANeverPlayedTrackStartsIt) {
    HeadlessMedia media;
    const std::string path = scratch("stage.mid");
    test_support::WriteBytes(path, test_support::MidiBytes());
    MusicTrackPtr stage = media.LoadMusic(path);
    media.SetNames(nullptr, [](const MusicTrack&) { return "stage:0"; });
    EXPECT_TRUE(media.ResumeMusic(stage.get()));
    EXPECT_EQ(media.TakeMusic(), (std::vector<std::string>{"play stage:0"}));
}

TEST(HeadlessMessages, AreRecordedAndDismissed) {
    HeadlessMedia media;
    media.ShowMessage("qon", "first");
    media.ShowMessage("qon", "second");
    EXPECT_EQ(media.TakeMessages(), (std::vector<std::string>{"first", "second"}));
}

TEST(HeadlessRandom, HandsOutItsFixedSeed) {
    EXPECT_EQ(HeadlessMedia(1234).RandomSeed(), 1234u);
    EXPECT_EQ(HeadlessMedia().RandomSeed(), 1u);
    HeadlessMedia media(99);
    media.FlipScreen();
    media.Doze(500);
    EXPECT_EQ(media.RandomSeed(), 99u) << "virtual time does not change it";
}

}  // namespace
}  // namespace qon::headless
