// SPDX-License-Identifier: MIT
// The SDL platform on SDL's dummy video and audio drivers (set for every test by the
// build): start-up, presenting through the window's own surface, the quit events, input,
// sound effects and release.

#include "qon/platform/sdl_media.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "qon/test_support/bytes.h"
#include "qon/test_support/media_bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::platform {
namespace {

QON_PRINT_ROWS_BY_NAME

using namespace qon::media;

namespace fs = std::filesystem;

// Every test runs in a process of its own, so one folder per process is private to it.
std::string scratch(const std::string& name) {
    static const test_support::ScratchFolder folder;
    return folder.file(name);
}

class SdlMediaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The dummy driver's window never has focus, and SDL drops device input for an
        // unfocused program unless told otherwise.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        std::string reason;
        ASSERT_TRUE(media.InitDisplay(reason)) << reason;
    }
    void TearDown() override { media.ReleaseMedia(); }

    SdlMedia media;
};

TEST_F(SdlMediaTest, SecondInitialisationIsRefused) {
    std::string reason;
    EXPECT_FALSE(media.InitDisplay(reason));
    media.FlipScreen();  // the first one still works
}

struct QuitCase {
    const char* name;
    SDL_Event event{};
};

SDL_Event keyEvent(SDL_Scancode code, Uint16 mod) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.scancode = code;
    e.key.keysym.mod = mod;
    return e;
}

SDL_Event quitEvent() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    return e;
}

class SdlQuitTest : public SdlMediaTest, public ::testing::WithParamInterface<QuitCase> {};

TEST_P(SdlQuitTest, EndsThroughPumpEvents) {
    media.PumpEvents();  // drain whatever start-up queued
    SDL_Event event = GetParam().event;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    EXPECT_THROW(media.PumpEvents(), QuitRequested);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SdlQuitTest,
    ::testing::Values(QuitCase{.name = "KeyE", .event = keyEvent(SDL_SCANCODE_E, 0)},
                      QuitCase{.name = "ShiftE", .event = keyEvent(SDL_SCANCODE_E, KMOD_LSHIFT)},
                      QuitCase{.name = "WindowClose", .event = quitEvent()}),
    ::qon::test_support::RowName);

TEST_F(SdlMediaTest, OtherKeysDoNotQuit) {
    media.PumpEvents();
    SDL_Event space = keyEvent(SDL_SCANCODE_SPACE, 0);
    SDL_Event altEnter = keyEvent(SDL_SCANCODE_RETURN, KMOD_LALT);
    SDL_PushEvent(&space);
    SDL_PushEvent(&altEnter);
    EXPECT_NO_THROW(media.PumpEvents());
}

TEST_F(SdlMediaTest, NoControllerDeviceMeansKeyboardOnly) {
    media.InitJoystick(16384);
    media.ReadController();
    EXPECT_EQ(media.controller().ControllerX, 0);
    EXPECT_EQ(media.controller().ControllerY, 0);
    EXPECT_EQ(media.controller().ControllerButtons, 0);
}

// A virtual device stands in for a real pad: raw joysticks report their own button bits,
// game controllers are read through their mapping (A launches, B chooses, d-pad steers).
struct DeviceCase {
    const char* name;
    SDL_JoystickType type{};
    int axis{};  // raw axis index to set, -1 for none
    Sint16 axisValue{};
    int button{};  // raw button index to press, -1 for none
    int hat{};     // hat value, or -1
    ControllerState expected{};
};

class SdlDeviceTest : public SdlMediaTest, public ::testing::WithParamInterface<DeviceCase> {
  protected:
    void TearDown() override {
        media.ReleaseMedia();  // closes the device before it is detached
        if (m_device >= 0) SDL_JoystickDetachVirtual(m_device);
    }
    int m_device = -1;
};

