// SPDX-License-Identifier: MIT
#include "play_test_support.h"

#include "qon/data/graphic_set.h"
#include "qon/data/stage.h"
#include "qon/test_support/bytes.h"

namespace qon::play::test {

TestMedia::TestMedia(std::uint32_t seed) : headless::HeadlessMedia(seed) {
    std::string reason;
    fontReady = InitFont(reason);
    SetNames([](const media::SoundEffect& effect) { return NameOf(effect); },
             [](const media::MusicTrack& track) { return LabelOf(track); });
}

void TestMedia::FlipScreen() {
    if (m_game != nullptr && (screens.empty() || screens.back() != m_game->screen)) {
        screens.emplace_back(m_game->screen);
    }
    HeadlessMedia::FlipScreen();
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
    music.push_back("play " + LabelOf(*track) + " x" + std::to_string(repeats));
    return true;
}

bool TestMedia::ResumeMusic(media::MusicTrack* track) {
    if (track == nullptr) return false;
    music.push_back("resume " + LabelOf(*track));
    return true;
}

bool TestMedia::StopMusic(media::MusicTrack* track) {
    if (track == nullptr) return false;
    music.push_back("stop " + LabelOf(*track));
    return true;
}

std::uint32_t BlockColour(int slot) {
    return media::Rgb(8 * (slot + 1), 128, 0);
}
std::uint32_t SpecialColour(int slot) {
    return media::Rgb(0, 8 * (slot + 1), 200);
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
void writePicture(headless::RasterMedia& media, const std::string& file, int w, int h,
                  std::uint32_t colour, bool keyedBorder) {
    media::SurfacePtr s = media.CreateOffscreenSurface(w, h);
    if (keyedBorder) {
        media.FillSurface(*s, media.ToSurfaceColor(kKeyColour));
        media.DrawBox(*s, 1, 1, w - 1, h - 1, colour, colour, 0, 0, 1);
    } else {
        media.FillSurface(*s, media.ToSurfaceColor(colour));
    }
    test_support::WriteBytes(file, media.EncodeBitmap(*s));
}

}  // namespace

void GameFolder::writeGraphicSet(headless::RasterMedia& media) {
    GraphicSetFile set;
    set.setName = "Test set";
    set.staffName = "Graphic Tester";
    for (int slot = 0; slot < kBitmapSlots; ++slot) {
        const std::string name = "slot" + std::to_string(slot) + ".bmp";
        set.bitmaps[static_cast<std::size_t>(slot)] = name;
        const BitmapSize size = RequiredBitmapSize(slot);
        if (slot < kFirstSpecialSlot) {
            writePicture(media, m_folder.file(name), size.width, size.height, BlockColour(slot),
                         false);
        } else if (slot < kFirstPartSlot) {
            writePicture(media, m_folder.file(name), size.width, size.height,
                         SpecialColour(slot - kFirstSpecialSlot), true);
        } else if (slot == kFirstPartSlot) {
            writePicture(media, m_folder.file(name), size.width, size.height, kBallColour, true);
        } else if (slot == kFirstPartSlot + 1) {
            writePicture(media, m_folder.file(name), size.width, size.height, kMiniBallColour,
                         true);
        } else {
            writePicture(media, m_folder.file(name), size.width, size.height, kBarColour, false);
        }
    }
    WriteGraphicSetFile(graphicSetPath(), set);
}

}  // namespace qon::play::test
