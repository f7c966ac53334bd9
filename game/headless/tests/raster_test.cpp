// SPDX-License-Identifier: MIT
// Pixels of the shared drawing code: colour keys, blits, colours, shapes and text, on the
// headless back buffer (the SDL platform draws with the same code).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "qon/headless/headless.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/media_bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::headless {
namespace {

QON_PRINT_ROWS_BY_NAME

using namespace qon::media;

namespace fs = std::filesystem;

constexpr std::uint32_t kWhite = Rgb(255, 255, 255);
constexpr std::uint32_t kMagenta = Rgb(255, 0, 255);
constexpr std::uint32_t kGreen = Rgb(0, 255, 0);

// Every test runs in a process of its own, so one folder per process is private to it.
std::string scratch(const std::string& name) {
    static const test_support::ScratchFolder folder;
    return folder.file(name);
}

class RasterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string reason;
        ASSERT_TRUE(media.InitFont(reason)) << reason;
        media.FillSurface(media.BackBuffer(), media.ToSurfaceColor(Rgb(0, 0, 0)));
    }
    std::uint32_t at(int x, int y) { return media.PixelAt(media.BackBuffer(), x, y); }
    std::uint32_t native(std::uint32_t rgb) { return media.ToSurfaceColor(rgb); }

    HeadlessMedia media;
};

// ---- ToSurfaceColor --------------------------------------------------------------

struct ColourCase {
    const char* name;
    std::uint32_t rgb{};
    std::uint32_t rgb565{};
};

class ToSurfaceColorTest : public RasterTest, public ::testing::WithParamInterface<ColourCase> {};

TEST_P(ToSurfaceColorTest, GivesTheRgb565Value) {
    const std::uint32_t before = at(0, 0);
    EXPECT_EQ(media.ToSurfaceColor(GetParam().rgb), GetParam().rgb565);
    EXPECT_EQ(at(0, 0), before);  // the conversion leaves the back buffer alone
}

INSTANTIATE_TEST_SUITE_P(
    Table, ToSurfaceColorTest,
    ::testing::Values(
        ColourCase{.name = "BlackIsZero", .rgb = Rgb(0, 0, 0)},
        ColourCase{.name = "White", .rgb = kWhite, .rgb565 = 0xFFFF},
        ColourCase{.name = "RedInTheHighBits", .rgb = Rgb(255, 0, 0), .rgb565 = 0xF800},
        ColourCase{.name = "GreenHasSixBits", .rgb = Rgb(0, 255, 0), .rgb565 = 0x07E0},
        ColourCase{.name = "BlueInTheLowBits", .rgb = Rgb(0, 0, 255), .rgb565 = 0x001F},
        ColourCase{.name = "LowBitsAreDropped", .rgb = Rgb(7, 3, 7)}),
    ::qon::test_support::RowName);

// ---- Colour keys and blits -------------------------------------------------------

// A 4 x 2 sprite: magenta at (0, 0), (2, 0) and (3, 1); green elsewhere.
std::string writeKeySprite() {
    const std::string path = scratch("key_sprite.bmp");
    test_support::WriteBytes(
        path, test_support::BmpBytes(4, 2, [](int x, int y) {
            return (y == 0 && (x == 0 || x == 2)) || (x == 3 && y == 1) ? kMagenta : kGreen;
        }));
    return path;
}

struct BlitCase {
    const char* name;
    bool keyed{};
    // Expected colour at the four pixels that hold the key colour in the sprite.
    bool keyPixelsShowBackground{};
};

class KeyedBlitTest : public RasterTest, public ::testing::WithParamInterface<BlitCase> {};

TEST_P(KeyedBlitTest, KeyColourEverywhereIsTransparentOnlyWhenKeyed) {
    SurfacePtr sprite = media.LoadSurfaceFromFile(writeKeySprite());
    ASSERT_TRUE(sprite);
    EXPECT_EQ(sprite->width(), 4);
    EXPECT_EQ(sprite->height(), 2);
    media.FillSurface(media.BackBuffer(), native(kWhite));
    EXPECT_EQ(media.BltSprite(media.BackBuffer(), 10, 20, 4, 2, *sprite, 0, 0, GetParam().keyed),
              0);
    const std::uint32_t keyShows =
        GetParam().keyPixelsShowBackground ? native(kWhite) : native(kMagenta);
    EXPECT_EQ(at(10, 20), keyShows);
    EXPECT_EQ(at(12, 20), keyShows);
    EXPECT_EQ(at(13, 21), keyShows);
    EXPECT_EQ(at(11, 20), native(kGreen));
    EXPECT_EQ(at(10, 21), native(kGreen));
    EXPECT_EQ(at(14, 20), native(kWhite));  // nothing beyond the sprite
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeyedBlitTest,
    ::testing::Values(BlitCase{.name = "Keyed", .keyed = true, .keyPixelsShowBackground = true},
                      BlitCase{.name = "Unkeyed"}),
    ::qon::test_support::RowName);

