// SPDX-License-Identifier: MIT
// An installed game, whose folder belongs to the package: the player's choice of sets,
// lists and the saves of the delivered stage projects live in the player's own folder,
// and the game folder is never written.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "qon/data/game_folders.h"
#include "qon/data/paths.h"
#include "qon/data/save_file.h"
#include "qon/data/set_list.h"
#include "qon/media/media.h"
#include "qon/test_support/bytes.h"
#include "session.h"

namespace qon::shell_test {
namespace {

namespace fs = std::filesystem;
using media::Vk::Down;
using media::Vk::Esc;
using media::Vk::Space;
using test_support::ListFolder;

// Every file under the folder with its bytes.
std::map<std::string, std::string> contents(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), folder).string()] = ReadText(entry.path().string());
        }
    }
    return files;
}

GameFolder installedGame(const std::string& name) {
    GameFolder game = MakeGameFolder(name);
    game.perUser = game.scratch->path() + "home/.local/share/qon/";
    return game;
}

TEST(InstalledGame, FirstStartWritesOnlyThePlayersInitBseWithTheDeliveredChoice) {
    GameFolder game = installedGame("installed_first");
    const std::string loud = AddMusicSet(game, "loud", "Loud", "Composer2", 2);
    WriteLists(game, {game.projectPath}, {game.graphicPath}, {game.musicPath, loud});
    WriteText(game.folder + "Init.bse", "0\r\n0\r\n1\r\n");
    const auto delivered = contents(game.folder);

    Player player;
    player.then(InTitleMenu(), Concat({Press(Down, 2), Press(Space)}));
    const Session s = RunSession(game, std::ref(player), 220);
    const int config = s.first("config");
    ASSERT_GT(config, 0);
    // The delivered lists are read until the player has lists of their own.
    EXPECT_EQ(s.frames[static_cast<std::size_t>(config)].items[2], "MusicSet-Loud");
    EXPECT_EQ(ListFolder(game.perUser), "Init.bse");
    EXPECT_EQ(ReadText(game.perUser + "Init.bse"), "0\r\n0\r\n1\r\n");
    EXPECT_EQ(contents(game.folder), delivered);
}

TEST(InstalledGame, PlayersOwnListsAreReadOnceTheyExist) {
    GameFolder game = installedGame("installed_lists");
    const std::string other = AddStageProject(game, "other", "Other", "Builder", 1);
    fs::create_directories(game.perUser);
    // Relative, as the delivered lists are: a file of the game folder.
    WriteSetList(game.perUser + "StageSet.sel", {other.substr(game.folder.size())});
    WriteSetList(game.perUser + "BitMapSet.sel", {game.graphicPath});
    WriteSetList(game.perUser + "MusicSet.sel", {game.musicPath});

    Player player;
    player.then(InTitleMenu(), Concat({Press(Down, 2), Press(Space)}));
    const Session s = RunSession(game, std::ref(player), 220);
    const int config = s.first("config");
    ASSERT_GT(config, 0);
    EXPECT_EQ(s.frames[static_cast<std::size_t>(config)].items[0], "StageSet-Other");
}

TEST(InstalledGame, SaveOfADeliveredProjectGoesToThePlayersFolderAndLoadsBack) {
    GameFolder game = installedGame("installed_save");
    const std::string project = AddStageProject(game, "three", "Three", "Builder", 3);
    WriteLists(game, {project}, {game.graphicPath}, {game.musicPath});
    const std::string delivered = SaveFilePath(project);
    const std::string fresh = " 1 \r\n 1 \r\n 1 \r\n 1 \r\n";
    WriteText(delivered, fresh);
    const std::string players =
        game.perUser + "saves/sets%2Fthree%2F" + FileNameOf(project) + "/qonsave.sav";

    // Stage 1 cleared, slot 2 chosen, "NEXT"; back to the title from stage 2's pause menu,
    // and the load screen shows slot 2 as saved.
    Player player;
    player.then(InTitleMenu(), Press(Space))
        .then(OnScreen("play"), {Hold{Keys({Space}), -1}})
        .then(
            OnScreen("save"),
            Concat(
                {Press(Down, 2), Press(Space), {Hold{Input{}, 20}}, Press(Down, 2), Press(Space)}))
        .then(OnScreen("play"), Press(Esc))
        .then(OnScreen("pause"), Concat({Press(Down, 2), Press(Space)}))
        .then(InTitleMenu(), Concat({Press(Down), Press(Space)}));
    const Session s = RunSession(game, std::ref(player), 1500);

    const int load = s.first("load", s.first("save"));
    ASSERT_GT(load, 0);
    EXPECT_EQ(s.frames[static_cast<std::size_t>(load)].items[2], "STAGE 1までクリア");
    EXPECT_EQ(ReadText(players), " 1 \r\n 1 \r\n 2 \r\n 1 \r\n");
    EXPECT_EQ(ReadText(delivered), fresh);
}

}  // namespace
}  // namespace qon::shell_test
