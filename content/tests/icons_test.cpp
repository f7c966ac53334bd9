// SPDX-License-Identifier: MIT
// The programs' icons: PNG files that a decoder reads back to the pixels drawn, one per
// program and size, transparent around their rounded tile.
#include "icons.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "png.h"

namespace qon::content {
namespace {

std::uint32_t be32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes.at(at)) << 24 | bytes.at(at + 1) << 16 |
           bytes.at(at + 2) << 8 | bytes.at(at + 3);
}

struct Decoded {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rows;  // each row: its filter byte, then RGBA
};

// Walks the chunks, checking each CRC, and inflates the image data.
Decoded decode(const std::vector<std::uint8_t>& png) {
    const std::vector<std::uint8_t> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_EQ(std::vector<std::uint8_t>(png.begin(), png.begin() + 8), signature);
    Decoded image;
    std::vector<std::uint8_t> packed;
    std::vector<std::string> types;
    for (std::size_t at = 8; at < png.size();) {
        const std::uint32_t length = be32(png, at);
        const std::string type(png.begin() + static_cast<std::ptrdiff_t>(at) + 4,
                               png.begin() + static_cast<std::ptrdiff_t>(at) + 8);
        const std::uint8_t* body = png.data() + at + 8;
        const uLong crc = ::crc32(::crc32(0L, Z_NULL, 0), png.data() + at + 4, length + 4);
        EXPECT_EQ(be32(png, at + 8 + length), crc) << type;
        if (type == "IHDR") {
            image.width = static_cast<int>(be32(png, at + 8));
            image.height = static_cast<int>(be32(png, at + 12));
            EXPECT_EQ(std::vector<std::uint8_t>(body + 8, body + 13),
                      (std::vector<std::uint8_t>{8, 6, 0, 0, 0}));
        }
        if (type == "IDAT") packed.insert(packed.end(), body, body + length);
        types.push_back(type);
        at += 12 + length;
    }
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    uLongf size = static_cast<uLongf>(image.height) * (static_cast<uLongf>(image.width) * 4 + 1);
    image.rows.resize(size);
    EXPECT_EQ(::uncompress(image.rows.data(), &size, packed.data(), packed.size()), Z_OK);
    EXPECT_EQ(size, image.rows.size());
    return image;
}

TEST(Png, DecodesBackToThePixelsRowByRow) {
    // 3 x 2: distinct bytes everywhere, so a swapped row or channel shows.
    std::vector<std::uint8_t> rgba(3 * 2 * 4);
    for (std::size_t i = 0; i < rgba.size(); ++i) rgba[i] = static_cast<std::uint8_t>(i * 7 + 1);
    const Decoded image = decode(EncodePng(3, 2, rgba));
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    std::vector<std::uint8_t> expected = {0};
    expected.insert(expected.end(), rgba.begin(), rgba.begin() + 12);
    expected.push_back(0);
    expected.insert(expected.end(), rgba.begin() + 12, rgba.end());
    EXPECT_EQ(image.rows, expected);
}

TEST(Icons, EveryProgramAtEverySizeOnATransparentCorner) {
    const std::vector<IconFile> icons = MakeIcons();
    ASSERT_EQ(icons.size(), kIconIds.size() * kIconSizes.size());
    EXPECT_EQ(icons.front().path, "icons/hicolor/48x48/apps/org.qonproject.Qon.png");
    std::set<std::string> paths;
    for (const IconFile& icon : icons) {
        paths.insert(icon.path);
        const Decoded image = decode(icon.png);
        ASSERT_EQ(image.width, image.height) << icon.path;
        const std::string side = std::to_string(image.width);
        EXPECT_NE(icon.path.find("/" + side + "x" + side + "/"), std::string::npos) << icon.path;
        const std::size_t stride = static_cast<std::size_t>(image.width) * 4 + 1;
        const std::size_t middle = stride * static_cast<std::size_t>(image.height / 2) + 1 +
                                   static_cast<std::size_t>(image.width / 2) * 4;
        EXPECT_EQ(image.rows.at(1 + 3), 0) << icon.path << ": the corner is transparent";
        EXPECT_EQ(image.rows.at(middle + 3), 255) << icon.path << ": the middle is opaque";
    }
    EXPECT_EQ(paths.size(), icons.size());
}

}  // namespace
}  // namespace qon::content
