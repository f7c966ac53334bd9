// SPDX-License-Identifier: MIT
#include "window_presenter.h"

#include <algorithm>

namespace qon::platform {
namespace {

// A texture takes this many separate uploads before one upload of their bounding box is
// cheaper (each is a call into the driver).
constexpr std::size_t kMaxTextureUploads = 8;
constexpr unsigned kGlRenderer = 0x1F01;  // GL_RENDERER

SDL_Rect toSdl(const PixelRect& r) {
    return SDL_Rect{r.x, r.y, r.w, r.h};
}

const std::uint16_t* pixelAt(const std::uint16_t* frame, int pitchBytes, int x, int y) {
    return reinterpret_cast<const std::uint16_t*>(reinterpret_cast<const std::uint8_t*>(frame) +
                                                  static_cast<std::ptrdiff_t>(y) * pitchBytes) +
           x;
}

std::string currentGlRenderer() {
    if (SDL_GL_GetCurrentContext() == nullptr) return {};
    using GetString = const unsigned char*(SDLCALL*)(unsigned);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    if (getString == nullptr) return {};
    const unsigned char* name = getString(kGlRenderer);
    return name != nullptr ? std::string(reinterpret_cast<const char*>(name)) : std::string();
}

}  // namespace

WindowPresenter::WindowPresenter(int frameWidth, int frameHeight)
    : m_frameWidth(frameWidth), m_frameHeight(frameHeight), m_diff(frameWidth, frameHeight) {}

WindowPresenter::~WindowPresenter() {
    close();
}

bool WindowPresenter::openGpu(SDL_Window* window, std::string& reason, bool anyRenderer) {
    close();
    m_renderer =
        SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (m_renderer == nullptr)
        m_renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    if (m_renderer == nullptr && anyRenderer) m_renderer = SDL_CreateRenderer(window, -1, 0);
    if (m_renderer == nullptr) {
        reason = SDL_GetError();
        return false;
    }
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(m_renderer, &info) == 0) {
        m_accelerated = (info.flags & SDL_RENDERER_ACCELERATED) != 0;
        m_vsync = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    }
    m_glRenderer = currentGlRenderer();
    SDL_RenderSetLogicalSize(m_renderer, m_frameWidth, m_frameHeight);
    m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                  m_frameWidth, m_frameHeight);
    if (m_texture == nullptr) {
        reason = SDL_GetError();
        close();
        return false;
    }
    m_window = window;
    m_diff.invalidate();
    return true;
}

bool WindowPresenter::openSoftware(SDL_Window* window, std::string& reason) {
    close();
    // Otherwise SDL backs the window surface with an OpenGL texture where it can, which
    // is the very cost this path avoids.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    m_window = window;
    refreshSurface();
    if (m_surface == nullptr) {
        reason = SDL_GetError();
        m_window = nullptr;
        return false;
    }
    m_diff.invalidate();
    return true;
}

void WindowPresenter::close() {
    if (m_texture != nullptr) SDL_DestroyTexture(m_texture);
    if (m_renderer != nullptr) SDL_DestroyRenderer(m_renderer);
    m_texture = nullptr;
    m_renderer = nullptr;
    m_accelerated = false;
    m_vsync = false;
    m_glRenderer.clear();
    m_surface = nullptr;
    m_surfaceBlank = true;
    m_surfaceWidth = m_surfaceHeight = 0;
    m_surfaceFormat = 0;
    m_window = nullptr;
    m_shown = false;
}

bool WindowPresenter::present(const std::uint16_t* frame, int pitchBytes) {
    if (m_window == nullptr) return false;
    ++m_stats.frames;
    const std::vector<PixelRect>& changed = m_diff.take(frame, pitchBytes);
    const bool shown = m_renderer != nullptr ? presentGpu(frame, pitchBytes, changed)
                                             : presentSoftware(frame, pitchBytes, changed);
    if (!shown) ++m_stats.unchanged;
    m_shown = true;
    return shown;
}

void WindowPresenter::repaint() {
    if (m_window == nullptr || !m_shown) return;
    ++m_stats.repaints;
    if (m_renderer != nullptr) {
        // The logical size is set again so that the letterbox follows the window's
        // present size even before SDL has delivered the resize.
        SDL_RenderSetLogicalSize(m_renderer, m_frameWidth, m_frameHeight);
        drawTexture();
        return;
    }
    refreshSurface();
    if (m_surface == nullptr) return;
    repaintSurface(m_diff.last(), m_frameWidth * static_cast<int>(sizeof(std::uint16_t)));
}

