// SPDX-License-Identifier: MIT
#include "qon/content/generator.h"

#include <filesystem>
#include <system_error>

#include "binary_file.h"
#include "graphics.h"
#include "qon/content/music.h"
#include "qon/data/error.h"
#include "qon/data/graphic_set.h"
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

void moveInto(const std::string& from, const std::string& to) {
    std::error_code error;
    fs::rename(from, to, error);
    if (error) throw DataError(to, 0, "cannot move the new file into place: " + error.message());
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
        writeBinaryAtomic(folder + name, IsKeyedSlot(slot) ? picture.toBmp(&key) : picture.toBmp());
        file.bitmaps[static_cast<std::size_t>(slot)] = name;
    }
    const std::string setPath = folder + design.fileName;
    WriteGraphicSetFile(setPath, file);
    return setPath;
}

// The project and stage files are rewritten, but a player's progress in "qonsave.sav"
// survives: the writer always makes a fresh save file, so the project is written into
// a side folder and only the files we own are moved into place.
std::string writeStageProject(const std::string& stagesFolder, const StarterStageProject& starter) {
    const std::string folder = stagesFolder + starter.folderName + "/";
    const std::string incoming = folder + ".incoming/";
    makeFolders(incoming);
    const std::string fresh = incoming + starter.fileName;
    const std::string project = folder + starter.fileName;
    WriteStageProject(fresh, starter.project);
    for (int n = 1; n <= static_cast<int>(starter.project.stages.size()); ++n) {
        moveInto(StageFilePath(fresh, n), StageFilePath(project, n));
    }
    moveInto(fresh, project);
    if (!exists(SaveFilePath(project))) moveInto(SaveFilePath(fresh), SaveFilePath(project));
    std::error_code error;
    fs::remove_all(incoming, error);  // only the unused fresh save can be left in it
    return project;
}

void writeListUnlessPlayerOwned(const std::string& folder, SetKind kind,
                                const std::vector<std::string>& entries,
                                std::vector<std::string>& notes) {
    const std::string path = folder + SetListFileName(kind);
    if (exists(path)) {
        try {
            if (!ReadSetList(path).empty()) return;
        } catch (const DataError& e) {
            notes.push_back(std::string("left alone, since it cannot be read: ") + e.what());
            return;
        }
        if (entries.empty()) return;
    }
    WriteSetList(path, entries);
}

}  // namespace

GameFolderContent GenerateGameFolder(const std::string& gameFolder) {
    GameFolderContent content;
    const std::string folder = absoluteFolder(gameFolder);
    makeFolders(folder);

    content.logo = folder + "Logo.bmp";
    writeBinaryAtomic(content.logo, DrawLogo().toBmp());

    makeFolders(folder + "Se/");
    for (const SoundEffectFile& effect : MakeSoundEffects()) {
        const std::string path = folder + "Se/" + effect.name;
        writeBinaryAtomic(path, effect.bytes);
        content.soundEffects.push_back(path);
    }

    const std::string graphicsFolder = folder + "sets/graphics/";
    for (const GraphicSetDesign& design : StarterGraphicSets()) {
        content.graphicSets.push_back(writeGraphicSet(graphicsFolder, design));
    }

    for (const StarterStageProject& starter : StarterStageProjects()) {
        content.stageProjects.push_back(writeStageProject(folder + "sets/stages/", starter));
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
