// SPDX-License-Identifier: MIT
// Whole games played by scripted players: the order of the music across stages,
// restarts and game overs, the save screen and its file, the ending's staff roll, and
// the data the game reads again before every title.

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
using media::Vk::Esc;
using media::Vk::Left;
using media::Vk::Space;

std::vector<std::string> starting(const std::vector<std::string>& calls, const std::string& verb) {
    std::vector<std::string> out;
    for (const std::string& call : calls) {
        if (call.rfind(verb, 0) == 0) out.push_back(call);
    }
    return out;
}

// A player who starts a new game, launches every ball, saves nothing ("NEXT" at once)
// and holds Space through the ending.
Player NewGameThroughTheEnd() {
    Player player;
    player.then(InTitleMenu(), Press(Space))
        .always(OnScreen("play"), {Hold{Keys({Space}), -1}})
        .always(OnScreen("save"), Concat({Press(Down, 4), Press(Space)}))
        .always(OnScreen("ending"), {Hold{Keys({Space}), -1}});
    return player;
}

struct TrackOrderRow {
    const char* name;
    int stages{};
    int tracks{};
    std::vector<std::string> stagePlays{};
};

class TrackOrderTest : public ::testing::TestWithParam<TrackOrderRow> {};

TEST_P(TrackOrderTest, StagesTakeTheTracksInTurn) {
    GameFolder game = MakeGameFolder(std::string("tracks_") + GetParam().name);
    const std::string project = AddStageProject(game, "many", "Many", "Builder", GetParam().stages);
    const std::string music = AddMusicSet(game, "turns", "Turns", "Composer", GetParam().tracks);
    WriteLists(game, {project}, {game.graphicPath}, {music});
    Player player = NewGameThroughTheEnd();
    const Session s = RunSession(game, std::ref(player), 4000);
    const int ending = s.first("ending");
    ASSERT_GT(ending, 0);
    const int again = s.first("logo", ending);
    ASSERT_GT(again, ending);
    std::vector<std::string> expected = {"play title x4"};
    expected.insert(expected.end(), GetParam().stagePlays.begin(), GetParam().stagePlays.end());
    expected.push_back("play ending x2");
    EXPECT_EQ(starting(s.music(0, again), "play "), expected);
    // The ending stops every stage track, and its own track when it ends; the title
    // plays its track again after the sets are loaded again.
    std::vector<std::string> endingCalls = s.music(ending, again);
    std::vector<std::string> stops = starting(endingCalls, "stop ");
    std::vector<std::string> expectedStops;
    for (int i = 0; i < GetParam().tracks; ++i)
        expectedStops.push_back("stop stage:" + std::to_string(i));
    expectedStops.push_back("stop ending");
    EXPECT_EQ(stops, expectedStops);
    const int title = s.first("title", again);
    ASSERT_GT(title, again);
    EXPECT_EQ(starting(s.music(again), "play "), (std::vector<std::string>{"play title x4"}));
}

INSTANTIATE_TEST_SUITE_P(
    Table, TrackOrderTest,
    ::testing::Values(TrackOrderRow{.name = "ThreeTracksFiveStages",
                                    .stages = 5,
                                    .tracks = 3,
                                    .stagePlays = {"play stage:0 x8", "play stage:1 x8",
                                                   "play stage:2 x8", "play stage:0 x8",
                                                   "play stage:1 x8"}},
                      TrackOrderRow{.name = "OneTrackEveryStage",
                                    .stages = 2,
                                    .tracks = 1,
                                    .stagePlays = {"play stage:0 x8", "play stage:0 x8"}},
                      TrackOrderRow{.name = "NoTrackSilentStages", .stages = 2}),
    ::qon::test_support::RowName);

TEST(TrackOrder, RestartReplaysTheSameTrack) {
    GameFolder game = MakeGameFolder("tracks_restart");
    const std::string project = AddStageProject(game, "two", "Two", "Builder", 2);
    const std::string music = AddMusicSet(game, "turns", "Turns", "Composer", 3);
    WriteLists(game, {project}, {game.graphicPath}, {music});
    Player player;
    player.then(InTitleMenu(), Press(Space))
        .then(OnScreen("play"), {Hold{Keys({Space}), -1}})
        .then(OnScreen("save"), Concat({Press(Down, 4), Press(Space)}))
        .then(OnScreen("play"), Press(Esc))                            // stage 2, ball resting
        .then(OnScreen("pause"), Concat({Press(Down), Press(Space)}))  // "   ReStart"
        .always(OnScreen("play"), {Hold{Keys({Space}), -1}})
        .always(OnScreen("ending"), {Hold{Keys({Space}), -1}});
    const Session s = RunSession(game, std::ref(player), 2000);
    ASSERT_GT(s.first("pause"), 0);
    const int ending = s.first("ending");
    ASSERT_GT(ending, 0);
    EXPECT_EQ(starting(s.music(0, ending + 1), "play "),
              (std::vector<std::string>{"play title x4", "play stage:0 x8", "play stage:1 x8",
                                        "play stage:1 x8", "play ending x2"}));
}