TEST_P(SdlDeviceTest, ReadsAxesButtonsAndHats) {
    const DeviceCase& row = GetParam();
    const bool pad = row.type == SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    m_device = SDL_JoystickAttachVirtual(row.type, pad ? SDL_CONTROLLER_AXIS_MAX : 2,
                                         pad ? SDL_CONTROLLER_BUTTON_MAX : 6, pad ? 0 : 1);
    ASSERT_GE(m_device, 0) << SDL_GetError();
    media.PumpEvents();
    media.InitJoystick(16384);
    SDL_Joystick* joystick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(m_device));
    ASSERT_NE(joystick, nullptr);
    ASSERT_EQ(SDL_IsGameController(m_device) == SDL_TRUE, pad);
    if (row.axis >= 0) SDL_JoystickSetVirtualAxis(joystick, row.axis, row.axisValue);
    if (row.button >= 0) SDL_JoystickSetVirtualButton(joystick, row.button, SDL_PRESSED);
    if (row.hat >= 0) SDL_JoystickSetVirtualHat(joystick, 0, static_cast<Uint8>(row.hat));
    SDL_JoystickUpdate();
    media.PumpEvents();
    media.ReadController();
    EXPECT_EQ(media.controller().ControllerX, row.expected.ControllerX);
    EXPECT_EQ(media.controller().ControllerY, row.expected.ControllerY);
    EXPECT_EQ(media.controller().ControllerButtons, row.expected.ControllerButtons);
}

INSTANTIATE_TEST_SUITE_P(Table, SdlDeviceTest,
                         ::testing::Values(DeviceCase{.name = "RawStickLeft",
                                                      .type = SDL_JOYSTICK_TYPE_UNKNOWN,
                                                      .axisValue = -32768,
                                                      .button = -1,
                                                      .hat = -1,
                                                      .expected = {-1, 0, 0}},
                                           DeviceCase{.name = "RawStickInsideDeadZone",
                                                      .type = SDL_JOYSTICK_TYPE_UNKNOWN,
                                                      .axisValue = 16000,
                                                      .button = -1,
                                                      .hat = -1,
                                                      .expected = {0, 0, 0}},
                                           DeviceCase{.name = "RawStickDown",
                                                      .type = SDL_JOYSTICK_TYPE_UNKNOWN,
                                                      .axis = 1,
                                                      .axisValue = 32767,
                                                      .button = -1,
                                                      .hat = -1,
                                                      .expected = {0, 1, 0}},
                                           DeviceCase{.name = "RawButtonFourIsMaskEight",
                                                      .type = SDL_JOYSTICK_TYPE_UNKNOWN,
                                                      .axis = -1,
                                                      .button = 3,
                                                      .hat = -1,
                                                      .expected = {0, 0, 8}},
                                           DeviceCase{.name = "RawButtonFiveSetsNoBit",
                                                      .type = SDL_JOYSTICK_TYPE_UNKNOWN,
                                                      .axis = -1,
                                                      .button = 4,
                                                      .hat = -1,
                                                      .expected = {0, 0, 0}},
                                           DeviceCase{.name = "RawButtonOneIsMaskOne",
                                                      .type = SDL_JOYSTICK_TYPE_UNKNOWN,
                                                      .axis = -1,
                                                      .hat = -1,
                                                      .expected = {0, 0, 1}},
                                           DeviceCase{.name = "RawHatRight",
                                                      .type = SDL_JOYSTICK_TYPE_UNKNOWN,
                                                      .axis = -1,
                                                      .button = -1,
                                                      .hat = SDL_HAT_RIGHT,
                                                      .expected = {1, 0, 0}},
                                           DeviceCase{.name = "PadStickRight",
                                                      .type = SDL_JOYSTICK_TYPE_GAMECONTROLLER,
                                                      .axis = SDL_CONTROLLER_AXIS_LEFTX,
                                                      .axisValue = 32767,
                                                      .button = -1,
                                                      .hat = -1,
                                                      .expected = {1, 0, 0}},
                                           DeviceCase{.name = "PadALaunches",
                                                      .type = SDL_JOYSTICK_TYPE_GAMECONTROLLER,
                                                      .axis = -1,
                                                      .button = SDL_CONTROLLER_BUTTON_A,
                                                      .hat = -1,
                                                      .expected = {0, 0, 4}},
                                           DeviceCase{.name = "PadBChooses",
                                                      .type = SDL_JOYSTICK_TYPE_GAMECONTROLLER,
                                                      .axis = -1,
                                                      .button = SDL_CONTROLLER_BUTTON_B,
                                                      .hat = -1,
                                                      .expected = {0, 0, 8}},
                                           DeviceCase{.name = "PadDpadUp",
                                                      .type = SDL_JOYSTICK_TYPE_GAMECONTROLLER,
                                                      .axis = -1,
                                                      .button = SDL_CONTROLLER_BUTTON_DPAD_UP,
                                                      .hat = -1,
                                                      .expected = {0, -1, 0}}),
                         ::qon::test_support::RowName);

