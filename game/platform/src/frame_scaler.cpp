// SPDX-License-Identifier: MIT
#include "frame_scaler.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>

namespace qon::platform {
namespace {

// Viewport pixel i of n samples frame pixel floor((i + 0.5) * frame / n): the frame
// pixel under the viewport pixel's centre, as a GPU's nearest filter picks it.
void buildAxis(int frame, int viewport, std::vector<int>& source, std::vector<int>& start) {
    source.resize(static_cast<std::size_t>(std::max(viewport, 0)));
    for (int i = 0; i < viewport; ++i) {
        const auto s =
            (2 * static_cast<std::int64_t>(i) + 1) * frame / (2 * std::int64_t{viewport});
        source[static_cast<std::size_t>(i)] =
            static_cast<int>(std::min<std::int64_t>(s, frame - 1));
    }
    start.assign(static_cast<std::size_t>(frame) + 1, viewport);
    int i = 0;
    for (int s = 0; s <= frame; ++s) {
        while (i < viewport && source[static_cast<std::size_t>(i)] < s) ++i;
        start[static_cast<std::size_t>(s)] = i;
    }
}

}  // namespace

PixelRect LetterboxViewport(int outputWidth, int outputHeight, int frameWidth, int frameHeight) {
    if (outputWidth <= 0 || outputHeight <= 0 || frameWidth <= 0 || frameHeight <= 0) return {};
    // The same arithmetic as SDL's logical-size letterboxing, floats included, so the
    // picture sits on the same pixels whichever way it is presented.
    const float want = static_cast<float>(frameWidth) / static_cast<float>(frameHeight);
    const float real = static_cast<float>(outputWidth) / static_cast<float>(outputHeight);
    if (std::fabs(want - real) < 0.0001f) return {0, 0, outputWidth, outputHeight};
    if (want > real) {
        const float scale = static_cast<float>(outputWidth) / static_cast<float>(frameWidth);
        const int h = static_cast<int>(std::floor(static_cast<float>(frameHeight) * scale));
        return {0, (outputHeight - h) / 2, outputWidth, h};
    }
    const float scale = static_cast<float>(outputHeight) / static_cast<float>(frameHeight);
    const int w = static_cast<int>(std::floor(static_cast<float>(frameWidth) * scale));
    return {(outputWidth - w) / 2, 0, w, outputHeight};
}

void FrameScaler::setOutputFormat(int bytesPerPixel,
                                  const std::function<std::uint32_t(int, int, int)>& pixelOf,
                                  bool identity) {
    assert(bytesPerPixel >= 2 && bytesPerPixel <= 4 && "outputs take 2, 3 or 4 bytes a pixel");
    m_bytes = bytesPerPixel;
    m_identity = identity && bytesPerPixel == 2;
    if (m_identity) {
        m_palette.clear();
        m_palette.shrink_to_fit();
        return;
    }
    m_palette.resize(65536);
    for (std::uint32_t c = 0; c < 65536; ++c) {
        m_palette[c] =
            pixelOf(Expand5(static_cast<int>(c >> 11)), Expand6(static_cast<int>((c >> 5) & 63)),
                    Expand5(static_cast<int>(c & 31)));
    }
}

void FrameScaler::configure(int frameWidth, int frameHeight, int outputWidth, int outputHeight) {
    m_outputWidth = outputWidth;
    m_outputHeight = outputHeight;
    m_viewport = LetterboxViewport(outputWidth, outputHeight, frameWidth, frameHeight);
    buildAxis(frameWidth, m_viewport.w, m_columnSource, m_columnStart);
    buildAxis(frameHeight, m_viewport.h, m_rowSource, m_rowStart);
}

PixelRect FrameScaler::scale(const std::uint16_t* frame, int framePitchBytes, PixelRect region,
                             std::uint8_t* output, int outputPitchBytes) const {
    const auto at = [](const std::vector<int>& v, int i) { return v[static_cast<std::size_t>(i)]; };
    const int frameWidth = static_cast<int>(m_columnStart.size()) - 1;
    const int frameHeight = static_cast<int>(m_rowStart.size()) - 1;
    const int left = std::clamp(region.x, 0, std::max(frameWidth, 0));
    const int right = std::clamp(region.x + region.w, left, std::max(frameWidth, 0));
    const int top = std::clamp(region.y, 0, std::max(frameHeight, 0));
    const int bottom = std::clamp(region.y + region.h, top, std::max(frameHeight, 0));
    if (frameWidth <= 0 || frameHeight <= 0) return {};
    const int x0 = at(m_columnStart, left);
    const int x1 = at(m_columnStart, right);
    const int y0 = at(m_rowStart, top);
    const int y1 = at(m_rowStart, bottom);
    const PixelRect written{m_viewport.x + x0, m_viewport.y + y0, x1 - x0, y1 - y0};
    if (written.w <= 0 || written.h <= 0) return {written.x, written.y, 0, 0};

    const std::size_t spanBytes =
        static_cast<std::size_t>(written.w) * static_cast<std::size_t>(m_bytes);
    const auto* frameBytes = reinterpret_cast<const std::uint8_t*>(frame);
    for (int y = y0; y < y1; ++y) {
        std::uint8_t* target = output +
                               static_cast<std::ptrdiff_t>(m_viewport.y + y) * outputPitchBytes +
                               static_cast<std::ptrdiff_t>(written.x) * m_bytes;
        const int sourceRow = at(m_rowSource, y);
        // Rows that sample the same frame row are copies of the one above.
        if (y > y0 && at(m_rowSource, y - 1) == sourceRow) {
            std::memcpy(target, target - outputPitchBytes, spanBytes);
            continue;
        }
        const auto* source = reinterpret_cast<const std::uint16_t*>(
            frameBytes + static_cast<std::ptrdiff_t>(sourceRow) * framePitchBytes);
        const int* columns = m_columnSource.data();
        switch (m_bytes) {
            case 4: {
                auto* pixel = reinterpret_cast<std::uint32_t*>(target);
                for (int x = x0; x < x1; ++x) *pixel++ = pixelOf(source[columns[x]]);
                break;
            }
            case 2: {
                auto* pixel = reinterpret_cast<std::uint16_t*>(target);
                for (int x = x0; x < x1; ++x)
                    *pixel++ = static_cast<std::uint16_t>(pixelOf(source[columns[x]]));
                break;
            }
            default: {
                std::uint8_t* pixel = target;
                for (int x = x0; x < x1; ++x) {
                    const std::uint32_t value = pixelOf(source[columns[x]]);
                    *pixel++ = static_cast<std::uint8_t>(value);
                    *pixel++ = static_cast<std::uint8_t>(value >> 8);
                    *pixel++ = static_cast<std::uint8_t>(value >> 16);
                }
                break;
            }
        }
    }
    return written;
}

void FrameScaler::fill(std::uint8_t* output, int outputPitchBytes, PixelRect area,
                       std::uint32_t value) const {
    for (int y = area.y; y < area.y + area.h; ++y) {
        std::uint8_t* pixel = output + static_cast<std::ptrdiff_t>(y) * outputPitchBytes +
                              static_cast<std::ptrdiff_t>(area.x) * m_bytes;
        for (int x = 0; x < area.w; ++x) {
            for (int b = 0; b < m_bytes; ++b)
                *pixel++ = static_cast<std::uint8_t>(value >> (8 * b));
        }
    }
}

void FrameScaler::clearBars(std::uint8_t* output, int outputPitchBytes) const {
    const std::uint32_t black = pixelOf(0);
    const PixelRect& v = m_viewport;
    fill(output, outputPitchBytes, {0, 0, m_outputWidth, v.y}, black);
    fill(output, outputPitchBytes, {0, v.y + v.h, m_outputWidth, m_outputHeight - v.y - v.h},
         black);
    fill(output, outputPitchBytes, {0, v.y, v.x, v.h}, black);
    fill(output, outputPitchBytes, {v.x + v.w, v.y, m_outputWidth - v.x - v.w, v.h}, black);
}

}  // namespace qon::platform
