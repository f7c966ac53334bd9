// SPDX-License-Identifier: MIT
#pragma once

// One loudness for the whole game: every music track and every sound effect sounds at
// about kGameLoudnessDb. Effects are scaled to it when they are made; the songs carry a
// level trim measured through the game's synthesizer (content/tools, qon-loudness).
//
// Loudness here is the RMS over the sounding part, in dBFS (a full-scale square wave is
// 0 dBFS): the signal is cut into blocks of 10 ms; blocks under -60 dBFS are silence,
// and so are blocks more than 20 dB below the average of the others (the fading tail of
// an effect, the hush before a track's first note); the RMS of what is left is the
// level. The peak is the largest sample, in dBFS.

#include <cstdint>
#include <vector>

namespace qon::content {

inline constexpr double kGameLoudnessDb = -23.0;

struct Loudness {
    double rmsDb = -200;  // RMS over the sounding part; -200 for silence
    double peakDb = -200;
    double soundingSeconds = 0;
};

// The loudness of interleaved 16-bit samples.
Loudness MeasureLoudness(const std::vector<std::int16_t>& samples, int sampleRate, int channels);

}  // namespace qon::content
