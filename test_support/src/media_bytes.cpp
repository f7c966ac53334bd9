// SPDX-License-Identifier: MIT
#include "qon/test_support/media_bytes.h"

namespace qon::test_support {

namespace {

void putLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::string BmpBytes(int width, int height, const PixelFunction& pixel) {
    const int rowBytes = (width * 3 + 3) & ~3;
    const auto imageBytes = static_cast<std::uint32_t>(rowBytes * height);
    std::string out = "BM";
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
    return out;
}

std::string SolidBmpBytes(int width, int height, std::uint32_t rgb) {
    return BmpBytes(width, height, [rgb](int, int) { return rgb; });
}

std::string Rle8BmpClaiming(int width, int height) {
    constexpr std::uint32_t kPaletteBytes = 256 * 4;
    constexpr std::uint32_t kPixelOffset = 14 + 40 + kPaletteBytes;
    const std::string pixels("\x00\x01", 2);  // end of bitmap: every pixel left as index 0
    std::string out = "BM";
    putLe(out, kPixelOffset + static_cast<std::uint32_t>(pixels.size()), 4);
    putLe(out, 0, 4);
    putLe(out, kPixelOffset, 4);
    putLe(out, 40, 4);
    putLe(out, static_cast<std::uint32_t>(width), 4);
    putLe(out, static_cast<std::uint32_t>(height), 4);
    putLe(out, 1, 2);
    putLe(out, 8, 2);
    putLe(out, 1, 4);  // BI_RLE8
    putLe(out, static_cast<std::uint32_t>(pixels.size()), 4);
    putLe(out, 2835, 4);
    putLe(out, 2835, 4);
    putLe(out, 256, 4);
    putLe(out, 0, 4);
    for (std::uint32_t i = 0; i < 256; ++i) putLe(out, i * 0x010101u, 4);
    return out + pixels;
}

std::string WavBytes() {
    const std::uint32_t samples = 220;
    std::string out;
    out += "RIFF";
    putLe(out, 36 + samples, 4);
    out += "WAVEfmt ";
    putLe(out, 16, 4);
    putLe(out, 1, 2);      // PCM
    putLe(out, 1, 2);      // mono
    putLe(out, 22050, 4);  // rate
    putLe(out, 22050, 4);  // bytes per second
    putLe(out, 1, 2);      // block align
    putLe(out, 8, 2);      // bits
    out += "data";
    putLe(out, samples, 4);
    for (std::uint32_t i = 0; i < samples; ++i)
        out.push_back(static_cast<char>(i % 20 < 10 ? 200 : 56));
    return out;
}

std::string MidiBytes() {
    static const unsigned char kBytes[] = {'M', 'T', 'h', 'd', 0,   0, 0, 6, 0, 0, 0,    1,    0,
                                           96,  'M', 'T', 'r', 'k', 0, 0, 0, 4, 0, 0xFF, 0x2F, 0};
    return std::string(reinterpret_cast<const char*>(kBytes), sizeof kBytes);
}

}  // namespace qon::test_support
