// SPDX-License-Identifier: MIT
// The headless twin: virtual clock, scripted input, recorded sounds, music and messages.

#include "qon/media/headless.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "qon/media_test/files.h"

namespace qon::media {
namespace {

namespace fs = std::filesystem;

std::string scratch(const std::string& name) {
    return media_test::ScratchFile(QON_TEST_SCRATCH_DIR, name);
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
    std::vector<InputEvent> script;
    int flips;  // frames presented before sampling
    bool spaceDown;
    ControllerState expected;
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

INSTANTIATE_TEST_SUITE_P(
    Table, ScriptTimingTest,
    ::testing::Values(
        ScriptCase{"FrameZeroActsFromTheStart", {keyDown(0, Vk::Space)}, 0, true, {0, 0, 0}},
        ScriptCase{"NotYetBeforeItsFrame", {keyDown(3, Vk::Space)}, 2, false, {0, 0, 0}},
        ScriptCase{"ActsAfterFrameBeforeIt", {keyDown(3, Vk::Space)}, 3, true, {0, 0, 0}},
        ScriptCase{"UpReleases", {keyDown(1, Vk::Right), keyUp(2, Vk::Right)}, 2, false, {0, 0, 0}},
        ScriptCase{"ArrowHeld", {keyDown(1, Vk::Right)}, 5, false, {1, 0, 0}},
        ScriptCase{"EnterIsSelectButton", {keyDown(0, Vk::Enter)}, 0, false, {0, 0, 8}},
        ScriptCase{"JoystickFromScript", {joy(2, 0, 65535, 4)}, 2, false, {-1, 1, 4}},
        ScriptCase{"JoystickCentredUntilItsEvent", {joy(5, 0, 0, 8)}, 1, false, {0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

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
    qon::media_test::WriteWav(kin);
    qon::media_test::WriteWav(bar);
    SoundEffectPtr a = media.LoadSoundEffect(kin);
    SoundEffectPtr b = media.LoadSoundEffect(bar);
    media.PlaySoundEffect(*a);
    media.PlaySoundEffect(*b);
    media.PlaySoundEffect(*a);
    EXPECT_EQ(media.TakeSounds(), (std::vector<std::string>{"SeKin", "SeBar", "SeKin"}));
    EXPECT_TRUE(media.TakeSounds().empty());
}

TEST(HeadlessSound, BrokenEffectFileIsAMediaError) {
    HeadlessMedia media;
    EXPECT_THROW(media.LoadSoundEffect(scratch("missing.wav")), MediaError);
    const std::string junk = scratch("junk.wav");
    std::ofstream(junk) << "RIFF but not really";
    EXPECT_THROW(media.LoadSoundEffect(junk), MediaError);
}

TEST(HeadlessMusic, CallsAreRecordedAndEmptyTracksAnswerFalse) {
    HeadlessMedia media;
    const std::string path = scratch("title.mid");
    qon::media_test::WriteMidi(path);
    MusicTrackPtr title = media.LoadMusic(path);
    title->label = "title";
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
    qon::media_test::WriteMidi(path);
    MusicTrackPtr stage = media.LoadMusic(path);
    stage->label = "stage:0";
    EXPECT_TRUE(media.ResumeMusic(stage.get()));
    EXPECT_EQ(media.TakeMusic(), (std::vector<std::string>{"play stage:0"}));
}

TEST(HeadlessMessages, AreRecordedAndDismissed) {
    HeadlessMedia media;
    media.ShowMessage("qon", "first");
    media.ShowMessage("qon", "second");
    EXPECT_EQ(media.TakeMessages(), (std::vector<std::string>{"first", "second"}));
}

TEST(HeadlessRandom, FixedSeedRepeatsAcrossInstances) {
    HeadlessMedia a(1234);
    HeadlessMedia b(1234);
    HeadlessMedia c(99);
    a.SeedRandom();
    b.SeedRandom();
    c.SeedRandom();
    bool differs = false;
    for (int i = 0; i < 50; ++i) {
        const int x = a.RandomInt(0, 1 << 20);
        ASSERT_EQ(x, b.RandomInt(0, 1 << 20));
        differs |= x != c.RandomInt(0, 1 << 20);
    }
    EXPECT_TRUE(differs);
}

}  // namespace
}  // namespace qon::media
