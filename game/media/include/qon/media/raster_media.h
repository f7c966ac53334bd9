// SPDX-License-Identifier: MIT
#pragma once

// The drawing half of the media layer, shared by the SDL platform and the headless twin:
// RGB565 surfaces in memory, colour-keyed blits, span-filled shapes and cached text.
// Both platforms draw the same pixels; they differ only in how a frame is presented,
// how time passes, where input comes from and what happens to sound.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "qon/media/media.h"

namespace qon::media {

class RasterMedia : public Media {
  public:
    RasterMedia();
    ~RasterMedia() override;
    RasterMedia(const RasterMedia&) = delete;
    RasterMedia& operator=(const RasterMedia&) = delete;

    Surface& BackBuffer() override;
    SurfacePtr CreateOffscreenSurface(int width, int height) override;
    SurfacePtr LoadSurfaceFromFile(const std::string& path) override;
    int BltSprite(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
                  bool keyed) override;
    int BltStretch(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
                   int sw, int sh, bool keyed) override;
    void FillSurface(Surface& surface, std::uint32_t nativeColour) override;
    std::uint32_t ToSurfaceColor(std::uint32_t rgb) override;

    void DrawLine(Surface& s, int x1, int y1, int x2, int y2, std::uint32_t fore,
                  std::uint32_t fill, int drawStyle, int fillStyle, int lineWidth) override;
    void DrawBox(Surface& s, int x1, int y1, int x2, int y2, std::uint32_t fore, std::uint32_t fill,
                 int drawStyle, int fillStyle, int lineWidth) override;
    void DrawCircle(Surface& s, int x, int y, int radius, std::uint32_t fore, std::uint32_t fill,
                    int drawStyle, int fillStyle, int lineWidth) override;
    void DrawString(Surface& s, int x, int y, std::string_view text, std::uint32_t colour,
                    bool transparent, int size) override;

    // Looks the face up through fontconfig (the game's own face first, then rounded and
    // plain Japanese faces) and opens it.
    bool InitFont(std::string& reason) override;
    // The font file in use; empty before InitFont succeeds.
    const std::string& fontFile() const;

    // The surface-native (RGB565) value of one pixel; 0 outside the surface.
    std::uint32_t PixelAt(const Surface& surface, int x, int y) const;
    // Writes the surface as a .bmp file (atomically). Throws MediaError.
    void SaveBitmap(const Surface& surface, const std::string& path) const;

  protected:
    // Releases fonts and cached text (the display half; surfaces stay valid).
    void releaseText();

  private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace qon::media
