// SPDX-License-Identifier: MIT
#pragma once

// A complete, tiny game folder for replays: Logo.bmp, the eight effects, the three lists
// and one set of each kind. Stage 1 holds one block of one hit point at row 16, column
// 8, right in the path of a ball launched from its resting place.

#include <memory>
#include <string>
#include <vector>

#include "qon/test_support/scratch_folder.h"

namespace qon::shell_test {

struct GameFolder {
    // Removed with its contents when the last copy of the GameFolder goes.
    std::shared_ptr<test_support::ScratchFolder> scratch;
    std::string folder;       // ends in "/"
    std::string projectPath;  // the stage project (.stp)
    std::string graphicPath;  // the graphic set (.bgp)
    std::string musicPath;    // the music set (.msp)
    // When set (ending in "/"): the game runs as an installed one, whose folder it never
    // writes, with this as the player's own folder.
    std::string perUser;
};

// Creates the game folder `name` in a scratch folder of its own, with `stages` copies of
// the one-block stage.
GameFolder MakeGameFolder(const std::string& name, int stages = 1);

// Extra sets beside the fixture's own, each in a folder of its own under sets/. They are
// not listed: the test chooses the lists with WriteLists.
// A stage project of `stages` copies of the one-block stage; with `hard`, the block sits
// in the top left corner with eight hit points instead, out of the ball's first flights,
// so that a player who keeps the Bar away loses every ball.
std::string AddStageProject(const GameFolder& game, const std::string& folderName,
                            const std::string& title, const std::string& staff, int stages,
                            bool hard = false);
// A copy of the fixture's graphic set under another name and author.
std::string AddGraphicSet(const GameFolder& game, const std::string& fileName,
                          const std::string& setName, const std::string& staff);
// A music set with a title, an ending and `stageTracks` stage tracks.
std::string AddMusicSet(const GameFolder& game, const std::string& folderName,
                        const std::string& setName, const std::string& staff, int stageTracks);
// Replaces the three lists.
void WriteLists(const GameFolder& game, const std::vector<std::string>& stageSets,
                const std::vector<std::string>& graphicSets,
                const std::vector<std::string>& musicSets);

// Writes `text` to a file.
void WriteText(const std::string& path, const std::string& text);
// The file's bytes, or "<missing>".
std::string ReadText(const std::string& path);

}  // namespace qon::shell_test
