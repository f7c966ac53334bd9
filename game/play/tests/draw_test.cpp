// SPDX-License-Identifier: MIT
// The play screen on the headless back buffer: colour keys, block pictures, the status
// line, and loading the graphic set.

#include <gtest/gtest.h>

#include <filesystem>

#include "play_test_support.h"
#include "qon/data/error.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"

namespace qon::play::test {
namespace {

QON_PRINT_ROWS_BY_NAME

class PlayScreen : public ::testing::Test {
  protected:
    PlayScreen() : game(media) {
        PrepareGameForTest(game);
        folder.writeGraphicSet(media);
        LoadGraphicSet(media, game.images, game.graphicStaff, folder.graphicSetPath());
    }
    std::uint32_t pixel(int x, int y) { return media.PixelAt(media.BackBuffer(), x, y); }
    std::uint32_t native(std::uint32_t rgb) { return media.ToSurfaceColor(rgb); }
    const TextCall* findText(const std::string& text) {
        for (const TextCall& t : media.texts) {
            if (t.text == text) return &t;
        }
        return nullptr;
    }

    TestMedia media;
    GameFolder folder;
    Game game;
};

TEST_F(PlayScreen, GraphicSetLoadsEverySlotAndTheAuthor) {
    EXPECT_EQ(game.graphicStaff, "Graphic Tester");
    for (const auto& s : game.images.BlockSurface) ASSERT_TRUE(s);
    for (const auto& s : game.images.SpecialSurface) ASSERT_TRUE(s);
    EXPECT_EQ(game.images.BarSurface->width(), 128);
    EXPECT_EQ(game.images.MiniBallSurface->width(), 6);
}

TEST_F(PlayScreen, SpecialBlocksAreColourKeyedAndNormalBlocksOpaque) {
    PutBlock(game.play, 5, 5, Kind::Pin);  // x 267, y 105
    PutBlock(game.play, 6, 5, 0);          // x 267, y 120
    DrawPlayScreen(game);
    EXPECT_EQ(pixel(267, 105), native(media::Rgb(0, 0, 0))) << "key colour is transparent";
    EXPECT_EQ(pixel(267 + 26, 105 + 7), native(SpecialColour(0)));
    EXPECT_EQ(pixel(267, 120), native(BlockColour(0))) << "blocks are drawn unkeyed";
}

TEST_F(PlayScreen, SpecialKindsUseTheirOwnSlots) {
    const int kinds[] = {101, 102, 107, 103, 104, 105, 106, 108, 109, 110, 111};
    for (int slot = 0; slot < 11; ++slot) PutBlock(game.play, 2, slot, kinds[slot]);
    DrawPlayScreen(game);
    for (int slot = 0; slot < 11; ++slot) {
        EXPECT_EQ(pixel(53 * slot + 2 + 26, 2 * 15 + 30 + 7), native(SpecialColour(slot)))
            << "special slot " << slot;
    }
}

struct SlotRow {
    const char* name;
    int kind{};
    int hits{};
    int expSlot{};
};

class BlockPicture : public PlayScreen, public ::testing::WithParamInterface<SlotRow> {};

TEST_P(BlockPicture, FollowsTheHitPointsLeft) {
    const SlotRow& row = GetParam();
    PutBlock(game.play, 5, 5, row.kind);
    for (int i = 0; i < row.hits; ++i) {
        game.play.Ball = BallBody{285, 92, 12, 12, 2, 3};
        MainBallReaction(game, BlockContact{5 * kGridColumns + 5, Side::Top});
    }
    game.play.Ball = BallBody{500, 300, 12, 12, 0, 0};
    DrawPlayScreen(game);
    EXPECT_EQ(pixel(267 + 26, 105 + 7), native(BlockColour(row.expSlot)));
}

INSTANTIATE_TEST_SUITE_P(
    Table, BlockPicture,
    ::testing::Values(
        SlotRow{.name = "FourHitBlockUndamaged", .kind = 3, .expSlot = 3},
        SlotRow{.name = "FourHitBlockAfterOneHit", .kind = 3, .hits = 1, .expSlot = 2},
        SlotRow{.name = "FourHitBlockAfterTwoHits", .kind = 3, .hits = 2, .expSlot = 1},
        SlotRow{.name = "FourHitBlockLastState", .kind = 3, .hits = 3},
        SlotRow{.name = "EightHitBlock", .kind = 7, .expSlot = 7},
        SlotRow{.name = "UnbreakableAfterHits", .kind = 8, .hits = 5, .expSlot = 8}),
    ::qon::test_support::RowName);

TEST_F(PlayScreen, StatusLineShowsLivesStageItemAndScore) {
    game.play.StageNumber = 12;
    media.recordDrawing = true;
    DrawPlayScreen(game);
    const TextCall* lives = findText(
        "\xC3\x97"
        "4");
    ASSERT_NE(lives, nullptr);
    EXPECT_EQ(lives->x, 22);
    EXPECT_EQ(lives->y, 12);
    EXPECT_EQ(lives->size, 14);
    const TextCall* stage = findText("STAGE12");
    ASSERT_NE(stage, nullptr);
    EXPECT_EQ(stage->x, 270);
    const TextCall* item = findText("ITEM");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->x, 73);
    EXPECT_EQ(item->y, 11);
    const TextCall* score = findText("SCORE 0");
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(score->x, 364);
    EXPECT_EQ(score->colour, media::Rgb(255, 255, 255));
    EXPECT_EQ(findText("COMBO"), nullptr);

