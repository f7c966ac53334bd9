// SPDX-License-Identifier: MIT
#pragma once

// Writers of the small media files tests need: uncompressed 24-bit BMP pictures, 8-bit
// WAV sounds and an empty standard MIDI file. Test-only; the game never writes these.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace qon::media_test {

// A file in a folder of its own for the running test under `scratchRoot`: ctest runs
// tests in parallel.
inline std::string ScratchFile(const std::string& scratchRoot, const std::string& name) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string own = std::string(test->test_suite_name()) + "." + test->name();
    std::replace(own.begin(), own.end(), '/', '_');  // parameterised names hold slashes
    const std::string folder = scratchRoot + "/" + own;
    std::filesystem::create_directories(folder);
    return folder + "/" + name;
}

// RGB as the game writes it: red + 256 * green + 65536 * blue.
using PixelFunction = std::function<std::uint32_t(int x, int y)>;

inline void putLe(std::vector<char>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

inline void WriteBmp(const std::string& path, int width, int height, const PixelFunction& pixel) {
    const int rowBytes = (width * 3 + 3) & ~3;
    const std::uint32_t imageBytes = static_cast<std::uint32_t>(rowBytes * height);
    std::vector<char> out;
    out.push_back('B');
    out.push_back('M');
    putLe(out, 54 + imageBytes, 4);
    putLe(out, 0, 4);
    putLe(out, 54, 4);
    putLe(out, 40, 4);
    putLe(out, static_cast<std::uint32_t>(width), 4);
    putLe(out, static_cast<std::uint32_t>(height), 4);
    putLe(out, 1, 2);
    putLe(out, 24, 2);
    putLe(out, 0, 4);
    putLe(out, imageBytes, 4);
    putLe(out, 2835, 4);
    putLe(out, 2835, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    for (int row = height - 1; row >= 0; --row) {  // bottom-up
        int written = 0;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t rgb = pixel(x, row);
            out.push_back(static_cast<char>((rgb >> 16) & 0xFF));  // blue
            out.push_back(static_cast<char>((rgb >> 8) & 0xFF));   // green
            out.push_back(static_cast<char>(rgb & 0xFF));          // red
            written += 3;
        }
        for (; written < rowBytes; ++written) out.push_back(0);
    }
    std::ofstream(path, std::ios::binary)
        .write(out.data(), static_cast<std::streamsize>(out.size()));
}

inline void WriteSolidBmp(const std::string& path, int width, int height, std::uint32_t rgb) {
    WriteBmp(path, width, height, [rgb](int, int) { return rgb; });
}

// A short 8-bit mono PCM click.
inline void WriteWav(const std::string& path) {
    const std::uint32_t samples = 220;
    std::vector<char> out;
    auto tag = [&out](const char* text) { out.insert(out.end(), text, text + 4); };
    tag("RIFF");
    putLe(out, 36 + samples, 4);
    tag("WAVE");
    tag("fmt ");
    putLe(out, 16, 4);
    putLe(out, 1, 2);      // PCM
    putLe(out, 1, 2);      // mono
    putLe(out, 22050, 4);  // rate
    putLe(out, 22050, 4);  // bytes per second
    putLe(out, 1, 2);      // block align
    putLe(out, 8, 2);      // bits
    tag("data");
    putLe(out, samples, 4);
    for (std::uint32_t i = 0; i < samples; ++i)
        out.push_back(static_cast<char>(i % 20 < 10 ? 200 : 56));
    std::ofstream(path, std::ios::binary)
        .write(out.data(), static_cast<std::streamsize>(out.size()));
}

// A format-0 MIDI file with one empty track.
inline void WriteMidi(const std::string& path) {
    const unsigned char bytes[] = {'M', 'T', 'h', 'd', 0,   0, 0, 6, 0, 0, 0,    1,    0,
                                   96,  'M', 'T', 'r', 'k', 0, 0, 0, 4, 0, 0xFF, 0x2F, 0};
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

}  // namespace qon::media_test
