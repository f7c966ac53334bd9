// SPDX-License-Identifier: MIT
// The screens around play, run as a player would run them: the opening, the title's
// slide-in and its menu latches, the configuration screen, and the load screen.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "qon/data/save_file.h"
#include "qon/media/media.h"
#include "qon/test_support/rows.h"
#include "session.h"

namespace qon::shell_test {
namespace {

QON_PRINT_ROWS_BY_NAME

namespace fs = std::filesystem;
using media::Vk::Down;
using media::Vk::Space;
using media::Vk::Up;

const std::vector<std::string> kMainMenu = {"New Game", "Load Game", "Config", "Exit"};
constexpr int kWipe = 13;
constexpr int kSlideInFrames = 114;

int firstWith(const Session& s, const std::function<bool(const Frame&)>& test, int from = 0) {
    for (int i = from; i < static_cast<int>(s.frames.size()); ++i) {
        if (test(s.frames[static_cast<std::size_t>(i)])) return i;
    }
    return -1;
}

// ---- opening --------------------------------------------------------------------------

struct OpeningRow {
    const char* name;
    Input held{};      // held through the whole logo
    int titleFrame{};  // first frame of the title
};

class OpeningTest : public ::testing::TestWithParam<OpeningRow> {};

TEST_P(OpeningTest, HoldEndsAtTheRightFrame) {
    const GameFolder game = MakeGameFolder(std::string("opening_") + GetParam().name);
    Player player(false);
    player.always(OnScreen("logo"), {Hold{GetParam().held, -1}});
    const Session s = RunSession(game, std::ref(player), GetParam().titleFrame + 5, true);
    EXPECT_EQ(s.first("title"), GetParam().titleFrame);
    // The frame before the opening is the set loading's notice.
    EXPECT_EQ(s.frames[0].screen, "loading");
    const DrawnText* loading = s.frames[0].text("Now Loading");
    ASSERT_NE(loading, nullptr);
    EXPECT_EQ(loading->x, 220);
    EXPECT_EQ(loading->y, 200);
    EXPECT_EQ(loading->size, 24);
}

// Frame 0 is "Now Loading"; the logo is revealed in 13 frames, held, and hidden in 13.
INSTANTIATE_TEST_SUITE_P(Table, OpeningTest,
                         ::testing::Values(OpeningRow{.name = "NothingHeldShows250Frames",
                                                      .titleFrame = 1 + kWipe + 250 + kWipe},
                                           OpeningRow{.name = "SpaceEndsTheHoldAfterOneFrame",
                                                      .held = Keys({Space}),
                                                      .titleFrame = 1 + kWipe + 1 + kWipe},
                                           OpeningRow{.name = "ButtonFourEndsTheHold",
                                                      .held = Joy(8),
                                                      .titleFrame = 1 + kWipe + 1 + kWipe},
                                           OpeningRow{.name = "ButtonThreeDoesNotEndTheHold",
                                                      .held = Joy(4),
                                                      .titleFrame = 1 + kWipe + 250 + kWipe},
                                           OpeningRow{.name = "ButtonsFourAndOneDoNotEndTheHold",
                                                      .held = Joy(9),
                                                      .titleFrame = 1 + kWipe + 250 + kWipe}),
                         ::qon::test_support::RowName);

// ---- slide-in ---------------------------------------------------------------------------

TEST(SlideIn, ShowsTwoGlidingCopiesFor114FramesThenTheMenu) {
    const GameFolder game = MakeGameFolder("slide_in");
    Player player;
    const Session s = RunSession(game, std::ref(player), 200);
    const int title = s.first("title");
    ASSERT_GT(title, 0);
    const int menu = firstWith(s, InTitleMenu());
    EXPECT_EQ(menu - title, kSlideInFrames);
    // Even frames from the left, odd frames from the right, meeting at the middle.
    auto qonX = [&](int frame) { return s.frames[static_cast<std::size_t>(frame)].text("QON")->x; };
    EXPECT_EQ(qonX(title), -270);
    EXPECT_EQ(qonX(title + 1), 376 + 266);
    EXPECT_EQ(qonX(title + 112), -270 + 4 * 112);
    EXPECT_EQ(qonX(title + 113), 376 - 182);
    EXPECT_EQ(qonX(menu), 188);
    const Frame& shown = s.frames[static_cast<std::size_t>(menu)];
    EXPECT_EQ(shown.text("QON")->size, 96);
    EXPECT_EQ(shown.text("QON")->colour, media::Rgb(50, 20, 255));
    // The main menu, the copyright notice, and the title track started once.
    for (int i = 0; i < 4; ++i) {
        const DrawnText* item = shown.text(kMainMenu[static_cast<std::size_t>(i)]);
        ASSERT_NE(item, nullptr) << kMainMenu[static_cast<std::size_t>(i)];
        EXPECT_EQ(item->x, 270);
        EXPECT_EQ(item->y, 270 + 20 * i);
        EXPECT_EQ(item->size, 14);
        EXPECT_EQ(item->colour, i == 0 ? media::Rgb(255, 255, 255) : media::Rgb(155, 155, 155));
    }
    bool notice = false;
    for (const DrawnText& t : shown.texts) {
        notice |= t.x == 189 && t.y == 400 && t.transparent && t.size == 14;
    }
    EXPECT_TRUE(notice);
    EXPECT_EQ(s.music(), (std::vector<std::string>{"stop title", "play title x4"}));
}

TEST(SlideIn, ButtonThreeEndsItWithoutShowingThatFrame) {
    const GameFolder game = MakeGameFolder("slide_in_skip");
    Player player;
    player.then(OnScreen("title"), {Hold{Input{}, 9}, Hold{Joy(4), 20}});
    const Session s = RunSession(game, std::ref(player), 100, true);
    const int title = s.first("title");
    // Frames title .. title + 9 glide; the button read for the next frame ends the
    // slide-in, and that frame already shows the menu.
    EXPECT_EQ(firstWith(s, InTitleMenu()), title + 10);
    EXPECT_EQ(s.frames[static_cast<std::size_t>(title + 9)].text("QON")->x, 376 - (-270 + 36));
    // Button 3 is not the menus' select.
    EXPECT_EQ(s.soundCount("SeSelect"), 0);
    EXPECT_EQ(s.frames.back().screen, "title");
}

// ---- the shared menu's latches ---------------------------------------------------------

struct LatchRow {
    const char* name;
    std::vector<Hold> holds;  // played from the main menu's first frame
    int cursor;               // where the cursor stands afterwards
    int cursorSounds;
    std::string screenAfter;  // "title" when nothing was chosen
};

class MenuLatchTest : public ::testing::TestWithParam<LatchRow> {};

TEST_P(MenuLatchTest, MovesAndChoosesOncePerPress) {
    const GameFolder game = MakeGameFolder(std::string("latch_") + GetParam().name);
    Player player;
    player.then(InTitleMenu(), GetParam().holds);
    const Session s = RunSession(game, std::ref(player), 220, true);
    const int menu = firstWith(s, InTitleMenu());
    ASSERT_GT(menu, 0);
    const Frame& last = s.frames.back();
    EXPECT_EQ(last.screen, GetParam().screenAfter);
    if (GetParam().screenAfter == "title") {
        EXPECT_EQ(last.cursor, GetParam().cursor);
        EXPECT_EQ(s.soundCount("SeSelect"), 0);
    } else {
        EXPECT_EQ(s.soundCount("SeSelect"), 1);
    }
    EXPECT_EQ(s.soundCount("SeCur"), GetParam().cursorSounds);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MenuLatchTest,
    ::testing::Values(
        LatchRow{"HeldDownMovesOnce", {Hold{Keys({Down}), 30}}, 1, 1, "title"},
        LatchRow{"ReleasedAndPressedAgainMovesAgain", Press(Down, 2), 2, 2, "title"},
        LatchRow{"DownOnTheLastItemWrapsToTheFirst", Press(Down, 4), 0, 4, "title"},
        LatchRow{"UpOnTheFirstItemWrapsToTheLast", Press(Up), 3, 1, "title"},
        LatchRow{"StickDownMovesOnceToo", {Hold{Joy(0, 65535), 30}}, 1, 1, "title"},
        LatchRow{"ButtonsFourAndOneDoNotChoose", {Hold{Joy(9), 30}}, 0, 0, "title"},
        LatchRow{"ButtonThreeDoesNotChoose", {Hold{Joy(4), 30}}, 0, 0, "title"},
        LatchRow{"SpaceWhileAButtonIsHeldDoesNotChoose",
                 {Hold{Input{{Space}, {media::kAxisCentre, media::kAxisCentre, 1}}, 30}},
                 0,
                 0,
                 "title"},
        LatchRow{"HeldSpaceChoosesOnceTheButtonIsLetGo",
                 {Hold{Input{{Space}, {media::kAxisCentre, media::kAxisCentre, 1}}, 10},
                  Hold{Keys({Space}), 5}},
                 0,
                 0,
                 "intro"},
        LatchRow{"ButtonFourAloneChooses", {Hold{Joy(8), 5}}, 0, 0, "intro"},
        LatchRow{"SpaceChooses", {Hold{Keys({Space}), 5}}, 0, 0, "intro"}),
    ::qon::test_support::RowName);

// ---- configuration ------------------------------------------------------------------------

// Two stage sets (the second with two stages), two graphic sets and three music sets.
GameFolder MakeConfigFolder(const std::string& name) {
    GameFolder game = MakeGameFolder(name);
    const std::string second = AddStageProject(game, "second", "Second", "Builder", 2);
    const std::string neon = AddGraphicSet(game, "neon.bgp", "Neon", "Painter2");
    const std::string loud = AddMusicSet(game, "loud", "Loud", "Composer2", 3);
    const std::string still = AddMusicSet(game, "still", "Still", "Composer3", 0);
    WriteLists(game, {game.projectPath, second}, {game.graphicPath, neon},
               {game.musicPath, loud, still});
    return game;
}

std::function<bool(const Frame&)> InConfig() {
    return [](const Frame& f) { return f.screen == "config" && f.text("EXIT") != nullptr; };
}

TEST(Config, StepsEachListWithWrapAndWritesInitOnExit) {
    const GameFolder game = MakeConfigFolder("config_steps");
    Player player;
    player.then(InTitleMenu(), Concat({Press(Down, 2), Press(Space)}))
        .then(InConfig(), Concat({Press(Space),                  // stage set 1
                                  Press(Down), Press(Space),     // graphic set 1
                                  Press(Down), Press(Space, 3),  // music sets 1, 2, 0
                                  Press(Down), Press(Space)}));  // EXIT
    const Session s = RunSession(game, std::ref(player), 400);
    const int config = s.first("config");
    ASSERT_GT(config, 0);
    const Frame& opened = s.frames[static_cast<std::size_t>(config)];
    EXPECT_EQ(opened.items, (std::vector<std::string>{"StageSet-Tiny", "BitMapSet-Flat",
                                                      "MusicSet-Quiet", "EXIT"}));
    const DrawnText* first = opened.text("StageSet-Tiny");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->x, 200);
    EXPECT_EQ(first->y, 270);
    EXPECT_EQ(opened.text("EXIT")->y, 330);
    // The names stepped through, in order of their first appearance.
    std::vector<std::string> musicNames;
    for (int i = config; i < static_cast<int>(s.frames.size()); ++i) {
        const Frame& f = s.frames[static_cast<std::size_t>(i)];
        if (f.screen != "config") break;
        if (musicNames.empty() || musicNames.back() != f.items[2]) musicNames.push_back(f.items[2]);
    }
    EXPECT_EQ(musicNames, (std::vector<std::string>{"MusicSet-Quiet", "MusicSet-Loud",
                                                    "MusicSet-Still", "MusicSet-Quiet"}));
    const int back = s.first("loading", config);
    ASSERT_GT(back, config);
    EXPECT_EQ(s.frames[static_cast<std::size_t>(back - 1)].items[0], "StageSet-Second");
    EXPECT_EQ(s.frames[static_cast<std::size_t>(back - 1)].items[1], "BitMapSet-Neon");
    // Five set steps and three cursor moves in the configuration screen.
    EXPECT_EQ(s.soundCount("SeCur", config, back), 8);
    EXPECT_EQ(ReadText(game.folder + "Init.bse"), "1\r\n1\r\n0\r\n");

