// SPDX-License-Identifier: MIT
#pragma once

// The music engine played through SDL2_mixer: it fills the mixer's music stream
// (Mix_HookMusic), so music and the effects on mixer channels sound together. It offers
// the media seam's music operations; the SDL platform forwards its own to these.
//
// Order of use: Mix_OpenAudio, start(), LoadMusic and the other operations, close(),
// Mix_CloseAudio. Without a sound device skip start(): tracks still load (so bad files
// are still reported) and the operations keep their bookkeeping, silently.

#include <memory>
#include <string>
#include <thread>

#include "qon/media/media.h"
#include "qon/music/music_engine.h"

namespace qon::platform {

class MixerMusic {
  public:
    MixerMusic();
    ~MixerMusic();
    MixerMusic(const MixerMusic&) = delete;
    MixerMusic& operator=(const MixerMusic&) = delete;

    // Hooks the engine to the open mixer at the mixer's rate, checks the soundfont and
    // starts loading it on a thread of its own, so start-up does not wait the tenth of a
    // second that takes. Returns false with a reason a person understands when the music
    // cannot sound (missing soundfont, an output format the engine cannot fill); the game
    // then plays on without music. Call before the first LoadMusic.
    bool start(const std::string& soundFontPath, std::string& reason);
    // Waits for the soundfont loading begun by start() and tells whether music sounds; a
    // failure found while loading (a damaged soundfont) comes with its reason. Returns at
    // once when loading is over; false when start() was not called or failed.
    bool ready(std::string& reason);
    // Unhooks the music stream; call before Mix_CloseAudio. Safe more than once.
    void close();

    // Throws MediaError naming the file when it is missing or not a standard MIDI file.
    media::MusicTrackPtr LoadMusic(const std::string& path);
    // Each returns false, doing nothing, on an empty track.
    bool UnloadMusic(media::MusicTrackPtr& track);
    bool PlayMusic(media::MusicTrack* track, int repeats);
    bool ResumeMusic(media::MusicTrack* track);
    bool StopMusic(media::MusicTrack* track);

    music::MusicEngine& engine() { return *m_engine; }

  private:
    struct Hook;
    // Shared with the tracks handed out, which unload themselves while it lives.
    std::shared_ptr<music::MusicEngine> m_engine;
    std::unique_ptr<Hook> m_hook;
    std::thread m_loader;
    bool m_loaded = false;
    std::string m_loadProblem;  // written by m_loader, read after joining it
    bool m_tracksLoaded = false;
};

}  // namespace qon::platform
