// SPDX-License-Identifier: MIT
#include "qon/data/bitmap_header.h"

#include <cstdint>

#include "qon/data/error.h"
#include "qon/data/files.h"
#include "qon/data/messages.h"

namespace qon {

namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::uint32_t kCoreHeaderBytes = 12;  // the old OS/2 header, 16-bit sides

std::uint32_t little(std::string_view bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

}  // namespace

BitmapSide CheckBitmapHeader(std::string_view bytes, const std::string& name) {
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') {
        throw DataError(name, 0, Say(Message::NotBmp));
    }
    const auto cutShort = [&] { return DataError(name, 0, Say(Message::BmpHeaderCutShort)); };
    if (bytes.size() < kFileHeaderBytes + 4) throw cutShort();
    const std::uint32_t infoBytes = little(bytes, kFileHeaderBytes, 4);
    std::int64_t width = 0;
    std::int64_t height = 0;
    if (infoBytes == kCoreHeaderBytes) {
        if (bytes.size() < kFileHeaderBytes + 8) throw cutShort();
        width = little(bytes, 18, 2);
        height = little(bytes, 20, 2);
    } else {
        if (bytes.size() < kFileHeaderBytes + 12) throw cutShort();
        width = static_cast<std::int32_t>(little(bytes, 18, 4));
        height = static_cast<std::int32_t>(little(bytes, 22, 4));
        if (height < 0) height = -height;  // stored top-down
    }
    if (width < 1 || height < 1 || width > kMaxBitmapWidth || height > kMaxBitmapHeight) {
        throw DataError(name, 0,
                        Say(Message::BmpSizeOutOfRange,
                            {std::to_string(width), std::to_string(height),
                             std::to_string(kMaxBitmapWidth), std::to_string(kMaxBitmapHeight)}));
    }
    return {static_cast<int>(width), static_cast<int>(height)};
}

std::string ReadBitmapFile(const std::string& path) {
    std::string bytes = ReadFileBytes(path, kMaxBitmapFileBytes);
    CheckBitmapHeader(bytes, path);
    return bytes;
}

}  // namespace qon