    // Back in the title: the main menu with the cursor on "New Game". The music set
    // came round to the one chosen before and is still loaded again, behind the notice.
    const int loading = back;
    const DrawnText* notice = s.frames[static_cast<std::size_t>(loading)].text("Now Loading");
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->x, 270);
    EXPECT_EQ(notice->y, 240);
    EXPECT_EQ(notice->size, 14);
    const Frame& title = s.frames[static_cast<std::size_t>(loading + 1)];
    EXPECT_EQ(title.items, kMainMenu);
    EXPECT_EQ(title.cursor, 0);
    const std::vector<std::string> reload = s.music(config);
    EXPECT_EQ(reload, (std::vector<std::string>{"unload stage:0", "unload stage:1", "unload title",
                                                "unload ending", "stop title", "play title x4"}));
}

TEST(Config, SpaceThatChoseConfigDoesNotChooseInIt) {
    const GameFolder game = MakeConfigFolder("config_latch");
    Player player;
    player.then(InTitleMenu(), Concat({Press(Down, 2), {Hold{Keys({Space}), 40}}}));
    const Session s = RunSession(game, std::ref(player), 260);
    const int config = s.first("config");
    ASSERT_GT(config, 0);
    EXPECT_EQ(s.frames.back().screen, "config");
    EXPECT_EQ(s.frames.back().items[0], "StageSet-Tiny");
    EXPECT_EQ(s.soundCount("SeCur", config), 0);
}