// ---- game over ------------------------------------------------------------------------

// A player who launches and then keeps the Bar at the left wall loses every ball of the
// "hard" stage.
struct GameOverRow {
    const char* name;
    std::vector<Hold> choice{};
    std::vector<std::string> musicOnChoice{};  // the calls of the frame that leaves the menu
    std::string screenAfter{};
};

class GameOverTest : public ::testing::TestWithParam<GameOverRow> {};

TEST_P(GameOverTest, ChoiceAndTheMusicItStops) {
    GameFolder game = MakeGameFolder(std::string("gameover_") + GetParam().name);
    const std::string hard = AddStageProject(game, "hard", "Hard", "Builder", 1, true);
    WriteLists(game, {hard}, {game.graphicPath}, {game.musicPath});
    Player player;
    player.then(InTitleMenu(), Press(Space))
        .then(OnScreen("gameover"), GetParam().choice)
        .always(OnScreen("play"), {Hold{Keys({Space, Left}), -1}});
    const Session s = RunSession(game, std::ref(player), 3000);
    const int over = s.first("gameover");
    ASSERT_GT(over, 0);
    const Frame& shown = s.frames[static_cast<std::size_t>(over)];
    const DrawnText* banner = shown.text("Game Over");
    ASSERT_NE(banner, nullptr);
    EXPECT_EQ(banner->x, 215);
    EXPECT_EQ(banner->y, 220);
    EXPECT_EQ(banner->size, 24);
    ASSERT_NE(shown.text(" Continue"), nullptr);
    ASSERT_NE(shown.text("Goto  Title"), nullptr);
    EXPECT_EQ(shown.text(" Continue")->x, 250);
    EXPECT_EQ(shown.text(" Continue")->y, 270);
    EXPECT_EQ(shown.text("Goto  Title")->y, 290);
    int left = over;
    while (left < static_cast<int>(s.frames.size()) &&
           s.frames[static_cast<std::size_t>(left)].screen == "gameover") {
        ++left;
    }
    ASSERT_LT(left, static_cast<int>(s.frames.size()));
    // The calls made between the last game-over frame and the next screen's first.
    const std::vector<std::string> calls = s.frames[static_cast<std::size_t>(left)].music;
    for (const std::string& expected : GetParam().musicOnChoice) {
        EXPECT_NE(std::find(calls.begin(), calls.end(), expected), calls.end()) << expected;
    }
    EXPECT_EQ(s.frames[static_cast<std::size_t>(left)].soundCount("SeSelect"), 1);
    EXPECT_EQ(s.frames[static_cast<std::size_t>(left)].screen, GetParam().screenAfter);
}

INSTANTIATE_TEST_SUITE_P(Table, GameOverTest,
                         ::testing::Values(
                             // " Continue" stops nothing itself; the restart stops the tracks as
                             // every stage start does and plays the same track again.
                             GameOverRow{
                                 .name = "ContinueReplaysTheStage",
                                 .choice = Press(Space),
                                 .musicOnChoice = {"stop title", "stop stage:0", "stop stage:1"},
                                 .screenAfter = "intro"},
                             GameOverRow{.name = "GotoTitleStopsTheStageTracks",
                                         .choice = Concat({Press(Down), Press(Space)}),
                                         .musicOnChoice = {"stop stage:0", "stop stage:1"},
                                         .screenAfter = "loading"}),
                         ::qon::test_support::RowName);

TEST(GameOver, ContinueStartsTheSameTrackWithFreshLives) {
    GameFolder game = MakeGameFolder("gameover_continue_track");
    const std::string hard = AddStageProject(game, "hard", "Hard", "Builder", 1, true);
    WriteLists(game, {hard}, {game.graphicPath}, {game.musicPath});
    Player player;
    player.then(InTitleMenu(), Press(Space))
        .then(OnScreen("gameover"), Press(Space))
        .then(OnScreen("play"), {Hold{Input{}, 5}})
        .always(OnScreen("play"), {Hold{Keys({Space, Left}), -1}});
    const Session s = RunSession(game, std::ref(player), 3000);
    const int over = s.first("gameover");
    ASSERT_GT(over, 0);
    const int again = s.first("play", over);
    ASSERT_GT(again, over);
    EXPECT_EQ(s.frames[static_cast<std::size_t>(again)].lives, 4);
    EXPECT_EQ(starting(s.music(0, again + 1), "play "),
              (std::vector<std::string>{"play title x4", "play stage:0 x8", "play stage:0 x8"}));
}

