// SPDX-License-Identifier: MIT
#include "loudness.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qon::content {

namespace {

constexpr double kSilenceDb = -60;
constexpr double kBelowAverageDb = -20;

double powerOf(double db) {
    return std::pow(10.0, db / 10.0);
}

double average(const std::vector<double>& values) {
    double sum = 0;
    for (double v : values) sum += v;
    return values.empty() ? 0.0 : sum / static_cast<double>(values.size());
}

}  // namespace

Loudness MeasureLoudness(const std::vector<std::int16_t>& samples, int sampleRate, int channels) {
    const std::size_t block = static_cast<std::size_t>(sampleRate / 100 * channels);
    std::vector<double> sounding;
    int peak = 0;
    for (std::size_t start = 0; block > 0 && start + block <= samples.size(); start += block) {
        double sum = 0;
        for (std::size_t i = start; i < start + block; ++i) {
            const double s = samples[i] / 32768.0;
            sum += s * s;
            peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
        }
        const double power = sum / static_cast<double>(block);
        if (power >= powerOf(kSilenceDb)) sounding.push_back(power);
    }
    const double gate = average(sounding) * powerOf(kBelowAverageDb);
    std::vector<double> kept;
    for (double power : sounding) {
        if (power >= gate) kept.push_back(power);
    }
    Loudness level;
    if (!kept.empty()) level.rmsDb = 10.0 * std::log10(average(kept));
    if (peak > 0) level.peakDb = 20.0 * std::log10(peak / 32768.0);
    level.soundingSeconds = static_cast<double>(kept.size()) / 100.0;
    return level;
}

}  // namespace qon::content
