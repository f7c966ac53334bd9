// SPDX-License-Identifier: MIT
// qon-startup-probe: the real game start-up (SdlMedia and GameShell::Form_Load, exactly
// as qon's main runs them) that stops as soon as its first frame has been presented.
// It prints when each step ended (see startup_marks.h) and exits. qon-startup-bench runs
// it as a child process, so every run is a fresh process start.
//
// Usage: qon-startup-probe [--window] GAMEFOLDER
//   --window  start in a window rather than full screen on the desktop (to tell how
//             much of the display's start-up the switch to full screen costs)
// Exit status 0 once the first frame was presented, 1 otherwise (the game's message is
// on standard error).

#include <time.h>

#include <cstdio>
#include <string>

#include "qon/platform/sdl_media.h"
#include "qon/shell/shell.h"
#include "startup_marks.h"

namespace {

std::int64_t monotonicNanos() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

enum Step { kMain, kDisplay, kSound, kFont, kLogo, kEffects, kDraw, kFlip, kPresent, kPresented };

// The SDL platform with a stopwatch on the start-up steps. The first frame ends the
// game the way the quit key does, so the shell releases the media layer as usual.
class ProbeMedia final : public qon::platform::SdlMedia {
  public:
    qon::bench::StartupMarks marks{};

    bool InitDisplay(std::string& reason) override {
        const bool ok = SdlMedia::InitDisplay(reason);
        marks[kDisplay] = monotonicNanos();
        return ok;
    }
    bool InitSound(std::string& reason) override {
        const bool ok = SdlMedia::InitSound(reason);
        marks[kSound] = monotonicNanos();
        return ok;
    }
    bool InitFont(std::string& reason) override {
        const bool ok = SdlMedia::InitFont(reason);
        marks[kFont] = monotonicNanos();
        return ok;
    }
    qon::media::SurfacePtr LoadSurfaceFromFile(const std::string& path) override {
        qon::media::SurfacePtr surface = SdlMedia::LoadSurfaceFromFile(path);
        if (marks[kLogo] == 0) marks[kLogo] = monotonicNanos();
        return surface;
    }
    qon::media::SoundEffectPtr LoadSoundEffect(const std::string& path) override {
        qon::media::SoundEffectPtr effect = SdlMedia::LoadSoundEffect(path);
        marks[kEffects] = monotonicNanos();  // the last of the eight wins
        return effect;
    }
    void FillSurface(qon::media::Surface& surface, std::uint32_t nativeColour) override {
        // PrepareGame fills the back buffer right after it has read the lists and
        // "Init.bse": the first frame's drawing begins here.
        if (marks[kDraw] == 0 && &surface == &BackBuffer()) marks[kDraw] = monotonicNanos();
        SdlMedia::FillSurface(surface, nativeColour);
    }
    void PumpEvents() override {
        // FlipScreen pumps between the dozes of its pacing wait, which begins right
        // after the present.
        if (marks[kFlip] != 0 && marks[kPresent] == 0) marks[kPresent] = monotonicNanos();
        SdlMedia::PumpEvents();
    }
    void FlipScreen() override {
        marks[kFlip] = monotonicNanos();
        SdlMedia::FlipScreen();
        marks[kPresented] = monotonicNanos();
        // A flip that did not wait (the present paced by vsync) had no pump.
        if (marks[kPresent] == 0) marks[kPresent] = marks[kPresented];
        throw qon::media::QuitRequested{};
    }
};

}  // namespace

int main(int argc, char** argv) {
    const std::int64_t entered = monotonicNanos();
    const bool window = argc == 3 && std::string(argv[1]) == "--window";
    if (argc != 2 && !window) {
        std::fprintf(stderr, "usage: qon-startup-probe [--window] GAMEFOLDER\n");
        return 2;
    }
    const std::string folder = argv[argc - 1];
    ProbeMedia media;
    media.marks[kMain] = entered;
    if (window) media.setStartFullScreen(false);
    qon::shell::GameShell shell(media, folder);
    (void)shell.Form_Load();
    if (media.marks[kPresented] == 0) {
        std::fprintf(stderr, "qon-startup-probe: %s: the game ended before its first frame\n",
                     folder.c_str());
        return 1;
    }
    std::printf("%s\n", qon::bench::FormatStartupMarks(media.marks).c_str());
    return 0;
}