// ---- stage-clear save -----------------------------------------------------------------

TEST(StageClearSave, FileChangesOnlyOnNextAndLoadsBackIntoTheSameStage) {
    GameFolder game = MakeGameFolder("save_then_load");
    const std::string project = AddStageProject(game, "three", "Three", "Builder", 3);
    WriteLists(game, {project}, {game.graphicPath}, {game.musicPath});
    const std::string savePath = SaveFilePath(project);
    const std::string fresh = " 1 \r\n 1 \r\n 1 \r\n 1 \r\n";
    WriteText(savePath, fresh);

    // Stage 1 cleared; slot 2 is chosen, then "NEXT"; the player goes back to the title
    // from the pause menu of stage 2, and loads slot 2.
    Player player;
    player.then(InTitleMenu(), Press(Space))
        .then(OnScreen("play"), {Hold{Keys({Space}), -1}})
        .then(
            OnScreen("save"),
            Concat(
                {Press(Down, 2), Press(Space), {Hold{Input{}, 20}}, Press(Down, 2), Press(Space)}))
        .then(OnScreen("play"), Press(Esc))
        .then(OnScreen("pause"), Concat({Press(Down, 2), Press(Space)}))  // "  Goto Title"
        .then(InTitleMenu(), Concat({Press(Down), Press(Space)}))
        .then(OnScreen("load"), Concat({Press(Down, 2), Press(Space)}));
    std::vector<std::string> fileWhileSaving;
    Pilot pilot = [&](const Frame& shown, const play::Game& g) {
        if (shown.screen == "save") fileWhileSaving.push_back(ReadText(savePath));
        return player(shown, g);
    };
    const Session s = RunSession(game, pilot, 1500);

    const int save = s.first("save");
    ASSERT_GT(save, 0);
    ASSERT_FALSE(fileWhileSaving.empty());
    for (const std::string& content : fileWhileSaving) EXPECT_EQ(content, fresh);
    // The chosen slot's label changes at once, in memory only.
    int relabelled = -1;
    for (int i = save; i < static_cast<int>(s.frames.size()) &&
                       s.frames[static_cast<std::size_t>(i)].screen == "save";
         ++i) {
        if (s.frames[static_cast<std::size_t>(i)].items[2] == "STAGE 1までクリア") {
            relabelled = i;
            break;
        }
    }
    EXPECT_GT(relabelled, save);
    EXPECT_EQ(ReadText(savePath), " 1 \r\n 1 \r\n 2 \r\n 1 \r\n");

    const int load = s.first("load", save);
    ASSERT_GT(load, save);
    EXPECT_EQ(s.frames[static_cast<std::size_t>(load)].items[2], "STAGE 1までクリア");
    const int intro = s.first("intro", load);
    ASSERT_GT(intro, load);
    EXPECT_EQ(s.frames[static_cast<std::size_t>(intro)].stage, 2);
}

TEST(StageClearSave, SpaceHeldSinceTheLaunchPicksNoSlot) {
    GameFolder game = MakeGameFolder("save_held_space", 2);
    const std::string savePath = SaveFilePath(game.projectPath);
    const std::string fresh = " 1 \r\n 1 \r\n 1 \r\n 1 \r\n";
    WriteText(savePath, fresh);
    // "New Game" with Enter, so the menus have never seen Space; then Space goes down in
    // play to launch and stays down through the clear into the save screen.
    Player player;
    player.then(InTitleMenu(), Press(media::Vk::Enter));
    const Pilot pilot = [&](const Frame& shown, const play::Game& g) {
        if (shown.screen == "play" || shown.screen == "clear" || shown.screen == "save") {
            return Keys({Space});
        }
        return player(shown, g);
    };
    const Session s = RunSession(game, pilot, 1200);

    const int save = s.first("save");
    ASSERT_GT(save, 0) << "stage 1 was not cleared";
    for (std::size_t i = static_cast<std::size_t>(save); i < s.frames.size(); ++i) {
        ASSERT_EQ(s.frames[i].screen, "save") << "frame " << i << " left the save screen";
        ASSERT_EQ(s.frames[i].items[0], SaveSlotLabel(1)) << "frame " << i;
    }
    EXPECT_GT(static_cast<int>(s.frames.size()) - save, 100);
    EXPECT_EQ(s.soundCount("SeSelect", save), 0) << "a slot was picked";
    EXPECT_EQ(ReadText(savePath), fresh);
}

