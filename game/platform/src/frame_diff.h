// SPDX-License-Identifier: MIT
#pragma once

// What changed between the frame on screen and the next one. Most frames of the game
// repeat the last one (a settled title, a menu waiting for a key) or change a few small
// places (the ball, the bar, the score); presenting only those places is what keeps the
// game cheap on a machine that draws the window without a GPU.

#include <cstdint>
#include <vector>

namespace qon::platform {

// A rectangle of pixels: left, top, width, height.
struct PixelRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Keeps a copy of the last frame taken and compares the next one with it in square tiles.
// Changed tiles are merged into rectangles: runs of neighbouring tiles along a band of
// tiles, and runs of equal extent down successive bands.
class FrameDiff {
  public:
    static constexpr int kTile = 16;
    // More rectangles than this are given as their bounding box: each rectangle costs a
    // call into the window system, and a frame this busy changes most of the screen.
    static constexpr std::size_t kMaxRects = 48;

    FrameDiff(int width, int height);

    int width() const { return m_width; }
    int height() const { return m_height; }

    // Compares `frame` (width x height RGB565 pixels, rows `pitchBytes` apart) with the
    // last frame taken and takes it as the new last frame. Returns the changed regions,
    // empty when the frame is the same; the whole frame after invalidate() or on the
    // first call. The result stays valid until the next take().
    const std::vector<PixelRect>& take(const std::uint16_t* frame, int pitchBytes);
    // The next take() reports the whole frame.
    void invalidate() { m_valid = false; }

    // The last frame taken, rows width() pixels apart; all zero before the first take().
    const std::uint16_t* last() const { return m_last.data(); }

  private:
    void mergeBand(int bandTop, int bandHeight);

    int m_width;
    int m_height;
    int m_tilesAcross;
    bool m_valid = false;
    std::vector<std::uint16_t> m_last;
    std::vector<std::uint8_t> m_dirty;  // one flag per tile of the band being compared
    // Rectangles still growing downwards: their index in m_rects, open when they took a
    // run of the band before.
    std::vector<std::size_t> m_open;
    std::vector<std::size_t> m_nextOpen;
    std::vector<PixelRect> m_rects;
};

}  // namespace qon::platform
