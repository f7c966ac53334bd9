// SPDX-License-Identifier: MIT
#include "png.h"

#include <zlib.h>

#include <stdexcept>
#include <string>

namespace qon::content {

namespace {

void putBe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// Length, type, data, and the CRC of type and data.
void putChunk(std::vector<std::uint8_t>& out, const char (&type)[5],
              const std::vector<std::uint8_t>& data) {
    putBe32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = ::crc32(::crc32(0L, Z_NULL, 0), out.data() + typeAt,
                              static_cast<uInt>(out.size() - typeAt));
    putBe32(out, static_cast<std::uint32_t>(crc));
}

}  // namespace

std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgba) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4u;
    if (width <= 0 || height <= 0 || rgba.size() != rowBytes * static_cast<std::size_t>(height)) {
        throw std::invalid_argument("EncodePng: the pixels do not match " + std::to_string(width) +
                                    " x " + std::to_string(height));
    }
    // Each row starts with its filter type: 0, none.
    std::vector<std::uint8_t> raw;
    raw.reserve((rowBytes + 1) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const auto row = rgba.begin() + static_cast<std::ptrdiff_t>(rowBytes) * y;
        raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
    }
    uLongf packedSize = ::compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (::compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                    Z_BEST_COMPRESSION) != Z_OK) {
        throw std::runtime_error("EncodePng: zlib could not compress the pixels");
    }
    packed.resize(packedSize);

    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    putBe32(header, static_cast<std::uint32_t>(width));
    putBe32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, filters, no interlace
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", packed);
    putChunk(png, "IEND", {});
    return png;
}

}  // namespace qon::content
