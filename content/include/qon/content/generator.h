// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace qon::content {

// What GenerateGameFolder wrote or found, as absolute paths.
struct GameFolderContent {
    std::string logo;
    std::vector<std::string> soundEffects;   // "Se/SeBar.wav" ... in load order
    std::vector<std::string> stageProjects;  // main project first
    std::vector<std::string> graphicSets;    // main set first
    std::vector<std::string> musicSets;      // main set first; empty without the music module
    // The PNG icons of the game and the tools, "icons/hicolor/<N>x<N>/apps/<id>.png",
    // which an install puts into the icon theme.
    std::vector<std::string> icons;
    // Things a person should know, e.g. a player's list that was left alone.
    std::vector<std::string> notes;
};

// Writes the starter content of the game into `gameFolder` (created when missing):
// "Logo.bmp", "Se/" with the eight effects, the sets under "sets/stages", "sets/graphics"
// and "sets/music", the programs' icons under "icons/", the three selection lists (with paths
// relative to the folder, such as "sets/stages/starlight/StarlightTour.stp") and "Init.bse".
//
// Generated content is replaced on every run, deterministically. The player's own
// files are not: "Init.bse", a list and a "qonsave.sav" are written only when missing;
// a list is also refilled when it holds no entry at all, since the game cannot start
// with an empty list. Throws qon::DataError naming the file that could not be written.
GameFolderContent GenerateGameFolder(const std::string& gameFolder);

}  // namespace qon::content