TEST(Config, SteppedStageSetIsWhatNewGamePlays) {
    const GameFolder game = MakeConfigFolder("config_play");
    Player player;
    player.then(InTitleMenu(), Concat({Press(Down, 2), Press(Space)}))
        .then(InConfig(), Concat({Press(Space), Press(Up), Press(Space)}))
        .then(InTitleMenu(), Press(Space))
        .always(OnScreen("play"), {Hold{Keys({Space}), -1}});
    const Session s = RunSession(game, std::ref(player), 700);
    // "Second" has two stages: its first clear leads to the save screen, which the
    // one-stage "Tiny" never shows.
    EXPECT_GT(s.first("save"), 0);
    // The configuration did not touch the music set: no reload.
    EXPECT_EQ(s.first("loading", 1), -1);
}

TEST(Config, SettingsThatCannotBeWrittenAreReportedAndTheChoiceStillHolds) {
    const GameFolder game = MakeConfigFolder("config_unwritable");
    Player player;
    player.then(InTitleMenu(), Concat({Press(Down, 2), Press(Space)}))
        .then(InConfig(), Concat({Press(Space), Press(Up), Press(Space)}))
        .then(InTitleMenu(), Press(Space))
        .always(OnScreen("play"), {Hold{Keys({Space}), -1}});
    bool blocked = false;
    Pilot pilot = [&](const Frame& shown, const play::Game& g) {
        if (shown.screen == "config" && !blocked) {
            // A folder in the file's place: the write cannot replace it.
            fs::remove(game.folder + "Init.bse");
            fs::create_directories(game.folder + "Init.bse/held");
            blocked = true;
        }
        return player(shown, g);
    };
    const Session s = RunSession(game, pilot, 700);
    const std::vector<std::string> messages = s.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("Init.bse"), std::string::npos) << messages[0];
    // The game goes on with the stepped stage set.
    EXPECT_GT(s.first("save"), 0);
}

