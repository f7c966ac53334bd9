// SPDX-License-Identifier: MIT
// Sorrel on an installed game: it reads the delivered lists until the player has lists of
// their own, writes the player's copies, keeps relative entries relative and finds their
// files in the game folder.
#include <gtest/gtest.h>

#include "qon/data/text.h"
#include "qon/set_selector/selection_lists_commands.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::set_selector {
namespace {

using test_support::Exists;
using test_support::ListFolder;
using test_support::ReadBytes;
using test_support::ScratchFolder;
using test_support::WriteBytes;
using tools_common::ScriptedPrompter;

struct InstalledLists : ::testing::Test {
    ScratchFolder scratch;
    GameFolders folders;
    std::string delivered;  // the delivered StageSet.sel's bytes
    void SetUp() override {
        folders.game = scratch.folder("usr/share/qon");
        folders.user = scratch.path() + "home/.local/share/qon/";
        folders.listsInUser = true;
        WriteLinesAtomic(scratch.folder("usr/share/qon/sets/a") + "A.stp",
                         {"Delivered", "1", "qon"});
        delivered = "1\r\nsets/a/A.stp\r\n";
        WriteBytes(folders.game + "StageSet.sel", delivered);
        WriteBytes(folders.game + "BitMapSet.sel", "0\r\n");
        WriteBytes(folders.game + "MusicSet.sel", "0\r\n");
    }
};

TEST_F(InstalledLists, DeliveredListsAreEditedIntoThePlayersCopies) {
    ScriptedPrompter prompter;
    prompter.fileAnswers = {QStringLiteral("/home/me/Mine.stp")};
    SelectionListsDocument document(folders);
    SelectionListsCommands selector(document, prompter);
    selector.loadLists();
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(document.entries(SetKind::Stage), std::vector<std::string>{"sets/a/A.stp"});
    EXPECT_EQ(document.resolve("sets/a/A.stp"), folders.game + "sets/a/A.stp");
    EXPECT_EQ(DescribeEntry(SetKind::Stage, document.resolve("sets/a/A.stp")).displayName,
              "Delivered");
    EXPECT_EQ(document.listFolder(), folders.user);

    ASSERT_TRUE(selector.addEntry(SetKind::Stage));
    ASSERT_TRUE(selector.closeLists());
    // The relative entry stays relative; the added one is the dialog's absolute path.
    EXPECT_EQ(ReadBytes(folders.user + "StageSet.sel"),
              "2\r\nsets/a/A.stp\r\n/home/me/Mine.stp\r\n");
    EXPECT_EQ(ListFolder(folders.user), "BitMapSet.sel MusicSet.sel StageSet.sel");
    EXPECT_EQ(ReadBytes(folders.game + "StageSet.sel"), delivered);
}

TEST_F(InstalledLists, PlayersCopiesAreReadOnceTheyExist) {
    WriteBytes(scratch.folder("home/.local/share/qon") + "StageSet.sel", "1\r\n/home/me/B.stp\r\n");
    SelectionListsDocument document(folders);
    ASSERT_FALSE(document.load().has_value());
    EXPECT_EQ(document.entries(SetKind::Stage), std::vector<std::string>{"/home/me/B.stp"});
}

TEST_F(InstalledLists, ListsAfterAFailureKeepTheDeliveredFilesFromBeingHidden) {
    // The player's stage list is damaged: the graphic and music lists are not reached, and
    // an empty copy of them must not hide the delivered ones from the game.
    WriteBytes(scratch.folder("home/.local/share/qon") + "StageSet.sel", "many\r\n");
    WriteBytes(folders.game + "BitMapSet.sel", "1\r\nsets/g/G.bgp\r\n");
    SelectionListsDocument document(folders);
    ASSERT_TRUE(document.load().has_value());
    EXPECT_FALSE(document.isEditable(SetKind::Stage));
    EXPECT_FALSE(document.isEditable(SetKind::BitMap));
    EXPECT_TRUE(document.save().empty());
    EXPECT_FALSE(Exists(folders.user + "BitMapSet.sel"));
    EXPECT_EQ(ReadBytes(folders.user + "StageSet.sel"), "many\r\n");
}

}  // namespace
}  // namespace qon::set_selector