TEST_F(SdlMediaTest, PadStartActsAsEsc) {
    const int device = SDL_JoystickAttachVirtual(
        SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(device, 0) << SDL_GetError();
    media.PumpEvents();
    media.InitJoystick(16384);
    SDL_Joystick* joystick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(device));
    EXPECT_FALSE(media.IsKeyDown(Vk::Esc));
    SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_START, SDL_PRESSED);
    SDL_JoystickUpdate();
    media.PumpEvents();
    EXPECT_TRUE(media.IsKeyDown(Vk::Esc));
    media.ReleaseMedia();
    SDL_JoystickDetachVirtual(device);
}

TEST_F(SdlMediaTest, UnpluggedDeviceReadsAsNoDevice) {
    const int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 4, 0);
    ASSERT_GE(device, 0) << SDL_GetError();
    media.PumpEvents();
    media.InitJoystick(16384);
    SDL_JoystickDetachVirtual(device);
    media.PumpEvents();
    media.ReadController();
    // Not "held up and left", which a dead device's zero axes would read as.
    EXPECT_EQ(media.controller().ControllerX, 0);
    EXPECT_EQ(media.controller().ControllerY, 0);
}

TEST_F(SdlMediaTest, EffectsLoadAndPlayOnTheDummyDevice) {
    std::string reason;
    ASSERT_TRUE(media.InitSound(reason));
    const std::string path = scratch("SeBar.wav");
    test_support::WriteBytes(path, test_support::WavBytes());
    SoundEffectPtr effect = media.LoadSoundEffect(path);
    ASSERT_TRUE(effect);
    media.PlaySoundEffect(*effect);
    media.PlaySoundEffect(*effect);  // a retrigger restarts it
    EXPECT_THROW(media.LoadSoundEffect(scratch("SeNone.wav")), MediaError);
}

// ---- presenting -----------------------------------------------------------------------

// The game's window (each test runs in a process of its own, with one window).
SDL_Window* gameWindow() {
    for (Uint32 id = 1; id < 64; ++id) {
        if (SDL_Window* window = SDL_GetWindowFromID(id)) return window;
    }
    return nullptr;
}

// The window surface's pixel as 0xRRGGBB.
Uint32 shownAt(int x, int y) {
    SDL_Surface* surface = SDL_GetWindowSurface(gameWindow());
    if (surface == nullptr || x >= surface->w || y >= surface->h) return 0xDEADBEEF;
    Uint32 pixel = 0;
    std::memcpy(&pixel,
                static_cast<const Uint8*>(surface->pixels) + y * surface->pitch +
                    x * surface->format->BytesPerPixel,
                surface->format->BytesPerPixel);
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(pixel, surface->format, &r, &g, &b);
    return static_cast<Uint32>(r << 16 | g << 8 | b);
}

class SdlPresentTest : public SdlMediaTest {
  protected:
    void paint(std::uint32_t rgb) {
        media.FillSurface(media.BackBuffer(), media.ToSurfaceColor(rgb));
    }
    void dot(int x, int y, std::uint32_t rgb) {
        media.DrawBox(media.BackBuffer(), x, y, x + 1, y + 1, rgb, rgb, 5, 0, 1);
    }
};

TEST_F(SdlPresentTest, FramesReachTheWindowScaledWithoutGpu) {
    ASSERT_NE(gameWindow(), nullptr);
    EXPECT_FALSE(media.drawsWithGpu());  // the dummy driver has no GPU
    paint(Rgb(255, 0, 0));
    dot(100, 100, Rgb(255, 255, 255));
    media.FlipScreen();
    // Full screen on the dummy display: 1024 x 768, the frame scaled by 1.6 without bars.
    int w = 0, h = 0;
    SDL_GetWindowSize(gameWindow(), &w, &h);
    ASSERT_EQ(w, 1024);
    ASSERT_EQ(h, 768);
    EXPECT_EQ(shownAt(0, 0), 0xFF0000u);
    EXPECT_EQ(shownAt(1023, 767), 0xFF0000u);
    EXPECT_EQ(shownAt(160, 160), 0xFFFFFFu);  // 160.5 / 1.6 = 100.3
    EXPECT_EQ(shownAt(162, 162), 0xFF0000u);  // 162.5 / 1.6 = 101.6
    EXPECT_EQ(media.presentStats().frames, 1u);
    EXPECT_EQ(media.presentStats().repaints, 1u);
}

