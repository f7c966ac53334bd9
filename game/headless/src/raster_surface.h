// SPDX-License-Identifier: MIT
#pragma once

// The one Surface type of both platforms: an RGB565 SDL_Surface in memory.

#include <SDL.h>

#include "qon/media/media.h"

namespace qon::headless {

class RasterSurface final : public media::Surface {
  public:
    // Takes ownership of an RGB565 surface.
    explicit RasterSurface(SDL_Surface* pixels) : m_plain(pixels) {}
    ~RasterSurface() override {
        if (m_keyed != nullptr) SDL_FreeSurface(m_keyed);
        SDL_FreeSurface(m_plain);
    }
    RasterSurface(const RasterSurface&) = delete;
    RasterSurface& operator=(const RasterSurface&) = delete;

    int width() const override { return m_plain->w; }
    int height() const override { return m_plain->h; }

    SDL_Surface* plain() const { return m_plain; }
    // The keyed view shares the plain surface's pixels, so a keyed and an unkeyed blit of
    // the same picture need no toggling of the key (which would rebuild SDL's blit map on
    // every call). Surfaces without a key blit plain either way.
    SDL_Surface* keyed() const { return m_keyed != nullptr ? m_keyed : m_plain; }

    // Sets the source colour key; returns false when SDL refuses.
    bool setColourKey(Uint32 key) {
        if (m_keyed == nullptr) {
            m_keyed =
                SDL_CreateRGBSurfaceWithFormatFrom(m_plain->pixels, m_plain->w, m_plain->h, 16,
                                                   m_plain->pitch, SDL_PIXELFORMAT_RGB565);
            if (m_keyed == nullptr) return false;
        }
        return SDL_SetColorKey(m_keyed, SDL_TRUE, key) == 0;
    }

  private:
    SDL_Surface* m_plain;
    SDL_Surface* m_keyed = nullptr;
};

// Every Surface a RasterMedia hands out is a RasterSurface; callers never make their own.
inline RasterSurface& raster(media::Surface& s) {
    return static_cast<RasterSurface&>(s);
}
inline const RasterSurface& raster(const media::Surface& s) {
    return static_cast<const RasterSurface&>(s);
}

}  // namespace qon::headless
