// SPDX-License-Identifier: MIT
#include "frame_diff.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace qon::platform {

FrameDiff::FrameDiff(int width, int height)
    : m_width(width),
      m_height(height),
      m_tilesAcross((width + kTile - 1) / kTile),
      m_last(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)),
      m_dirty(static_cast<std::size_t>(m_tilesAcross)) {
    assert(width > 0 && height > 0 && "a frame has at least one pixel");
    m_rects.reserve(kMaxRects + 1);
}

const std::vector<PixelRect>& FrameDiff::take(const std::uint16_t* frame, int pitchBytes) {
    m_rects.clear();
    m_open.clear();
    const auto* base = reinterpret_cast<const std::uint8_t*>(frame);
    const std::size_t rowBytes = static_cast<std::size_t>(m_width) * sizeof(std::uint16_t);
    const auto rowOf = [&](int y) {
        return reinterpret_cast<const std::uint16_t*>(base +
                                                      static_cast<std::ptrdiff_t>(y) * pitchBytes);
    };
    const auto lastRow = [&](int y) {
        return m_last.data() + static_cast<std::ptrdiff_t>(y) * m_width;
    };

    if (!m_valid) {
        for (int y = 0; y < m_height; ++y) std::memcpy(lastRow(y), rowOf(y), rowBytes);
        m_valid = true;
        m_rects.push_back({0, 0, m_width, m_height});
        return m_rects;
    }

    for (int bandTop = 0; bandTop < m_height; bandTop += kTile) {
        const int bandHeight = std::min(kTile, m_height - bandTop);
        std::fill(m_dirty.begin(), m_dirty.end(), std::uint8_t{0});
        for (int y = bandTop; y < bandTop + bandHeight; ++y) {
            const std::uint16_t* now = rowOf(y);
            std::uint16_t* was = lastRow(y);
            // Whole rows first: most rows of most frames are the same.
            if (std::memcmp(now, was, rowBytes) == 0) continue;
            for (int t = 0; t < m_tilesAcross; ++t) {
                if (m_dirty[static_cast<std::size_t>(t)] != 0) continue;
                const int x = t * kTile;
                const std::size_t bytes =
                    static_cast<std::size_t>(std::min(kTile, m_width - x)) * sizeof(std::uint16_t);
                if (std::memcmp(now + x, was + x, bytes) != 0)
                    m_dirty[static_cast<std::size_t>(t)] = 1;
            }
            std::memcpy(was, now, rowBytes);
        }
        mergeBand(bandTop, bandHeight);
    }

    if (m_rects.size() > kMaxRects) {
        int left = m_width, top = m_height, right = 0, bottom = 0;
        for (const PixelRect& r : m_rects) {
            left = std::min(left, r.x);
            top = std::min(top, r.y);
            right = std::max(right, r.x + r.w);
            bottom = std::max(bottom, r.y + r.h);
        }
        m_rects.assign(1, PixelRect{left, top, right - left, bottom - top});
    }
    return m_rects;
}

void FrameDiff::mergeBand(int bandTop, int bandHeight) {
    m_nextOpen.clear();
    for (int t = 0; t < m_tilesAcross;) {
        if (m_dirty[static_cast<std::size_t>(t)] == 0) {
            ++t;
            continue;
        }
        int end = t;
        while (end < m_tilesAcross && m_dirty[static_cast<std::size_t>(end)] != 0) ++end;
        const int x = t * kTile;
        const int w = std::min(end * kTile, m_width) - x;
        // A run of the same extent right under an open rectangle makes it taller.
        bool grown = false;
        for (const std::size_t index : m_open) {
            PixelRect& above = m_rects[index];
            if (above.x == x && above.w == w && above.y + above.h == bandTop) {
                above.h += bandHeight;
                m_nextOpen.push_back(index);
                grown = true;
                break;
            }
        }
        if (!grown) {
            m_nextOpen.push_back(m_rects.size());
            m_rects.push_back({x, bandTop, w, bandHeight});
        }
        t = end;
    }
    m_open.swap(m_nextOpen);
}

}  // namespace qon::platform
