// SPDX-License-Identifier: MIT
// qon-music-bench: what music costs. Memory (resident set) with the synthesizer alone,
// with 1 loaded track and with 10, the time to render music against real time, and how
// long the game's music calls wait while the audio thread renders a chord of 30,000 notes
// at one instant (target: about one slice, far below a frame).
//
//   qon-music-bench [soundfont] [file.mid ...]
//
// Without MIDI files it writes ten three-minute pieces of its own (eight channels, a note
// every eighth on each) to a temporary folder.

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "qon/data/files.h"
#include "qon/media/media.h"
#include "qon/music/music_engine.h"
#include "qon/music_test/midi_writer.h"

namespace {

using qon::music::MusicEngine;

long residentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

std::vector<std::string> writePieces(const std::filesystem::path& folder, int count) {
    std::filesystem::create_directories(folder);
    std::vector<std::string> paths;
    constexpr std::uint32_t kEighth = 240;
    constexpr std::uint32_t kPieceTicks = 3 * 60 * 2 * 480;  // three minutes at 120 bpm
    for (int piece = 0; piece < count; ++piece) {
        qon::music_test::MidiWriter midi(480, 1);
        for (int channel = 0; channel < 8; ++channel) {
            midi.track().program(0, channel, (piece * 8 + channel * 5) % 128);
            for (std::uint32_t tick = 0; tick < kPieceTicks; tick += kEighth) {
                const int key = 48 + (piece + channel * 3 + static_cast<int>(tick / kEighth)) % 24;
                midi.note(tick, kEighth, channel, key, 70);
            }
        }
        paths.push_back((folder / ("piece" + std::to_string(piece) + ".mid")).string());
        qon::WriteFileAtomic(paths.back(), midi.text());
    }
    return paths;
}

// A chord of `notes` notes at the start of a piece, then a melody.
qon::music::MidiSong chordPiece(int notes) {
    qon::music_test::MidiWriter midi(480, 0);
    for (int i = 0; i < notes; ++i) midi.note(0, 960, i % 16, 24 + i % 80, 100);
    for (std::uint32_t tick = 960; tick < 20 * 480; tick += 240) midi.note(tick, 240, 0, 60);
    const std::string bytes = midi.text();
    return qon::music::ParseMidiFile(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), "chord.mid");
}

double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// While an audio thread renders the chord slice by slice: the longest a slice holds the
// engine (the audio thread's processor time for it, which a busy machine cannot inflate)
// and the longest a game-thread call waits by the wall clock (which it can).
void measureChord(MusicEngine& engine) {
    const MusicEngine::TrackId chord = engine.add(chordPiece(30000));
    std::atomic<bool> running{true};
    double longestSliceMs = 0;
    engine.play(chord, 0);
    std::thread audio([&] {
        std::vector<std::int16_t> block(2 * MusicEngine::kSliceFrames);
        while (running) {
            const double start = threadCpuMs();
            engine.render(block.data(), MusicEngine::kSliceFrames);
            longestSliceMs = std::max(longestSliceMs, threadCpuMs() - start);
        }
    });
    double longestCallMs = 0;
    for (int frame = 0; frame < 180; ++frame) {  // three seconds of game frames
        const auto start = std::chrono::steady_clock::now();
        if (frame % 60 == 59) {
            engine.stop(chord);
            engine.resume(chord);
        } else {
            engine.resume(chord);  // the sounding track: only takes the lock
        }
        longestCallMs = std::max(longestCallMs, std::chrono::duration<double, std::milli>(
                                                    std::chrono::steady_clock::now() - start)
                                                    .count());
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
    }
    running = false;
    audio.join();
    engine.unload(chord);
    std::printf(
        "chord of 30000 notes: longest slice %.2f ms of processor time (a slice is "
        "%.1f ms of audio); longest music call %.2f ms by the wall clock\n",
        longestSliceMs, MusicEngine::kSliceFrames * 1000.0 / 44100, longestCallMs);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string soundFont = argc > 1 ? argv[1] : MusicEngine::kDefaultSoundFont;
    std::vector<std::string> pieces(argv + std::min(argc, 2), argv + argc);
    std::filesystem::path scratch;
    if (pieces.empty()) {
        scratch = std::filesystem::temp_directory_path() /
                  ("qon-music-bench-" + std::to_string(getpid()));
        pieces = writePieces(scratch, 10);
    }
    // Fewer than ten files given: load them again, as ten separate tracks (which share the
    // piece read once).
    const std::size_t given = pieces.size();
    while (pieces.size() < 10) pieces.push_back(pieces[pieces.size() % given]);

    const long atStart = residentKb();
    MusicEngine engine(44100);
    std::string reason;
    const auto synthStart = std::chrono::steady_clock::now();
    if (!engine.openSynth(soundFont, reason)) {
        std::fprintf(stderr, "qon-music-bench: %s\n", reason.c_str());
        return 1;
    }
    const double openMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - synthStart)
            .count();
    const long withSynth = residentKb();

    std::vector<MusicEngine::TrackId> tracks;
    try {
        tracks.push_back(engine.load(pieces[0]));
        const long oneTrack = residentKb();
        for (int i = 1; i < 10; ++i)
            tracks.push_back(engine.load(pieces[static_cast<std::size_t>(i)]));
        const long tenTracks = residentKb();

        // Render 10 s of each of three tracks, switching as the game does.
        std::vector<std::int16_t> block(2 * 1024);
        int peak = 0;
        const auto renderStart = std::chrono::steady_clock::now();
        constexpr int kSeconds = 10;
        for (int t = 0; t < 3; ++t) {
            engine.play(tracks[static_cast<std::size_t>(t)], 8);
            for (int frames = 0; frames < kSeconds * 44100; frames += 1024) {
                engine.render(block.data(), 1024);
                for (const std::int16_t sample : block)
                    peak = std::max(peak, std::abs(int{sample}));
            }
        }
        const double renderMs = std::chrono::duration<double, std::milli>(
                                    std::chrono::steady_clock::now() - renderStart)
                                    .count();

        std::printf("soundfont %s opened in %.1f ms\n", soundFont.c_str(), openMs);
        std::printf("resident memory: start %ld kB, synthesizer %ld kB\n", atStart, withSynth);
        std::printf("resident memory: 1 track %ld kB, 10 tracks %ld kB\n", oneTrack, tenTracks);
        std::printf("10 tracks cost %.2f MB above 1 track (target: at most about 10 MB)\n",
                    static_cast<double>(tenTracks - oneTrack) / 1024.0);
        std::printf("rendering: %.1f ms for %d s of music (%.1f%% of real time)\n", renderMs,
                    3 * kSeconds, renderMs / (3 * kSeconds * 1000.0) * 100.0);
        std::printf("peak level: %d of 32767\n", peak);
        measureChord(engine);
    } catch (const qon::media::MediaError& error) {
        std::fprintf(stderr, "qon-music-bench: %s\n", error.what());
        return 1;
    }
    if (!scratch.empty()) std::filesystem::remove_all(scratch);
    return 0;
}
