// SPDX-License-Identifier: MIT
// The studio logo: a night sky, a golden star and the studio name built from bricks.
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string_view>

#include "graphics.h"

namespace qon::content {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// 5 x 7 capitals, one text row per pixel row, '#' set.
struct Glyph {
    char letter;
    const char* rows[7];
};

constexpr Glyph kGlyphs[] = {
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
};

const Glyph* findGlyph(char letter) {
    for (const Glyph& g : kGlyphs) {
        if (g.letter == letter) return &g;
    }
    return nullptr;
}

float textWidth(std::string_view text, float cell) {
    return (static_cast<float>(text.size()) * 6 - 1) * cell;
}

// Every set pixel of the text becomes a small bevelled brick, coloured along a rainbow
// from the first letter to the last.
void drawBrickText(Canvas& c, std::string_view text, float left, float top, float cell,
                   bool rainbow, Rgb plain) {
    const float gap = std::max(1.0f, cell * 0.12f);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const Glyph* glyph = findGlyph(text[i]);
        if (glyph == nullptr) continue;
        const float t =
            text.size() > 1 ? static_cast<float>(i) / static_cast<float>(text.size() - 1) : 0;
        // Warm gold to rose to violet to sky blue.
        Rgb base = plain;
        if (rainbow) {
            const Rgb stops[] = {rgb(255, 196, 60), rgb(255, 100, 120), rgb(180, 100, 255),
                                 rgb(70, 170, 255)};
            const float s = t * 3;
            const int k = std::min(2, static_cast<int>(s));
            base = mix(stops[k], stops[k + 1], s - static_cast<float>(k));
        }
        const float gx = left + static_cast<float>(i) * 6 * cell;
        for (int row = 0; row < 7; ++row) {
            for (int col = 0; col < 5; ++col) {
                if (glyph->rows[row][col] != '#') continue;
                const float x0 = gx + static_cast<float>(col) * cell;
                const float y0 = top + static_cast<float>(row) * cell;
                const float x1 = x0 + cell - gap;
                const float y1 = y0 + cell - gap;
                const float radius = cell * 0.18f;
                // Drop shadow, brick, bevel highlight.
                c.paint(roundedRect(x0 + cell * 0.12f, y0 + cell * 0.15f, x1 + cell * 0.12f,
                                    y1 + cell * 0.15f, radius),
                        rgb(0, 0, 0), 0.45f);
                c.paint(roundedRect(x0, y0, x1, y1, radius),
                        verticalGradient(y0, mix(base, rgb(255, 255, 255), 0.45f), y1,
                                         mix(base, rgb(0, 0, 0), 0.3f)));
                if (cell >= 6) {
                    c.paint(roundedRect(x0 + cell * 0.15f, y0 + cell * 0.12f, x1 - cell * 0.15f,
                                        y0 + cell * 0.3f, radius * 0.5f),
                            rgb(255, 255, 255), 0.5f);
                }
            }
        }
    }
}

Shape star(float cx, float cy, float outer, float inner) {
    std::vector<float> points;
    for (int i = 0; i < 10; ++i) {
        const float angle = -kPi / 2 + static_cast<float>(i) * kPi / 5;
        const float r = (i % 2 == 0) ? outer : inner;
        points.push_back(cx + r * std::cos(angle));
        points.push_back(cy + r * std::sin(angle));
    }
    return polygon(std::move(points));
}

}  // namespace

Canvas DrawLogo() {
    Canvas c(640, 480);
    c.fill([](float x, float y) {
        const float t = y / 480;
        Rgb sky = mix(rgb(8, 10, 36), rgb(58, 22, 86), t * t);
        // A soft glow low in the middle, like a city beyond the horizon.
        const float glow =
            std::exp(-std::pow((x - 320) / 300, 2.0f) - std::pow((y - 480) / 140, 2.0f));
        return mix(sky, rgb(200, 90, 160), 0.45f * glow);
    });

    // Stars from a fixed sequence, so the picture is the same at every build.
    std::uint32_t seed = 20261207u;
    const auto next = [&seed]() {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / 16777216.0f;
    };
    for (int i = 0; i < 170; ++i) {
        const float x = next() * 640;
        const float y = next() * 420;
        const float size = 0.5f + next() * next() * 1.4f;
        const float brightness = 0.35f + 0.65f * next();
        c.paint(circle(x, y, size), mix(rgb(170, 190, 255), rgb(255, 255, 255), next()),
                brightness);
    }
    // A few big twinkling stars with cross flares.
    const float flares[][2] = {{96, 70}, {560, 110}, {470, 40}, {150, 190}, {590, 300}};
    for (const auto& f : flares) {
        c.paint(capsule(f[0] - 7, f[1], f[0] + 7, f[1], 0.6f), rgb(255, 255, 255), 0.8f);
        c.paint(capsule(f[0], f[1] - 7, f[0], f[1] + 7, 0.6f), rgb(255, 255, 255), 0.8f);
        c.paint(circle(f[0], f[1], 1.8f), rgb(255, 255, 255));
    }

    // The golden star, with a soft halo and a bounce trail leading up to it.
    const float sx = 320, sy = 138;
    for (int i = 5; i >= 1; --i) {
        c.paint(circle(sx, sy, 50 + 14 * static_cast<float>(i)), rgb(255, 200, 120), 0.05f);
    }
    for (int i = 0; i < 9; ++i) {
        const float t = static_cast<float>(i) / 8;
        const float x = 120 + t * 150;
        const float y = 236 - 150 * t + 80 * t * t;
        c.paint(circle(x, y, 2 + 3 * t), rgb(255, 240, 200), 0.25f + 0.6f * t);
    }
    c.paint(grow(star(sx, sy, 66, 28), 4), rgb(120, 50, 10));
    c.paint(star(sx, sy, 66, 28), [=](float x, float y) {
        const float d = std::hypot(x - sx + 12, y - sy + 14) / 70;
        return mix(rgb(255, 250, 200), rgb(255, 150, 30), std::min(1.0f, d));
    });
    c.paint(star(sx - 4, sy - 5, 30, 13), rgb(255, 255, 240), 0.45f);

    const std::string_view name = "HOSHI KOBO";
    const float cell = 10;
    drawBrickText(c, name, (640 - textWidth(name, cell)) / 2, 238, cell, true, {});

    // A thin bar with a resting ball under the name: the studio makes block games.
    c.paint(capsule(250, 338, 390, 338, 3),
            verticalGradient(335, rgb(255, 255, 255), 341, rgb(120, 130, 160)));
    c.paint(circle(320, 328, 6), sphere(320, 328, 6, rgb(240, 240, 255)));

    const std::string_view presents = "PRESENTS";
    const float small = 4;
    drawBrickText(c, presents, (640 - textWidth(presents, small)) / 2, 372, small, false,
                  rgb(220, 210, 255));
    return c;
}

}  // namespace qon::content
