// SPDX-License-Identifier: MIT
#include "sound.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numbers>

#include "loudness.h"

namespace qon::content {

namespace {

constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
constexpr float kHarmonicLimitHz = 9000.0f;

float waveAt(Wave wave, float phase, float hz) {
    switch (wave) {
        case Wave::Sine:
            return std::sin(phase);
        case Wave::Triangle: {
            // Odd harmonics falling with the square of their number.
            float sum = 0;
            for (int k = 1; k * hz < kHarmonicLimitHz && k < 40; k += 2) {
                const float sign = ((k / 2) % 2 == 0) ? 1.0f : -1.0f;
                sum += sign * std::sin(static_cast<float>(k) * phase) / static_cast<float>(k * k);
            }
            return sum * 0.81f;
        }
        case Wave::Square: {
            float sum = 0;
            for (int k = 1; k * hz < kHarmonicLimitHz && k < 40; k += 2) {
                sum += std::sin(static_cast<float>(k) * phase) / static_cast<float>(k);
            }
            return sum * 0.9f;
        }
        case Wave::Saw: {
            float sum = 0;
            for (int k = 1; k * hz < kHarmonicLimitHz && k < 40; ++k) {
                sum += std::sin(static_cast<float>(k) * phase) / static_cast<float>(k);
            }
            return sum * 0.6f;
        }
    }
    return 0;
}

float envelope(float t, float attack, float decay) {
    const float rise = attack > 0 ? std::min(1.0f, t / attack) : 1.0f;
    const float fall = decay > 0 ? std::exp(-std::max(0.0f, t - attack) / decay) : 1.0f;
    return rise * fall;
}

}  // namespace

SoundMix::SoundMix(float seconds)
    : m_samples(static_cast<std::size_t>(seconds * kSampleRate), 0.0f) {}

void SoundMix::tone(float start, float length, float fromHz, float toHz, Wave wave, float level,
                    float attack, float decay, float vibratoHz, float vibratoDepth) {
    const auto first = static_cast<std::size_t>(start * kSampleRate);
    const auto count = static_cast<std::size_t>(length * kSampleRate);
    float phase = 0;
    for (std::size_t i = 0; i < count && first + i < m_samples.size(); ++i) {
        const float t = static_cast<float>(i) / kSampleRate;
        float hz = fromHz * std::pow(toHz / fromHz, t / length);
        if (vibratoHz > 0) hz *= 1.0f + vibratoDepth * std::sin(kTwoPi * vibratoHz * t);
        phase += kTwoPi * hz / kSampleRate;
        if (phase > kTwoPi) phase -= kTwoPi;
        // A short release at the end of the voice so that it never stops with a click.
        const float release = std::min(1.0f, (length - t) / 0.004f);
        m_samples[first + i] +=
            level * envelope(t, attack, decay) * release * waveAt(wave, phase, hz);
    }
}

void SoundMix::noise(float start, float length, float fromHz, float toHz, float level, float attack,
                     float decay, std::uint32_t seed) {
    const auto first = static_cast<std::size_t>(start * kSampleRate);
    const auto count = static_cast<std::size_t>(length * kSampleRate);
    std::uint32_t state = seed | 1u;
    float low = 0;
    for (std::size_t i = 0; i < count && first + i < m_samples.size(); ++i) {
        const float t = static_cast<float>(i) / kSampleRate;
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        const float white = static_cast<float>(state) / 2147483648.0f - 1.0f;
        const float cutoff = fromHz * std::pow(toHz / fromHz, t / length);
        const float alpha = 1.0f - std::exp(-kTwoPi * cutoff / kSampleRate);
        low += alpha * (white - low);
        const float release = std::min(1.0f, (length - t) / 0.004f);
        m_samples[first + i] += level * envelope(t, attack, decay) * release * low;
    }
}

std::vector<std::int16_t> SoundMix::render() const {
    const auto quantize = [this](float gain) {
        std::vector<std::int16_t> out(m_samples.size());
        const std::size_t fade = kSampleRate / 200;  // 5 ms
        for (std::size_t i = 0; i < m_samples.size(); ++i) {
            float s = m_samples[i] * gain;
            const std::size_t left = m_samples.size() - i;
            if (left < fade) s *= static_cast<float>(left) / static_cast<float>(fade);
            out[i] = static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
        }
        return out;
    };
    float loudest = 0;
    for (float s : m_samples) loudest = std::max(loudest, std::abs(s));
    if (loudest == 0) return quantize(0);
    // Which blocks count as sounding does not depend on the scale (bar the -60 dBFS
    // floor, far below any effect), so one measurement at a trial scale gives the gain.
    const float trial = 0.5f / loudest;
    const Loudness level = MeasureLoudness(quantize(trial), kSampleRate, 1);
    const float gain =
        trial * static_cast<float>(std::pow(10.0, (kGameLoudnessDb - level.rmsDb) / 20.0));
    assert(loudest * gain < 1.0f && "an effect would clip at the game's loudness");
    return quantize(gain);
}

namespace {

void putLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void putTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

// Note frequencies of the equal-tempered scale, A4 = 440 Hz; `midi` 60 is middle C.
float note(int midi) {
    return 440.0f * std::pow(2.0f, static_cast<float>(midi - 69) / 12.0f);
}

// Ball on the bar: a soft rising "pop", rounder than the wall's knock.
std::vector<std::int16_t> barBounce() {
    SoundMix mix(0.16f);
    mix.tone(0, 0.16f, 392, 784, Wave::Sine, 1.0f, 0.002f, 0.05f);
    mix.tone(0, 0.12f, 784, 1568, Wave::Sine, 0.25f, 0.002f, 0.03f);
    mix.noise(0, 0.01f, 3000, 1500, 0.3f, 0.0005f, 0.003f, 11);
    return mix.render();
}

// Wall or unbreakable block: a short wooden knock.
std::vector<std::int16_t> wallKnock() {
    SoundMix mix(0.09f);
    mix.tone(0, 0.09f, 1040, 760, Wave::Triangle, 1.0f, 0.001f, 0.022f);
    mix.tone(0, 0.05f, 2300, 2000, Wave::Sine, 0.25f, 0.001f, 0.008f);
    mix.noise(0, 0.012f, 5000, 2000, 0.5f, 0.0005f, 0.003f, 23);
    return mix.render();
}

// Menu cursor: a tiny, soft blip that does not tire when pressed often.
std::vector<std::int16_t> cursorBlip() {
    SoundMix mix(0.05f);
    mix.tone(0, 0.05f, note(84), note(84), Wave::Triangle, 0.6f, 0.002f, 0.02f);
    mix.tone(0, 0.05f, note(96), note(96), Wave::Sine, 0.15f, 0.002f, 0.01f);
    return mix.render();
}

// Item: a bright rising major arpeggio that rings out.
std::vector<std::int16_t> itemArpeggio() {
    SoundMix mix(0.42f);
    const int notes[] = {72, 76, 79, 84, 88};
    for (int i = 0; i < 5; ++i) {
        const float start = 0.045f * static_cast<float>(i);
        const float length = 0.42f - start;
        const float hz = note(notes[i]);
        mix.tone(start, length, hz, hz, Wave::Triangle, 0.6f, 0.003f, i == 4 ? 0.12f : 0.06f);
        mix.tone(start, length, hz * 2, hz * 2, Wave::Sine, 0.15f, 0.003f, 0.04f);
    }
    return mix.render();
}

// Selection: a two-note chime that says "yes".
std::vector<std::int16_t> selectChime() {
    SoundMix mix(0.3f);
    mix.tone(0, 0.08f, note(79), note(79), Wave::Triangle, 0.7f, 0.002f, 0.05f);
    mix.tone(0.07f, 0.23f, note(84), note(84), Wave::Triangle, 0.8f, 0.002f, 0.09f);
    mix.tone(0.07f, 0.23f, note(88), note(88), Wave::Sine, 0.35f, 0.002f, 0.08f);
    mix.tone(0.07f, 0.23f, note(96), note(96), Wave::Sine, 0.12f, 0.002f, 0.05f);
    return mix.render();
}

// Break: a crunchy shatter with a low thump under it and a few glassy sparkles.
std::vector<std::int16_t> blockShatter() {
    SoundMix mix(0.26f);
    mix.noise(0, 0.26f, 7000, 700, 1.0f, 0.001f, 0.05f, 37);
    mix.tone(0, 0.12f, 240, 90, Wave::Sine, 0.8f, 0.001f, 0.035f);
    const float sparkles[][2] = {{0.01f, 3520}, {0.035f, 4186}, {0.06f, 2794}, {0.085f, 3951}};
    for (const auto& s : sparkles)
        mix.tone(s[0], 0.1f, s[1], s[1] * 0.98f, Wave::Sine, 0.18f, 0.001f, 0.025f);
    return mix.render();
}

// Warp: a shimmering sweep up, like falling through a hole in space.
std::vector<std::int16_t> warpSweep() {
    SoundMix mix(0.5f);
    mix.tone(0, 0.5f, 180, 1500, Wave::Sine, 0.9f, 0.03f, 0.3f, 22, 0.06f);
    mix.tone(0, 0.5f, 272, 2260, Wave::Triangle, 0.35f, 0.05f, 0.25f, 17, 0.05f);
    mix.noise(0, 0.5f, 500, 4000, 0.25f, 0.1f, 0.2f, 53);
    return mix.render();
}

// A damaged block: a clear metallic "kin", partials of a struck bar that ring apart.
std::vector<std::int16_t> metalHit() {
    SoundMix mix(0.38f);
    const float base = 1250;
    const float partials[][3] = {{1.0f, 1.0f, 0.12f},
                                 {2.756f, 0.55f, 0.07f},
                                 {5.404f, 0.35f, 0.04f},
                                 {8.933f, 0.2f, 0.025f}};
    for (const auto& p : partials) {
        mix.tone(0, 0.38f, base * p[0], base * p[0], Wave::Sine, p[1], 0.0008f, p[2]);
    }
    mix.noise(0, 0.008f, 9000, 6000, 0.3f, 0.0003f, 0.002f, 71);
    return mix.render();
}

}  // namespace

std::vector<std::uint8_t> toWav(const std::vector<std::int16_t>& samples) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    putLe(out, 36 + dataBytes, 4);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    putLe(out, 16, 4);
    putLe(out, 1, 2);  // PCM
    putLe(out, 1, 2);  // mono
    putLe(out, kSampleRate, 4);
    putLe(out, kSampleRate * 2, 4);
    putLe(out, 2, 2);
    putLe(out, 16, 2);
    putTag(out, "data");
    putLe(out, dataBytes, 4);
    for (std::int16_t s : samples) putLe(out, static_cast<std::uint16_t>(s), 2);
    return out;
}

std::vector<SoundEffectFile> MakeSoundEffects() {
    return {
        {"SeBar.wav", toWav(barBounce())},      {"SeBlock.wav", toWav(wallKnock())},
        {"SeCur.wav", toWav(cursorBlip())},     {"SeItem.wav", toWav(itemArpeggio())},
        {"SeSelect.wav", toWav(selectChime())}, {"SeBreak.wav", toWav(blockShatter())},
        {"SeBlack.wav", toWav(warpSweep())},    {"SeKin.wav", toWav(metalHit())},
    };
}

}  // namespace qon::content