// ---- load game --------------------------------------------------------------------------

GameFolder MakeLoadFolder(const std::string& name, const char* saveFile) {
    GameFolder game = MakeGameFolder(name);
    const std::string three = AddStageProject(game, "three", "Three", "Builder", 3);
    WriteLists(game, {three}, {game.graphicPath}, {game.musicPath});
    const std::string save = SaveFilePath(three);
    fs::remove(save);
    if (saveFile != nullptr) WriteText(save, saveFile);
    game.projectPath = three;
    return game;
}

std::function<bool(const Frame&)> InLoadMenu() {
    return [](const Frame& f) { return f.screen == "load" && f.text("Exit") != nullptr; };
}

TEST(LoadGame, SlotStartsItsStage) {
    const GameFolder game = MakeLoadFolder("load_slot", " 1 \r\n 3 \r\n 2 \r\n 1 \r\n");
    Player player;
    player.then(InTitleMenu(), Concat({Press(Down), Press(Space)}))
        .then(InLoadMenu(), Concat({Press(Down), Press(Space)}));
    const Session s = RunSession(game, std::ref(player), 300);
    const int load = s.first("load");
    ASSERT_GT(load, 0);
    const Frame& shown = s.frames[static_cast<std::size_t>(load)];
    EXPECT_EQ(shown.items,
              (std::vector<std::string>{"STAGE 0までクリア", "STAGE 2までクリア",
                                        "STAGE 1までクリア", "STAGE 0までクリア", "Exit"}));
    EXPECT_EQ(shown.text("STAGE 2までクリア")->x, 240);
    EXPECT_EQ(shown.text("STAGE 2までクリア")->y, 290);
    EXPECT_NE(shown.text("QON"), nullptr);
    const int intro = s.first("intro", load);
    ASSERT_GT(intro, load);
    EXPECT_EQ(s.frames[static_cast<std::size_t>(intro)].stage, 3);
    EXPECT_NE(s.frames[static_cast<std::size_t>(intro)].text("STAGE 3"), nullptr);
}

