// SPDX-License-Identifier: MIT
#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace qon::content {

Rgb mix(Rgb a, Rgb b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb scale(Rgb c, float factor) {
    return {c.r * factor, c.g * factor, c.b * factor};
}

Shape circle(float cx, float cy, float radius) {
    return {[=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; }, cx - radius,
            cy - radius, cx + radius, cy + radius};
}

Shape roundedRect(float left, float top, float right, float bottom, float radius) {
    const float cx = (left + right) / 2;
    const float cy = (top + bottom) / 2;
    const float hx = (right - left) / 2 - radius;
    const float hy = (bottom - top) / 2 - radius;
    return {[=](float x, float y) {
                const float qx = std::abs(x - cx) - hx;
                const float qy = std::abs(y - cy) - hy;
                const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
                return outside + std::min(std::max(qx, qy), 0.0f) - radius;
            },
            left, top, right, bottom};
}

Shape capsule(float x0, float y0, float x1, float y1, float halfWidth) {
    return {[=](float x, float y) {
                const float px = x - x0;
                const float py = y - y0;
                const float bx = x1 - x0;
                const float by = y1 - y0;
                const float len2 = bx * bx + by * by;
                const float h = len2 > 0 ? std::clamp((px * bx + py * by) / len2, 0.0f, 1.0f) : 0;
                return std::hypot(px - bx * h, py - by * h) - halfWidth;
            },
            std::min(x0, x1) - halfWidth, std::min(y0, y1) - halfWidth,
            std::max(x0, x1) + halfWidth, std::max(y0, y1) + halfWidth};
}

Shape polygon(std::vector<float> points) {
    Shape shape;
    shape.left = shape.top = 1e9f;
    shape.right = shape.bottom = -1e9f;
    for (std::size_t i = 0; i + 1 < points.size(); i += 2) {
        shape.left = std::min(shape.left, points[i]);
        shape.right = std::max(shape.right, points[i]);
        shape.top = std::min(shape.top, points[i + 1]);
        shape.bottom = std::max(shape.bottom, points[i + 1]);
    }
    shape.distance = [pts = std::move(points)](float x, float y) {
        const std::size_t n = pts.size() / 2;
        float best = 1e9f;
        bool inside = false;
        for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
            const float ax = pts[2 * j], ay = pts[2 * j + 1];
            const float bx = pts[2 * i], by = pts[2 * i + 1];
            const float ex = bx - ax, ey = by - ay;
            const float wx = x - ax, wy = y - ay;
            const float len2 = ex * ex + ey * ey;
            const float h = len2 > 0 ? std::clamp((wx * ex + wy * ey) / len2, 0.0f, 1.0f) : 0;
            best = std::min(best, std::hypot(wx - ex * h, wy - ey * h));
            if ((ay > y) != (by > y) && x < ax + (y - ay) * ex / ey) inside = !inside;
        }
        return inside ? -best : best;
    };
    return shape;
}

Shape ring(float cx, float cy, float radius, float halfWidth) {
    return {
        [=](float x, float y) { return std::abs(std::hypot(x - cx, y - cy) - radius) - halfWidth; },
        cx - radius - halfWidth, cy - radius - halfWidth, cx + radius + halfWidth,
        cy + radius + halfWidth};
}

Shape unite(Shape a, Shape b) {
    Shape shape{nullptr, std::min(a.left, b.left), std::min(a.top, b.top),
                std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
    shape.distance = [fa = std::move(a.distance), fb = std::move(b.distance)](float x, float y) {
        return std::min(fa(x, y), fb(x, y));
    };
    return shape;
}

Shape subtract(Shape a, Shape b) {
    Shape shape{nullptr, a.left, a.top, a.right, a.bottom};
    shape.distance = [fa = std::move(a.distance), fb = std::move(b.distance)](float x, float y) {
        return std::max(fa(x, y), -fb(x, y));
    };
    return shape;
}

Shape grow(Shape shape, float amount) {
    Shape grown{nullptr, shape.left - amount, shape.top - amount, shape.right + amount,
                shape.bottom + amount};
    grown.distance = [f = std::move(shape.distance), amount](float x, float y) {
        return f(x, y) - amount;
    };
    return grown;
}

Shader flat(Rgb colour) {
    return [colour](float, float) { return colour; };
}

Shader verticalGradient(float top, Rgb topColour, float bottom, Rgb bottomColour) {
    return [=](float, float y) {
        const float t = bottom > top ? std::clamp((y - top) / (bottom - top), 0.0f, 1.0f) : 0;
        return mix(topColour, bottomColour, t);
    };
}

Shader sphere(float cx, float cy, float radius, Rgb base) {
    return [=](float x, float y) {
        const float nx = (x - cx) / radius;
        const float ny = (y - cy) / radius;
        const float nz = std::sqrt(std::max(0.0f, 1.0f - nx * nx - ny * ny));
        // Light from the upper left and a little in front.
        const float lambert = std::max(0.0f, -0.5f * nx - 0.55f * ny + 0.67f * nz);
        const float shine = std::pow(std::max(0.0f, -0.4f * nx - 0.45f * ny + 0.8f * nz), 24.0f);
        Rgb c = scale(base, 0.35f + 0.75f * lambert);
        return mix(c, rgb(255, 255, 255), std::min(1.0f, shine));
    };
}

Canvas::Canvas(int width, int height, Rgb background)
    : m_width(width),
      m_height(height),
      m_pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), background),
      m_coverage(m_pixels.size(), 0.0f) {}

