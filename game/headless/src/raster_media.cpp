// SPDX-License-Identifier: MIT
#include "qon/headless/raster_media.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string_view>
#include <unordered_map>

#include "font_lookup.h"
#include "qon/data/bitmap_header.h"
#include "qon/data/error.h"
#include "qon/data/files.h"
#include "qon/media/media_file.h"
#include "raster_surface.h"

namespace qon::headless {

using namespace qon::media;
namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
// Off-screen surfaces larger than this are refused: the game never makes one near it.
constexpr int kMaxSurfaceSide = 4096;
// Rendered strings kept; the cache is dropped whole when full (the score and combo texts
// change, the rest repeat every frame).
constexpr std::size_t kTextCacheLimit = 512;
constexpr int kNullPen = 5;  // draw style that draws no outline

SDL_Surface* newRgb565(int width, int height) {
    return SDL_CreateRGBSurfaceWithFormat(0, width, height, 16, SDL_PIXELFORMAT_RGB565);
}

Uint32 nativeOf(const SDL_Surface* target, std::uint32_t rgb) {
    return SDL_MapRGB(target->format, rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

void fillRect(SDL_Surface* target, int x, int y, int w, int h, Uint32 colour) {
    if (w <= 0 || h <= 0) return;
    SDL_Rect rect{x, y, w, h};
    SDL_FillRect(target, &rect, colour);  // clips to the surface
}

// A stroke of width w from (x1, y1) to (x2, y2), both ends included: a w x w square
// stamped at every point of the Bresenham line, centred on it (the extra pixel of an even
// width goes left / up). Axis-aligned strokes are one rectangle.
void strokeSegment(SDL_Surface* target, int x1, int y1, int x2, int y2, int w, Uint32 colour) {
    w = std::max(w, 1);
    const int before = w / 2;
    if (x1 == x2 || y1 == y2) {
        const int left = std::min(x1, x2) - before;
        const int top = std::min(y1, y2) - before;
        fillRect(target, left, top, std::abs(x2 - x1) + w, std::abs(y2 - y1) + w, colour);
        return;
    }
    const int dx = std::abs(x2 - x1);
    const int dy = -std::abs(y2 - y1);
    const int stepX = x1 < x2 ? 1 : -1;
    const int stepY = y1 < y2 ? 1 : -1;
    int error = dx + dy;
    int x = x1;
    int y = y1;
    for (;;) {
        fillRect(target, x - before, y - before, w, w, colour);
        if (x == x2 && y == y2) break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y += stepY;
        }
    }
}

}  // namespace

struct RasterMedia::Impl {
    RasterSurface backBuffer{newRgb565(kScreenWidth, kScreenHeight)};
    FontChoice font;
    bool ttfStarted = false;
    std::map<int, TTF_Font*> fontsBySize;
    std::unordered_map<std::string, SDL_Surface*> textCache;
    std::string keyScratch;

    ~Impl() { release(); }

    void dropTextCache() {
        for (auto& entry : textCache) SDL_FreeSurface(entry.second);
        textCache.clear();
    }

    void release() {
        dropTextCache();
        for (auto& entry : fontsBySize) TTF_CloseFont(entry.second);
        fontsBySize.clear();
        if (ttfStarted) {
            TTF_Quit();
            ttfStarted = false;
        }
    }

    TTF_Font* fontOfSize(int size) {
        auto it = fontsBySize.find(size);
        if (it != fontsBySize.end()) return it->second;
        TTF_Font* opened = TTF_OpenFontIndexDPI(font.file.c_str(), size, font.faceIndex, 96, 96);
        if (opened == nullptr)
            throw MediaError(font.file, std::string("cannot open the font: ") + TTF_GetError());
        if (!font.isBold) TTF_SetFontStyle(opened, TTF_STYLE_BOLD);
        fontsBySize.emplace(size, opened);
        return opened;
    }

