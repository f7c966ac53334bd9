// SPDX-License-Identifier: MIT
// The loudness measure on signals whose level is known.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "loudness.h"
#include "qon/test_support/rows.h"

namespace qon::content {
namespace {

QON_PRINT_ROWS_BY_NAME

constexpr int kRate = 44100;

// One stretch of a signal: a sine (or a square) of the given amplitude, 0 for silence.
struct Stretch {
    double seconds = 0;
    double amplitude = 0;  // of full scale
    bool square = false;
};

std::vector<std::int16_t> mono(const std::vector<Stretch>& stretches) {
    std::vector<std::int16_t> samples;
    for (const Stretch& s : stretches) {
        const auto count = static_cast<std::size_t>(s.seconds * kRate);
        for (std::size_t i = 0; i < count; ++i) {
            const double wave =
                std::sin(2 * std::numbers::pi * 441.0 * static_cast<double>(i) / kRate);
            const double value = s.square ? (wave >= 0 ? 1.0 : -1.0) : wave;
            samples.push_back(static_cast<std::int16_t>(std::lround(value * s.amplitude * 32767)));
        }
    }
    return samples;
}

struct LevelRow {
    const char* name;
    std::vector<Stretch> signal;
    double expRmsDb = 0;
    double expPeakDb = 0;
};

class LoudnessOf : public ::testing::TestWithParam<LevelRow> {};

TEST_P(LoudnessOf, KnownSignal) {
    const Loudness level = MeasureLoudness(mono(GetParam().signal), kRate, 1);
    EXPECT_NEAR(level.rmsDb, GetParam().expRmsDb, 0.05);
    EXPECT_NEAR(level.peakDb, GetParam().expPeakDb, 0.05);
}

const LevelRow kLevelRows[] = {
    {.name = "FullScaleSquareIsZero", .signal = {{.seconds = 1, .amplitude = 1, .square = true}}},
    {.name = "HalfScaleSineIsNineBelow",
     .signal = {{.seconds = 1, .amplitude = 0.5}},
     .expRmsDb = -9.03,
     .expPeakDb = -6.02},
    {.name = "SilenceBeforeTheSoundIsLeftOut",
     .signal = {{.seconds = 1}, {.seconds = 0.5, .amplitude = 0.5}},
     .expRmsDb = -9.03,
     .expPeakDb = -6.02},
    {.name = "FadingTailFarBelowIsLeftOut",
     .signal = {{.seconds = 0.2, .amplitude = 0.5}, {.seconds = 1, .amplitude = 0.005}},
     .expRmsDb = -9.03,
     .expPeakDb = -6.02},
    {.name = "SofterPartWithinTwentyDecibelsCounts",
     .signal = {{.seconds = 0.5, .amplitude = 0.5}, {.seconds = 0.5, .amplitude = 0.25}},
     .expRmsDb = -11.07,
     .expPeakDb = -6.02},
};

INSTANTIATE_TEST_SUITE_P(Measure, LoudnessOf, ::testing::ValuesIn(kLevelRows),
                         test_support::RowName);

TEST(Loudness, SilenceHasNoLevel) {
    const Loudness level = MeasureLoudness(std::vector<std::int16_t>(kRate, 0), kRate, 1);
    EXPECT_EQ(level.rmsDb, -200);
    EXPECT_EQ(level.peakDb, -200);
    EXPECT_EQ(level.soundingSeconds, 0);
}

TEST(Loudness, BothChannelsOfStereoCount) {
    // The sine on the left only: half the power of the same sine on both channels.
    std::vector<std::int16_t> stereo;
    for (std::int16_t s : mono({{.seconds = 1, .amplitude = 0.5}})) {
        stereo.push_back(s);
        stereo.push_back(0);
    }
    const Loudness level = MeasureLoudness(stereo, kRate, 2);
    EXPECT_NEAR(level.rmsDb, -9.03 - 3.01, 0.05);
    EXPECT_NEAR(level.soundingSeconds, 1.0, 0.01);
}

}  // namespace
}  // namespace qon::content
