// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qon::content {

struct Rgb {
    float r = 0;
    float g = 0;
    float b = 0;
};

// 0..255 components, as a person picks colours.
constexpr Rgb rgb(int r, int g, int b) {
    return {static_cast<float>(r), static_cast<float>(g), static_cast<float>(b)};
}
Rgb mix(Rgb a, Rgb b, float t);
Rgb scale(Rgb c, float factor);

// A shape as a signed distance (negative inside, positive outside) and the box that
// holds it, so painting only visits the pixels it can touch.
struct Shape {
    std::function<float(float x, float y)> distance;
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
};
// Colour of a shape at a point (gradients, shading).
using Shader = std::function<Rgb(float x, float y)>;

Shape circle(float cx, float cy, float radius);
Shape roundedRect(float left, float top, float right, float bottom, float radius);
// A thick line with round caps from (x0, y0) to (x1, y1).
Shape capsule(float x0, float y0, float x1, float y1, float halfWidth);
// A convex or concave polygon given as x, y pairs (even-odd rule).
Shape polygon(std::vector<float> points);
Shape ring(float cx, float cy, float radius, float halfWidth);
Shape unite(Shape a, Shape b);
Shape subtract(Shape a, Shape b);
Shape grow(Shape shape, float amount);

Shader flat(Rgb colour);
Shader verticalGradient(float top, Rgb topColour, float bottom, Rgb bottomColour);
// A lit sphere look: light from the upper left, centre (cx, cy).
Shader sphere(float cx, float cy, float radius, Rgb base);

// A floating-point picture with coverage, painted with anti-aliased shapes. Pixel
// centres are at (x + 0.5, y + 0.5).
class Canvas {
  public:
    Canvas(int width, int height, Rgb background = {});

    int width() const { return m_width; }
    int height() const { return m_height; }

    // Paints the shape, 4x4 supersampled, within its box (clipped to the canvas).
    void paint(const Shape& shape, const Shader& shader, float opacity = 1.0f);
    void paint(const Shape& shape, Rgb colour, float opacity = 1.0f) {
        paint(shape, flat(colour), opacity);
    }
    void fill(const Shader& shader);
    void setPixel(int x, int y, Rgb colour);
    void blendPixel(int x, int y, Rgb colour, float opacity);
    Rgb pixel(int x, int y) const;
    // How much of the pixel has been painted since the canvas was made (0..1).
    float coverage(int x, int y) const;

    // 24-bit bottom-up BMP bytes. A pixel whose coverage is below `keyThreshold` is
    // written as `key`; pass a negative threshold for an opaque picture. Covered
    // pixels are never written as a colour that a 16-bit (RGB565) display would
    // confuse with the key, so only the background turns transparent.
    std::vector<std::uint8_t> toBmp(const Rgb* key = nullptr, float keyThreshold = 0.4f) const;

  private:
    int m_width;
    int m_height;
    std::vector<Rgb> m_pixels;
    std::vector<float> m_coverage;
};

// The 16-bit pixel value a 24-bit colour becomes on the game's RGB565 surfaces.
std::uint16_t toRgb565(std::uint8_t r, std::uint8_t g, std::uint8_t b);

}  // namespace qon::content
