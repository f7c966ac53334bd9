// SPDX-License-Identifier: MIT
// Test play: one stage project played from a given stage, without the opening and the
// title, on sets named on the command line or chosen by the player. It reads the game
// folder but never writes to it, nor beside the stage project.

#include <filesystem>
#include <iostream>
#include <string>

#include "qon/data/error.h"
#include "qon/data/graphic_set.h"
#include "qon/data/music_set.h"
#include "qon/data/stage.h"
#include "qon/shell/shell.h"
#include "screen_style.h"

namespace qon::shell {

using namespace detail;

namespace {

// Play finds stage files and bitmaps through the folder of each set's path, so every
// path must name its folder: "Stars.stp" given from its own folder becomes absolute.
std::string absolutePath(const std::string& path) {
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    return absolute.empty() ? path : absolute.lexically_normal().string();
}

}  // namespace

std::string GameShell::chosenSetPath(SetKind kind) {
    GameSettings settings;
    try {
        settings = ReadSettingsFile(m_folders.settingsToRead());
    } catch (const DataError&) {
        // Never played, or unreadable: the first set of the list, as three lines of 0
        // would choose. A test play does not create the file.
    }
    std::vector<std::string> paths;
    try {
        paths = ReadSetList(m_folders.listToRead(kind));
    } catch (const DataError&) {
        return "";
    }
    const int index = kind == SetKind::BitMap  ? settings.BitMapSetIndex
                      : kind == SetKind::Music ? settings.MusicSetIndex
                                               : settings.StageSetIndex;
    if (paths.empty()) return "";
    return m_folders.resolve(paths.at(index >= 0 && index < static_cast<int>(paths.size())
                                          ? static_cast<std::size_t>(index)
                                          : 0));
}

bool GameShell::PrepareTestPlay(const TestPlayOptions& options) {
    play::PlayState& p = m_game.play;
    resetGame();
    m_game.screen = "loading";

    auto refuse = [&](const std::string& text) {
        m_media.ShowMessage(kMessageTitle, say(GameMessage::TestPlayCannotStart, {text}));
        return false;
    };
    const std::string projectPath = absolutePath(options.projectPath);
    StageProjectHeader header;
    try {
        header = ReadStageProjectHeader(projectPath);
    } catch (const DataError& error) {
        return refuse(error.what());
    }
    if (options.stage > header.StageCount) {
        return refuse(
            say(header.StageCount == 1 ? GameMessage::NoSuchStageOfOne : GameMessage::NoSuchStage,
                {projectPath, std::to_string(header.StageCount), std::to_string(options.stage)}));
    }

    // A set named on the command line must be readable; a chosen one is the game's usual
    // business (a bad graphic set stops play at the stage start, a bad music set is
    // reported and play goes on silent).
    std::string graphicSetPath;
    if (!options.graphicSetPath.empty()) {
        graphicSetPath = absolutePath(options.graphicSetPath);
        try {
            (void)ReadGraphicSetFile(graphicSetPath);
        } catch (const DataError& error) {
            return refuse(error.what());
        }
    } else {
        graphicSetPath = chosenSetPath(SetKind::BitMap);
        if (graphicSetPath.empty()) {
            return refuse(
                say(GameMessage::NoGraphicSetInList, {m_folders.listToRead(SetKind::BitMap)}));
        }
    }
    std::string musicSetPath;
    if (!options.musicSetPath.empty()) {
        musicSetPath = absolutePath(options.musicSetPath);
        try {
            (void)ReadMusicSetForGame(musicSetPath);
        } catch (const DataError& error) {
            return refuse(error.what());
        }
    } else {
        musicSetPath = chosenSetPath(SetKind::Music);
        if (musicSetPath.empty()) {
            std::cerr << say(GameMessage::NoMusicSetLine, {m_folders.listToRead(SetKind::Music)})
                      << '\n';
        }
    }

    m_game.stageProjectPath = projectPath;
    m_game.graphicSetPath = graphicSetPath;
    p.StageNumber = static_cast<std::int16_t>(options.stage);

    m_media.FillSurface(m_media.BackBuffer(), m_media.ToSurfaceColor(kBlack));
    drawNowLoading(220, 200, 24);
    m_media.FlipScreen();
    unloadMusicSet();
    if (!musicSetPath.empty()) loadMusicSetFrom(musicSetPath);
    return true;
}

}  // namespace qon::shell
