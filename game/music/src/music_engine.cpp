// SPDX-License-Identifier: MIT
#include "qon/music/music_engine.h"

#include <dlfcn.h>
#include <fluidsynth.h>

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <thread>
#include <vector>

#include "qon/data/error.h"
#include "qon/data/files.h"
#include "qon/media/media.h"

namespace qon::music {
namespace {

constexpr int kChannels = 16;
constexpr int kDrumChannel = 9;
// Controllers every track starts from, with values read from a fresh synthesizer:
// volume, pan, reverb send and chorus send. Reset All Controllers leaves them alone.
constexpr int kStartControllers[4] = {7, 10, 91, 93};
// TimGM6mb is mixed quietly; at this gain a full arrangement peaks well below clipping
// while effects still sit on top of the music.
constexpr double kSynthGain = 0.5;
// Far above any sound device's rate; keeps frame arithmetic of a day-long piece in range.
constexpr int kMaxSampleRate = 1'000'000;

// FluidSynth logs through one hook for the whole process. Left to itself it writes every
// line to the terminal: a piece that overloads it once wrote millions of lines, and the
// writing alone held the synthesizer for seconds. The first problem is shown once; the
// rest, and its chatter, are dropped.
void quietSynthLog(int level, const char* message, void* /*data*/) {
    static std::atomic<bool> shown{false};
    if (level > FLUID_WARN || message == nullptr) return;
    if (shown.exchange(true)) return;
    std::fprintf(stderr,
                 "qon: the MIDI synthesizer reports: %s (its later messages are not shown)\n",
                 message);
}

void quietenSynthLog() {
    for (const int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
        fluid_set_log_function(level, quietSynthLog, nullptr);
    }
}

// FluidSynth prepares a soundfont's samples on OpenMP threads, which then spin for a
// while waiting for more work: on a two-core machine that takes a core from the game's
// start-up. The loading thread asks for one thread (a per-thread setting, so nothing else
// changes); OpenMP is looked up, not linked, since only FluidSynth brings it.
void loadOnThisThreadOnly() {
    using SetThreads = void (*)(int);
    if (auto set = reinterpret_cast<SetThreads>(dlsym(RTLD_DEFAULT, "omp_set_num_threads"))) {
        set(1);
    }
}

}  // namespace

// The mutex as the game thread takes it: announced first, so that the audio thread lets
// it in after the slice it is rendering.
class MusicEngine::ControlLock {
  public:
    explicit ControlLock(const MusicEngine& engine) : m_engine(engine) {
        m_engine.m_controlWaiting.fetch_add(1, std::memory_order_acq_rel);
        m_engine.m_mutex.lock();
    }
    ~ControlLock() {
        m_engine.m_mutex.unlock();
        m_engine.m_controlWaiting.fetch_sub(1, std::memory_order_acq_rel);
    }
    ControlLock(const ControlLock&) = delete;
    ControlLock& operator=(const ControlLock&) = delete;

