// SPDX-License-Identifier: MIT
#include "qon/data/game_folders.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "qon/data/files.h"
#include "qon/data/paths.h"
#include "qon/data/save_file.h"
#include "qon/data/settings.h"

namespace qon {

namespace fs = std::filesystem;

namespace {

std::string withSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

bool exists(const std::string& path) {
    std::error_code ignored;
    return fs::exists(path, ignored);
}

bool isInside(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0;
}

}  // namespace

bool CanWriteIn(const std::string& folder) {
    // access() also answers for a read-only mount, which the permission bits do not show.
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string GameFolders::listToRead(SetKind kind) const {
    const std::string own = listToWrite(kind);
    return listsInUser && !exists(own) ? game + SetListFileName(kind) : own;
}

std::string GameFolders::listToWrite(SetKind kind) const {
    return (listsInUser ? user : game) + SetListFileName(kind);
}

std::string GameFolders::settingsToRead() const {
    const std::string own = settingsToWrite();
    return listsInUser && !exists(own) ? game + kSettingsFileName : own;
}

std::string GameFolders::settingsToWrite() const {
    return (listsInUser ? user : game) + kSettingsFileName;
}

std::string GameFolders::saveToWrite(const std::string& projectPath) const {
    const std::string own = SaveFilePath(projectPath);
    if (user.empty()) return own;
    // An installed game's projects belong to the package, whoever runs the game.
    const bool delivered = listsInUser && isInside(projectPath, game);
    if (!delivered && canWrite(FolderOf(projectPath))) return own;
    return user + kPerUserSavesFolder + SaveFolderName(game, projectPath) + "/" + kSaveFileName;
}

std::string GameFolders::saveToRead(const std::string& projectPath) const {
    const std::string write = saveToWrite(projectPath);
    return exists(write) ? write : SaveFilePath(projectPath);
}

std::string GameFolders::resolve(const std::string& entry) const {
    return ResolveListEntry(game, entry);
}

void ReadSetLists(const GameFolders& folders, SetLists& lists) {
    ReadSetLists([&](SetKind kind) { return folders.listToRead(kind); }, folders.game, lists);
}

GameFolders SingleGameFolder(std::string folder) {
    GameFolders folders;
    folders.game = withSlash(std::move(folder));
    return folders;
}

std::string FindGameFolder(const std::string& programFolder) {
    const std::string own = withSlash(programFolder);
    if (exists(own + kGameFolderMarker)) return own;
    const std::string installed =
        withSlash(fs::path(own + kInstalledGameFolder).lexically_normal().string());
    if (exists(installed + kGameFolderMarker)) return installed;
    return own;
}

std::string PerUserFolder(const char* xdgDataHome, const char* home) {
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') {
        return withSlash(xdgDataHome) + "qon/";
    }
    if (home != nullptr && home[0] == '/') return withSlash(home) + ".local/share/qon/";
    return "";
}

std::string PerUserFolder() {
    return PerUserFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

GameFolders FindGameFolders(const std::string& programFolder) {
    GameFolders folders;
    const std::string own = withSlash(programFolder);
    folders.game = FindGameFolder(own);
    folders.user = PerUserFolder();
    const bool installed = folders.game != own;
    folders.listsInUser = !folders.user.empty() && (installed || !CanWriteIn(folders.game));
    return folders;
}

std::string SaveFolderName(const std::string& gameFolder, const std::string& projectPath) {
    const std::string folder = withSlash(gameFolder);
    const std::string path =
        isInside(projectPath, folder) ? projectPath.substr(folder.size()) : projectPath;
    std::string name;
    for (const char c : path) {
        if (c == '%') {
            name += "%25";
        } else if (c == '/') {
            name += "%2F";
        } else {
            name += c;
        }
    }
    return name;
}

void MakeFolderFor(const std::string& filePath) {
    std::error_code ignored;
    fs::create_directories(FolderOf(filePath), ignored);
}

}  // namespace qon