TEST(StageClearSave, NoneAfterTheLastStageButTheEnding) {
    GameFolder game = MakeGameFolder("save_last_stage");
    Player player;
    player.then(InTitleMenu(), Press(Space)).then(OnScreen("play"), {Hold{Keys({Space}), -1}});
    const Session s = RunSession(game, player, 1200);
    const int clear = s.first("clear");
    ASSERT_GT(clear, 0);
    const int ending = s.first("ending", clear);
    ASSERT_GT(ending, clear);
    EXPECT_EQ(s.first("save"), -1);
    EXPECT_EQ(s.frames[static_cast<std::size_t>(ending)].stage, 1)
        << "the stage number is back at 1 when the ending shows";
}

TEST(StageClearSave, DamagedFileIsReportedKeptAndTheGameGoesOn) {
    GameFolder game = MakeGameFolder("save_damaged");
    const std::string project = AddStageProject(game, "two", "Two", "Builder", 2);
    WriteLists(game, {project}, {game.graphicPath}, {game.musicPath});
    const std::string savePath = SaveFilePath(project);
    WriteText(savePath, " 1 \r\n 1 \r\n");
    Player player = NewGameThroughTheEnd();
    const Session s = RunSession(game, std::ref(player), 1500);
    const std::vector<std::string> messages = s.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("qonsave.sav"), std::string::npos) << messages[0];
    EXPECT_EQ(s.first("save"), -1);
    // Stage 2 is played and the game reaches its ending; the file is left for the player.
    const int intro = s.first("intro", s.first("play"));
    ASSERT_GT(intro, 0);
    EXPECT_EQ(s.frames[static_cast<std::size_t>(intro)].stage, 2);
    EXPECT_GT(s.first("ending"), intro);
    EXPECT_EQ(ReadText(savePath), " 1 \r\n 1 \r\n");
}

// ---- ending -----------------------------------------------------------------------------

struct PageLine {
    std::string text;
    int x, y, size;
};

TEST(Ending, PagesShowTheScoreAndTheAuthorsOfTheSetsInUse) {
    GameFolder game = MakeGameFolder("ending_pages");
    const std::string neon = AddGraphicSet(game, "neon.bgp", "Neon", "ネオン画家");
    const std::string loud = AddMusicSet(game, "loud", "Loud", "作曲者", 3);
    WriteLists(game, {game.projectPath}, {game.graphicPath, neon}, {game.musicPath, loud});
    WriteText(game.folder + "Init.bse", "0\r\n1\r\n1\r\n");
    Player player = NewGameThroughTheEnd();
    const Session s = RunSession(game, std::ref(player), 1200);
    const int ending = s.first("ending");
    ASSERT_GT(ending, 0);
    const std::vector<std::vector<PageLine>> pages = {
        {{"GAME CLEAR!", 205, 184, 28}},
        {{"スタッフ", 225, 224, 28}},
        {{"ステージ製作", 225, 124, 28}, {"Tester", 225, 180, 16}},
        {{"グラフィック製作", 225, 124, 28}, {"ネオン画家", 225, 180, 16}},
        {{"BGM製作", 225, 124, 28}, {"作曲者", 225, 180, 16}},
        {{"メインプログラム", 225, 124, 28}, {"Dorvane", 225, 180, 16}},
        {{"企画・製作", 250, 124, 16}, {"Dor Vane", 220, 180, 28}},
    };
    // Space is held: every page is 13 + 1 + 13 frames.
    for (std::size_t page = 0; page < pages.size(); ++page) {
        const Frame& hold = s.frames[static_cast<std::size_t>(ending) + 27 * page + 13];
        ASSERT_EQ(hold.screen, "ending");
        for (const PageLine& line : pages[page]) {
            const DrawnText* t = hold.text(line.text);
            ASSERT_NE(t, nullptr) << "page " << page + 1 << ": " << line.text;
            EXPECT_EQ(t->x, line.x) << line.text;
            EXPECT_EQ(t->y, line.y) << line.text;
            EXPECT_EQ(t->size, line.size) << line.text;
            EXPECT_EQ(t->colour, media::Rgb(255, 255, 255));
            EXPECT_FALSE(t->transparent);
        }
        if (page == 0) {
            bool found = false;
            for (const DrawnText& t : hold.texts) {
                if (t.text.rfind("  SCORE  ", 0) == 0) {
                    found = true;
                    EXPECT_EQ(t.x, 205);
                    EXPECT_EQ(t.y, 244);
                    EXPECT_EQ(t.size, 16);
                    EXPECT_GT(std::stoi(t.text.substr(9)), 0) << t.text;
                }
            }
            EXPECT_TRUE(found);
        }
    }
    EXPECT_EQ(s.frames[static_cast<std::size_t>(ending) + 27 * 7].screen, "loading");
}

