// SPDX-License-Identifier: MIT
#pragma once

// The real platform: one SDL window (full screen on the desktop, letterboxed; Alt+Enter
// toggles a scalable window), 60 Hz pacing on a monotonic clock, keyboard, joysticks and
// game controllers, SDL2_mixer sound effects on one channel each, and MIDI music from one
// FluidSynth synthesizer mixed into SDL2_mixer's music stream.
//
// The window is drawn through the GPU or, on a machine without a working GPU driver,
// without it (the environment variable QON_RENDERER=software|gpu|auto chooses; auto by
// default). Either way only what changed between two frames is uploaded, and a frame the
// same as the one on screen is not presented at all.

#include <cstdint>
#include <memory>
#include <string>

#include "qon/headless/raster_media.h"

namespace qon::platform {

// What presenting has cost so far.
struct PresentStats {
    std::uint64_t frames = 0;       // frames given to present
    std::uint64_t unchanged = 0;    // of them, the same as the one on screen: nothing done
    std::uint64_t repaints = 0;     // whole-window repaints (first frame, expose, resize)
    std::uint64_t framePixels = 0;  // frame pixels uploaded, repaints included
};

class SdlMedia : public headless::RasterMedia {
  public:
    SdlMedia();
    ~SdlMedia() override;

    // Window caption and start mode; set before InitDisplay.
    void setCaption(std::string caption);
    void setStartFullScreen(bool fullScreen);

    bool InitDisplay(std::string& reason) override;
    bool InitSound(std::string& reason) override;
    bool soundAvailable() const override;
    void ReleaseMedia() override;
    void HideMouseCursor() override;
    void ShowMouseCursor() override;

    void FlipScreen() override;
    media::SoundEffectPtr LoadSoundEffect(const std::string& path) override;
    void PlaySoundEffect(media::SoundEffect& effect) override;
    media::MusicTrackPtr LoadMusic(const std::string& path) override;
    bool UnloadMusic(media::MusicTrackPtr& track) override;
    bool PlayMusic(media::MusicTrack* track, int repeats) override;
    bool ResumeMusic(media::MusicTrack* track) override;
    bool StopMusic(media::MusicTrack* track) override;
    void InitJoystick(int deadZone) override;
    void ReadController() override;
    bool IsKeyDown(int virtualKey) override;
    std::int32_t Tick() override;
    void PumpEvents() override;
    void Doze(int ms) override;
    void ShowMessage(const std::string& title, const std::string& text) override;
    // A clock reading.
    std::uint32_t RandomSeed() override;

    // After InitDisplay: whether the window is drawn through the GPU, and what presenting
    // has cost so far.
    bool drawsWithGpu() const;
    const PresentStats& presentStats() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> m_sdl;
};

}  // namespace qon::platform