TEST_F(RasterTest, BlitIsClippedAtTheEdges) {
    SurfacePtr block = media.CreateOffscreenSurface(53, 15);
    media.FillSurface(*block, native(kGreen));
    EXPECT_EQ(media.BltSprite(media.BackBuffer(), 620, 470, 53, 15, *block, 0, 0, false), 0);
    EXPECT_EQ(at(639, 479), native(kGreen));
    EXPECT_EQ(at(619, 479), 0u);
    media.BltSprite(media.BackBuffer(), -50, -10, 53, 15, *block, 0, 0, false);
    EXPECT_EQ(at(2, 4), native(kGreen));
    EXPECT_EQ(at(3, 4), 0u);
}

TEST_F(RasterTest, StretchWidensTheBarPicture) {
    // Left half red, right half blue: stretched to 192 the boundary moves to 96.
    const std::string path = scratch("bar.bmp");
    test_support::WriteBytes(path, test_support::BmpBytes(128, 12, [](int x, int) {
                                 return x < 64 ? Rgb(255, 0, 0) : Rgb(0, 0, 255);
                             }));
    SurfacePtr bar = media.LoadSurfaceFromFile(path);
    EXPECT_EQ(media.BltStretch(media.BackBuffer(), 100, 386, 192, 12, *bar, 0, 0, 128, 12, false),
              0);
    EXPECT_EQ(at(100, 386), native(Rgb(255, 0, 0)));
    EXPECT_EQ(at(195, 390), native(Rgb(255, 0, 0)));
    EXPECT_EQ(at(196, 390), native(Rgb(0, 0, 255)));
    EXPECT_EQ(at(291, 397), native(Rgb(0, 0, 255)));
    EXPECT_EQ(at(292, 397), 0u);
    EXPECT_EQ(at(150, 398), 0u);
}

TEST_F(RasterTest, MissingBitmapNamesTheFile) {
    const std::string path = scratch("no_such_picture.bmp");
    try {
        media.LoadSurfaceFromFile(path);
        FAIL() << "expected a MediaError";
    } catch (const MediaError& error) {
        EXPECT_EQ(error.file(), path);
        EXPECT_NE(std::string(error.what()).find("does not exist"), std::string::npos);
    }
}

TEST_F(RasterTest, GarbageBitmapIsRefusedWithReason) {
    const std::string path = scratch("garbage.bmp");
    test_support::WriteBytes(path, "this is not a picture");
    EXPECT_THROW(media.LoadSurfaceFromFile(path), MediaError);
}

// ---- Shapes ------------------------------------------------------------------------

TEST_F(RasterTest, BoxFillsInsideAndOutlinesAround) {
    media.DrawBox(media.BackBuffer(), 100, 100, 120, 110, Rgb(0, 0, 255), Rgb(100, 100, 255), 0, 0,
                  2);
    EXPECT_EQ(at(110, 105), native(Rgb(100, 100, 255)));  // inside
    EXPECT_EQ(at(110, 100), native(Rgb(0, 0, 255)));      // top edge
    EXPECT_EQ(at(100, 105), native(Rgb(0, 0, 255)));      // left edge
    EXPECT_EQ(at(119, 105), native(Rgb(0, 0, 255)));      // right edge, exclusive corner
    EXPECT_EQ(at(125, 105), 0u);
}

TEST_F(RasterTest, UnfilledBoxLeavesTheInside) {
    media.FillSurface(media.BackBuffer(), native(kGreen));
    media.DrawBox(media.BackBuffer(), 0, 30, 640, 500, Rgb(0, 100, 255), 0, 0, 1, 2);
    EXPECT_EQ(at(320, 30), native(Rgb(0, 100, 255)));
    EXPECT_EQ(at(0, 200), native(Rgb(0, 100, 255)));
    EXPECT_EQ(at(639, 200), native(Rgb(0, 100, 255)));
    EXPECT_EQ(at(320, 200), native(kGreen));
}

