// SPDX-License-Identifier: MIT
// A MIDI file as the game plays it: the reader, then the engine's sequencing of the piece
// (without a synthesizer) over a few seconds of slices, with stops, resumes and repeats.
// The reader must refuse what it cannot read; what it reads must be in time order, within
// a day; and no slice may send more than its share of events (a render of one frame is one
// slice).

#include <algorithm>
#include <span>
#include <vector>

#include "fuzz_input.h"
#include "qon/media/media.h"
#include "qon/music/midi_file.h"
#include "qon/music/music_engine.h"

namespace {

using qon::music::MusicEngine;

constexpr int kRate = 8000;  // a low rate: more of the piece per slice rendered
constexpr std::uint64_t kDayUs = 24ull * 60 * 60 * 1000000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qon::music::MidiSong song;
    try {
        song = qon::music::ParseMidiFile(std::span(data, size), "/fuzz/song.mid");
    } catch (const qon::media::MediaError&) {
        return 0;
    }
    for (std::size_t i = 1; i < song.events.size(); ++i) {
        if (song.events[i].timeUs < song.events[i - 1].timeUs) {
            qon::fuzz::Broken("events out of time order");
        }
    }
    if (song.lengthUs > kDayUs) qon::fuzz::Broken("a piece longer than a day");
    if (!song.events.empty() && song.events.back().timeUs > song.lengthUs) {
        qon::fuzz::Broken("an event after the end of the piece");
    }
    for (const qon::music::MidiEvent& event : song.events) {
        if (event.status == 0xF0 &&
            static_cast<std::size_t>(event.sysexOffset) + event.sysexLength >
                song.sysexBytes.size()) {
            qon::fuzz::Broken("a system exclusive message outside its bytes");
        }
    }

    // The last byte chooses the repeats (for ever included), as a music set's use would.
    const int repeats = size > 0 ? static_cast<int>(data[size - 1] % 4) - 1 : 0;
    MusicEngine engine(kRate);
    const MusicEngine::TrackId first = engine.add(song);
    const MusicEngine::TrackId second = engine.add(std::move(song));
    std::vector<std::int16_t> block(2 * 3 * MusicEngine::kSliceFrames);
    engine.play(first, repeats);
    for (int round = 0; round < 40; ++round) {
        const std::uint64_t before = engine.eventsSent();
        engine.render(block.data(), 1);
        if (engine.eventsSent() - before > MusicEngine::kMaxEventsPerSlice) {
            qon::fuzz::Broken("more events in one slice than a slice may send");
        }
        // Nearly three slices more; the engine cuts the request itself.
        const int frames = 2 * MusicEngine::kSliceFrames + 1 + round % MusicEngine::kSliceFrames;
        engine.render(block.data(), frames);
        if (std::any_of(block.begin(), block.begin() + 2 * frames,
                        [](std::int16_t sample) { return sample != 0; })) {
            qon::fuzz::Broken("sound without a synthesizer");
        }
        if (round == 10) engine.stop(first);
        if (round == 12) engine.play(second, 0);
        if (round == 20) engine.resume(first);
        if (round == 30) engine.unload(second);
    }
    return 0;
}
