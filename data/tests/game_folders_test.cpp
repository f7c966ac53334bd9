// SPDX-License-Identifier: MIT
#include "qon/data/game_folders.h"

#include <gtest/gtest.h>

#include <map>

#include "qon/data/error.h"
#include "qon/data/paths.h"
#include "qon/data/save_file.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon {
namespace {

QON_PRINT_ROWS_BY_NAME

using test_support::Exists;
using test_support::ReadBytes;
using test_support::RowName;
using test_support::ScratchFolder;
using test_support::WriteBytes;

// ---- list entries ------------------------------------------------------------------------

struct EntryRow {
    const char* name;
    const char* folder = "/opt/qon/";
    const char* entry = "";
    const char* path = "";
};

class ListEntry : public ::testing::TestWithParam<EntryRow> {};

TEST_P(ListEntry, ResolvesAgainstTheGameFolder) {
    EXPECT_EQ(ResolveListEntry(GetParam().folder, GetParam().entry), GetParam().path);
}

const EntryRow kEntryRows[] = {
    {.name = "RelativeEntryIsAFileOfTheGameFolder",
     .entry = "sets/stages/starlight/StarlightTour.stp",
     .path = "/opt/qon/sets/stages/starlight/StarlightTour.stp"},
    {.name = "AbsoluteEntryIsUsedAsWritten",
     .entry = "/home/me/Sets/Easy.stp",
     .path = "/home/me/Sets/Easy.stp"},
    {.name = "FolderWithoutItsSlashGetsOne",
     .folder = "/opt/qon",
     .entry = "sets/a.bgp",
     .path = "/opt/qon/sets/a.bgp"},
    {.name = "SpacesCommasAndJapaneseStayInTheEntry",
     .entry = "sets/春, 夏/ブロック.bgp",
     .path = "/opt/qon/sets/春, 夏/ブロック.bgp"},
    {.name = "EmptyEntryStaysEmpty", .entry = "", .path = ""},
};

INSTANTIATE_TEST_SUITE_P(data, ListEntry, ::testing::ValuesIn(kEntryRows), RowName);

// ---- the per-user folder -----------------------------------------------------------------

struct UserFolderRow {
    const char* name;
    const char* xdgDataHome = nullptr;
    const char* home = nullptr;
    const char* folder = "";
};

class UserFolder : public ::testing::TestWithParam<UserFolderRow> {};

TEST_P(UserFolder, FollowsTheXdgRules) {
    EXPECT_EQ(PerUserFolder(GetParam().xdgDataHome, GetParam().home), GetParam().folder);
}

const UserFolderRow kUserFolderRows[] = {
    {.name = "XdgDataHomeWins",
     .xdgDataHome = "/data/me",
     .home = "/home/me",
     .folder = "/data/me/qon/"},
    {.name = "UnsetXdgDataHomeMeansLocalShare",
     .home = "/home/me",
     .folder = "/home/me/.local/share/qon/"},
    {.name = "EmptyXdgDataHomeMeansLocalShare",
     .xdgDataHome = "",
     .home = "/home/me/",
     .folder = "/home/me/.local/share/qon/"},
    {.name = "RelativeXdgDataHomeIsIgnored",
     .xdgDataHome = "data",
     .home = "/home/me",
     .folder = "/home/me/.local/share/qon/"},
    {.name = "NoHomeAtAllGivesNone", .folder = ""},
};

INSTANTIATE_TEST_SUITE_P(data, UserFolder, ::testing::ValuesIn(kUserFolderRows), RowName);

// ---- finding the game folder -------------------------------------------------------------

TEST(data_GameFolder, StagedFolderHoldsItsProgramsAndIsItsOwnGameFolder) {
    ScratchFolder scratch;
    const std::string staged = scratch.folder("build/qon");
    WriteBytes(staged + "Logo.bmp", "BM");
    EXPECT_EQ(FindGameFolder(staged), staged);
    EXPECT_EQ(FindGameFolder(scratch.path() + "build/qon"), staged);
}

TEST(data_GameFolder, InstalledProgramsFindTheFolderInShareGamesQon) {
    ScratchFolder scratch;
    const std::string games = scratch.folder("usr/games");
    WriteBytes(scratch.folder("usr/share/games/qon") + "Logo.bmp", "BM");
    EXPECT_EQ(FindGameFolder(games), scratch.path() + "usr/share/games/qon/");
}

TEST(data_GameFolder, WithoutAGameAnywhereTheProgramsFolderIsKept) {
    ScratchFolder scratch;
    const std::string bin = scratch.folder("usr/bin");
    EXPECT_EQ(FindGameFolder(bin), bin);
}

// ---- where each file is read and written ------------------------------------------------

struct PlacesFixture : ::testing::Test {
    ScratchFolder scratch;
    GameFolders folders;
    void SetUp() override {
        folders.game = scratch.folder("usr/share/qon");
        folders.user = scratch.path() + "home/.local/share/qon/";
        folders.listsInUser = true;
    }
};

TEST_F(PlacesFixture, DeliveredListsAndSettingsAreReadUntilThePlayerHasCopies) {
    EXPECT_EQ(folders.listToRead(SetKind::Music), folders.game + "MusicSet.sel");
    EXPECT_EQ(folders.listToWrite(SetKind::Music), folders.user + "MusicSet.sel");
    EXPECT_EQ(folders.settingsToRead(), folders.game + "Init.bse");
    EXPECT_EQ(folders.settingsToWrite(), folders.user + "Init.bse");

    WriteBytes(scratch.folder("home/.local/share/qon") + "MusicSet.sel", "0\r\n");
    WriteBytes(folders.user + "Init.bse", "0\r\n0\r\n0\r\n");
    EXPECT_EQ(folders.listToRead(SetKind::Music), folders.user + "MusicSet.sel");
    // Each list on its own: the others are still the delivered ones.
    EXPECT_EQ(folders.listToRead(SetKind::Stage), folders.game + "StageSet.sel");
    EXPECT_EQ(folders.settingsToRead(), folders.user + "Init.bse");
}

struct SaveRow {
    const char* name;
    bool listsInUser = true;
    bool hasUser = true;
    const char* project = "";  // "GAME/" stands for the game folder
    bool projectFolderWritable = true;
    const char* save = "";  // "OWN" for the project's own save file, else under the user's
};

class SavePlace : public PlacesFixture, public ::testing::WithParamInterface<SaveRow> {};

TEST_P(SavePlace, IsBesideTheProjectOnlyWhereThePlayerMayWrite) {
    const SaveRow& row = GetParam();
    folders.listsInUser = row.listsInUser;
    if (!row.hasUser) folders.user.clear();
    folders.canWrite = [&](const std::string&) { return row.projectFolderWritable; };
    std::string project = row.project;
    if (project.rfind("GAME/", 0) == 0) project = folders.game + project.substr(5);
    const std::string expected = std::string(row.save) == "OWN"
                                     ? SaveFilePath(project)
                                     : folders.user + "saves/" + row.save + "/qonsave.sav";
    EXPECT_EQ(folders.saveToWrite(project), expected);
}

const SaveRow kSaveRows[] = {
    {.name = "DeliveredProjectOfAnInstalledGameSavesPerUser",
     .project = "GAME/sets/stages/starlight/StarlightTour.stp",
     .save = "sets%2Fstages%2Fstarlight%2FStarlightTour.stp"},
    {.name = "PlayersOwnProjectSavesBesideItself",
     .project = "/home/me/Sets/Easy.stp",
     .save = "OWN"},
    {.name = "ReadOnlyProjectElsewhereSavesPerUserByItsAbsolutePath",
     .project = "/media/cd/Sets/Easy.stp",
     .projectFolderWritable = false,
     .save = "%2Fmedia%2Fcd%2FSets%2FEasy.stp"},
    {.name = "WritableGameFolderSavesItsProjectsInPlace",
     .listsInUser = false,
     .project = "GAME/sets/stages/starlight/StarlightTour.stp",
     .save = "OWN"},
    {.name = "WithoutAPerUserFolderEverySaveIsBesideItsProject",
     .hasUser = false,
     .project = "/media/cd/Sets/Easy.stp",
     .projectFolderWritable = false,
     .save = "OWN"},
};

INSTANTIATE_TEST_SUITE_P(data, SavePlace, ::testing::ValuesIn(kSaveRows), RowName);

TEST_F(PlacesFixture, SaveIsReadFromTheProjectUntilThePlayerHasOne) {
    const std::string project = scratch.folder("usr/share/qon/sets/a") + "A.stp";
    EXPECT_EQ(folders.saveToRead(project), SaveFilePath(project));

    // The first read of a project without any save creates the player's one.
    const SaveSlots fresh =
        ReadOrCreateSaveFile(folders.saveToRead(project), folders.saveToWrite(project));
    EXPECT_EQ(fresh, (SaveSlots{1, 1, 1, 1}));
    EXPECT_FALSE(Exists(SaveFilePath(project)));
    EXPECT_EQ(folders.saveToRead(project), folders.saveToWrite(project));
    EXPECT_EQ(ReadBytes(folders.saveToRead(project)), " 1 \r\n 1 \r\n 1 \r\n 1 \r\n");
}

TEST_F(PlacesFixture, DeliveredSaveIsReadWithoutWritingAnything) {
    const std::string project = scratch.folder("usr/share/qon/sets/a") + "A.stp";
    WriteBytes(SaveFilePath(project), " 3 \r\n 1 \r\n 1 \r\n 1 \r\n");
    const SaveSlots slots =
        ReadOrCreateSaveFile(folders.saveToRead(project), folders.saveToWrite(project));
    EXPECT_EQ(slots, (SaveSlots{3, 1, 1, 1}));
    EXPECT_FALSE(Exists(folders.user));
}

TEST(data_SaveFolderName, EscapesPercentSoThatNoNameStandsForTwoPaths) {
    EXPECT_EQ(SaveFolderName("/usr/share/qon/", "/usr/share/qon/a/b.stp"), "a%2Fb.stp");
    EXPECT_EQ(SaveFolderName("/usr/share/qon/", "/usr/share/qon/a%2Fb.stp"), "a%252Fb.stp");
}

// ---- the game's reading of the lists -----------------------------------------------------

TEST(data_GameFolderLists, RelativeEntriesOfAPerUserListNameFilesOfTheGameFolder) {
    const std::map<std::string, std::string> files = {
        {"/home/me/qon/StageSet.sel", "2\r\nsets/a/A.stp\r\n/home/me/B.stp\r\n"},
        {"/usr/share/qon/BitMapSet.sel", "1\r\nsets/g/G.bgp\r\n"},
        {"/usr/share/qon/MusicSet.sel", "1\r\nsets/m/M.msp\r\n"},
        {"/usr/share/qon/sets/a/A.stp", "Delivered\r\n"},
        {"/home/me/B.stp", "Mine\r\n"},
        {"/usr/share/qon/sets/g/G.bgp", "Jewel\r\n"},
        {"/usr/share/qon/sets/m/M.msp", "Tunes\r\n"},
    };
    const FileSource source = [&](const std::string& path) {
        const auto found = files.find(path);
        if (found == files.end()) throw DataError(path, 0, "missing");
        return found->second;
    };
    const SetListPath listPath = [](SetKind kind) {
        return std::string(kind == SetKind::Stage ? "/home/me/qon/" : "/usr/share/qon/") +
               SetListFileName(kind);
    };
    SetLists lists;
    ReadSetLists(listPath, "/usr/share/qon", lists, source);
    EXPECT_EQ(lists.stage.paths,
              (std::vector<std::string>{"/usr/share/qon/sets/a/A.stp", "/home/me/B.stp"}));
    EXPECT_EQ(lists.stage.names, (std::vector<std::string>{"Delivered", "Mine"}));
    EXPECT_EQ(lists.bitmap.paths, std::vector<std::string>{"/usr/share/qon/sets/g/G.bgp"});
    EXPECT_EQ(lists.music.names, std::vector<std::string>{"Tunes"});
}

}  // namespace
}  // namespace qon