// ---- what is read before every title ---------------------------------------------------

TEST(PrepareGame, MissingSettingsFileIsCreatedWithThreeZeros) {
    const GameFolder game = MakeGameFolder("init_missing");
    fs::remove(game.folder + "Init.bse");
    Player player;
    const Session s = RunSession(game, std::ref(player), 5);
    EXPECT_EQ(s.status, 0);
    EXPECT_EQ(ReadText(game.folder + "Init.bse"), "0\r\n0\r\n0\r\n");
}

TEST(PrepareGame, SettingsPastTheEndOfAListUseItsFirstSet) {
    GameFolder game = MakeGameFolder("init_bounds");
    const std::string loud = AddMusicSet(game, "loud", "Loud", "Composer2", 3);
    WriteLists(game, {game.projectPath}, {game.graphicPath}, {game.musicPath, loud});
    WriteText(game.folder + "Init.bse", "5\r\n0\r\n1\r\n");
    Player player;
    player.then(InTitleMenu(), Concat({Press(Down, 2), Press(Space)}));
    const Session s = RunSession(game, std::ref(player), 220);
    const int config = s.first("config");
    ASSERT_GT(config, 0);
    EXPECT_EQ(s.frames[static_cast<std::size_t>(config)].items[0], "StageSet-Tiny");
    EXPECT_EQ(s.frames[static_cast<std::size_t>(config)].items[2], "MusicSet-Loud");
    // Nothing is written until "EXIT".
    EXPECT_EQ(ReadText(game.folder + "Init.bse"), "5\r\n0\r\n1\r\n");
}

TEST(PrepareGame, ListsAreReadAgainAfterEveryGame) {
    GameFolder game = MakeGameFolder("lists_again");
    const std::string loud = AddMusicSet(game, "loud", "Loud", "Composer2", 3);
    Player player = NewGameThroughTheEnd();
    bool swapped = false;
    Pilot pilot = [&](const Frame& shown, const play::Game& g) {
        // The set selector changes the music list while a game is being played.
        if (shown.screen == "play" && !swapped) {
            WriteLists(game, {game.projectPath}, {game.graphicPath}, {loud});
            swapped = true;
        }
        return player(shown, g);
    };
    const Session s = RunSession(game, pilot, 1000);
    const int ending = s.first("ending");
    ASSERT_GT(ending, 0);
    const int again = s.first("logo", ending);
    ASSERT_GT(again, 0);
    // The set of the old list is unloaded before the next opening (its calls land in
    // the opening's first frame, after the loading notice) ...
    EXPECT_EQ(starting(s.music(ending, again + 1), "unload stage:"),
              (std::vector<std::string>{"unload stage:0", "unload stage:1"}));
    // ... and the list read then is the new one.
    Player next;
    next.then(InTitleMenu(), Concat({Press(Down, 2), Press(Space)}));
    const Session after = RunSession(game, std::ref(next), 220);
    ASSERT_GT(after.first("config"), 0);
    EXPECT_EQ(after.frames[static_cast<std::size_t>(after.first("config"))].items[2],
              "MusicSet-Loud");
}

TEST(PrepareGame, ListEmptiedDuringAGameEndsWithAMessageNamingSorrel) {
    GameFolder game = MakeGameFolder("lists_emptied");
    Player player = NewGameThroughTheEnd();
    bool emptied = false;
    Pilot pilot = [&](const Frame& shown, const play::Game& g) {
        if (shown.screen == "play" && !emptied) {
            WriteText(game.folder + "BitMapSet.sel", "0\r\n");
            emptied = true;
        }
        return player(shown, g);
    };
    const Session s = RunSession(game, pilot, 1000);
    EXPECT_EQ(s.status, 1);
    ASSERT_GT(s.first("ending"), 0);
    const std::vector<std::string> messages = s.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("BitMapSet.sel"), std::string::npos) << messages[0];
    EXPECT_NE(messages[0].find("Sorrel"), std::string::npos) << messages[0];
    // The game ends instead of showing the title with the old list.
    EXPECT_EQ(s.first("logo", s.first("ending")), -1);
}

}  // namespace
}  // namespace qon::shell_test