bool WindowPresenter::presentGpu(const std::uint16_t* frame, int pitchBytes,
                                 const std::vector<PixelRect>& changed) {
    if (changed.empty()) return false;
    const auto upload = [&](const PixelRect& r) {
        const SDL_Rect area = toSdl(r);
        SDL_UpdateTexture(m_texture, &area, pixelAt(frame, pitchBytes, r.x, r.y), pitchBytes);
        m_stats.framePixels += static_cast<std::uint64_t>(r.w) * static_cast<std::uint64_t>(r.h);
    };
    if (changed.size() <= kMaxTextureUploads) {
        for (const PixelRect& r : changed) upload(r);
    } else {
        int left = m_frameWidth, top = m_frameHeight, right = 0, bottom = 0;
        for (const PixelRect& r : changed) {
            left = std::min(left, r.x);
            top = std::min(top, r.y);
            right = std::max(right, r.x + r.w);
            bottom = std::max(bottom, r.y + r.h);
        }
        upload({left, top, right - left, bottom - top});
    }
    drawTexture();
    return true;
}

void WindowPresenter::drawTexture() {
    SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    SDL_RenderClear(m_renderer);
    SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);
    SDL_RenderPresent(m_renderer);
}

bool WindowPresenter::refreshSurface() {
    SDL_Surface* surface = SDL_GetWindowSurface(m_window);
    if (surface == nullptr) {
        m_surface = nullptr;
        return true;
    }
    const bool same = surface == m_surface && surface->w == m_surfaceWidth &&
                      surface->h == m_surfaceHeight && surface->format->format == m_surfaceFormat;
    if (same) return false;
    const SDL_PixelFormat* format = surface->format;
    if (format->format != m_surfaceFormat) {
        const int bytes = std::clamp(static_cast<int>(format->BytesPerPixel), 2, 4);
        m_scaler.setOutputFormat(
            bytes,
            [format](int r, int g, int b) {
                return SDL_MapRGB(format, static_cast<Uint8>(r), static_cast<Uint8>(g),
                                  static_cast<Uint8>(b));
            },
            format->format == SDL_PIXELFORMAT_RGB565);
    }
    m_surface = surface;
    m_surfaceWidth = surface->w;
    m_surfaceHeight = surface->h;
    m_surfaceFormat = format->format;
    m_scaler.configure(m_frameWidth, m_frameHeight, surface->w, surface->h);
    return true;
}

void WindowPresenter::repaintSurface(const std::uint16_t* frame, int pitchBytes) {
    auto* pixels = static_cast<std::uint8_t*>(m_surface->pixels);
    m_scaler.clearBars(pixels, m_surface->pitch);
    m_scaler.scale(frame, pitchBytes, {0, 0, m_frameWidth, m_frameHeight}, pixels,
                   m_surface->pitch);
    SDL_UpdateWindowSurface(m_window);
    m_surfaceBlank = false;
    m_stats.framePixels +=
        static_cast<std::uint64_t>(m_frameWidth) * static_cast<std::uint64_t>(m_frameHeight);
}

bool WindowPresenter::presentSoftware(const std::uint16_t* frame, int pitchBytes,
                                      const std::vector<PixelRect>& changed) {
    // A new surface (the window was resized, or SDL dropped it) holds nothing yet.
    if (refreshSurface() || m_surfaceBlank) {
        if (m_surface == nullptr) return false;
        ++m_stats.repaints;
        repaintSurface(frame, pitchBytes);
        return true;
    }
    if (changed.empty() || m_surface == nullptr) return false;
    auto* pixels = static_cast<std::uint8_t*>(m_surface->pixels);
    m_updates.clear();
    for (const PixelRect& r : changed) {
        const PixelRect written = m_scaler.scale(frame, pitchBytes, r, pixels, m_surface->pitch);
        m_stats.framePixels += static_cast<std::uint64_t>(r.w) * static_cast<std::uint64_t>(r.h);
        if (written.w > 0 && written.h > 0) m_updates.push_back(toSdl(written));
    }
    if (!m_updates.empty()) {
        SDL_UpdateWindowSurfaceRects(m_window, m_updates.data(),
                                     static_cast<int>(m_updates.size()));
    }
    return true;
}

}  // namespace qon::platform