TEST_F(SdlPresentTest, AnUnchangedFrameIsNotPresentedAndAChangeUploadsItsTile) {
    paint(Rgb(0, 0, 255));
    media.FlipScreen();
    const std::uint64_t firstPixels = media.presentStats().framePixels;
    EXPECT_EQ(firstPixels, 640u * 480u);
    paint(Rgb(0, 0, 255));  // drawn again, the same
    media.FlipScreen();
    EXPECT_EQ(media.presentStats().unchanged, 1u);
    EXPECT_EQ(media.presentStats().framePixels, firstPixels);

    dot(100, 100, Rgb(0, 255, 0));
    media.FlipScreen();
    EXPECT_EQ(media.presentStats().unchanged, 1u);
    EXPECT_EQ(media.presentStats().framePixels, firstPixels + 16u * 16u);
    EXPECT_EQ(shownAt(160, 160), 0x00FF00u);
    EXPECT_EQ(shownAt(150, 150), 0x0000FFu);
}

TEST_F(SdlPresentTest, AnExposeRepaintsTheWholeWindow) {
    paint(Rgb(0, 255, 0));
    media.FlipScreen();
    media.PumpEvents();  // whatever start-up queued
    const std::uint64_t repaints = media.presentStats().repaints;
    SDL_Surface* surface = SDL_GetWindowSurface(gameWindow());
    ASSERT_NE(surface, nullptr);
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 9, 9, 9));  // the picture is lost
    SDL_Event expose{};
    expose.type = SDL_WINDOWEVENT;
    expose.window.event = SDL_WINDOWEVENT_EXPOSED;
    expose.window.windowID = SDL_GetWindowID(gameWindow());
    ASSERT_EQ(SDL_PushEvent(&expose), 1);
    media.PumpEvents();
    EXPECT_EQ(media.presentStats().repaints, repaints + 1);
    EXPECT_EQ(shownAt(0, 0), 0x00FF00u);
    EXPECT_EQ(shownAt(700, 500), 0x00FF00u);
}

TEST_F(SdlPresentTest, LeavingFullScreenRepaintsAtTheWindowSize) {
    paint(Rgb(255, 0, 0));
    dot(0, 0, Rgb(255, 255, 255));
    media.FlipScreen();
    media.PumpEvents();
    SDL_Event altEnter = keyEvent(SDL_SCANCODE_RETURN, KMOD_LALT);
    ASSERT_EQ(SDL_PushEvent(&altEnter), 1);
    media.PumpEvents();
    ASSERT_FALSE(SDL_GetWindowFlags(gameWindow()) & SDL_WINDOW_FULLSCREEN);
    int w = 0, h = 0;
    SDL_GetWindowSize(gameWindow(), &w, &h);
    ASSERT_EQ(w, 640);  // the dummy display is too small for twice the size
    ASSERT_EQ(h, 480);
    // One to one, not the full screen's scale of 1.6.
    EXPECT_EQ(shownAt(0, 0), 0xFFFFFFu);
    EXPECT_EQ(shownAt(1, 1), 0xFF0000u);
    EXPECT_EQ(shownAt(639, 479), 0xFF0000u);
}

TEST(SdlCursor, StaysHiddenInAWindowToo) {
    SdlMedia media;
    media.setStartFullScreen(false);
    media.HideMouseCursor();
    std::string reason;
    ASSERT_TRUE(media.InitDisplay(reason)) << reason;
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    media.ShowMouseCursor();
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    media.ReleaseMedia();
}

TEST_F(SdlMediaTest, ReleaseIsSafeTwiceAndAfterwardsFlipDoesNothing) {
    media.ReleaseMedia();
    media.ReleaseMedia();
    EXPECT_NO_THROW(media.FlipScreen());
    EXPECT_NO_THROW(media.PumpEvents());
}

}  // namespace
}  // namespace qon::platform