    // The rendered text, cached. Opaque text is converted to RGB565 with its black
    // background; transparent text stays ARGB and is blended onto the target.
    SDL_Surface* renderText(std::string_view text, std::uint32_t colour, bool transparent,
                            int size) {
        // The key is built in a reused buffer: a cache hit, the usual case in every frame,
        // allocates nothing.
        std::string& key = keyScratch;
        key.assign(text);
        key.push_back('\0');
        char suffix[32];
        const int suffixLength =
            std::snprintf(suffix, sizeof suffix, "%u:%c:%d", colour, transparent ? 't' : 'o', size);
        key.append(suffix, static_cast<std::size_t>(suffixLength));
        auto it = textCache.find(key);
        if (it != textCache.end()) return it->second;

        if (font.file.empty()) throw MediaError("(font)", "no font has been opened");
        TTF_Font* ttf = fontOfSize(size);
        const std::string utf8(text);
        const SDL_Color fore{static_cast<Uint8>(colour & 0xFF),
                             static_cast<Uint8>((colour >> 8) & 0xFF),
                             static_cast<Uint8>((colour >> 16) & 0xFF), 255};
        SDL_Surface* rendered = nullptr;
        if (transparent) {
            rendered = TTF_RenderUTF8_Blended(ttf, utf8.c_str(), fore);
        } else {
            const SDL_Color black{0, 0, 0, 255};
            SDL_Surface* shaded = TTF_RenderUTF8_Shaded(ttf, utf8.c_str(), fore, black);
            if (shaded != nullptr) {
                rendered = SDL_ConvertSurfaceFormat(shaded, SDL_PIXELFORMAT_RGB565, 0);
                SDL_FreeSurface(shaded);
            }
        }
        if (rendered == nullptr) {
            // A string the font cannot render (bytes that are not UTF-8) draws nothing
            // rather than ending the game.
            return nullptr;
        }
        if (textCache.size() >= kTextCacheLimit) dropTextCache();
        textCache.emplace(key, rendered);
        return rendered;
    }
};

RasterMedia::RasterMedia() : m_impl(std::make_unique<Impl>()) {
    if (m_impl->backBuffer.plain() == nullptr) {
        throw MediaError("(back buffer)",
                         std::string("cannot make the back buffer: ") + SDL_GetError());
    }
    SDL_FillRect(m_impl->backBuffer.plain(), nullptr, 0);
}

RasterMedia::~RasterMedia() = default;

Surface& RasterMedia::BackBuffer() {
    return m_impl->backBuffer;
}

SurfacePtr RasterMedia::CreateOffscreenSurface(int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) {
        return nullptr;
    }
    SDL_Surface* pixels = newRgb565(width, height);
    if (pixels == nullptr) return nullptr;
    return std::make_unique<RasterSurface>(pixels);
}

SurfacePtr RasterMedia::LoadSurfaceFromFile(const std::string& path) {
    const std::string bytes = ReadMediaFile(path, kMaxBitmapFileBytes);
    // The decoder allocates the whole picture from the header's claim before it reads a
    // pixel: the claim is checked first.
    try {
        CheckBitmapHeader(bytes, path);
    } catch (const DataError& error) {
        throw MediaError(path, error.reason());
    }
    SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    SDL_Surface* loaded = source != nullptr ? SDL_LoadBMP_RW(source, 1) : nullptr;
    if (loaded == nullptr) {
        throw MediaError(path,
                         std::string("is not a readable BMP picture (") + SDL_GetError() + ")");
    }
    if (loaded->w > kMaxBitmapWidth || loaded->h > kMaxBitmapHeight || loaded->w < 1 ||
        loaded->h < 1) {
        const std::string size = std::to_string(loaded->w) + " x " + std::to_string(loaded->h);
        SDL_FreeSurface(loaded);
        throw MediaError(path, "has an unusable picture size (" + size + " pixels)");
    }
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB565, 0);
    SDL_FreeSurface(loaded);
    if (converted == nullptr) {
        throw MediaError(
            path, std::string("cannot be converted to 16-bit colour (") + SDL_GetError() + ")");
    }
    auto surface = std::make_unique<RasterSurface>(converted);
    // The colour of the top-left pixel is transparent wherever it occurs.
    const Uint32 key = *static_cast<const Uint16*>(converted->pixels);
    if (!surface->setColourKey(key)) {
        throw MediaError(path, std::string("cannot set its colour key (") + SDL_GetError() + ")");
    }
    return surface;
}

int RasterMedia::BltSprite(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx,
                           int sy, bool keyed) {
    if (w <= 0 || h <= 0) return -1;
    SDL_Rect source{sx, sy, w, h};
    SDL_Rect target{x, y, w, h};
    SDL_Surface* from = keyed ? raster(src).keyed() : raster(src).plain();
    return SDL_BlitSurface(from, &source, raster(dst).plain(), &target) == 0 ? 0 : -1;
}