void Canvas::paint(const Shape& shape, const Shader& shader, float opacity) {
    const int x0 = std::max(0, static_cast<int>(std::floor(shape.left)) - 1);
    const int y0 = std::max(0, static_cast<int>(std::floor(shape.top)) - 1);
    const int x1 = std::min(m_width - 1, static_cast<int>(std::ceil(shape.right)) + 1);
    const int y1 = std::min(m_height - 1, static_cast<int>(std::ceil(shape.bottom)) + 1);
    constexpr int kSub = 4;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            // Every shape here gives a distance that never overstates the true one, so a
            // centre further than half a diagonal from the edge settles the whole pixel.
            const float centre =
                shape.distance(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
            if (centre > 0.75f) continue;
            int hits = centre < -0.75f ? kSub * kSub : 0;
            for (int sy = 0; sy < kSub && centre >= -0.75f; ++sy) {
                for (int sx = 0; sx < kSub; ++sx) {
                    const float px = static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / kSub;
                    const float py = static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / kSub;
                    if (shape.distance(px, py) <= 0) ++hits;
                }
            }
            if (hits == 0) continue;
            const float cover = static_cast<float>(hits) / (kSub * kSub);
            blendPixel(x, y, shader(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f),
                       cover * opacity);
        }
    }
}

void Canvas::fill(const Shader& shader) {
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            setPixel(x, y, shader(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f));
        }
    }
}

void Canvas::setPixel(int x, int y, Rgb colour) {
    blendPixel(x, y, colour, 1.0f);
}

void Canvas::blendPixel(int x, int y, Rgb colour, float opacity) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
    const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                          static_cast<std::size_t>(x);
    opacity = std::clamp(opacity, 0.0f, 1.0f);
    m_pixels[i] = mix(m_pixels[i], colour, opacity);
    m_coverage[i] = m_coverage[i] + opacity * (1.0f - m_coverage[i]);
}

Rgb Canvas::pixel(int x, int y) const {
    return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                    static_cast<std::size_t>(x)];
}

float Canvas::coverage(int x, int y) const {
    return m_coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                      static_cast<std::size_t>(x)];
}

std::uint16_t toRgb565(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<std::uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

namespace {

std::uint8_t channel(float value) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

void putLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<std::uint8_t> Canvas::toBmp(const Rgb* key, float keyThreshold) const {
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(m_width) * 3u + 3u) & ~3u;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(m_height);
    std::vector<std::uint8_t> out;
    out.reserve(54 + imageBytes);
    out.push_back('B');
    out.push_back('M');
    putLe(out, 54 + imageBytes, 4);
    putLe(out, 0, 4);
    putLe(out, 54, 4);
    putLe(out, 40, 4);  // BITMAPINFOHEADER
    putLe(out, static_cast<std::uint32_t>(m_width), 4);
    putLe(out, static_cast<std::uint32_t>(m_height), 4);  // positive: bottom-up rows
    putLe(out, 1, 2);
    putLe(out, 24, 2);
    putLe(out, 0, 4);  // BI_RGB
    putLe(out, imageBytes, 4);
    putLe(out, 2835, 4);  // 72 DPI
    putLe(out, 2835, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);

    const bool keyed = key != nullptr && keyThreshold >= 0;
    std::uint8_t kr = 0, kg = 0, kb = 0;
    if (keyed) {
        kr = channel(key->r);
        kg = channel(key->g);
        kb = channel(key->b);
    }
    for (int y = m_height - 1; y >= 0; --y) {
        std::uint32_t written = 0;
        for (int x = 0; x < m_width; ++x) {
            std::uint8_t r, g, b;
            if (keyed && coverage(x, y) < keyThreshold) {
                r = kr;
                g = kg;
                b = kb;
            } else {
                const Rgb c = pixel(x, y);
                r = channel(c.r);
                g = channel(c.g);
                b = channel(c.b);
                // Trap: the game keys on the RGB565 value, so a near-key colour would
                // punch a hole in the sprite. Nudge green, which the key never uses.
                if (keyed && toRgb565(r, g, b) == toRgb565(kr, kg, kb)) g = g < 128 ? g + 8 : g - 8;
            }
            out.push_back(b);
            out.push_back(g);
            out.push_back(r);
            written += 3;
        }
        for (; written < rowBytes; ++written) out.push_back(0);
    }
    return out;
}

}  // namespace qon::content
