// SPDX-License-Identifier: MIT
#include "graphics.h"

#include <cassert>
#include <cmath>
#include <numbers>

namespace qon::content {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
const Rgb kWhite = rgb(255, 255, 255);
const Rgb kBlack = rgb(0, 0, 0);

// Hit-point colours, index = block slot (hits left - 1). Fresh strong blocks are cool,
// and every hit warms the colour towards red, the "one more hit" state.
const std::array<Rgb, 8> kJewelRamp = {rgb(228, 52, 52), rgb(246, 132, 30), rgb(238, 204, 40),
                                       rgb(84, 190, 60), rgb(24, 180, 150), rgb(28, 146, 228),
                                       rgb(52, 84, 220), rgb(118, 50, 196)};
const std::array<Rgb, 8> kNeonRamp = {rgb(255, 96, 60),   rgb(255, 170, 40), rgb(255, 236, 70),
                                      rgb(160, 255, 70),  rgb(60, 255, 180), rgb(50, 220, 255),
                                      rgb(110, 130, 255), rgb(230, 80, 255)};

Rgb lighten(Rgb c, float t) {
    return mix(c, kWhite, t);
}
Rgb darken(Rgb c, float t) {
    return mix(c, kBlack, t);
}

// ---- blocks --------------------------------------------------------------------------

// Small studs, one per hit point left, so the damage can be counted as well as seen.
void drawStuds(Canvas& c, int hitsLeft, Rgb colour, bool glow) {
    const float spacing = 5.5f;
    const float first = 26.5f - spacing * static_cast<float>(hitsLeft - 1) / 2;
    for (int i = 0; i < hitsLeft; ++i) {
        const float x = first + spacing * static_cast<float>(i);
        if (glow) c.paint(circle(x, 7.5f, 2.8f), colour, 0.4f);
        c.paint(circle(x, 7.5f, 1.9f), scale(colour, 0.8f));
        c.paint(circle(x - 0.3f, 7.2f, 1.3f), colour);
        c.paint(circle(x - 0.5f, 6.9f, 0.6f), kWhite, 0.9f);
    }
}

void drawJewelBlock(Canvas& c, int slot) {
    const Rgb base = kJewelRamp[static_cast<std::size_t>(slot)];
    c.paint(roundedRect(0, 0, 53, 15, 2.5f), darken(base, 0.55f));
    c.paint(roundedRect(1, 1, 52, 14, 2),
            verticalGradient(1, lighten(base, 0.45f), 14, darken(base, 0.25f)));
    c.paint(roundedRect(3, 3, 50, 12, 1.5f),
            verticalGradient(3, lighten(base, 0.12f), 12, darken(base, 0.05f)));
    c.paint(capsule(3, 1.8f, 50, 1.8f, 0.5f), kWhite, 0.55f);
    drawStuds(c, slot + 1, lighten(base, 0.75f), false);
}

void drawNeonBlock(Canvas& c, int slot) {
    const Rgb neon = kNeonRamp[static_cast<std::size_t>(slot)];
    c.paint(roundedRect(0, 0, 53, 15, 3), verticalGradient(0, rgb(34, 30, 56), 15, rgb(10, 8, 22)));
    c.paint(subtract(roundedRect(0.5f, 0.5f, 52.5f, 14.5f, 3), roundedRect(2, 2, 51, 13, 2)), neon);
    c.paint(subtract(roundedRect(2, 2, 51, 13, 2), roundedRect(3.2f, 3.2f, 49.8f, 11.8f, 1.5f)),
            neon, 0.35f);
    drawStuds(c, slot + 1, lighten(neon, 0.45f), true);
}

void drawRivet(Canvas& c, float x, float y) {
    c.paint(circle(x + 0.3f, y + 0.4f, 1.5f), rgb(40, 42, 48), 0.6f);
    c.paint(circle(x, y, 1.4f), sphere(x, y, 1.4f, rgb(225, 228, 235)));
}

// Brushed steel with a sheen and rivets: nothing about it looks breakable.
void drawMetalBlock(Canvas& c, bool dark) {
    const Rgb top = dark ? rgb(150, 156, 170) : rgb(236, 238, 244);
    const Rgb mid = dark ? rgb(82, 86, 98) : rgb(150, 154, 164);
    const Rgb low = dark ? rgb(40, 42, 52) : rgb(88, 92, 102);
    c.paint(roundedRect(0, 0, 53, 15, 1.5f), rgb(30, 32, 38));
    c.paint(roundedRect(1, 1, 52, 14, 1), [=](float x, float y) {
        const float t = (y - 1) / 13;
        Rgb base = t < 0.45f ? mix(top, mid, t / 0.45f) : mix(mid, low, (t - 0.45f) / 0.55f);
        // Fine horizontal brushing.
        const float brush = 0.04f * std::sin(y * 5.1f + std::sin(x * 0.7f) * 0.8f);
        return lighten(base, brush > 0 ? brush : 0);
    });
    // Diagonal sheen bands.
    c.paint(polygon({14, 1, 22, 1, 14, 14, 6, 14}), kWhite, dark ? 0.16f : 0.28f);
    c.paint(polygon({25, 1, 28, 1, 20, 14, 17, 14}), kWhite, dark ? 0.1f : 0.18f);
    c.paint(capsule(2, 1.6f, 51, 1.6f, 0.5f), kWhite, 0.5f);
    drawRivet(c, 4, 4);
    drawRivet(c, 49, 4);
    drawRivet(c, 4, 11);
    drawRivet(c, 49, 11);
}

// ---- special blocks ------------------------------------------------------------------

// The pill-shaped plate behind every pictogram. Its rounded ends are transparent, so
// special blocks never pass for ordinary bricks.
void drawPlate(Canvas& c, GraphicMood mood, Rgb colour) {
    const Shape pill = roundedRect(0, 0, 53, 15, 7.5f);
    const Shape inner = roundedRect(1.5f, 1.5f, 51.5f, 13.5f, 6);
    if (mood == GraphicMood::Jewel) {
        c.paint(pill, darken(colour, 0.6f));
        c.paint(inner, verticalGradient(1.5f, lighten(colour, 0.35f), 13.5f, darken(colour, 0.3f)));
        c.paint(capsule(7, 2.6f, 46, 2.6f, 0.6f), kWhite, 0.45f);
    } else {
        c.paint(pill, colour);
        c.paint(inner, verticalGradient(1.5f, rgb(30, 26, 50), 13.5f, rgb(8, 6, 18)));
        c.paint(subtract(inner, roundedRect(2.8f, 2.8f, 50.2f, 12.2f, 5)), colour, 0.35f);
    }
}

void drawPin(Canvas& c, GraphicMood mood) {
    drawPlate(c, mood, rgb(120, 124, 140));
    // The pin head sits exactly on the part that deflects the ball.
    c.paint(ring(26.5f, 7.5f, 5.6f, 0.7f), rgb(250, 220, 90));
    c.paint(circle(26.5f, 7.5f, 4.4f), sphere(26.5f, 7.5f, 4.4f, rgb(235, 40, 60)));
    for (int i = 0; i < 4; ++i) {
        const float x = 12 + 29 * static_cast<float>(i / 2);
        const float dir = (i % 2 == 0) ? -1.0f : 1.0f;
        c.paint(capsule(x, 7.5f + dir * 2, x + 2, 7.5f + dir * 3.6f, 0.5f), rgb(250, 220, 90),
                0.8f);
    }
    c.paint(capsule(10, 7.5f, 17, 7.5f, 0.7f), rgb(250, 220, 90), 0.9f);
    c.paint(capsule(36, 7.5f, 43, 7.5f, 0.7f), rgb(250, 220, 90), 0.9f);
}

void drawMiniBalls(Canvas& c, GraphicMood mood) {
    drawPlate(c, mood, rgb(40, 120, 230));
    const float balls[5][2] = {{15, 8.5f}, {20.7f, 5.5f}, {26.5f, 9}, {32.3f, 5.5f}, {38, 8.5f}};
    for (const auto& b : balls) {
        c.paint(circle(b[0] + 0.4f, b[1] + 0.5f, 2.6f), kBlack, 0.4f);
        c.paint(circle(b[0], b[1], 2.5f), sphere(b[0], b[1], 2.5f, rgb(235, 240, 255)));
    }
}

void drawMagnet(Canvas& c, GraphicMood mood) {
    drawPlate(c, mood, rgb(50, 80, 170));
    // A horseshoe lying on its back, poles up: red body, silver poles.
    const Shape bow = subtract(ring(26.5f, 6.5f, 5, 2.1f), roundedRect(18, 0, 35, 6.5f, 0));
    const Shape body = unite(unite(bow, capsule(21.5f, 4.5f, 21.5f, 6.6f, 2.1f)),
                             capsule(31.5f, 4.5f, 31.5f, 6.6f, 2.1f));
    c.paint(grow(body, 0.7f), rgb(40, 10, 10));
    c.paint(body, verticalGradient(2, rgb(255, 90, 80), 13, rgb(170, 20, 30)));
    c.paint(roundedRect(19.4f, 1.6f, 23.6f, 4.6f, 0.6f),
            verticalGradient(1.6f, kWhite, 4.6f, rgb(150, 155, 170)));
    c.paint(roundedRect(29.4f, 1.6f, 33.6f, 4.6f, 0.6f),
            verticalGradient(1.6f, kWhite, 4.6f, rgb(150, 155, 170)));
    // Field lines on both sides.
    c.paint(capsule(11, 5, 15, 5, 0.55f), kWhite, 0.7f);
    c.paint(capsule(10, 9, 15, 9, 0.55f), kWhite, 0.7f);
    c.paint(capsule(38, 5, 42, 5, 0.55f), kWhite, 0.7f);
    c.paint(capsule(38, 9, 43, 9, 0.55f), kWhite, 0.7f);
}

// An arrow pointing along (dx, dy), centred in the block, with speed streaks behind.
void drawWind(Canvas& c, GraphicMood mood, int dx, int dy) {
    drawPlate(c, mood, rgb(20, 160, 130));
    const Rgb arrowColour = rgb(250, 255, 250);
    const Rgb streak = rgb(190, 255, 235);
    if (dy == 0) {
        const float s = static_cast<float>(dx);  // +1 right, -1 left
        const float cx = 26.5f;
        const Shape arrow =
            polygon({cx - 12 * s, 5.5f, cx + 2 * s, 5.5f, cx + 2 * s, 2, cx + 11 * s, 7.5f,
                     cx + 2 * s, 13, cx + 2 * s, 9.5f, cx - 12 * s, 9.5f});
        c.paint(grow(arrow, 0.9f), rgb(10, 60, 50));
        c.paint(arrow, arrowColour);
        c.paint(capsule(cx - 20 * s, 4, cx - 15 * s, 4, 0.6f), streak, 0.9f);
        c.paint(capsule(cx - 21 * s, 11, cx - 16 * s, 11, 0.6f), streak, 0.9f);
    } else {
        // Vertical room is short, so three arrows stand side by side.
        const float s = static_cast<float>(dy);  // +1 down, -1 up
        for (int i = -1; i <= 1; ++i) {
            const float cx = 26.5f + 11 * static_cast<float>(i);
            const Shape arrow =
                polygon({cx - 1.6f, 7.5f - 5.5f * s, cx + 1.6f, 7.5f - 5.5f * s, cx + 1.6f, 7.5f,
                         cx + 4.2f, 7.5f, cx, 7.5f + 5 * s, cx - 4.2f, 7.5f, cx - 1.6f, 7.5f});
            c.paint(grow(arrow, 0.8f), rgb(10, 60, 50));
            c.paint(arrow, arrowColour);
        }
        c.paint(capsule(9, 7.5f - 3 * s, 9, 7.5f + 1 * s, 0.6f), streak, 0.9f);
        c.paint(capsule(44, 7.5f - 3 * s, 44, 7.5f + 1 * s, 0.6f), streak, 0.9f);
    }
}

void drawWarp(Canvas& c, GraphicMood mood) {
    drawPlate(c, mood, rgb(110, 40, 170));
    c.paint(circle(26.5f, 7.5f, 6), rgb(20, 0, 40));
    // A spiral arm winding into a dark hole.
    for (int i = 0; i < 60; ++i) {
        const float t = static_cast<float>(i) / 60;
        const float angle = t * 3.4f * kPi;
        const float r = 6.2f * (1 - t) + 0.6f;
        const float x = 26.5f + r * std::cos(angle) * 1.25f;
        const float y = 7.5f + r * std::sin(angle);
        c.paint(circle(x, y, 0.9f - 0.4f * t), mix(rgb(255, 150, 255), kWhite, t), 0.9f);
    }
    const float stars[][2] = {{12, 4}, {15, 11}, {40, 4.5f}, {42, 10.5f}};
    for (const auto& s : stars) {
        c.paint(capsule(s[0] - 1.6f, s[1], s[0] + 1.6f, s[1], 0.4f), kWhite);
        c.paint(capsule(s[0], s[1] - 1.6f, s[0], s[1] + 1.6f, 0.4f), kWhite);
    }
}

void drawBarExtend(Canvas& c, GraphicMood mood) {
    drawPlate(c, mood, rgb(40, 170, 60));
    c.paint(capsule(20, 7.5f, 33, 7.5f, 2.6f), rgb(20, 50, 20));
    c.paint(capsule(20, 7.5f, 33, 7.5f, 2),
            verticalGradient(5.5f, kWhite, 9.5f, rgb(140, 150, 170)));
    c.paint(polygon({16.5f, 3, 16.5f, 12, 10, 7.5f}), rgb(255, 240, 90));
    c.paint(polygon({36.5f, 3, 36.5f, 12, 43, 7.5f}), rgb(255, 240, 90));
}

void drawFireBall(Canvas& c, GraphicMood mood) {
    drawPlate(c, mood, rgb(200, 50, 20));
    // The flame trails behind the ball, flickering in three tongues.
    c.paint(
        polygon({31, 2.5f, 22, 3.5f, 12, 2, 18, 6, 9, 7.5f, 18, 9, 12, 13, 22, 11.5f, 31, 12.5f}),
        [](float x, float) { return mix(rgb(255, 60, 20), rgb(255, 200, 40), (x - 9) / 22); });
    c.paint(circle(32, 7.5f, 5.2f), [](float x, float y) {
        const float d = std::hypot(x - 31, y - 6.5f) / 5.2f;
        return mix(rgb(255, 255, 210), rgb(255, 120, 20), std::min(1.0f, d));
    });
}

void drawBomb(Canvas& c, GraphicMood mood) {
    drawPlate(c, mood, rgb(214, 160, 40));
    const bool neon = mood == GraphicMood::Neon;
    c.paint(circle(24.5f, 8.5f, neon ? 5.8f : 5.4f), rgb(255, 240, 200), neon ? 0.8f : 0.5f);
    c.paint(circle(24.5f, 8.5f, 4.9f),
            sphere(24.5f, 8.5f, 4.9f, neon ? rgb(100, 100, 130) : rgb(70, 70, 90)));
    c.paint(roundedRect(26, 2.6f, 29.5f, 5, 0.5f), rgb(90, 90, 100));
    c.paint(capsule(28.5f, 3, 32, 2.2f, 0.6f), rgb(120, 80, 40));
    // Spark at the end of the fuse.
    c.paint(circle(33, 2.4f, 1.8f), rgb(255, 220, 60));
    c.paint(circle(33, 2.4f, 0.9f), kWhite);
    c.paint(capsule(35.5f, 1, 37, 0.4f, 0.4f), rgb(255, 200, 40));
    c.paint(capsule(35.5f, 3.8f, 37.5f, 4.6f, 0.4f), rgb(255, 200, 40));
    // "BOOM" lines on the right.
    c.paint(capsule(38, 8.5f, 42, 8.5f, 0.6f), rgb(255, 80, 40));
    c.paint(capsule(37.5f, 11.5f, 40.5f, 13, 0.6f), rgb(255, 80, 40));
}

// ---- parts ---------------------------------------------------------------------------

void drawBall(Canvas& c, GraphicMood mood, float size) {
    const float r = size / 2 - 0.35f;
    const float centre = size / 2;
    const Rgb base = mood == GraphicMood::Jewel ? rgb(235, 238, 250) : rgb(120, 240, 255);
    c.paint(circle(centre, centre, r), sphere(centre, centre, r, base));
}

void drawBar(Canvas& c, GraphicMood mood) {
    if (mood == GraphicMood::Jewel) {
        // Silver body, blue energy band, red end caps.
        c.paint(capsule(6, 6, 122, 6, 5.6f), rgb(30, 34, 44));
        c.paint(capsule(6, 6, 122, 6, 4.8f), verticalGradient(1, kWhite, 11, rgb(110, 116, 130)));
        c.paint(roundedRect(30, 3.5f, 98, 8.5f, 2),
                verticalGradient(3.5f, rgb(150, 210, 255), 8.5f, rgb(20, 80, 200)));
        c.paint(capsule(6, 6, 16, 6, 4.8f),
                verticalGradient(1, rgb(255, 150, 140), 11, rgb(170, 20, 30)));
        c.paint(capsule(112, 6, 122, 6, 4.8f),
                verticalGradient(1, rgb(255, 150, 140), 11, rgb(170, 20, 30)));
        c.paint(capsule(10, 2.8f, 118, 2.8f, 0.7f), kWhite, 0.6f);
    } else {
        const Rgb neon = rgb(60, 230, 255);
        c.paint(capsule(6, 6, 122, 6, 5.6f), neon);
        c.paint(capsule(6, 6, 122, 6, 4.4f),
                verticalGradient(1, rgb(40, 36, 70), 11, rgb(8, 6, 20)));
        c.paint(capsule(14, 6, 114, 6, 1.2f), rgb(255, 90, 230));
        c.paint(capsule(14, 6, 114, 6, 2.4f), rgb(255, 90, 230), 0.3f);
    }
}

}  // namespace