int RasterMedia::BltStretch(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx,
                            int sy, int sw, int sh, bool keyed) {
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return -1;
    SDL_Rect source{sx, sy, sw, sh};
    SDL_Rect target{x, y, w, h};
    SDL_Surface* from = keyed ? raster(src).keyed() : raster(src).plain();
    return SDL_BlitScaled(from, &source, raster(dst).plain(), &target) == 0 ? 0 : -1;
}

void RasterMedia::FillSurface(Surface& surface, std::uint32_t nativeColour) {
    SDL_FillRect(raster(surface).plain(), nullptr, nativeColour);
}

std::uint32_t RasterMedia::ToSurfaceColor(std::uint32_t rgb) {
    return nativeOf(m_impl->backBuffer.plain(), rgb);
}

void RasterMedia::DrawLine(Surface& s, int x1, int y1, int x2, int y2, std::uint32_t fore,
                           std::uint32_t fill, int drawStyle, int fillStyle, int lineWidth) {
    (void)fill;
    (void)fillStyle;
    if (drawStyle == kNullPen) return;
    SDL_Surface* target = raster(s).plain();
    // A line leaves out its end point, as pens do; a wide line keeps it so that its
    // square ends meet those of the next line.
    if (lineWidth <= 1 && (x1 != x2 || y1 != y2)) {
        const int dx = x2 - x1;
        const int dy = y2 - y1;
        const int steps = std::max(std::abs(dx), std::abs(dy));
        // Step back one pixel along the major axis.
        x2 = x1 + static_cast<int>(std::lround(static_cast<double>(dx) * (steps - 1) / steps));
        y2 = y1 + static_cast<int>(std::lround(static_cast<double>(dy) * (steps - 1) / steps));
    }
    strokeSegment(target, x1, y1, x2, y2, lineWidth, nativeOf(target, fore));
}

void RasterMedia::DrawBox(Surface& s, int x1, int y1, int x2, int y2, std::uint32_t fore,
                          std::uint32_t fill, int drawStyle, int fillStyle, int lineWidth) {
    SDL_Surface* target = raster(s).plain();
    const int left = std::min(x1, x2);
    const int right = std::max(x1, x2);  // exclusive
    const int top = std::min(y1, y2);
    const int bottom = std::max(y1, y2);  // exclusive
    if (right - left < 1 || bottom - top < 1) return;
    if (fillStyle == 0)
        fillRect(target, left, top, right - left, bottom - top, nativeOf(target, fill));
    if (drawStyle == kNullPen) return;
    const Uint32 pen = nativeOf(target, fore);
    const int w = std::max(lineWidth, 1);
    // The pen runs along the outermost pixels of the box, centred on them.
    strokeSegment(target, left, top, right - 1, top, w, pen);
    strokeSegment(target, left, bottom - 1, right - 1, bottom - 1, w, pen);
    strokeSegment(target, left, top, left, bottom - 1, w, pen);
    strokeSegment(target, right - 1, top, right - 1, bottom - 1, w, pen);
}

void RasterMedia::DrawCircle(Surface& s, int x, int y, int radius, std::uint32_t fore,
                             std::uint32_t fill, int drawStyle, int fillStyle, int lineWidth) {
    if (radius < 0) return;
    SDL_Surface* target = raster(s).plain();
    const double cx = x;
    const double cy = y;
    const double r = radius;
    const double halfPen = std::max(lineWidth, 1) / 2.0;
    const bool outline = drawStyle != kNullPen;
    const double outer = outline ? r + halfPen : r;
    const Uint32 fillColour = nativeOf(target, fill);
    const Uint32 penColour = nativeOf(target, fore);
    // Pixel (px, py) has its centre at (px + 0.5, py + 0.5); it belongs to the disc when
    // that centre lies within the radius, to the outline when within half a pen of it.
    auto span = [&](double dyCentre, double rad, int& from, int& to) {
        const double sq = rad * rad - dyCentre * dyCentre;
        if (sq <= 0.0) return false;
        const double half = std::sqrt(sq);
        from = static_cast<int>(std::ceil(cx - half - 0.5));
        to = static_cast<int>(std::floor(cx + half - 0.5));  // inclusive
        return from <= to;
    };
    const int rowFrom = static_cast<int>(std::floor(cy - outer - 0.5));
    const int rowTo = static_cast<int>(std::ceil(cy + outer - 0.5));
    for (int py = rowFrom; py <= rowTo; ++py) {
        const double dyCentre = py + 0.5 - cy;
        int from = 0;
        int to = 0;
        if (fillStyle == 0 && span(dyCentre, r, from, to)) {
            fillRect(target, from, py, to - from + 1, 1, fillColour);
        }
        if (!outline || !span(dyCentre, outer, from, to)) continue;
        int innerFrom = 0;
        int innerTo = 0;
        if (r - halfPen > 0.0 && span(dyCentre, r - halfPen, innerFrom, innerTo)) {
            fillRect(target, from, py, innerFrom - from, 1, penColour);
            fillRect(target, innerTo + 1, py, to - innerTo, 1, penColour);
        } else {
            fillRect(target, from, py, to - from + 1, 1, penColour);
        }
    }
}