    // The lives icon is the keyed ball picture at (10, 12).
    EXPECT_EQ(pixel(16, 18), native(kBallColour));
    EXPECT_EQ(pixel(10, 12), native(media::Rgb(0, 0, 0)));
    // The score text really reaches the back buffer.
    ASSERT_TRUE(media.fontReady);
    bool inked = false;
    for (int y = 11; y < 30 && !inked; ++y) {
        for (int x = 364; x < 460 && !inked; ++x) inked = pixel(x, y) != 0;
    }
    EXPECT_TRUE(inked);
}

struct ComboTextRow {
    const char* name;
    int combo{};
    const char* expText{};  // nullptr: nothing shown
};

class ComboText : public PlayScreen, public ::testing::WithParamInterface<ComboTextRow> {};

TEST_P(ComboText, PaddedToThreeCharacters) {
    const ComboTextRow& row = GetParam();
    game.play.Combo = static_cast<std::int16_t>(row.combo);
    game.play.ComboTimer = 30;
    media.recordDrawing = true;
    DrawPlayScreen(game);
    const TextCall* word = findText("COMBO");
    if (row.expText == nullptr) {
        EXPECT_EQ(word, nullptr);
        return;
    }
    ASSERT_NE(word, nullptr);
    EXPECT_EQ(word->x, 495);
    EXPECT_EQ(word->y, 90);
    EXPECT_EQ(word->size, 18);
    const TextCall* number = findText(row.expText);
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(number->x, 420);
    EXPECT_EQ(number->y, 80);
    EXPECT_EQ(number->size, 28);
    EXPECT_EQ(number->colour, media::Rgb(255, 255, 10));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ComboText,
    ::testing::Values(ComboTextRow{.name = "OneShowsNothing", .combo = 1},
                      ComboTextRow{.name = "OneDigit", .combo = 2, .expText = "2  "},
                      ComboTextRow{.name = "TwoDigits", .combo = 45, .expText = "45 "},
                      ComboTextRow{.name = "ThreeDigits", .combo = 999, .expText = "999"}),
    ::qon::test_support::RowName);

TEST_F(PlayScreen, ItemIconsStandSideBySide) {
    game.play.MagnetOn = true;
    game.play.FireBallOn = true;
    media.recordDrawing = true;
    DrawPlayScreen(game);
    bool magnet = false, fire = false;
    for (const BlitCall& b : media.blits) {
        magnet |=
            b.x == 125 && b.y == 11 && b.source == game.images.SpecialSurface[2].get() && b.keyed;
        fire |=
            b.x == 188 && b.y == 11 && b.source == game.images.SpecialSurface[9].get() && b.keyed;
    }
    EXPECT_TRUE(magnet);
    EXPECT_TRUE(fire);
}

TEST_F(PlayScreen, FireTrailBlinksEverySecondFrame) {
    game.play.FireBallOn = true;
    game.play.Ball = BallBody{300, 200, 12, 12, 4, -5};
    media.recordDrawing = true;
    DrawPlayScreen(game);  // TrailBlink starts off: no trail, then it turns on
    EXPECT_TRUE(media.circles.empty());
    DrawPlayScreen(game);
    ASSERT_EQ(media.circles.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(media.circles[static_cast<std::size_t>(i)].x, 306 - 4 * i);
        EXPECT_EQ(media.circles[static_cast<std::size_t>(i)].y, 206 + 5 * i);
        EXPECT_EQ(media.circles[static_cast<std::size_t>(i)].radius, 6 - i);
    }
    media.clearRecords();
    DrawPlayScreen(game);
    EXPECT_TRUE(media.circles.empty());
}

TEST_F(PlayScreen, RestingFireBallDrawsAllCirclesOnOneCentre) {
    game.play.FireBallOn = true;
    game.play.TrailBlink = true;
    media.recordDrawing = true;
    DrawPlayScreen(game);
    ASSERT_EQ(media.circles.size(), 4u);
    for (const CircleCall& c : media.circles) {
        EXPECT_EQ(c.x, 384);
        EXPECT_EQ(c.y, 380);
    }
}

TEST_F(PlayScreen, WideBarIsTheSamePictureStretched) {
    game.play.Bar.Width = 432;
    game.play.Bar.X = 100;
    DrawPlayScreen(game);
    EXPECT_EQ(pixel(100, 390), native(kBarColour));
    EXPECT_EQ(pixel(531, 390), native(kBarColour));
    EXPECT_NE(pixel(532, 390), native(kBarColour));
}

TEST_F(PlayScreen, MiniBallsAreKeyed) {
    game.play.MiniBallRing.slots[4] = MiniBall{200, 250, 6, 6, 1, 1, 1};
    DrawPlayScreen(game);
    EXPECT_EQ(pixel(202, 252), native(kMiniBallColour));
    EXPECT_EQ(pixel(200, 250), native(media::Rgb(0, 0, 0)));
}

// ---- bad graphic sets -----------------------------------------------------------------

TEST_F(PlayScreen, MissingBitmapNamesTheFileAndLeavesNoImage) {
    std::filesystem::remove(folder.path() + "slot12.bmp");
    try {
        LoadGraphicSet(media, game.images, game.graphicStaff, folder.graphicSetPath());
        FAIL() << "expected MediaError";
    } catch (const media::MediaError& error) {
        EXPECT_NE(std::string(error.what()).find("slot12.bmp"), std::string::npos) << error.what();
    }
    for (const auto& s : game.images.BlockSurface) EXPECT_FALSE(s);
    for (const auto& s : game.images.SpecialSurface) EXPECT_FALSE(s);
    EXPECT_FALSE(game.images.BarSurface);
    // Drawing with no images must still work (the shell may show the field behind a
    // message).
    PutBlock(game.play, 1, 1, 0);
    DrawPlayScreen(game);
}

TEST_F(PlayScreen, ShortGraphicSetFileIsADataError) {
    test_support::WriteBytes(folder.graphicSetPath(), "Name\r\nAuthor\r\nslot0.bmp\r\n");
    EXPECT_THROW(LoadGraphicSet(media, game.images, game.graphicStaff, folder.graphicSetPath()),
                 DataError);
    EXPECT_FALSE(game.images.BallSurface);
}

TEST_F(PlayScreen, NotABitmapIsAMediaError) {
    test_support::WriteBytes(folder.path() + "slot22.bmp", "this is text, not a picture");
    EXPECT_THROW(LoadGraphicSet(media, game.images, game.graphicStaff, folder.graphicSetPath()),
                 media::MediaError);
}

}  // namespace
}  // namespace qon::play::test
