// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qon::content {

inline constexpr int kSampleRate = 44100;

enum class Wave { Sine, Triangle, Square, Saw };

// A mono mix of synthesized voices, in seconds and hertz.
class SoundMix {
  public:
    explicit SoundMix(float seconds);

    // A tone whose pitch glides exponentially from `fromHz` to `toHz`, with a linear
    // attack and an exponential decay of time constant `decay`. Square and saw are
    // summed from harmonics below 9 kHz so that they never alias into a buzz.
    void tone(float start, float length, float fromHz, float toHz, Wave wave, float level,
              float attack, float decay, float vibratoHz = 0, float vibratoDepth = 0);
    // Noise through a one-pole low-pass whose cut-off glides from `fromHz` to `toHz`.
    void noise(float start, float length, float fromHz, float toHz, float level, float attack,
               float decay, std::uint32_t seed);

    // Scales the mix to the game's loudness (loudness.h), fades the last milliseconds to
    // silence and returns 16-bit samples. Every effect is made this loud, as loud as the
    // music, so that none stands out or drowns.
    std::vector<std::int16_t> render() const;

  private:
    std::vector<float> m_samples;
};

// A RIFF/WAVE file of 16-bit mono PCM at kSampleRate.
std::vector<std::uint8_t> toWav(const std::vector<std::int16_t>& samples);

struct SoundEffectFile {
    std::string name;  // "SeBar.wav" and so on
    std::vector<std::uint8_t> bytes;
};

// The eight effects of the game, each a short synthesized sound.
std::vector<SoundEffectFile> MakeSoundEffects();

}  // namespace qon::content