void RasterMedia::DrawString(Surface& s, int x, int y, std::string_view text, std::uint32_t colour,
                             bool transparent, int size) {
    if (text.empty() || size <= 0) return;
    SDL_Surface* rendered = m_impl->renderText(text, colour, transparent, size);
    if (rendered == nullptr) return;
    SDL_Rect target{x, y, rendered->w, rendered->h};
    SDL_BlitSurface(rendered, nullptr, raster(s).plain(), &target);
}

bool RasterMedia::InitFont(std::string& reason) {
    if (!m_impl->ttfStarted) {
        if (TTF_Init() != 0) {
            reason = std::string("the font renderer cannot start: ") + TTF_GetError();
            return false;
        }
        m_impl->ttfStarted = true;
    }
    m_impl->font = FindGameFont();
    if (m_impl->font.file.empty()) {
        reason =
            "no Japanese font is installed (install fonts-motoya-l-maruberi or "
            "fonts-ipafont-gothic)";
        return false;
    }
    try {
        m_impl->fontOfSize(14);
    } catch (const MediaError& error) {
        reason = error.what();
        m_impl->font = {};
        return false;
    }
    return true;
}

const std::string& RasterMedia::fontFile() const {
    return m_impl->font.file;
}

std::uint32_t RasterMedia::PixelAt(const Surface& surface, int x, int y) const {
    const SDL_Surface* pixels = raster(surface).plain();
    if (x < 0 || y < 0 || x >= pixels->w || y >= pixels->h) return 0;
    const auto* row = static_cast<const Uint8*>(pixels->pixels) + y * pixels->pitch;
    return reinterpret_cast<const Uint16*>(row)[x];
}

std::string RasterMedia::EncodeBitmap(const Surface& surface) const {
    SDL_Surface* pixels = raster(surface).plain();
    // Room for the largest header SDL writes and rows of up to four bytes a pixel; what
    // was written is cut off below.
    const std::size_t capacity =
        1024 + static_cast<std::size_t>(pixels->h) * (static_cast<std::size_t>(pixels->w) * 4 + 4);
    std::string bytes(capacity, '\0');
    SDL_RWops* target = SDL_RWFromMem(bytes.data(), static_cast<int>(capacity));
    if (target == nullptr) {
        throw MediaError("(bitmap)", std::string("cannot be encoded: ") + SDL_GetError());
    }
    // SDL leaves the stream at the end of what it wrote.
    const bool written = SDL_SaveBMP_RW(pixels, target, 0) == 0;
    const Sint64 size = SDL_RWtell(target);
    SDL_RWclose(target);
    if (!written || size < 0) {
        throw MediaError("(bitmap)", std::string("cannot be encoded: ") + SDL_GetError());
    }
    bytes.resize(static_cast<std::size_t>(size));
    return bytes;
}

void RasterMedia::SaveBitmap(const Surface& surface, const std::string& path) const {
    std::string bytes;
    try {
        bytes = EncodeBitmap(surface);
    } catch (const MediaError& error) {
        throw MediaError(path, error.reason());
    }
    try {
        WriteFileAtomic(path, bytes);
    } catch (const DataError& error) {
        throw MediaError(path, "cannot be written: " + error.reason());
    }
}

const void* RasterMedia::backBufferPixels(int& pitch) {
    SDL_Surface* back = m_impl->backBuffer.plain();
    pitch = back->pitch;
    return back->pixels;
}

void RasterMedia::releaseText() {
    m_impl->release();
}

}  // namespace qon::headless