TEST(LoadGame, ExitGoesBackToTheMainMenuOnNewGameWithTheTitleTrackPlayingOn) {
    const GameFolder game = MakeLoadFolder("load_exit", " 2 \r\n 2 \r\n 2 \r\n 2 \r\n");
    Player player;
    player.then(InTitleMenu(), Concat({Press(Down), Press(Space)}))
        .then(InLoadMenu(), Concat({Press(Down, 4), Press(Space)}));
    const Session s = RunSession(game, std::ref(player), 300);
    const int load = s.first("load");
    ASSERT_GT(load, 0);
    const int back = s.first("title", load);
    ASSERT_GT(back, load);
    EXPECT_EQ(s.frames[static_cast<std::size_t>(back)].items, kMainMenu);
    EXPECT_EQ(s.frames[static_cast<std::size_t>(back)].cursor, 0);
    EXPECT_EQ(s.frames.back().screen, "title");
    EXPECT_EQ(s.soundCount("SeSelect"), 2);
    EXPECT_EQ(s.music(), (std::vector<std::string>{"stop title", "play title x4"}));
}

struct SaveFileRow {
    const char* name;
    const char* saveFile{};  // nullptr: no file
    std::string fileAfter{};
    bool message{};
};

class LoadSaveFileTest : public ::testing::TestWithParam<SaveFileRow> {};

TEST_P(LoadSaveFileTest, OpensTheLoadMenuOrSaysWhatIsWrong) {
    const GameFolder game =
        MakeLoadFolder(std::string("load_file_") + GetParam().name, GetParam().saveFile);
    Player player;
    player.then(InTitleMenu(), Concat({Press(Down), Press(Space)}));
    const Session s = RunSession(game, std::ref(player), 240);
    EXPECT_EQ(ReadText(SaveFilePath(game.projectPath)), GetParam().fileAfter);
    const std::vector<std::string> messages = s.messages();
    if (GetParam().message) {
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find("qonsave.sav"), std::string::npos) << messages[0];
        // The title stays, with its main menu.
        EXPECT_EQ(s.frames.back().screen, "title");
        EXPECT_EQ(s.frames.back().items, kMainMenu);
    } else {
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(s.frames.back().screen, "load");
    }
}

INSTANTIATE_TEST_SUITE_P(Table, LoadSaveFileTest,
                         ::testing::Values(SaveFileRow{.name = "MissingIsCreatedWithFourSlotsOfOne",
                                                       .fileAfter = " 1 \r\n 1 \r\n 1 \r\n 1 \r\n"},
                                           SaveFileRow{.name = "NotANumberIsReportedAndKept",
                                                       .saveFile = " 1 \r\nlots\r\n 1 \r\n 1 \r\n",
                                                       .fileAfter = " 1 \r\nlots\r\n 1 \r\n 1 \r\n",
                                                       .message = true},
                                           SaveFileRow{.name = "ShortIsReportedAndKept",
                                                       .saveFile = " 2 \r\n",
                                                       .fileAfter = " 2 \r\n",
                                                       .message = true}),
                         ::qon::test_support::RowName);

}  // namespace
}  // namespace qon::shell_test