TEST_F(RasterTest, CircleFillsItsDiscAndOnlyThat) {
    media.DrawCircle(media.BackBuffer(), 200, 200, 6, Rgb(255, 0, 0), Rgb(255, 120, 120), 1, 0, 3);
    EXPECT_EQ(at(200, 200), native(Rgb(255, 120, 120)));
    EXPECT_EQ(at(206, 200), native(Rgb(255, 0, 0)));  // on the ring
    EXPECT_EQ(at(200, 193), native(Rgb(255, 0, 0)));
    EXPECT_EQ(at(210, 200), 0u);
    EXPECT_EQ(at(206, 206), 0u);  // the corner of the bounding box is outside
}

// ---- Text ----------------------------------------------------------------------------

struct InkBox {
    int left = 10000, top = 10000, right = -1, bottom = -1;
    bool any() const { return right >= 0; }
};

InkBox inkOf(RasterMedia& media) {
    InkBox box;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            if (media.PixelAt(media.BackBuffer(), x, y) == 0) continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x);
            box.bottom = std::max(box.bottom, y);
        }
    }
    return box;
}

TEST_F(RasterTest, StringInksBelowAndRightOfItsCorner) {
    media.DrawString(media.BackBuffer(), 215, 220, "Game Over", kWhite, false, 24);
    const InkBox box = inkOf(media);
    ASSERT_TRUE(box.any());
    EXPECT_GE(box.left, 215);
    EXPECT_GE(box.top, 220);
    EXPECT_LT(box.left, 215 + 10);
    EXPECT_LT(box.bottom, 220 + 40);
    EXPECT_GT(box.right - box.left, 80);  // nine characters at 24 points
}

TEST_F(RasterTest, EmptyStringDrawsNothing) {
    media.DrawString(media.BackBuffer(), 10, 10, "", kWhite, false, 24);
    EXPECT_FALSE(inkOf(media).any());
}

TEST_F(RasterTest, SizeFollowsEachCall) {
    media.DrawString(media.BackBuffer(), 0, 0, "QON", kWhite, false, 96);
    const InkBox large = inkOf(media);
    media.FillSurface(media.BackBuffer(), 0);
    media.DrawString(media.BackBuffer(), 0, 0, "QON", kWhite, false, 14);
    const InkBox small = inkOf(media);
    ASSERT_TRUE(large.any());
    ASSERT_TRUE(small.any());
    EXPECT_GT(large.bottom - large.top, 4 * (small.bottom - small.top));
}

TEST_F(RasterTest, OpaqueTextPaintsBlackBehindTransparentDoesNot) {
    media.FillSurface(media.BackBuffer(), native(kGreen));
    media.DrawString(media.BackBuffer(), 100, 100, "STAGE", kWhite, false, 14);
    media.DrawString(media.BackBuffer(), 100, 300, "STAGE", kWhite, true, 14);
    int blackOpaque = 0;
    int blackTransparent = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) {
            blackOpaque += at(100 + x, 100 + y) == 0 ? 1 : 0;
            blackTransparent += at(100 + x, 300 + y) == 0 ? 1 : 0;
        }
    }
    EXPECT_GT(blackOpaque, 50);
    EXPECT_EQ(blackTransparent, 0);
}

TEST_F(RasterTest, JapaneseTextRenders) {
    media.DrawString(media.BackBuffer(), 225, 124, "グラフィック製作", kWhite, false, 28);
    const InkBox box = inkOf(media);
    ASSERT_TRUE(box.any());
    EXPECT_GT(box.right - box.left, 150);  // eight full-width glyphs, not missing-glyph boxes
}

TEST_F(RasterTest, SavedShotLoadsBackIdentical) {
    media.DrawString(media.BackBuffer(), 50, 50, "SCORE 1234", kWhite, false, 14);
    media.DrawCircle(media.BackBuffer(), 300, 300, 20, kWhite, kGreen, 0, 0, 2);
    const std::string path = scratch("shot.bmp");
    media.SaveBitmap(media.BackBuffer(), path);
    SurfacePtr back = media.LoadSurfaceFromFile(path);
    ASSERT_EQ(back->width(), 640);
    for (int y = 0; y < 480; y += 3) {
        for (int x = 0; x < 640; x += 3) {
            ASSERT_EQ(media.PixelAt(*back, x, y), at(x, y)) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace qon::headless
