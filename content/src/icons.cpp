// SPDX-License-Identifier: MIT
// The icons of the game and its tools: one motif each on a shared rounded tile, drawn at
// every size from shapes (so the small sizes are sharp, not scaled down).

#include "icons.h"

#include <algorithm>
#include <functional>
#include <iterator>

#include "canvas.h"
#include "png.h"

namespace qon::content {

namespace {

// Shapes are given on a 48-unit grid and scaled to the icon's size.
struct Grid {
    float k;
    float operator()(float units) const { return units * k; }
};

const Rgb kTileTop = rgb(40, 52, 120);
const Rgb kTileBottom = rgb(14, 18, 52);
const Rgb kBlockColours[] = {rgb(236, 84, 84),  rgb(246, 170, 60), rgb(250, 222, 80),
                             rgb(96, 200, 110), rgb(80, 160, 240), rgb(170, 110, 230)};

void tile(Canvas& c, const Grid& g) {
    c.paint(roundedRect(g(2), g(2), g(46), g(46), g(8)),
            verticalGradient(g(2), kTileTop, g(46), kTileBottom));
}

void block(Canvas& c, const Grid& g, float left, float top, float width, float height, Rgb colour) {
    c.paint(roundedRect(g(left), g(top), g(left + width), g(top + height), g(1.2f)),
            verticalGradient(g(top), mix(colour, rgb(255, 255, 255), 0.35f), g(top + height),
                             scale(colour, 0.7f)));
}

void ball(Canvas& c, const Grid& g, float x, float y, float radius) {
    c.paint(circle(g(x), g(y), g(radius)), sphere(g(x), g(y), g(radius), rgb(235, 235, 245)));
}

void drawGame(Canvas& c, const Grid& g) {
    tile(c, g);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            block(c, g, 7 + column * 8.8f, 8 + row * 5.5f, 7.6f, 4.3f, kBlockColours[row * 2 % 6]);
        }
    }
    ball(c, g, 27, 30, 3.2f);
    c.paint(roundedRect(g(14), g(38), g(34), g(41.5f), g(1.75f)),
            verticalGradient(g(38), rgb(250, 250, 255), g(41.5f), rgb(150, 160, 200)));
}

void drawStageEditor(Canvas& c, const Grid& g) {
    tile(c, g);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            if ((row + column) % 3 == 2) continue;
            block(c, g, 7 + column * 8.8f, 8 + row * 6, 7.6f, 4.8f,
                  kBlockColours[(row + column) % 6]);
        }
    }
    // A pencil across the grid.
    c.paint(capsule(g(18), g(40), g(38), g(20), g(3.2f)), rgb(250, 210, 90));
    c.paint(polygon({g(15.2f), g(42.8f), g(16.2f), g(37.0f), g(21.0f), g(41.8f)}), rgb(60, 40, 30));
    c.paint(capsule(g(36), g(22), g(39.5f), g(18.5f), g(3.2f)), rgb(236, 120, 140));
}

void drawSetSelector(Canvas& c, const Grid& g) {
    tile(c, g);
    for (int row = 0; row < 3; ++row) {
        const float top = 10 + row * 10;
        c.paint(roundedRect(g(8), g(top), g(40), g(top + 7), g(2)), rgb(236, 238, 250), 0.95f);
        block(c, g, 10, top + 1.5f, 6, 4, kBlockColours[row * 2]);
        c.paint(roundedRect(g(19), g(top + 2.8f), g(36), g(top + 4.2f), g(0.7f)),
                rgb(120, 126, 160));
    }
    c.paint(circle(g(37), g(37), g(6)), rgb(96, 200, 110));
    c.paint(capsule(g(34), g(37), g(36.2f), g(39.4f), g(0.9f)), rgb(255, 255, 255));
    c.paint(capsule(g(36.2f), g(39.4f), g(40.2f), g(34.2f), g(0.9f)), rgb(255, 255, 255));
}

void drawGraphicSetCreator(Canvas& c, const Grid& g) {
    tile(c, g);
    for (int i = 0; i < 4; ++i) {
        const float left = 9 + (i % 2) * 15;
        const float top = 9 + (i / 2) * 15;
        block(c, g, left, top, 13, 13, kBlockColours[i + 1]);
    }
    // A gem stud on each tile: the bitmaps of a graphic set.
    for (int i = 0; i < 4; ++i) {
        const float x = 15.5f + (i % 2) * 15;
        const float y = 15.5f + (i / 2) * 15;
        c.paint(circle(g(x), g(y), g(2.6f)), sphere(g(x), g(y), g(2.6f), rgb(250, 250, 255)), 0.8f);
    }
}

void drawMusicSetCreator(Canvas& c, const Grid& g) {
    tile(c, g);
    for (int column = 0; column < 4; ++column) {
        block(c, g, 7 + column * 8.8f, 36, 7.6f, 4.3f, kBlockColours[column + 1]);
    }
    // A pair of quavers.
    const Rgb note = rgb(250, 250, 255);
    c.paint(circle(g(16), g(29), g(4.2f)), note);
    c.paint(circle(g(32), g(26), g(4.2f)), note);
    c.paint(capsule(g(19.6f), g(29), g(19.6f), g(11), g(1.2f)), note);
    c.paint(capsule(g(35.6f), g(26), g(35.6f), g(8), g(1.2f)), note);
    c.paint(polygon({g(18.4f), g(9.5f), g(36.8f), g(6.5f), g(36.8f), g(11.5f), g(18.4f), g(14.5f)}),
            note);
}

std::uint8_t channel(float value) {
    return static_cast<std::uint8_t>(std::clamp(value + 0.5f, 0.0f, 255.0f));
}

// The canvas as straight RGBA: painting blended the edges into the black background, so
// the colour is divided by the coverage again.
std::vector<std::uint8_t> toRgba(const Canvas& c) {
    std::vector<std::uint8_t> rgba;
    rgba.reserve(static_cast<std::size_t>(c.width() * c.height() * 4));
    for (int y = 0; y < c.height(); ++y) {
        for (int x = 0; x < c.width(); ++x) {
            const float alpha = std::clamp(c.coverage(x, y), 0.0f, 1.0f);
            const Rgb colour = alpha > 0 ? scale(c.pixel(x, y), 1.0f / alpha) : Rgb{};
            rgba.insert(rgba.end(), {channel(colour.r), channel(colour.g), channel(colour.b),
                                     channel(alpha * 255.0f)});
        }
    }
    return rgba;
}

}  // namespace

std::vector<IconFile> MakeIcons() {
    const std::function<void(Canvas&, const Grid&)> motifs[] = {
        drawGame, drawStageEditor, drawSetSelector, drawGraphicSetCreator, drawMusicSetCreator};
    static_assert(std::size(motifs) == kIconIds.size());
    std::vector<IconFile> icons;
    for (std::size_t i = 0; i < kIconIds.size(); ++i) {
        for (const int size : kIconSizes) {
            Canvas canvas(size, size);
            motifs[i](canvas, Grid{static_cast<float>(size) / 48.0f});
            const std::string side = std::to_string(size);
            icons.push_back({"icons/hicolor/" + side + "x" + side + "/apps/" + kIconIds[i] + ".png",
                             EncodePng(size, size, toRgba(canvas))});
        }
    }
    return icons;
}

}  // namespace qon::content
