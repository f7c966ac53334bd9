// SPDX-License-Identifier: MIT
#pragma once

// The headless twin of the platform. It draws exactly what the SDL platform draws, into
// an in-memory back buffer, but:
// - time is virtual: every FlipScreen advances the clock by 1/60 s at once and every
//   Doze advances it by its milliseconds, so nothing ever sleeps;
// - input comes from a script of events bound to frame numbers;
// - sound effects, music calls and message boxes are recorded (and boxes dismissed);
//   the twin knows effects and tracks only as objects, so whoever reads the record
//   names them (SetNames);
// - the seed it hands out for play's random generator is a fixed one.
// Tests and the replay runner use it; identical scripts and seeds give identical runs.

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "qon/headless/raster_media.h"
#include "qon/media/controller.h"

namespace qon::headless {

// One scripted input event. It takes effect once `frame` frames have been presented
// (frame 0: from the start).
struct InputEvent {
    enum class Type { KeyDown, KeyUp, Joystick };
    int frame = 0;
    Type type = Type::KeyDown;
    int key = 0;                     // virtual key code, for KeyDown and KeyUp
    media::JoystickSample joystick;  // for Joystick
};

class HeadlessMedia : public RasterMedia {
  public:
    explicit HeadlessMedia(std::uint32_t seed = 1);

    // Replaces the script. Events of one frame apply in the given order. With
    // `joystickPresent`, InitJoystick finds a joystick with axes 0 to 65535, centred and
    // with no button down until a Joystick event says otherwise.
    void SetScript(std::vector<InputEvent> events, bool joystickPresent);

    // Called after each presented frame with its number (0 for the first), before the
    // events of the next frame apply. It may throw (QuitRequested ends the run).
    void SetFlipCallback(std::function<void(int frame)> callback);

    // Presses or releases a key at once, as a script event would. For a player that
    // decides after each presented frame (from the flip callback): the keys it sets there
    // hold for the next frame, after which that frame's script events still apply.
    void SetKey(int virtualKey, bool down);

    int framesPresented() const { return m_frames; }
    // The virtual clock in microseconds.
    std::int64_t clockMicros() const { return m_clockMicros; }

    // How recorded effects and tracks are named, asked at the moment of each call (an
    // unloaded track is gone by the time anyone reads the record). Unset, they read
    // "(unnamed)" and "(unlabelled)".
    using EffectNamer = std::function<std::string(const media::SoundEffect&)>;
    using TrackNamer = std::function<std::string(const media::MusicTrack&)>;
    void SetNames(EffectNamer effects, TrackNamer tracks);

    // What happened since the previous take, in order.
    std::vector<std::string> TakeSounds();
    std::vector<std::string> TakeMusic();
    std::vector<std::string> TakeMessages();

    // -- Media --
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
    std::uint32_t RandomSeed() override { return m_seed; }

  private:
    void applyEventsUpTo(int frame);
    std::string nameOf(const media::MusicTrack& track) const;

    std::uint32_t m_seed;
    int m_frames = 0;
    std::int64_t m_clockMicros = 0;

    std::vector<InputEvent> m_script;
    std::size_t m_nextEvent = 0;
    bool m_joystickPresent = false;
    bool m_joystickInUse = false;
    media::JoystickSample m_joystick;
    media::JoystickLimits m_limits;
    std::set<int> m_keysDown;
    bool m_quitPending = false;

    std::function<void(int)> m_onFlip;
    EffectNamer m_effectName;
    TrackNamer m_trackName;
    std::vector<std::string> m_sounds;
    std::vector<std::string> m_music;
    std::vector<std::string> m_messages;
};

}  // namespace qon::headless
