// SPDX-License-Identifier: MIT
#pragma once

// The game's seam to the platform: display and surfaces, drawing, sound and music,
// input, timing and message boxes. Play and the shell see only this header; the SDL
// platform (qon_platform) and the headless twin (qon_headless: virtual clock, scripted
// input, recorded sound) both implement it. No SDL type appears here, and nothing the
// platform does not need: the random generator belongs to play, and the names that
// traces give effects, tracks and screens belong to whoever writes the trace.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "qon/data/error.h"

namespace qon::media {

// ---- small value types -------------------------------------------------------

// Rectangles are (left, top, right, bottom) with right and bottom exclusive.
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// True when a and b overlap (the larger left below the smaller right and the larger
// top below the smaller bottom); c then receives the overlap, otherwise it is emptied.
// Rectangles that only share an edge do not overlap.
inline bool RectsIntersect(const Rect& a, const Rect& b, Rect& c);

// RGB colour as drawing and text take it: red + 256 * green + 65536 * blue.
constexpr std::uint32_t Rgb(int red, int green, int blue) {
    return static_cast<std::uint32_t>(red) + 256u * static_cast<std::uint32_t>(green) +
           65536u * static_cast<std::uint32_t>(blue);
}

// Virtual key codes the game tests.
namespace Vk {
inline constexpr int Enter = 13;
inline constexpr int Esc = 27;
inline constexpr int Space = 32;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int E = 69;
inline constexpr int Z = 90;
}  // namespace Vk

// Keys that act as controller buttons 1 to 4 (0 = none). Enter is button 4, the menus'
// "select" (mask 8); Z is button 3, which launches the ball and skips the title slide-in
// (mask 4). Buttons 1 and 2 have no key: the game never tests them alone.
inline constexpr int KeyAssign[4] = {0, 0, Vk::Z, Vk::Enter};

// ---- errors and ending -------------------------------------------------------

// A media operation failed in a way the player should hear about: a bitmap, wave or
// MIDI file that is missing or unreadable. what() names the file, quoted as data errors
// quote it (QuotedPath), and the reason.
class MediaError : public std::runtime_error {
  public:
    MediaError(std::string file, std::string reason)
        : std::runtime_error(QuotedPath(file) + ": " + reason),
          m_file(std::move(file)),
          m_reason(std::move(reason)) {}
    const std::string& file() const { return m_file; }
    const std::string& reason() const { return m_reason; }

  private:
    std::string m_file;
    std::string m_reason;
};

// Thrown out of PumpEvents when the player ends the program (the key E, or a window
// close request). It unwinds every screen to the entry point, which releases the media
// layer and exits normally.
struct QuitRequested {};

// ---- owned resources ---------------------------------------------------------

class Surface {
  public:
    virtual ~Surface() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
};
using SurfacePtr = std::unique_ptr<Surface>;

class SoundEffect {
  public:
    virtual ~SoundEffect() = default;
};
using SoundEffectPtr = std::unique_ptr<SoundEffect>;

// A loaded MIDI file. An empty MusicTrackPtr is "no track": the music operations do
// nothing on it and return false.
class MusicTrack {
  public:
    virtual ~MusicTrack() = default;
};
using MusicTrackPtr = std::unique_ptr<MusicTrack>;

// ---- controller --------------------------------------------------------------

// The merged controller state, rewritten by every ReadController.
struct ControllerState {
    std::int16_t ControllerX = 0;        // -1 left, 0 centre, +1 right
    std::int16_t ControllerY = 0;        // -1 up, 0 centre, +1 down
    std::int32_t ControllerButtons = 0;  // 1, 2, 4, 8: buttons 1 to 4
};

// ---- the seam ----------------------------------------------------------------

class Media {
  public:
    virtual ~Media() = default;

    // -- display and surfaces --
    // The 640 x 480 RGB565 surface every screen draws into.
    virtual Surface& BackBuffer() = 0;
    virtual SurfacePtr CreateOffscreenSurface(int width, int height) = 0;
    // Loads a .bmp; its colour key is the colour of pixel (0, 0). Throws MediaError.
    virtual SurfacePtr LoadSurfaceFromFile(const std::string& path) = 0;
    // Copies the w x h rectangle at (sx, sy) of src to (x, y) of dst; clipped; keyed
    // blits skip pixels of src's key colour. Returns 0 when done.
    virtual int BltSprite(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx,
                          int sy, bool keyed) = 0;
    virtual int BltStretch(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx,
                           int sy, int sw, int sh, bool keyed) = 0;
    // Fills the whole surface with a surface-native colour.
    virtual void FillSurface(Surface& surface, std::uint32_t nativeColour) = 0;
    // The surface-native (RGB565) value of an RGB colour.
    virtual std::uint32_t ToSurfaceColor(std::uint32_t rgb) = 0;
    // Presents BackBuffer and paces to 60 frames a second (sleeping, never spinning).
    virtual void FlipScreen() = 0;

