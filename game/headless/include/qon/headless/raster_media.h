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

namespace qon::headless {

class RasterMedia : public media::Media {
  public:
    RasterMedia();
    ~RasterMedia() override;
    RasterMedia(const RasterMedia&) = delete;
    RasterMedia& operator=(const RasterMedia&) = delete;

    media::Surface& BackBuffer() override;
    media::SurfacePtr CreateOffscreenSurface(int width, int height) override;
    media::SurfacePtr LoadSurfaceFromFile(const std::string& path) override;
    int BltSprite(media::Surface& dst, int x, int y, int w, int h, const media::Surface& src,
                  int sx, int sy, bool keyed) override;
    int BltStretch(media::Surface& dst, int x, int y, int w, int h, const media::Surface& src,
                   int sx, int sy, int sw, int sh, bool keyed) override;
    void FillSurface(media::Surface& surface, std::uint32_t nativeColour) override;
    std::uint32_t ToSurfaceColor(std::uint32_t rgb) override;

    void DrawLine(media::Surface& s, int x1, int y1, int x2, int y2, std::uint32_t fore,
                  std::uint32_t fill, int drawStyle, int fillStyle, int lineWidth) override;
    void DrawBox(media::Surface& s, int x1, int y1, int x2, int y2, std::uint32_t fore,
                 std::uint32_t fill, int drawStyle, int fillStyle, int lineWidth) override;
    void DrawCircle(media::Surface& s, int x, int y, int radius, std::uint32_t fore,
                    std::uint32_t fill, int drawStyle, int fillStyle, int lineWidth) override;
    void DrawString(media::Surface& s, int x, int y, std::string_view text, std::uint32_t colour,
                    bool transparent, int size) override;

    // Looks the face up through fontconfig (the game's own face first, then rounded and
    // plain Japanese faces) and opens it.
    bool InitFont(std::string& reason) override;
    // The font file in use; empty before InitFont succeeds.
    const std::string& fontFile() const;

    // The surface-native (RGB565) value of one pixel; 0 outside the surface.
    std::uint32_t PixelAt(const media::Surface& surface, int x, int y) const;
    // The surface as the bytes of a .bmp file.
    std::string EncodeBitmap(const media::Surface& surface) const;
    // Writes the surface as a .bmp file through the one door (atomically). Throws
    // MediaError.
    void SaveBitmap(const media::Surface& surface, const std::string& path) const;

  protected:
    // Releases fonts and cached text (the display half; surfaces stay valid).
    void releaseText();
    // The back buffer's RGB565 pixels, row after row `pitch` bytes apart, for a platform
    // that presents them.
    const void* backBufferPixels(int& pitch);

  private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace qon::headless
