// SPDX-License-Identifier: MIT
#pragma once

// Where the game and the set selector find the game's files, and where they keep what they
// write.
//
// The game folder holds "Logo.bmp", "Se/", the delivered sets, and the lists and "Init.bse"
// as delivered; relative list entries name files inside it. A staged build folder holds the
// programs too and is written in place, as it always was. An installed game (programs in
// games/, its folder in share/games/qon/, as Debian places games) and a game folder this
// user cannot write keep "Init.bse", the lists and the saves of read-only stage projects in
// a per-user folder instead: `$XDG_DATA_HOME/qon/`, by default `~/.local/share/qon/`.
// Until a per-user copy of a file exists, the delivered one is read.

#include <functional>
#include <string>

#include "qon/data/set_list.h"

namespace qon {

// The file whose presence marks a folder as a game folder.
inline constexpr const char* kGameFolderMarker = "Logo.bmp";
// Where an installed game's folder is, seen from the folder of its programs.
inline constexpr const char* kInstalledGameFolder = "../share/games/qon/";
// Inside the per-user folder: one folder per stage project whose own folder is read-only.
inline constexpr const char* kPerUserSavesFolder = "saves/";

// True when this process may create files in `folder` (an existing folder).
bool CanWriteIn(const std::string& folder);

struct GameFolders {
    // The game folder, ending in "/".
    std::string game;
    // The per-user folder, ending in "/"; empty when there is none (no HOME): then every
    // file is written where it is read.
    std::string user;
    // "Init.bse" and the lists are written to `user` (an installed or read-only game).
    bool listsInUser = false;
    // Whether a folder can be written; a seam for tests, which run as root.
    std::function<bool(const std::string& folder)> canWrite = CanWriteIn;

    // The list file to read: the per-user copy once it exists, else the delivered one.
    std::string listToRead(SetKind kind) const;
    // The list file the set selector writes.
    std::string listToWrite(SetKind kind) const;
    std::string settingsToRead() const;
    std::string settingsToWrite() const;
    // The save file of a stage project: beside the project (FolderOf(project) +
    // "qonsave.sav") when its folder can be written and it is not one of an installed
    // game's delivered projects; else per-user, in `user` + "saves/" + SaveFolderName.
    std::string saveToWrite(const std::string& projectPath) const;
    // saveToWrite once that file exists; until then the project's own save file.
    std::string saveToRead(const std::string& projectPath) const;
    // An entry of a list as a path to open (ResolveListEntry against `game`).
    std::string resolve(const std::string& entry) const;
};

// The game's reading of the three lists (ReadSetLists) from listToRead, with relative
// entries resolved against the game folder.
void ReadSetLists(const GameFolders& folders, SetLists& lists);

// Everything read and written in `folder` (a trailing "/" is added): the staged game
// folder as the replay runner and the tests use it.
GameFolders SingleGameFolder(std::string folder);

// The game folder of the programs in `programFolder`: that folder when it holds the
// marker; else `programFolder` + "../share/games/qon/" (normalised) when that does; else
// `programFolder` itself, whose missing files are then reported as usual.
std::string FindGameFolder(const std::string& programFolder);

// `$XDG_DATA_HOME/qon/`, or `$HOME/.local/share/qon/` when XDG_DATA_HOME is unset, empty
// or relative (as the XDG rules say); "" when neither gives an absolute folder.
std::string PerUserFolder(const char* xdgDataHome, const char* home);
// PerUserFolder of the environment.
std::string PerUserFolder();

// The folders of a game whose programs are in `programFolder`: per-user lists when the
// game folder is an installed one or cannot be written (and a per-user folder exists).
GameFolders FindGameFolders(const std::string& programFolder);

// The name of a project's per-user save folder: the project's path inside the game folder
// (or its absolute path when it lies elsewhere) with "%" written "%25" and "/" written
// "%2F", so that two projects never share a folder and the name still reads as the path:
// "sets%2Fstages%2Fstarlight%2FStarlightTour.stp".
std::string SaveFolderName(const std::string& gameFolder, const std::string& projectPath);

// Creates the folder that will hold `filePath`, with its parents. Failures are left to the
// write that follows, which names the file.
void MakeFolderFor(const std::string& filePath);

}  // namespace qon
