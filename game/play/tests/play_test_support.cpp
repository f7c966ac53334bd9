// SPDX-License-Identifier: MIT
#include "play_test_support.h"

#include <unistd.h>

#include <atomic>

#include "qon/data/graphic_set.h"
#include "qon/data/stage.h"

namespace qon::play::test {

TestMedia::TestMedia(std::uint32_t seed) : media::HeadlessMedia(seed) {
    std::string reason;
    fontReady = InitFont(reason);
}

void TestMedia::clearRecords() {
    texts.clear();
    blits.clear();
    circles.clear();
    boxCount = 0;
}

void TestMedia::ReadController() {
    if (directInput) {
        m_controller = pad;
    } else {
        HeadlessMedia::ReadController();
    }
}

bool TestMedia::IsKeyDown(int virtualKey) {
    return directInput ? keys.count(virtualKey) != 0 : HeadlessMedia::IsKeyDown(virtualKey);
}

void TestMedia::DrawString(media::Surface& s, int x, int y, std::string_view text,
                           std::uint32_t colour, bool transparent, int size) {
    if (recordDrawing) texts.push_back(TextCall{x, y, std::string(text), colour, size});
    HeadlessMedia::DrawString(s, x, y, text, colour, transparent, size);
}

int TestMedia::BltSprite(media::Surface& dst, int x, int y, int w, int h, const media::Surface& src,
                         int sx, int sy, bool keyed) {
    if (recordDrawing) blits.push_back(BlitCall{x, y, w, h, &src, keyed});
    return HeadlessMedia::BltSprite(dst, x, y, w, h, src, sx, sy, keyed);
}

void TestMedia::DrawCircle(media::Surface& s, int x, int y, int radius, std::uint32_t fore,
                           std::uint32_t fill, int drawStyle, int fillStyle, int lineWidth) {
    if (recordDrawing) circles.push_back(CircleCall{x, y, radius});
    HeadlessMedia::DrawCircle(s, x, y, radius, fore, fill, drawStyle, fillStyle, lineWidth);
}

void TestMedia::DrawBox(media::Surface& s, int x1, int y1, int x2, int y2, std::uint32_t fore,
                        std::uint32_t fill, int drawStyle, int fillStyle, int lineWidth) {
    if (recordDrawing) ++boxCount;
    HeadlessMedia::DrawBox(s, x1, y1, x2, y2, fore, fill, drawStyle, fillStyle, lineWidth);
}

bool TestMedia::PlayMusic(media::MusicTrack* track, int repeats) {
    if (track == nullptr) return false;
    music.push_back("play " + track->label + " x" + std::to_string(repeats));
    return true;
}

bool TestMedia::ResumeMusic(media::MusicTrack* track) {
    if (track == nullptr) return false;
    music.push_back("resume " + track->label);
    return true;
}

bool TestMedia::StopMusic(media::MusicTrack* track) {
    if (track == nullptr) return false;
    music.push_back("stop " + track->label);
    return true;
}

void TestMedia::SetScreenName(std::string_view name) {
    if (screens.empty() || screens.back() != name) screens.emplace_back(name);
    HeadlessMedia::SetScreenName(name);
}

std::uint32_t BlockColour(int slot) {
    return media::Rgb(8 * (slot + 1), 128, 0);
}
std::uint32_t SpecialColour(int slot) {
    return media::Rgb(0, 8 * (slot + 1), 200);
}

GameFolder::GameFolder() {
    static std::atomic<int> counter{0};
    m_path = std::filesystem::temp_directory_path() /
             ("qon-play-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

GameFolder::~GameFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void GameFolder::writeStages(const std::vector<StageLayout>& stages) {
    StageProject project;
    project.projectName = "Test";
    project.staffName = "Tester";
    for (const StageLayout& layout : stages) {
        StageGrid grid;
        ResetEditorGrid(grid);
        for (const auto& [cell, kind] : layout) {
            grid[static_cast<std::size_t>(cell)].Kind = static_cast<std::int16_t>(kind);
        }
        project.stages.push_back(grid);
    }
    WriteStageProject(projectPath(), project);
}

namespace {

// A w x h picture: key colour at the border, `colour` inside (or all `colour` when not
// keyed).
void writePicture(media::RasterMedia& media, const std::filesystem::path& file, int w, int h,
                  std::uint32_t colour, bool keyedBorder) {
    media::SurfacePtr s = media.CreateOffscreenSurface(w, h);
    if (keyedBorder) {
        media.FillSurface(*s, media.ToSurfaceColor(kKeyColour));
        media.DrawBox(*s, 1, 1, w - 1, h - 1, colour, colour, 0, 0, 1);
    } else {
        media.FillSurface(*s, media.ToSurfaceColor(colour));
    }
    media.SaveBitmap(*s, file.string());
}

}  // namespace

void GameFolder::writeGraphicSet(media::RasterMedia& media) {
    GraphicSetFile set;
    set.setName = "Test set";
    set.staffName = "Graphic Tester";
    for (int slot = 0; slot < kBitmapSlots; ++slot) {
        const std::string name = "slot" + std::to_string(slot) + ".bmp";
        set.bitmaps[static_cast<std::size_t>(slot)] = name;
        const BitmapSize size = RequiredBitmapSize(slot);
        if (slot < kFirstSpecialSlot) {
            writePicture(media, m_path / name, size.width, size.height, BlockColour(slot), false);
        } else if (slot < kFirstPartSlot) {
            writePicture(media, m_path / name, size.width, size.height,
                         SpecialColour(slot - kFirstSpecialSlot), true);
        } else if (slot == kFirstPartSlot) {
            writePicture(media, m_path / name, size.width, size.height, kBallColour, true);
        } else if (slot == kFirstPartSlot + 1) {
            writePicture(media, m_path / name, size.width, size.height, kMiniBallColour, true);
        } else {
            writePicture(media, m_path / name, size.width, size.height, kBarColour, false);
        }
    }
    WriteGraphicSetFile(graphicSetPath(), set);
}

void FillSounds(SoundEffects& sounds) {
    auto make = [](const char* name) {
        auto effect = std::make_unique<media::SoundEffect>();
        effect->name = name;
        return effect;
    };
    sounds.SeBar = make("SeBar");
    sounds.SeBlock = make("SeBlock");
    sounds.SeCur = make("SeCur");
    sounds.SeItem = make("SeItem");
    sounds.SeSelect = make("SeSelect");
    sounds.SeBreak = make("SeBreak");
    sounds.SeBlack = make("SeBlack");
    sounds.SeKin = make("SeKin");
}

void FillMusic(MusicSet& music, int stageTracks) {
    auto make = [](std::string label) {
        auto track = std::make_unique<media::MusicTrack>();
        track->label = std::move(label);
        return track;
    };
    music.TitleMusic = make("title");
    music.EndingMusic = make("ending");
    music.StageMusic.clear();
    for (int i = 0; i < stageTracks; ++i)
        music.StageMusic.push_back(make("stage:" + std::to_string(i)));
    music.StageMusic.emplace_back();  // the spare empty entry
    music.StageMusicCount = static_cast<std::int16_t>(stageTracks);
}

void PrepareGameForTest(Game& game, int stageTracks) {
    FillSounds(game.sounds);
    FillMusic(game.music, stageTracks);
    ResetForNewGame(game.play);
    ResetGrid(game.play.StageGrid);
}

void PutBlock(PlayState& play, int row, int column, int kind) {
    BlockCell& c = play.StageGrid[static_cast<std::size_t>(row * kGridColumns + column)];
    c.Kind = static_cast<std::int16_t>(kind);
    c.HitPoints = static_cast<std::int16_t>(kind <= 8 ? kind + 1 : 1);
    c.Alive = kind == 255 ? kFalse : kTrue;
}

void RecordingShell::StageClearSave() {
    ++saves;
    if (game != nullptr) {
        savedStages.push_back(game->play.StageNumber);
        spaceLatchedAtSave.push_back(game->menu.spaceLatch);
    }
}

}  // namespace qon::play::test
