// SPDX-License-Identifier: MIT
// The shared menu: cursor moves, selections and the latches that turn held controls
// into single presses.

#include <gtest/gtest.h>

#include "play_test_support.h"
#include "qon/test_support/rows.h"

namespace qon::play::test {
namespace {

QON_PRINT_ROWS_BY_NAME

struct MenuStep {
    int y;
    int buttons;
    bool space;
    int expResult;
    int expCursor;
};

struct MenuRow {
    const char* name;
    int startCursor{};
    std::vector<MenuStep> steps{};
    int expCursorSounds{};
};

class MenuPolling : public ::testing::TestWithParam<MenuRow> {};

TEST_P(MenuPolling, FollowsTheLatches) {
    const MenuRow& row = GetParam();
    TestMedia media;
    media.directInput = true;
    SoundEffects sounds;
    FillSounds(sounds);
    Menu menu;
    menu.MenuClear();
    for (const char* item : {"New Game", "Load Game", "Config", "Exit"}) menu.MenuAdd(item);
    menu.MenuCursor = static_cast<std::int16_t>(row.startCursor);
    int step = 0;
    for (const MenuStep& s : row.steps) {
        media.pad.ControllerY = static_cast<std::int16_t>(s.y);
        media.pad.ControllerButtons = s.buttons;
        media.keys.clear();
        if (s.space) media.keys.insert(media::Vk::Space);
        EXPECT_EQ(menu.MenuPoll(media, sounds, 8, 270, 270, 20), s.expResult) << "step " << step;
        EXPECT_EQ(menu.MenuCursor, s.expCursor) << "step " << step;
        ++step;
    }
    const std::vector<std::string> played = media.TakeSounds();
    EXPECT_EQ(static_cast<int>(std::count(played.begin(), played.end(), "SeCur")),
              row.expCursorSounds);
    EXPECT_EQ(static_cast<int>(played.size()), row.expCursorSounds) << "only SeCur is played";
}

INSTANTIATE_TEST_SUITE_P(
    Table, MenuPolling,
    ::testing::Values(
        MenuRow{.name = "HeldDownMovesOnce",
                .steps = {{1, 0, false, -1, 1},
                          {1, 0, false, -1, 1},
                          {0, 0, false, -1, 1},
                          {1, 0, false, -1, 2}},
                .expCursorSounds = 2},
        MenuRow{.name = "DownWrapsFromLastToFirst",
                .startCursor = 3,
                .steps = {{1, 0, false, -1, 0}},
                .expCursorSounds = 1},
        MenuRow{.name = "UpWrapsFromFirstToLast",
                .steps = {{-1, 0, false, -1, 3}},
                .expCursorSounds = 1},
        MenuRow{.name = "EachDirectionHasItsOwnLatch",
                .startCursor = 1,
                .steps = {{-1, 0, false, -1, 0}, {1, 0, false, -1, 1}, {-1, 0, false, -1, 1}},
                .expCursorSounds = 2},
        MenuRow{.name = "SpaceSelectsOnceWhileHeld",
                .startCursor = 2,
                .steps = {{0, 0, true, 2, 2},
                          {0, 0, true, -1, 2},
                          {0, 0, false, -1, 2},
                          {0, 0, true, 2, 2}}},
        MenuRow{.name = "ButtonFourAloneSelects",
                .startCursor = 1,
                .steps = {{0, 8, false, 1, 1},
                          {0, 8, false, -1, 1},
                          {0, 0, false, -1, 1},
                          {0, 8, false, 1, 1}}},
        MenuRow{.name = "ButtonsFourAndOneDoNotSelect", .steps = {{0, 9, false, -1, 0}}},
        MenuRow{.name = "ButtonThreeDoesNotSelect", .steps = {{0, 4, false, -1, 0}}},
        MenuRow{.name = "SpaceDoesNotCountWhileAButtonIsHeld",
                .steps = {{0, 1, true, -1, 0}, {0, 0, true, 0, 0}}},
        MenuRow{
            .name = "MoveAndSelectInOnePoll", .steps = {{1, 0, true, 1, 1}}, .expCursorSounds = 1},
        MenuRow{.name = "ReleaseIsNotSeenAfterASelection",
                .steps =  // The select returns before the up/down latches are cleared.
                {{1, 0, false, -1, 1}, {0, 0, true, 1, 1}, {1, 0, false, -1, 1}},
                .expCursorSounds = 1}),
    ::qon::test_support::RowName);

TEST(MenuLatches, ASelectionIsNotSeenByTheNextMenuUntilReleased) {
    TestMedia media;
    media.directInput = true;
    SoundEffects sounds;
    FillSounds(sounds);
    Menu menu;
    menu.MenuClear();
    menu.MenuAdd("Config");
    media.keys.insert(media::Vk::Space);
    EXPECT_EQ(menu.MenuPoll(media, sounds, 8, 200, 270, 20), 0);
    menu.MenuClear();
    menu.MenuAdd("StageSet-A");
    menu.MenuAdd("EXIT");
    EXPECT_EQ(menu.MenuPoll(media, sounds, 8, 200, 270, 20), -1);
    media.keys.clear();
    EXPECT_EQ(menu.MenuPoll(media, sounds, 8, 200, 270, 20), -1);
    media.keys.insert(media::Vk::Space);
    EXPECT_EQ(menu.MenuPoll(media, sounds, 8, 200, 270, 20), 0);
}

TEST(MenuLayout, ItemsStandAtSpacingAndDrawWhiteOnlyAtTheCursor) {
    TestMedia media;
    media.directInput = true;
    SoundEffects sounds;
    FillSounds(sounds);
    Menu menu;
    menu.MenuClear();
    menu.MenuAdd(" Continue");
    menu.MenuAdd("Goto  Title");
    menu.MenuCursor = 1;
    menu.MenuPoll(media, sounds, 8, 250, 270, 20);
    media.recordDrawing = true;
    menu.DrawMenuItems(media);
    ASSERT_EQ(media.texts.size(), 2u);
    EXPECT_EQ(media.texts[0].text, " Continue");
    EXPECT_EQ(media.texts[0].x, 250);
    EXPECT_EQ(media.texts[0].y, 270);
    EXPECT_EQ(media.texts[0].colour, media::Rgb(155, 155, 155));
    EXPECT_EQ(media.texts[1].y, 290);
    EXPECT_EQ(media.texts[1].colour, media::Rgb(255, 255, 255));
    EXPECT_EQ(media.texts[1].size, 14);
}

TEST(MenuLayout, SixtyOneItemsAtMost) {
    Menu menu;
    menu.MenuClear();
    for (int i = 0; i < kMenuSlots; ++i) EXPECT_TRUE(menu.MenuAdd("item"));
    EXPECT_FALSE(menu.MenuAdd("one too many"));
    EXPECT_EQ(menu.MenuCount, kMenuSlots);
}

TEST(MenuLayout, EmptyMenuNeverChooses) {
    TestMedia media;
    media.directInput = true;
    media.keys.insert(media::Vk::Space);
    media.pad.ControllerY = 1;
    SoundEffects sounds;
    Menu menu;
    menu.MenuClear();
    EXPECT_EQ(menu.MenuPoll(media, sounds, 8, 0, 0, 20), -1);
    EXPECT_EQ(menu.MenuCursor, 0);
}

}  // namespace
}  // namespace qon::play::test
