// SPDX-License-Identifier: MIT
#include "qon/data/graphic_set.h"
#include "qon/play/game.h"

namespace qon::play {

namespace {

void releaseAll(StageImages& images) {
    for (media::SurfacePtr& s : images.BlockSurface) s.reset();
    for (media::SurfacePtr& s : images.SpecialSurface) s.reset();
    images.BallSurface.reset();
    images.MiniBallSurface.reset();
    images.BarSurface.reset();
}

// Each slot is released before its replacement is loaded, so two copies of a set never
// sit in memory at once.
void loadSlot(media::Media& media, media::SurfacePtr& slot, const std::string& setPath,
              const std::string& bitmapName) {
    slot.reset();
    slot = media.LoadSurfaceFromFile(GraphicBitmapPath(setPath, bitmapName));
}

}  // namespace

void LoadGraphicSet(media::Media& media, StageImages& images, std::string& graphicStaff,
                    const std::string& graphicSetPath) {
    try {
        const GraphicSetFile set = ReadGraphicSetFile(graphicSetPath);
        graphicStaff = set.staffName;
        int slot = 0;
        for (media::SurfacePtr& s : images.BlockSurface) {
            loadSlot(media, s, graphicSetPath, set.bitmaps[static_cast<std::size_t>(slot++)]);
        }
        for (media::SurfacePtr& s : images.SpecialSurface) {
            loadSlot(media, s, graphicSetPath, set.bitmaps[static_cast<std::size_t>(slot++)]);
        }
        loadSlot(media, images.BallSurface, graphicSetPath,
                 set.bitmaps[static_cast<std::size_t>(slot++)]);
        loadSlot(media, images.MiniBallSurface, graphicSetPath,
                 set.bitmaps[static_cast<std::size_t>(slot++)]);
        loadSlot(media, images.BarSurface, graphicSetPath,
                 set.bitmaps[static_cast<std::size_t>(slot++)]);
    } catch (...) {
        // Never leave half of one set and half of another on screen.
        releaseAll(images);
        throw;
    }
}

}  // namespace qon::play
