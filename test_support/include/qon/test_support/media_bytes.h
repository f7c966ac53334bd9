// SPDX-License-Identifier: MIT
#pragma once

// Small media files built in memory for tests: uncompressed 24-bit BMP pictures, a
// run-length BMP that claims far more than it holds, an 8-bit WAV click and an empty
// standard MIDI file.

#include <cstdint>
#include <functional>
#include <string>

namespace qon::test_support {

// RGB as the game writes it: red + 256 * green + 65536 * blue.
using PixelFunction = std::function<std::uint32_t(int x, int y)>;

std::string BmpBytes(int width, int height, const PixelFunction& pixel);
std::string SolidBmpBytes(int width, int height, std::uint32_t rgb);

// A run-length (RLE8) BMP of about a kilobyte whose header claims width x height pixels:
// its pixel data ends at once, so a decoder that trusts the header allocates the whole
// claimed picture for nothing.
std::string Rle8BmpClaiming(int width, int height);

// A short 8-bit mono PCM click at 22050 Hz.
std::string WavBytes();

// A format-0 MIDI file with one empty track.
std::string MidiBytes();

}  // namespace qon::test_support
