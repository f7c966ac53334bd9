// SPDX-License-Identifier: MIT
#pragma once

// The game's music: standard MIDI files sequenced here and sounded by one FluidSynth
// synthesizer with one soundfont shared by every track, so a music set of many tracks
// costs little more than one.
//
// Sequencing rules:
//  - one track sounds at a time: playing or resuming a track replaces the one sounding;
//  - play starts a track from its beginning; `repeats` is the number of plays after the
//    first (negative: repeat for ever);
//  - stop remembers where the track had got to; resume continues from there with the
//    repeat count of the track's last play in force again (the plays already made are not
//    counted off);
//  - stopping or replacing releases every note (pedals up, then all notes off), so notes
//    end with their natural release instead of a click or a hanging note.
//
// Threads: render() runs on the audio thread, every other call on the game's thread. One
// mutex serialises them. render() takes it per slice of at most kSliceFrames frames, gives
// way between slices to a game-thread call that waits for it, and sends at most
// kMaxEventsPerSlice events in a slice: a chord of thousands of notes at one instant is
// spread over as many slices as it needs (the piece waits meanwhile). So the game's calls
// never wait longer than one slice. The control calls do their file work before taking
// the mutex.

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "qon/music/midi_file.h"

struct _fluid_hashtable_t;
struct _fluid_synth_t;

namespace qon::music {

class MusicEngine {
  public:
    using TrackId = std::uint32_t;
    static constexpr TrackId kNoTrack = 0;
    static constexpr const char* kDefaultSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    static constexpr int kSliceFrames = 256;
    // Events sent to the synthesizer in one slice at most. Real pieces rarely start more
    // than a few dozen notes at one instant; the synthesizer's queue of voice events holds
    // many times this.
    static constexpr int kMaxEventsPerSlice = 64;
    // Voices the synthesizer sounds at once; a note beyond them takes the place of the
    // oldest.
    static constexpr int kPolyphony = 256;

    explicit MusicEngine(int sampleRate = 44100);
    ~MusicEngine();
    MusicEngine(const MusicEngine&) = delete;
    MusicEngine& operator=(const MusicEngine&) = delete;

    // Creates the synthesizer and loads the soundfont. Returns false with a reason naming
    // the file when it is missing or not a soundfont; the engine then stays silent but
    // still loads and sequences tracks, so the game behaves the same without music.
    // Loading takes about a tenth of a second; it may run on another thread while the
    // engine is in use, which stays silent until it is done. The synthesizer's own log
    // lines are kept off the terminal: the first problem it reports is written to stderr
    // once, for the whole program.
    bool openSynth(const std::string& soundFontPath, std::string& reason);
    // The quick part of openSynth's checks: the file exists and is a SoundFont 2 file.
    static bool checkSoundFont(const std::string& soundFontPath, std::string& reason);
    bool audible() const;
    int sampleRate() const { return m_sampleRate; }

    // Reads a MIDI file into a new track. A file that a loaded track was read from already
    // is not read again: the tracks share the piece (a music set may name one file in
    // several slots). Throws MediaError naming the file and the reason.
    TrackId load(const std::string& path);
    TrackId add(std::shared_ptr<const MidiSong> song);
    TrackId add(MidiSong song) { return add(std::make_shared<const MidiSong>(std::move(song))); }
    // False when the id names no loaded track; a sounding track is stopped first.
    bool unload(TrackId track);

    // Each returns false, doing nothing, when the id names no loaded track.
    bool play(TrackId track, int repeats);
    // A track never played starts from its beginning, played once; a track that had
    // finished all its plays stays silent. Resuming the sounding track changes nothing.
    bool resume(TrackId track);
    // Stopping a track that is not the one sounding changes nothing.
    bool stop(TrackId track);

    // Fills `frames` frames of interleaved 16-bit stereo at sampleRate() and advances the
    // sounding track. Silence when there is no synthesizer.
    void render(std::int16_t* interleavedStereo, int frames);

    // For traces and tests: the track sounding (kNoTrack when none), a track's position
    // within its current play in frames (-1 for an unknown id), the piece a track plays
    // (empty for an unknown id), and how many events have gone to the synthesizer (or would
    // have, without one) since the engine was made.
    TrackId soundingTrack() const;
    std::int64_t position(TrackId track) const;
    std::shared_ptr<const MidiSong> song(TrackId track) const;
    std::uint64_t eventsSent() const;

  private:
    class ControlLock;
    struct Track;

    Track* find(TrackId track) const;
    std::int64_t frameOf(std::uint64_t timeUs) const;
    void startSounding(Track& track);
    void chase(const Track& track);
    void releaseAllNotes();
    void resetChannels();
    void sendEvent(const Track& track, const MidiEvent& event);
    // Sends the events due at or before the track's position, at most kMaxEventsPerSlice
    // of them, and handles its end; returns how many frames may be rendered before the
    // next thing happens. `held` tells that events due were left for the next slice: the
    // track's position must then stay where it is.
    std::int64_t advance(Track& track, std::int64_t limit, bool& held);

    const int m_sampleRate;
    mutable std::mutex m_mutex;
    // Game-thread calls waiting for m_mutex; the audio thread gives way to them.
    mutable std::atomic<int> m_controlWaiting{0};
    _fluid_hashtable_t* m_settings = nullptr;
    _fluid_synth_t* m_synth = nullptr;
    std::map<TrackId, std::unique_ptr<Track>> m_tracks;
    // The pieces of loaded tracks by path, for load() to share; expired entries are
    // dropped at the next load.
    std::map<std::string, std::weak_ptr<const MidiSong>> m_songsByPath;
    TrackId m_nextId = 1;
    Track* m_sounding = nullptr;
    std::uint64_t m_eventsSent = 0;
    // The synthesizer's own starting values of volume, pan, reverb and chorus send, which
    // every track starts from.
    int m_startCc[4] = {100, 64, 0, 0};
};

}  // namespace qon::music
