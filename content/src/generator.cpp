// SPDX-License-Identifier: MIT
#include "qon/content/generator.h"

#include <filesystem>
#include <system_error>

#include "binary_file.h"
#include "graphics.h"
#include "icons.h"
#include "qon/content/music.h"
#include "qon/data/error.h"
#include "qon/data/files.h"
#include "qon/data/graphic_set.h"
#include "qon/data/paths.h"
#include "qon/data/save_file.h"
#include "qon/data/set_list.h"
#include "qon/data/settings.h"
#include "qon/data/stage.h"
#include "sound.h"
#include "stages.h"

namespace qon::content {

namespace fs = std::filesystem;

namespace {

std::string absoluteFolder(const std::string& folder) {
    std::error_code error;
    fs::path path = fs::absolute(folder, error);
    if (error) throw DataError(folder, 0, "cannot resolve the folder: " + error.message());
    std::string text = path.lexically_normal().string();
    if (text.empty() || text.back() != '/') text += '/';
    return text;
}

bool exists(const std::string& path) {
    std::error_code error;
    return fs::exists(path, error);
}

std::string writeGraphicSet(const std::string& graphicsFolder, const GraphicSetDesign& design) {
    const std::string folder = graphicsFolder + design.folderName + "/";
    makeFolders(folder);
    GraphicSetFile file;
    file.setName = design.setName;
    file.staffName = design.staffName;
    for (int slot = 0; slot < kBitmapSlots; ++slot) {
        const std::string name = SlotFileName(slot);
        const Canvas picture = DrawSlot(design.mood, slot);
        const Rgb key = kKeyColour;
        WriteFileAtomic(folder + name,
                        asBytes(IsKeyedSlot(slot) ? picture.toBmp(&key) : picture.toBmp()));
        file.bitmaps[static_cast<std::size_t>(slot)] = name;
    }
    const std::string setPath = folder + design.fileName;
    WriteGraphicSetFile(setPath, file);
    return setPath;
}

// The project and stage files are rewritten, but a player's progress in "qonsave.sav"
// survives: of the files a save of the project makes, the fresh save file is written only
// when there is none yet.
std::string writeStageProject(const std::string& stagesFolder, const StarterStageProject& starter) {
    const std::string folder = stagesFolder + starter.folderName + "/";
    makeFolders(folder);
    const std::string project = folder + starter.fileName;
    const std::string save = SaveFilePath(project);
    for (const FileBytes& file : FormatStageProjectFiles(project, starter.project)) {
        if (file.path == save && exists(save)) continue;
        WriteFileAtomic(file.path, file.bytes);
    }
    return project;
}

// The lists name the sets relative to the game folder, so that the folder can be copied
// or moved and still find its own sets. `entries` are absolute paths inside `folder`.
void writeListUnlessPlayerOwned(const std::string& folder, SetKind kind,
                                const std::vector<std::string>& entries,
                                std::vector<std::string>& notes) {
    const std::string path = folder + SetListFileName(kind);
    std::vector<std::string> relative;
    for (const std::string& entry : entries) relative.push_back(entry.substr(folder.size()));
    if (exists(path)) {
        try {
            const std::vector<std::string> current = ReadSetList(path);
            // A list as an earlier generator wrote it (absolute paths into this folder),
            // never edited since, is replaced by its relative form; any other is the
            // player's.
            if (!current.empty() && current != entries) return;
        } catch (const DataError& e) {
            notes.push_back(std::string("left alone, since it cannot be read: ") + e.what());
            return;
        }
        if (entries.empty()) return;
    }
    WriteSetList(path, relative);
}

}  // namespace

GameFolderContent GenerateGameFolder(const std::string& gameFolder) {
    GameFolderContent content;
    const std::string folder = absoluteFolder(gameFolder);
    makeFolders(folder);

    content.logo = folder + "Logo.bmp";
    WriteFileAtomic(content.logo, asBytes(DrawLogo().toBmp()));

    makeFolders(folder + "Se/");
    for (const SoundEffectFile& effect : MakeSoundEffects()) {
        const std::string path = folder + "Se/" + effect.name;
        WriteFileAtomic(path, asBytes(effect.bytes));
        content.soundEffects.push_back(path);
    }

    const std::string graphicsFolder = folder + "sets/graphics/";
    for (const GraphicSetDesign& design : StarterGraphicSets()) {
        content.graphicSets.push_back(writeGraphicSet(graphicsFolder, design));
    }

    for (const StarterStageProject& starter : StarterStageProjects()) {
        content.stageProjects.push_back(writeStageProject(folder + "sets/stages/", starter));
    }

    for (const IconFile& icon : MakeIcons()) {
        const std::string path = folder + icon.path;
        makeFolders(FolderOf(path));
        WriteFileAtomic(path, asBytes(icon.png));
        content.icons.push_back(path);
    }

    const std::string musicFolder = folder + "sets/music/";
    makeFolders(musicFolder);
    content.musicSets = GenerateMusicSets(musicFolder);

    writeListUnlessPlayerOwned(folder, SetKind::Stage, content.stageProjects, content.notes);
    writeListUnlessPlayerOwned(folder, SetKind::BitMap, content.graphicSets, content.notes);
    writeListUnlessPlayerOwned(folder, SetKind::Music, content.musicSets, content.notes);

    const std::string settings = folder + kSettingsFileName;
    if (!exists(settings)) WriteSettingsFile(settings, GameSettings{});
    return content;
}

}  // namespace qon::content
