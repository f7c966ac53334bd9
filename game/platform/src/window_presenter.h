// SPDX-License-Identifier: MIT
#pragma once

// Puts the game's 640 x 480 RGB565 frames into its window, letterboxed, in one of two
// ways (see render_choice.h): through an SDL renderer and a streaming texture (GPU), or
// scaled by FrameScaler into the window's own surface (no GPU). Either way a frame the
// same as the one on screen costs no upload and no present, and a changed frame uploads
// only its changed regions.

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "frame_diff.h"
#include "frame_scaler.h"
#include "qon/platform/sdl_media.h"

namespace qon::platform {

class WindowPresenter {
  public:
    WindowPresenter(int frameWidth, int frameHeight);
    ~WindowPresenter();
    WindowPresenter(const WindowPresenter&) = delete;
    WindowPresenter& operator=(const WindowPresenter&) = delete;

    static constexpr bool kAcceleratedOnly = false;
    static constexpr bool kAnyRenderer = true;
    // Makes an accelerated renderer (with vsync when offered) and its texture; with
    // kAnyRenderer, SDL's software renderer as a last resort. False, with nothing left
    // behind, when SDL offers no such renderer for the window.
    bool openGpu(SDL_Window* window, std::string& reason, bool anyRenderer = kAcceleratedOnly);
    // Draws through the window's own surface; never loads OpenGL.
    bool openSoftware(SDL_Window* window, std::string& reason);
    void close();

    bool isOpen() const { return m_window != nullptr; }
    bool isGpu() const { return m_renderer != nullptr; }
    // After openGpu: whether SDL calls the renderer accelerated, and the OpenGL renderer
    // string (empty when there is no OpenGL context to ask).
    bool accelerated() const { return m_accelerated; }
    const std::string& glRenderer() const { return m_glRenderer; }
    // True when presenting waits for the display's vertical blank.
    bool presentWaits() const { return m_vsync; }

    // Presents `frame` (rows `pitchBytes` apart). Returns false when it was the same as
    // the frame on screen and nothing was done.
    bool present(const std::uint16_t* frame, int pitchBytes);
    // Shows the frame on screen again, whole, at the window's present size: after an
    // expose, a resize or a switch between full screen and window. Does nothing before
    // the first present.
    void repaint();

    const PresentStats& stats() const { return m_stats; }

  private:
    bool presentGpu(const std::uint16_t* frame, int pitchBytes,
                    const std::vector<PixelRect>& changed);
    bool presentSoftware(const std::uint16_t* frame, int pitchBytes,
                         const std::vector<PixelRect>& changed);
    void drawTexture();
    // Takes the window's current surface; true when it is another one than before (a
    // new size or format), which then needs a whole repaint.
    bool refreshSurface();
    void repaintSurface(const std::uint16_t* frame, int pitchBytes);

    int m_frameWidth;
    int m_frameHeight;
    FrameDiff m_diff;
    PresentStats m_stats;
    SDL_Window* m_window = nullptr;
    bool m_shown = false;  // a frame has been presented

    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    bool m_accelerated = false;
    bool m_vsync = false;
    std::string m_glRenderer;

    SDL_Surface* m_surface = nullptr;  // owned by the window
    bool m_surfaceBlank = true;        // the bars and picture are not painted yet
    int m_surfaceWidth = 0;
    int m_surfaceHeight = 0;
    Uint32 m_surfaceFormat = 0;
    FrameScaler m_scaler;
    std::vector<SDL_Rect> m_updates;
};

}  // namespace qon::platform
