// SPDX-License-Identifier: MIT
#include "game_folder.h"

#include <filesystem>

#include "qon/data/graphic_set.h"
#include "qon/data/music_set.h"
#include "qon/data/set_list.h"
#include "qon/data/stage.h"
#include "qon/media/media.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/media_bytes.h"

namespace qon::shell_test {

namespace fs = std::filesystem;
using media::Rgb;

using test_support::BmpBytes;
using test_support::MidiBytes;
using test_support::WavBytes;
using test_support::WriteBytes;

void WriteText(const std::string& path, const std::string& text) {
    WriteBytes(path, text);
}

std::string ReadText(const std::string& path) {
    return test_support::ReadBytes(path);
}

GameFolder MakeGameFolder(const std::string& name, int stages) {
    GameFolder g;
    g.scratch = std::make_shared<test_support::ScratchFolder>();
    const fs::path root = fs::path(g.scratch->folder(name)).parent_path();
    fs::create_directories(root / "Se");
    fs::create_directories(root / "sets" / "stages");
    fs::create_directories(root / "sets" / "graphics");
    fs::create_directories(root / "sets" / "music");
    g.folder = root.string() + "/";

    WriteBytes(g.folder + "Logo.bmp",
               BmpBytes(640, 480, [](int x, int y) { return Rgb(x % 256, y % 256, 128); }));
    for (const char* effect :
         {"SeBar", "SeBlock", "SeCur", "SeItem", "SeSelect", "SeBreak", "SeBlack", "SeKin"}) {
        WriteBytes(g.folder + "Se/" + effect + ".wav", WavBytes());
    }

    // Stage project: one stage, one block.
    g.projectPath = (root / "sets" / "stages" / "tiny.stp").string();
    StageProject project;
    project.projectName = "Tiny";
    project.staffName = "Tester";
    StageGrid grid;
    ResetEditorGrid(grid);
    grid[16 * kGridColumns + 8].Kind = 0;
    for (int i = 0; i < stages; ++i) project.stages.push_back(grid);
    WriteStageProject(g.projectPath, project);

    // Graphic set: a distinct flat colour per block slot; specials and balls keyed on a
    // magenta corner.
    const std::string graphics = (root / "sets" / "graphics").string() + "/";
    GraphicSetFile set;
    set.setName = "Flat";
    set.staffName = "Painter";
    for (int slot = 0; slot < kBitmapSlots; ++slot) {
        const BitmapSize size = RequiredBitmapSize(slot);
        const std::string file = "slot" + std::to_string(slot) + ".bmp";
        const std::uint32_t colour = Rgb(40 + 9 * slot, 200 - 7 * slot, 30 + 5 * slot);
        const bool keyed = slot >= kFirstSpecialSlot;
        WriteBytes(graphics + file, BmpBytes(size.width, size.height, [=](int x, int y) {
                       return keyed && x == 0 && y == 0 ? Rgb(255, 0, 255) : colour;
                   }));
        set.bitmaps[static_cast<std::size_t>(slot)] = file;
    }
    g.graphicPath = graphics + "flat.bgp";
    WriteGraphicSetFile(g.graphicPath, set);

    // Music set: title, ending and two stage tracks.
    const std::string music = (root / "sets" / "music").string() + "/";
    for (const char* track : {"title.mid", "ending.mid", "stage1.mid", "stage2.mid"}) {
        WriteBytes(music + track, MidiBytes());
    }
    MusicSetFile tracks;
    tracks.setName = "Quiet";
    tracks.staffName = "Composer";
    tracks.titleTrack = "title.mid";
    tracks.endingTrack = "ending.mid";
    tracks.stageTracks = {"stage1.mid", "stage2.mid"};
    g.musicPath = music + "quiet.msp";
    WriteMusicSetFile(g.musicPath, tracks);

    WriteSetList(g.folder + SetListFileName(SetKind::Stage), {g.projectPath});
    WriteSetList(g.folder + SetListFileName(SetKind::BitMap), {g.graphicPath});
    WriteSetList(g.folder + SetListFileName(SetKind::Music), {g.musicPath});
    return g;
}

std::string AddStageProject(const GameFolder& game, const std::string& folderName,
                            const std::string& title, const std::string& staff, int stages,
                            bool hard) {
    const fs::path folder = fs::path(game.folder) / "sets" / folderName;
    fs::create_directories(folder);
    StageProject project = ReadStageProject(game.projectPath);
    project.projectName = title;
    project.staffName = staff;
    StageGrid grid = project.stages.front();
    if (hard) {
        grid[16 * kGridColumns + 8].Kind = Kind::kEmpty;
        grid[0].Kind = Kind::kNormalLast;
    }
    project.stages.assign(static_cast<std::size_t>(stages), grid);
    const std::string path = (folder / (folderName + ".stp")).string();
    WriteStageProject(path, project);
    return path;
}

std::string AddGraphicSet(const GameFolder& game, const std::string& fileName,
                          const std::string& setName, const std::string& staff) {
    GraphicSetFile set = ReadGraphicSetFile(game.graphicPath);
    set.setName = setName;
    set.staffName = staff;
    const std::string path = (fs::path(game.graphicPath).parent_path() / fileName).string();
    WriteGraphicSetFile(path, set);
    return path;
}

std::string AddMusicSet(const GameFolder& game, const std::string& folderName,
                        const std::string& setName, const std::string& staff, int stageTracks) {
    const fs::path folder = fs::path(game.folder) / "sets" / folderName;
    fs::create_directories(folder);
    MusicSetFile set;
    set.setName = setName;
    set.staffName = staff;
    set.titleTrack = "title.mid";
    set.endingTrack = "ending.mid";
    WriteBytes((folder / "title.mid").string(), MidiBytes());
    WriteBytes((folder / "ending.mid").string(), MidiBytes());
    for (int i = 0; i < stageTracks; ++i) {
        const std::string name = "stage" + std::to_string(i) + ".mid";
        WriteBytes((folder / name).string(), MidiBytes());
        set.stageTracks.push_back(name);
    }
    const std::string path = (folder / (folderName + ".msp")).string();
    WriteMusicSetFile(path, set);
    return path;
}

void WriteLists(const GameFolder& game, const std::vector<std::string>& stageSets,
                const std::vector<std::string>& graphicSets,
                const std::vector<std::string>& musicSets) {
    WriteSetList(game.folder + SetListFileName(SetKind::Stage), stageSets);
    WriteSetList(game.folder + SetListFileName(SetKind::BitMap), graphicSets);
    WriteSetList(game.folder + SetListFileName(SetKind::Music), musicSets);
}

}  // namespace qon::shell_test