    // -- drawing; colours are RGB, styles: draw style 0 solid, fill style 0 solid, 1 none --
    virtual void DrawLine(Surface& s, int x1, int y1, int x2, int y2, std::uint32_t fore,
                          std::uint32_t fill, int drawStyle, int fillStyle, int lineWidth) = 0;
    virtual void DrawBox(Surface& s, int x1, int y1, int x2, int y2, std::uint32_t fore,
                         std::uint32_t fill, int drawStyle, int fillStyle, int lineWidth) = 0;
    virtual void DrawCircle(Surface& s, int x, int y, int radius, std::uint32_t fore,
                            std::uint32_t fill, int drawStyle, int fillStyle, int lineWidth) = 0;
    // Text in the game's one font face, bold, `size` points at 96 DPI, top-left at (x, y).
    // Opaque text has a black background.
    virtual void DrawString(Surface& s, int x, int y, std::string_view text, std::uint32_t colour,
                            bool transparent, int size) = 0;

    // -- sound and music; an empty track pointer makes the music calls return false --
    virtual SoundEffectPtr LoadSoundEffect(const std::string& path) = 0;  // throws MediaError
    virtual void PlaySoundEffect(SoundEffect& effect) = 0;         // restarts it when still playing
    virtual MusicTrackPtr LoadMusic(const std::string& path) = 0;  // throws MediaError
    virtual bool UnloadMusic(MusicTrackPtr& track) = 0;
    // Plays from the start; `repeats` is the number of repeats after the first play.
    virtual bool PlayMusic(MusicTrack* track, int repeats) = 0;
    // Plays on from where this track's last play had got to.
    virtual bool ResumeMusic(MusicTrack* track) = 0;
    virtual bool StopMusic(MusicTrack* track) = 0;

    // -- input --
    // Chooses the first answering joystick or game controller and sets the thresholds.
    virtual void InitJoystick(int deadZone) = 0;
    // Samples joystick and keyboard into controller().
    virtual void ReadController() = 0;
    const ControllerState& controller() const { return m_controller; }
    // True when the key is down as of the last pumped events.
    virtual bool IsKeyDown(int virtualKey) = 0;

    // -- timing and events --
    // Milliseconds on a monotonic clock (virtual in the headless twin).
    virtual std::int32_t Tick() = 0;
    // Lets pending window events run once. Throws QuitRequested on E or window close.
    virtual void PumpEvents() = 0;
    // Sleeps about `ms` milliseconds without spinning (advances the virtual clock in the
    // headless twin).
    virtual void Doze(int ms) = 0;

    // frame mark := Tick().
    void MarkFrame() { m_frameMark = Tick(); }
    // Returns when Tick() > frame mark + ms, pumping events between tests.
    void WaitFrame(int ms);
    // Returns when Tick() >= start + ms, pumping events between tests.
    void WaitMs(int ms);

    // -- seeding --
    // A seed for play's random generator: a clock reading on the SDL platform, the
    // fixed seed of a run on the headless twin.
    virtual std::uint32_t RandomSeed() = 0;

    // -- message boxes --
    // Shows a message box with an OK button (and writes it to stderr).
    virtual void ShowMessage(const std::string& title, const std::string& text) = 0;

    // -- start-up and shutdown --
    // Each Init returns false with a reason a person understands when the service cannot
    // start. Running without a sound device is not a failure: InitSound then succeeds and
    // the game plays silent (soundAvailable() tells).
    virtual bool InitDisplay(std::string& reason) {
        (void)reason;
        return true;
    }
    virtual bool InitSound(std::string& reason) {
        (void)reason;
        return true;
    }
    // Opens the game's font face; text cannot be drawn before it succeeds.
    virtual bool InitFont(std::string& reason) {
        (void)reason;
        return true;
    }
    virtual bool soundAvailable() const { return false; }
    // Releases music, sound and display, in this order. Safe to call more than once.
    virtual void ReleaseMedia() {}
    virtual void HideMouseCursor() {}
    virtual void ShowMouseCursor() {}

  protected:
    ControllerState m_controller;

  private:
    std::int32_t m_frameMark = 0;
};

// ---- shared definitions -----------------------------------------------------
// These live here rather than in the SDL library so that code seeing only this header
// (play and its tests) links without SDL.

inline bool RectsIntersect(const Rect& a, const Rect& b, Rect& c) {
    const std::int32_t left = a.left > b.left ? a.left : b.left;
    const std::int32_t right = a.right < b.right ? a.right : b.right;
    const std::int32_t top = a.top > b.top ? a.top : b.top;
    const std::int32_t bottom = a.bottom < b.bottom ? a.bottom : b.bottom;
    if (left < right && top < bottom) {
        c = Rect{left, top, right, bottom};
        return true;
    }
    c = Rect{};
    return false;
}

// Both waits pump events between tests and doze a millisecond, so window events (the
// quit key) run inside them and no core is spun. On the headless twin a doze advances
// the virtual clock, so the waits end without real time passing.
inline void Media::WaitFrame(int ms) {
    while (!(Tick() > m_frameMark + ms)) {
        PumpEvents();
        Doze(1);
    }
}

inline void Media::WaitMs(int ms) {
    const std::int32_t start = Tick();
    while (!(Tick() >= start + ms)) {
        PumpEvents();
        Doze(1);
    }
}

}  // namespace qon::media
