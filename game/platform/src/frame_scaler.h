// SPDX-License-Identifier: MIT
#pragma once

// Nearest-pixel scaling of the game's RGB565 frame into a window's own pixels, for
// presenting without a GPU: the picture fills the largest rectangle of its shape that
// fits the window, centred, with black bars, exactly where SDL's logical-size
// letterboxing puts it on the GPU path. Any part of the frame can be scaled on its own
// and lands on exactly the window pixels that sample it, so changed regions can be
// scaled alone and the window still shows what a whole-frame scale would.

#include <cstdint>
#include <functional>
#include <vector>

#include "frame_diff.h"

namespace qon::platform {

// The rectangle of an output of outputWidth x outputHeight pixels that a frame of
// frameWidth x frameHeight fills: the whole width or the whole height, whichever the
// frame's shape allows, the other side rounded down and the rest split into two bars
// (the odd pixel goes to the right or bottom bar).
PixelRect LetterboxViewport(int outputWidth, int outputHeight, int frameWidth, int frameHeight);

// The 8-bit value of a 5- or 6-bit colour component, spread so that full scale stays
// full scale (31 -> 255, 63 -> 255).
constexpr int Expand5(int v) {
    return (v << 3) | (v >> 2);
}
constexpr int Expand6(int v) {
    return (v << 2) | (v >> 4);
}

class FrameScaler {
  public:
    // The output's pixels: 2, 3 or 4 bytes each (3: little-endian), the value of a colour
    // given by `pixelOf`(red, green, blue), each 0..255. With `identity` the output is
    // RGB565 itself and no table is kept.
    void setOutputFormat(int bytesPerPixel,
                         const std::function<std::uint32_t(int, int, int)>& pixelOf,
                         bool identity = false);
    // Places a frame of frameWidth x frameHeight pixels in an output of outputWidth x
    // outputHeight, letterboxed.
    void configure(int frameWidth, int frameHeight, int outputWidth, int outputHeight);

    const PixelRect& viewport() const { return m_viewport; }
    int bytesPerPixel() const { return m_bytes; }

    // Writes the output pixels that sample `region` of the frame (rows `framePitchBytes`
    // apart) into `output` (rows `outputPitchBytes` apart) and returns the output
    // rectangle written (possibly empty when the output is smaller than the frame).
    PixelRect scale(const std::uint16_t* frame, int framePitchBytes, PixelRect region,
                    std::uint8_t* output, int outputPitchBytes) const;
    // Blackens the bars around the viewport.
    void clearBars(std::uint8_t* output, int outputPitchBytes) const;

  private:
    std::uint32_t pixelOf(std::uint16_t colour) const {
        return m_identity ? colour : m_palette[colour];
    }
    void fill(std::uint8_t* output, int outputPitchBytes, PixelRect area,
              std::uint32_t value) const;

    int m_bytes = 4;
    bool m_identity = false;
    std::vector<std::uint32_t> m_palette;  // RGB565 value -> output pixel
    int m_outputWidth = 0;
    int m_outputHeight = 0;
    PixelRect m_viewport;
    // The frame column and row each viewport column and row samples, and for each frame
    // column and row the first viewport column and row sampling it or anything after it
    // (one more entry: the viewport's width and height).
    std::vector<int> m_columnSource;
    std::vector<int> m_rowSource;
    std::vector<int> m_columnStart;
    std::vector<int> m_rowStart;
};

}  // namespace qon::platform