std::array<GraphicSetDesign, 2> StarterGraphicSets() {
    return {
        GraphicSetDesign{"Jewel Bricks", "Hoshi Kobo", "jewel", "JewelBricks.bgp",
                         GraphicMood::Jewel},
        GraphicSetDesign{"Neon Night", "Hoshi Kobo", "neon", "NeonNight.bgp", GraphicMood::Neon}};
}

std::string SlotFileName(int slot) {
    static const char* const kSpecialNames[kSpecialSlots] = {
        "Pin",    "MiniBall", "Magnet",    "WindLeft", "WindRight", "WindDown",
        "WindUp", "Warp",     "BarExtend", "FireBall", "Bomb"};
    static const char* const kPartNames[kPartSlots] = {"Ball", "MiniBallPart", "Bar"};
    assert(slot >= 0 && slot < kBitmapSlots && "bitmap slot out of range");
    if (slot < 8) return "Block" + std::to_string(slot + 1) + ".bmp";
    if (slot == 8) return "Unbreakable.bmp";
    if (slot < kFirstPartSlot) return std::string(kSpecialNames[slot - kFirstSpecialSlot]) + ".bmp";
    return std::string(kPartNames[slot - kFirstPartSlot]) + ".bmp";
}

bool IsKeyedSlot(int slot) {
    return (slot >= kFirstSpecialSlot && slot < kFirstPartSlot) || slot == kFirstPartSlot ||
           slot == kFirstPartSlot + 1;
}

