// SPDX-License-Identifier: MIT
// The one check of a .bmp before anything decodes it: the size its header claims.
#include "qon/data/bitmap_header.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "qon/data/error.h"
#include "qon/data/files.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon {
namespace {

QON_PRINT_ROWS_BY_NAME

using test_support::RowName;
using test_support::ScratchFolder;
using test_support::WriteBytes;

// The 14-byte file header and the start of an info header of `infoBytes` bytes that claims
// `width` x `height` pixels (24 bits, no compression).
std::string bitmapHeader(std::int32_t width, std::int32_t height, std::uint32_t infoBytes) {
    std::string bytes = "BM";
    auto put = [&](std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) bytes.push_back(static_cast<char>(value >> (8 * i)));
    };
    put(0, 4);   // file size: not checked
    put(0, 4);   // reserved
    put(54, 4);  // pixel data offset
    put(infoBytes, 4);
    if (infoBytes == 12) {
        put(static_cast<std::uint32_t>(width), 2);
        put(static_cast<std::uint32_t>(height), 2);
        put(1, 2);
        put(24, 2);
        return bytes;
    }
    put(static_cast<std::uint32_t>(width), 4);
    put(static_cast<std::uint32_t>(height), 4);
    put(1, 2);
    put(24, 2);
    while (bytes.size() < 14 + infoBytes) bytes.push_back('\0');
    return bytes;
}

// The reason ReadBitmapFile refuses the file for, or "no error".
std::string refusal(const std::string& path) {
    try {
        ReadBitmapFile(path);
    } catch (const DataError& error) {
        return error.reason();
    }
    return "no error";
}

struct HeaderRow {
    const char* name;
    std::string bytes;
    int width = 0;  // 0: refused
    int height = 0;
    const char* reasonPart = "";
};

class BitmapHeader : public ::testing::TestWithParam<HeaderRow> {};

TEST_P(BitmapHeader, ClaimedSizeIsCheckedAgainstTheScreen) {
    const HeaderRow& row = GetParam();
    if (row.width == 0) {
        try {
            CheckBitmapHeader(row.bytes, "/mem/Block1.bmp");
            FAIL() << "accepted";
        } catch (const DataError& error) {
            EXPECT_EQ(error.file(), "/mem/Block1.bmp");
            EXPECT_NE(error.reason().find(row.reasonPart), std::string::npos) << error.what();
        }
        return;
    }
    const BitmapSide side = CheckBitmapHeader(row.bytes, "/mem/Block1.bmp");
    EXPECT_EQ(side.width, row.width);
    EXPECT_EQ(side.height, row.height);
}

const HeaderRow kHeaderRows[] = {
    {.name = "BlockOfTheGraphicSet", .bytes = bitmapHeader(53, 15, 40), .width = 53, .height = 15},
    {.name = "TheWholeScreen", .bytes = bitmapHeader(640, 480, 124), .width = 640, .height = 480},
    {.name = "TopDownCountsByItsSize",
     .bytes = bitmapHeader(12, -12, 40),
     .width = 12,
     .height = 12},
    {.name = "OldCoreHeader", .bytes = bitmapHeader(6, 6, 12), .width = 6, .height = 6},
    {.name = "OnePixelWiderThanTheScreen",
     .bytes = bitmapHeader(641, 480, 40),
     .reasonPart = "claims 641 x 480 pixels; a picture must be from 1 x 1 to 640 x 480 pixels"},
    {.name = "OnePixelTallerThanTheScreen",
     .bytes = bitmapHeader(640, 481, 40),
     .reasonPart = "640 x 481"},
    {.name = "RunLengthFileClaimingFourThousandSquare",
     .bytes = bitmapHeader(4096, 4096, 40),
     .reasonPart = "4096 x 4096"},
    {.name = "TopDownTallerThanTheScreen",
     .bytes = bitmapHeader(10, -2147483647 - 1, 40),
     .reasonPart = "10 x 2147483648"},
    {.name = "CoreHeaderOfSixtyFiveThousand",
     .bytes = bitmapHeader(65535, 1, 12),
     .reasonPart = "65535 x 1"},
    {.name = "NoPixels", .bytes = bitmapHeader(0, 15, 40), .reasonPart = "0 x 15"},
    {.name = "NegativeWidth", .bytes = bitmapHeader(-53, 15, 40), .reasonPart = "-53 x 15"},
    {.name = "NotABitmap", .bytes = "GIF89a", .reasonPart = "not a BMP picture"},
    {.name = "Empty", .bytes = "", .reasonPart = "not a BMP picture"},
    {.name = "HeaderCutShort",
     .bytes = bitmapHeader(53, 15, 40).substr(0, 20),
     .reasonPart = "header is cut short"},
};
INSTANTIATE_TEST_SUITE_P(data, BitmapHeader, ::testing::ValuesIn(kHeaderRows), RowName);

TEST(data_BitmapFile, ABitmapWithinTheScreenIsRead) {
    ScratchFolder folder;
    const std::string path = folder.file("Logo.bmp");
    WriteBytes(path, bitmapHeader(640, -480, 40) + std::string(640 * 480 * 2, '\0'));
    EXPECT_EQ(ReadBitmapFile(path).size(), 54u + 640 * 480 * 2);
}

TEST(data_BitmapFile, AFileLargerThanAnyScreenPictureIsRefusedBeforeItIsRead) {
    ScratchFolder folder;
    const std::string path = folder.file("huge.bmp");
    WriteBytes(path, bitmapHeader(53, 15, 40));
    std::filesystem::resize_file(path, kMaxBitmapFileBytes + 1);
    EXPECT_NE(refusal(path).find("too large"), std::string::npos);
}

}  // namespace
}  // namespace qon