  private:
    const MusicEngine& m_engine;
};

struct MusicEngine::Track {
    std::shared_ptr<const MidiSong> song;
    std::int64_t lengthFrames = 0;
    // Where the track has got to: the next event to send and the frame within this play.
    std::size_t nextEvent = 0;
    std::int64_t position = 0;
    int repeats = 0;      // the count of the last play, in force again after a resume
    int repeatsLeft = 0;  // plays after the current one; negative: for ever
    bool everPlayed = false;
    bool finished = false;
};

MusicEngine::MusicEngine(int sampleRate) : m_sampleRate(sampleRate) {
    assert(sampleRate > 0 && sampleRate <= kMaxSampleRate &&
           "the music engine needs a sample rate from 1 to 1000000");
}

MusicEngine::~MusicEngine() {
    if (m_synth != nullptr) delete_fluid_synth(m_synth);
    if (m_settings != nullptr) delete_fluid_settings(m_settings);
}

bool MusicEngine::checkSoundFont(const std::string& soundFontPath, std::string& reason) {
    // FluidSynth loads a wrong path without complaint and then plays silence, so the
    // path is checked here first: only its header is read.
    std::string head;
    try {
        head = ReadFileStart(soundFontPath, 12);
    } catch (const DataError& error) {
        std::error_code ignored;
        if (!IsOrdinaryFile(soundFontPath) && std::filesystem::exists(soundFontPath, ignored)) {
            reason = QuotedPath(soundFontPath) + ": the soundfont path is not a file";
        } else if (!std::filesystem::exists(soundFontPath, ignored)) {
            reason = QuotedPath(soundFontPath) + ": the soundfont file does not exist";
        } else {
            reason = QuotedPath(soundFontPath) + ": the soundfont file cannot be read (" +
                     error.reason() + ")";
        }
        return false;
    }
    if (head.size() < 12 || head.compare(0, 4, "RIFF") != 0 || head.compare(8, 4, "sfbk") != 0) {
        reason = QuotedPath(soundFontPath) + ": is not a SoundFont 2 file";
        return false;
    }
    return true;
}

bool MusicEngine::openSynth(const std::string& soundFontPath, std::string& reason) {
    if (!checkSoundFont(soundFontPath, reason)) return false;
    quietenSynthLog();

    fluid_settings_t* settings = new_fluid_settings();
    if (settings == nullptr) {
        reason = "the MIDI synthesizer could not be set up";
        return false;
    }
    fluid_settings_setnum(settings, "synth.sample-rate", m_sampleRate);
    fluid_settings_setnum(settings, "synth.gain", kSynthGain);
    fluid_settings_setint(settings, "synth.polyphony", kPolyphony);
    // Every synthesizer call is made under m_mutex already.
    fluid_settings_setint(settings, "synth.threadsafe-api", 0);
    fluid_synth_t* synth = new_fluid_synth(settings);
    if (synth == nullptr) {
        delete_fluid_settings(settings);
        reason = "the MIDI synthesizer could not be created";
        return false;
    }
    loadOnThisThreadOnly();
    if (fluid_synth_sfload(synth, soundFontPath.c_str(), 1) == FLUID_FAILED) {
        delete_fluid_synth(synth);
        delete_fluid_settings(settings);
        reason = QuotedPath(soundFontPath) + ": is not a SoundFont 2 file";
        return false;
    }
    int startCc[4] = {};
    for (int i = 0; i < 4; ++i) fluid_synth_get_cc(synth, 0, kStartControllers[i], &startCc[i]);

    fluid_synth_t* oldSynth = nullptr;
    fluid_settings_t* oldSettings = nullptr;
    {
        ControlLock lock(*this);
        oldSynth = m_synth;
        oldSettings = m_settings;
        m_synth = synth;
        m_settings = settings;
        std::copy(std::begin(startCc), std::end(startCc), std::begin(m_startCc));
        // A track started while the synthesizer was loading joins in where it has got to.
        if (m_sounding != nullptr) {
            resetChannels();
            chase(*m_sounding);
        }
    }
    if (oldSynth != nullptr) delete_fluid_synth(oldSynth);
    if (oldSettings != nullptr) delete_fluid_settings(oldSettings);
    return true;
}

bool MusicEngine::audible() const {
    ControlLock lock(*this);
    return m_synth != nullptr;
}

MusicEngine::TrackId MusicEngine::load(const std::string& path) {
    std::shared_ptr<const MidiSong> song;
    {
        ControlLock lock(*this);
        std::erase_if(m_songsByPath, [](const auto& entry) { return entry.second.expired(); });
        const auto found = m_songsByPath.find(path);
        if (found != m_songsByPath.end()) song = found->second.lock();
    }
    if (!song) {
        // Read and parsed outside the lock: the audio thread goes on meanwhile.
        song = std::make_shared<const MidiSong>(ReadMidiFile(path));
        ControlLock lock(*this);
        m_songsByPath[path] = song;
    }
    return add(std::move(song));
}

MusicEngine::TrackId MusicEngine::add(std::shared_ptr<const MidiSong> song) {
    assert(song && "MusicEngine::add needs a piece");
    auto track = std::make_unique<Track>();
    track->lengthFrames = frameOf(song->lengthUs);
    track->song = std::move(song);

    ControlLock lock(*this);
    const TrackId id = m_nextId++;
    m_tracks.emplace(id, std::move(track));
    return id;
}

bool MusicEngine::unload(TrackId id) {
    // Declared before the lock so the track is freed after the lock is released.
    std::unique_ptr<Track> doomed;
    ControlLock lock(*this);
    const auto found = m_tracks.find(id);
    if (found == m_tracks.end()) return false;
    if (m_sounding == found->second.get()) {
        releaseAllNotes();
        m_sounding = nullptr;
    }
    doomed = std::move(found->second);
    m_tracks.erase(found);
    return true;
}

bool MusicEngine::play(TrackId id, int repeats) {
    ControlLock lock(*this);
    Track* track = find(id);
    if (track == nullptr) return false;
    track->nextEvent = 0;
    track->position = 0;
    track->repeats = repeats;
    track->repeatsLeft = repeats;
    track->everPlayed = true;
    track->finished = false;
    startSounding(*track);
    return true;
}

bool MusicEngine::resume(TrackId id) {
    ControlLock lock(*this);
    Track* track = find(id);
    if (track == nullptr) return false;
    if (m_sounding == track) return true;
    if (!track->everPlayed) {
        // Nothing to go on from: start it, played once.
        track->everPlayed = true;
        track->repeats = 0;
    }
    // The count of the last play holds again from here, as if it had been set anew.
    track->repeatsLeft = track->repeats;
    if (track->finished) {
        // It still takes the place of the track sounding, like any resume.
        if (m_sounding != nullptr) releaseAllNotes();
        m_sounding = nullptr;
        return true;
    }
    startSounding(*track);
    chase(*track);
    return true;
}

bool MusicEngine::stop(TrackId id) {
    ControlLock lock(*this);
    Track* track = find(id);
    if (track == nullptr) return false;
    if (m_sounding == track) {
        releaseAllNotes();
        m_sounding = nullptr;
    }
    return true;
}

void MusicEngine::render(std::int16_t* interleavedStereo, int frames) {
    int done = 0;
    while (done < frames) {
        std::lock_guard lock(m_mutex);
        std::int64_t slice = std::min(frames - done, kSliceFrames);
        Track* track = m_sounding;
        bool held = false;
        if (track != nullptr) {
            slice = advance(*track, slice, held);
            track = m_sounding;  // the track may have ended
        }
        const int count = static_cast<int>(slice);
        if (m_synth != nullptr) {
            fluid_synth_write_s16(m_synth, count, interleavedStereo, 2 * done, 2, interleavedStereo,
                                  2 * done + 1, 2);
        } else {
            std::fill_n(interleavedStereo + 2 * done, 2 * count, std::int16_t{0});
        }
        // A piece with more events due than one slice may send waits for them.
        if (track != nullptr && !held) track->position += slice;
        done += count;
    }
}

MusicEngine::TrackId MusicEngine::soundingTrack() const {
    ControlLock lock(*this);
    for (const auto& [id, track] : m_tracks) {
        if (track.get() == m_sounding) return id;
    }
    return kNoTrack;
}

std::int64_t MusicEngine::position(TrackId id) const {
    ControlLock lock(*this);
    const Track* track = find(id);
    return track == nullptr ? -1 : track->position;
}

std::shared_ptr<const MidiSong> MusicEngine::song(TrackId id) const {
    ControlLock lock(*this);
    const Track* track = find(id);
    return track == nullptr ? nullptr : track->song;
}

std::uint64_t MusicEngine::eventsSent() const {
    ControlLock lock(*this);
    return m_eventsSent;
}

// ---- under the lock ------------------------------------------------------------------

MusicEngine::Track* MusicEngine::find(TrackId id) const {
    const auto found = m_tracks.find(id);
    return found == m_tracks.end() ? nullptr : found->second.get();
}

std::int64_t MusicEngine::frameOf(std::uint64_t timeUs) const {
    // Times are at most a day (the reader refuses longer pieces) and the rate at most a
    // million, so the product stays far inside 64 bits.
    return static_cast<std::int64_t>((timeUs * static_cast<std::uint64_t>(m_sampleRate) + 500000) /
                                     1000000);
}

void MusicEngine::startSounding(Track& track) {
    if (m_sounding != nullptr) releaseAllNotes();
    resetChannels();
    m_sounding = &track;
}

void MusicEngine::chase(const Track& track) {
    if (m_synth == nullptr) return;
    // Bring the channels to where the piece had set them: programs, controllers, pitch
    // bends and system exclusive messages, but no notes.
    for (std::size_t i = 0; i < track.nextEvent; ++i) {
        const MidiEvent& event = track.song->events[i];
        const int kind = event.status & 0xF0;
        if (kind != 0x80 && kind != 0x90 && kind != 0xA0) sendEvent(track, event);
    }
}

void MusicEngine::releaseAllNotes() {
    if (m_synth == nullptr) return;
    for (int channel = 0; channel < kChannels; ++channel) {
        // A held sustain or sostenuto pedal would keep "released" notes sounding for ever.
        fluid_synth_cc(m_synth, channel, 64, 0);
        fluid_synth_cc(m_synth, channel, 66, 0);
    }
    fluid_synth_all_notes_off(m_synth, -1);
}

void MusicEngine::resetChannels() {
    if (m_synth == nullptr) return;
    // Each track starts from the same channel state, whatever the track before it set.
    for (int channel = 0; channel < kChannels; ++channel) {
        fluid_synth_cc(m_synth, channel, 121, 0);  // Reset All Controllers
        for (int i = 0; i < 4; ++i)
            fluid_synth_cc(m_synth, channel, kStartControllers[i], m_startCc[i]);
        fluid_synth_pitch_wheel_sens(m_synth, channel, 2);
        if (channel != kDrumChannel) fluid_synth_bank_select(m_synth, channel, 0);
        fluid_synth_program_change(m_synth, channel, 0);
    }
}

void MusicEngine::sendEvent(const Track& track, const MidiEvent& event) {
    if (m_synth == nullptr) return;
    const int channel = event.status & 0x0F;
    switch (event.status & 0xF0) {
        case 0x80:
            fluid_synth_noteoff(m_synth, channel, event.data1);
            break;
        case 0x90:
            fluid_synth_noteon(m_synth, channel, event.data1, event.data2);
            break;
        case 0xA0:
            fluid_synth_key_pressure(m_synth, channel, event.data1, event.data2);
            break;
        case 0xB0:
            fluid_synth_cc(m_synth, channel, event.data1, event.data2);
            break;
        case 0xC0:
            fluid_synth_program_change(m_synth, channel, event.data1);
            break;
        case 0xD0:
            fluid_synth_channel_pressure(m_synth, channel, event.data1);
            break;
        case 0xE0:
            fluid_synth_pitch_bend(m_synth, channel, event.data1 | (event.data2 << 7));
            break;
        case 0xF0:
            if (event.sysexLength > 0) {
                const auto* body = reinterpret_cast<const char*>(track.song->sysexBytes.data() +
                                                                 event.sysexOffset);
                fluid_synth_sysex(m_synth, body, static_cast<int>(event.sysexLength), nullptr,
                                  nullptr, nullptr, 0);
            }
            break;
        default:
            break;
    }
}

std::int64_t MusicEngine::advance(Track& track, std::int64_t limit, bool& held) {
    const std::vector<MidiEvent>& events = track.song->events;
    int sent = 0;
    for (;;) {
        while (track.nextEvent < events.size() &&
               frameOf(events[track.nextEvent].timeUs) <= track.position) {
            if (sent == kMaxEventsPerSlice) {
                held = true;
                return limit;
            }
            sendEvent(track, events[track.nextEvent++]);
            ++sent;
            ++m_eventsSent;
        }
        if (track.nextEvent < events.size() || track.position < track.lengthFrames) break;
        // One play is over. An empty piece never repeats: it would loop without end.
        if (track.repeatsLeft == 0 || track.lengthFrames == 0) {
            track.finished = true;
            releaseAllNotes();
            m_sounding = nullptr;
            return limit;
        }
        if (track.repeatsLeft > 0) --track.repeatsLeft;
        track.nextEvent = 0;
        track.position = 0;
        releaseAllNotes();
    }
    const std::int64_t nextFrame = track.nextEvent < events.size()
                                       ? frameOf(events[track.nextEvent].timeUs)
                                       : track.lengthFrames;
    return std::min(limit, nextFrame - track.position);
}

}  // namespace qon::music