Canvas DrawSlot(GraphicMood mood, int slot) {
    const BitmapSize size = RequiredBitmapSize(slot);
    Canvas c(size.width, size.height);
    const bool neon = mood == GraphicMood::Neon;
    if (slot < 8) {
        neon ? drawNeonBlock(c, slot) : drawJewelBlock(c, slot);
    } else if (slot == 8) {
        drawMetalBlock(c, neon);
    } else if (slot < kFirstPartSlot) {
        switch (slot - kFirstSpecialSlot) {
            case 0:
                drawPin(c, mood);
                break;
            case 1:
                drawMiniBalls(c, mood);
                break;
            case 2:
                drawMagnet(c, mood);
                break;
            case 3:
                drawWind(c, mood, -1, 0);
                break;
            case 4:
                drawWind(c, mood, 1, 0);
                break;
            case 5:
                drawWind(c, mood, 0, 1);
                break;
            case 6:
                drawWind(c, mood, 0, -1);
                break;
            case 7:
                drawWarp(c, mood);
                break;
            case 8:
                drawBarExtend(c, mood);
                break;
            case 9:
                drawFireBall(c, mood);
                break;
            default:
                drawBomb(c, mood);
                break;
        }
    } else if (slot == kFirstPartSlot) {
        drawBall(c, mood, 12);
    } else if (slot == kFirstPartSlot + 1) {
        drawBall(c, mood, 6);
    } else {
        drawBar(c, mood);
    }
    return c;
}

}  // namespace qon::content
