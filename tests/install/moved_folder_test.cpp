// SPDX-License-Identifier: MIT
// A staged game folder copied and then moved elsewhere is a whole game: qon-replay plays it
// from the title through the first stage to the save screen, the save file and Init.bse
// are written inside the moved copy, and the folder it was copied from is not touched.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "qon/data/game_folders.h"
#include "qon/data/set_list.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/scratch_folder.h"

namespace qon {
namespace {

namespace fs = std::filesystem;
using test_support::Exists;
using test_support::ReadBytes;
using test_support::ScratchFolder;

// Every file under the folder with its size and time of last change.
std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        struct stat info {};
        if (::lstat(entry.path().c_str(), &info) != 0) continue;
        files[fs::relative(entry.path(), folder).string()] =
            std::to_string(info.st_size) + "@" + std::to_string(info.st_mtim.tv_sec) + "." +
            std::to_string(info.st_mtim.tv_nsec);
    }
    return files;
}

TEST(MovedGameFolder, PlaysItsOwnSetsAndSavesInsideItselfLeavingTheOriginalAlone) {
    const std::string original = QON_DIST_DIR "/";
    const std::map<std::string, std::string> before = snapshot(original);

    ScratchFolder scratch;
    fs::copy(original, scratch.path() + "copied", fs::copy_options::recursive);
    const std::string game = scratch.path() + "moved/";
    fs::rename(scratch.path() + "copied", scratch.path() + "moved");

    const std::string save = game + "sets/stages/starlight/qonsave.sav";
    ASSERT_TRUE(Exists(save));
    fs::remove(save);
    fs::remove(game + "Init.bse");

    // Every list entry is relative, and so names a file of the copy.
    SetLists lists;
    ReadSetLists(SingleGameFolder(game), lists);
    EXPECT_EQ(lists.stage.paths.at(0), game + "sets/stages/starlight/StarlightTour.stp");
    for (const SetList* list : {&lists.stage, &lists.bitmap, &lists.music}) {
        for (const std::string& path : list->paths) EXPECT_EQ(path.rfind(game, 0), 0u) << path;
    }

    // The scripted player starts a new game and clears stage 1; the run ends as the save
    // screen appears, which has created the project's save file.
    const std::string command = std::string("'") + QON_REPLAY + "' '" + game +
                                "' --player 1 --frames 40000 --stop-on save --out '" +
                                scratch.path() + "run' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_NE(ReadBytes(scratch.path() + "run/trace.jsonl").find("\"screen\":\"save\""),
              std::string::npos);
    EXPECT_EQ(ReadBytes(save), " 1 \r\n 1 \r\n 1 \r\n 1 \r\n");
    EXPECT_EQ(ReadBytes(game + "Init.bse"), "0\r\n0\r\n0\r\n");

    EXPECT_EQ(snapshot(original), before);
}

}  // namespace
}  // namespace qon
