// SPDX-License-Identifier: MIT
#include "qon/music/music_engine.h"

#include <dlfcn.h>
#include <fluidsynth.h>

#include <algorithm>
#include <cassert>
#include <cstring>
#include <filesystem>
#include <iterator>
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

struct MusicEngine::Track {
    MidiSong song;
    std::vector<std::int64_t> eventFrames;  // each event's frame at the engine's rate
    std::int64_t lengthFrames = 0;
    // Where the track has got to: the next event to send and the frame within this play.
    std::size_t nextEvent = 0;
    std::int64_t position = 0;
    int repeatsLeft = 0;  // plays after the current one; negative: for ever
    bool everPlayed = false;
    bool finished = false;
};

MusicEngine::MusicEngine(int sampleRate) : m_sampleRate(sampleRate) {
    assert(sampleRate > 0 && "the music engine needs a positive sample rate");
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
            reason = soundFontPath + ": the soundfont path is not a file";
        } else if (!std::filesystem::exists(soundFontPath, ignored)) {
            reason = soundFontPath + ": the soundfont file does not exist";
        } else {
            reason = soundFontPath + ": the soundfont file cannot be read (" + error.reason() + ")";
        }
        return false;
    }
    if (head.size() < 12 || head.compare(0, 4, "RIFF") != 0 || head.compare(8, 4, "sfbk") != 0) {
        reason = soundFontPath + ": is not a SoundFont 2 file";
        return false;
    }
    return true;
}

bool MusicEngine::openSynth(const std::string& soundFontPath, std::string& reason) {
    if (!checkSoundFont(soundFontPath, reason)) return false;

    fluid_settings_t* settings = new_fluid_settings();
    if (settings == nullptr) {
        reason = "the MIDI synthesizer could not be set up";
        return false;
    }
    fluid_settings_setnum(settings, "synth.sample-rate", m_sampleRate);
    fluid_settings_setnum(settings, "synth.gain", kSynthGain);
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
        reason = soundFontPath + ": is not a SoundFont 2 file";
        return false;
    }
    int startCc[4] = {};
    for (int i = 0; i < 4; ++i) fluid_synth_get_cc(synth, 0, kStartControllers[i], &startCc[i]);

    fluid_synth_t* oldSynth = nullptr;
    fluid_settings_t* oldSettings = nullptr;
    {
        std::lock_guard lock(m_mutex);
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
    std::lock_guard lock(m_mutex);
    return m_synth != nullptr;
}

MusicEngine::TrackId MusicEngine::load(const std::string& path) {
    return add(ReadMidiFile(path));
}

MusicEngine::TrackId MusicEngine::add(MidiSong song) {
    auto track = std::make_unique<Track>();
    const auto toFrames = [this](std::uint64_t us) {
        return static_cast<std::int64_t>((us * static_cast<std::uint64_t>(m_sampleRate) + 500000) /
                                         1000000);
    };
    track->eventFrames.reserve(song.events.size());
    for (const MidiEvent& event : song.events) track->eventFrames.push_back(toFrames(event.timeUs));
    track->lengthFrames = toFrames(song.lengthUs);
    track->song = std::move(song);

    std::lock_guard lock(m_mutex);
    const TrackId id = m_nextId++;
    m_tracks.emplace(id, std::move(track));
    return id;
}

bool MusicEngine::unload(TrackId id) {
    // Declared before the lock so the track is freed after the lock is released.
    std::unique_ptr<Track> doomed;
    std::lock_guard lock(m_mutex);
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
    std::lock_guard lock(m_mutex);
    Track* track = find(id);
    if (track == nullptr) return false;
    track->nextEvent = 0;
    track->position = 0;
    track->repeatsLeft = repeats;
    track->everPlayed = true;
    track->finished = false;
    startSounding(*track);
    return true;
}

bool MusicEngine::resume(TrackId id) {
    std::lock_guard lock(m_mutex);
    Track* track = find(id);
    if (track == nullptr) return false;
    if (m_sounding == track) return true;
    if (!track->everPlayed) {
        // Nothing to go on from: start it, played once.
        track->everPlayed = true;
        track->repeatsLeft = 0;
    }
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
    std::lock_guard lock(m_mutex);
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
        if (track != nullptr) {
            slice = advance(*track, slice);
            track = m_sounding;  // the track may have ended
        }
        const int count = static_cast<int>(slice);
        if (m_synth != nullptr) {
            fluid_synth_write_s16(m_synth, count, interleavedStereo, 2 * done, 2, interleavedStereo,
                                  2 * done + 1, 2);
        } else {
            std::fill_n(interleavedStereo + 2 * done, 2 * count, std::int16_t{0});
        }
        if (track != nullptr) track->position += slice;
        done += count;
    }
}

MusicEngine::TrackId MusicEngine::soundingTrack() const {
    std::lock_guard lock(m_mutex);
    for (const auto& [id, track] : m_tracks) {
        if (track.get() == m_sounding) return id;
    }
    return kNoTrack;
}

std::int64_t MusicEngine::position(TrackId id) const {
    std::lock_guard lock(m_mutex);
    const Track* track = find(id);
    return track == nullptr ? -1 : track->position;
}

// ---- under the lock ------------------------------------------------------------------

MusicEngine::Track* MusicEngine::find(TrackId id) const {
    const auto found = m_tracks.find(id);
    return found == m_tracks.end() ? nullptr : found->second.get();
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
        const MidiEvent& event = track.song.events[i];
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
                const auto* body =
                    reinterpret_cast<const char*>(track.song.sysexBytes.data() + event.sysexOffset);
                fluid_synth_sysex(m_synth, body, static_cast<int>(event.sysexLength), nullptr,
                                  nullptr, nullptr, 0);
            }
            break;
        default:
            break;
    }
}

std::int64_t MusicEngine::advance(Track& track, std::int64_t limit) {
    const std::size_t eventCount = track.song.events.size();
    for (;;) {
        while (track.nextEvent < eventCount &&
               track.eventFrames[track.nextEvent] <= track.position) {
            sendEvent(track, track.song.events[track.nextEvent++]);
        }
        if (track.nextEvent < eventCount || track.position < track.lengthFrames) break;
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
    const std::int64_t nextFrame =
        track.nextEvent < eventCount ? track.eventFrames[track.nextEvent] : track.lengthFrames;
    return std::min(limit, nextFrame - track.position);
}

}  // namespace qon::music
