// SPDX-License-Identifier: MIT
#include "qon/platform/sdl_media.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <optional>
#include <vector>

#include "bare_x_server.h"
#include "qon/headless/media_files.h"
#include "qon/media/controller.h"
#include "qon/media/media_file.h"
#include "qon/music/music_engine.h"
#include "qon/platform/mixer_music.h"
#include "render_choice.h"
#include "window_presenter.h"

namespace qon::platform {

using namespace qon::media;
using headless::RasterMedia;
using music::MusicEngine;

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kFramesPerSecond = 60;
// Longest single sleep while pacing, so events keep flowing within a frame. Every wake-up
// costs a context switch and a look at the event queue: two a frame are plenty.
constexpr Uint32 kDozeStepMs = 8;
constexpr int kMixChannels = 16;
// The controller mask holds buttons 1 to 4 only: a fifth button (a shoulder button)
// setting a higher bit would make every whole-mask test fail while it is held.
constexpr int kMaskButtons = 4;

class MixerEffect final : public SoundEffect {
  public:
    Mix_Chunk* chunk = nullptr;  // owned by SdlMedia::Impl, freed when sound closes
    int channel = -1;
};

// Without a sound card, ALSA prints its own failures (eight lines of them) before the
// game's one-line notice. Its error handler is set through the library SDL itself loads
// (same soname, so the same instance); no ALSA at all means nothing to silence.
void quietAlsaError(const char*, int, const char*, int, const char*, ...) {}

void silenceAlsa() {
    const char* driver = SDL_getenv("SDL_AUDIODRIVER");
    if (driver != nullptr && *driver != '\0' && SDL_strstr(driver, "alsa") == nullptr) return;
    // Kept open for the life of the program: the handler must outlive SDL's use of ALSA.
    static void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);
    if (alsa == nullptr) return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) {
        set(&quietAlsaError);
    }
}

}  // namespace

struct SdlMedia::Impl {
    std::string caption = "Now Loading...";
    bool startFullScreen = true;

    bool videoStarted = false;
    SDL_Window* window = nullptr;
    WindowPresenter presenter{kScreenWidth, kScreenHeight};
    bool fullScreen = false;
    bool bareX = false;  // see OnBareXServer
    bool cursorHidden = false;
    // After Alt+Enter the Enter key counts as nothing until it is released, so toggling
    // the window never also chooses a menu item.
    bool enterSuppressed = false;

    // Pacing: the performance-counter time the next frame is due; 0 before the first.
    Uint64 nextFrameDue = 0;
    // With vsync on a 60 Hz display the present already paces; sleeping as well would
    // only make frames miss their vertical blank.
    bool presentPaces = false;
    Uint64 startTicks = 0;

    bool audioStarted = false;
    bool audioOpen = false;
    std::vector<Mix_Chunk*> chunks;
    int nextChannel = 0;
    // One synth and soundfont for every track; without a sound device it still loads
    // tracks (so bad files are reported) and keeps their bookkeeping, silently.
    MixerMusic music;
    bool musicStarted = false;

    bool inputStarted = false;
    SDL_GameController* pad = nullptr;
    SDL_Joystick* stick = nullptr;
    SDL_JoystickID deviceInstance = -1;
    JoystickLimits limits;

    void closeJoystick() {
        if (pad != nullptr) SDL_GameControllerClose(pad);
        if (stick != nullptr) SDL_JoystickClose(stick);
        pad = nullptr;
        stick = nullptr;
        deviceInstance = -1;
    }

    void applyCursor() { SDL_ShowCursor(cursorHidden ? SDL_DISABLE : SDL_ENABLE); }

    // Makes the game's window; a full-screen one at the desktop's size, since without a
    // window manager (a bare X server) nobody else would resize it. It is made hidden and
    // shown once it is known who makes it full screen: the window manager, or on a bare
    // X server the window's own size and place.
    bool createWindow(Uint32 extraFlags, std::string& reason) {
        const int scale = windowScale();
        int width = scale * kScreenWidth;
        int height = scale * kScreenHeight;
        SDL_DisplayMode desktop;
        if (startFullScreen && SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
            width = desktop.w;
            height = desktop.h;
        }
        window =
            SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                             height, SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN | extraFlags);
        if (window == nullptr) {
            reason = SDL_GetError();
            return false;
        }
        bareX = OnBareXServer(window);
        fullScreen = startFullScreen;
        if (startFullScreen && !bareX)
            SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
        SDL_ShowWindow(window);
        return true;
    }

    void destroyWindow() {
        presenter.close();
        if (window != nullptr) SDL_DestroyWindow(window);
        window = nullptr;
    }

    // Makes the window and the way it is drawn (see render_choice.h).
    bool openWindow(std::string& reason) {
        const char* asked = SDL_getenv("QON_RENDERER");
        std::optional<RendererRequest> request = ParseRendererRequest(asked);
        if (!request) {
            std::cerr << "qon: QON_RENDERER=" << asked
                      << " is not software, gpu or auto; the game chooses by itself\n";
            request = RendererRequest::Auto;
        }
        const char* driver = SDL_GetCurrentVideoDriver();
        const bool gpuDevice = *request == RendererRequest::Auto && HasGpuDevice();
        if (ShouldTryGpu(*request, driver != nullptr ? driver : "", gpuDevice)) {
            std::string why;
            bool kept = false;
            if (createWindow(SDL_WINDOW_OPENGL, why) && presenter.openGpu(window, why)) {
                kept = ShouldKeepGpu(*request, presenter.accelerated(), presenter.glRenderer());
                if (!kept) why = "OpenGL renders in software (" + presenter.glRenderer() + ")";
            }
            if (!kept) {
                // A new window without OpenGL, so that the driver can be unloaded.
                destroyWindow();
                if (*request == RendererRequest::Gpu) {
                    std::cerr << "qon: no GPU renderer (" << why << "); drawing without GPU\n";
                }
            }
        }
        if (window == nullptr) {
            if (!createWindow(0, reason)) return false;
            if (!presenter.openSoftware(window, reason)) {
                // A video driver without window surfaces of its own (some Wayland
                // builds): whatever renderer SDL has is still better than no game.
                destroyWindow();
                if (!createWindow(0, reason) ||
                    !presenter.openGpu(window, reason, WindowPresenter::kAnyRenderer)) {
                    return false;
                }
            }
        }
        SDL_DisplayMode mode;
        presentPaces = presenter.presentWaits() && SDL_GetWindowDisplayMode(window, &mode) == 0 &&
                       mode.refresh_rate >= 59 && mode.refresh_rate <= 61;
        return true;
    }

    void setFullScreen(bool on) {
        if (window == nullptr) return;
        const int display = std::max(SDL_GetWindowDisplayIndex(window), 0);
        SDL_DisplayMode desktop;
        SDL_Rect bounds;
        if (on && SDL_GetDesktopDisplayMode(display, &desktop) == 0 &&
            SDL_GetDisplayBounds(display, &bounds) == 0) {
            // Sized and placed by hand as well, for X servers without a window manager.
            SDL_SetWindowSize(window, desktop.w, desktop.h);
            SDL_SetWindowPosition(window, bounds.x, bounds.y);
        }
        const bool byHand = on && bareX;
        if (!byHand &&
            SDL_SetWindowFullscreen(window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
            return;
        }
        fullScreen = on;
        if (!on) {
            const int scale = windowScale();
            SDL_SetWindowSize(window, scale * kScreenWidth, scale * kScreenHeight);
            SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        }
        applyCursor();
        // The frame on screen at the new size at once: the window system keeps showing
        // the old picture, offset and scale included, until something is drawn.
        SDL_PumpEvents();
        presenter.repaint();
    }

    // The largest whole multiple of 640 x 480 that fits the desktop with room for window
    // borders; at least 1.
    int windowScale() const {
        SDL_DisplayMode desktop;
        const int display = window != nullptr ? SDL_GetWindowDisplayIndex(window) : 0;
        if (SDL_GetDesktopDisplayMode(display < 0 ? 0 : display, &desktop) != 0) return 1;
        int scale = 1;
        while (kScreenWidth * (scale + 1) <= desktop.w * 9 / 10 &&
               kScreenHeight * (scale + 1) <= desktop.h * 9 / 10) {
            ++scale;
        }
        return scale;
    }

    bool keyDown(SDL_Scancode code) const {
        int count = 0;
        const Uint8* state = SDL_GetKeyboardState(&count);
        return code < count && state[code] != 0;
    }

    bool virtualKeyDown(int key) {
        switch (key) {
            case Vk::Enter: {
                const bool down = keyDown(SDL_SCANCODE_RETURN) || keyDown(SDL_SCANCODE_KP_ENTER);
                if (!down) enterSuppressed = false;
                return down && !enterSuppressed && (SDL_GetModState() & KMOD_ALT) == 0;
            }
            case Vk::Esc:
                return keyDown(SDL_SCANCODE_ESCAPE) ||
                       (pad != nullptr &&
                        SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_START) != 0);
            case Vk::Space:
                return keyDown(SDL_SCANCODE_SPACE);
            case Vk::Left:
                return keyDown(SDL_SCANCODE_LEFT);
            case Vk::Up:
                return keyDown(SDL_SCANCODE_UP);
            case Vk::Right:
                return keyDown(SDL_SCANCODE_RIGHT);
            case Vk::Down:
                return keyDown(SDL_SCANCODE_DOWN);
            default:
                break;
        }
        if (key >= 'A' && key <= 'Z') {
            return keyDown(static_cast<SDL_Scancode>(SDL_SCANCODE_A + (key - 'A')));
        }
        if (key >= '1' && key <= '9') {
            return keyDown(static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (key - '1')));
        }
        if (key == '0') return keyDown(SDL_SCANCODE_0);
        return false;
    }

    JoystickSample sampleJoystick() const {
        JoystickSample sample;
        if (pad != nullptr) {
            sample.x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX) + kAxisCentre;
            sample.y = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY) + kAxisCentre;
            if (SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT))
                sample.x = kAxisMin;
            if (SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT))
                sample.x = kAxisMax;
            if (SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_UP))
                sample.y = kAxisMin;
            if (SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN))
                sample.y = kAxisMax;
            // A launches (button 3), B chooses (button 4).
            if (SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_A)) sample.buttons |= 4;
            if (SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_B)) sample.buttons |= 8;
        } else if (stick != nullptr) {
            if (SDL_JoystickNumAxes(stick) >= 2) {
                sample.x = SDL_JoystickGetAxis(stick, 0) + kAxisCentre;
                sample.y = SDL_JoystickGetAxis(stick, 1) + kAxisCentre;
            }
            if (SDL_JoystickNumHats(stick) >= 1) {
                const Uint8 hat = SDL_JoystickGetHat(stick, 0);
                if (hat & SDL_HAT_LEFT) sample.x = kAxisMin;
                if (hat & SDL_HAT_RIGHT) sample.x = kAxisMax;
                if (hat & SDL_HAT_UP) sample.y = kAxisMin;
                if (hat & SDL_HAT_DOWN) sample.y = kAxisMax;
            }
            const int buttons = std::min(SDL_JoystickNumButtons(stick), kMaskButtons);
            for (int i = 0; i < buttons; ++i) {
                if (SDL_JoystickGetButton(stick, i)) sample.buttons |= 1 << i;
            }
        }
        return sample;
    }
};

SdlMedia::SdlMedia() : m_sdl(std::make_unique<Impl>()) {}

SdlMedia::~SdlMedia() {
    ReleaseMedia();
}

void SdlMedia::setCaption(std::string caption) {
    m_sdl->caption = std::move(caption);
}
void SdlMedia::setStartFullScreen(bool fullScreen) {
    m_sdl->startFullScreen = fullScreen;
}

bool SdlMedia::InitDisplay(std::string& reason) {
    Impl& s = *m_sdl;
    if (s.window != nullptr) return false;  // already initialised: change nothing
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        reason = SDL_GetError();
        return false;
    }
    s.videoStarted = true;
    s.startTicks = SDL_GetTicks64();
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK) == 0) {
        s.inputStarted = true;
    } else {
        std::cerr << "qon: joysticks are not available (" << SDL_GetError() << ")\n";
    }

    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    if (!s.openWindow(reason)) {
        s.destroyWindow();
        return false;
    }
    s.applyCursor();
    PumpEvents();
    return true;
}

bool SdlMedia::InitSound(std::string& reason) {
    (void)reason;
    Impl& s = *m_sdl;
    if (s.audioOpen) return true;
    std::string why;
    silenceAlsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        why = SDL_GetError();
    } else {
        s.audioStarted = true;
        if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
            why = Mix_GetError();
        } else {
            s.audioOpen = true;
            Mix_AllocateChannels(kMixChannels);
        }
    }
    if (s.audioOpen) {
        std::string musicProblem;
        s.musicStarted = s.music.start(MusicEngine::kDefaultSoundFont, musicProblem);
        if (!s.musicStarted) {
            std::cerr << "qon: music is not available (" << musicProblem
                      << "); the game plays without music\n";
        }
    }
    if (!s.audioOpen) {
        // No sound card must not keep anyone from playing: the game runs silent.
        std::cerr << "qon: no sound device could be opened (" << why
                  << "); the game plays without sound\n";
        // The audio drivers SDL tried (and their device watch) are of no more use.
        if (s.audioStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        s.audioStarted = false;
    }
    return true;
}

bool SdlMedia::soundAvailable() const {
    return m_sdl->audioOpen;
}

void SdlMedia::ReleaseMedia() {
    Impl& s = *m_sdl;
    // Music, then sound, then display.
    if (s.audioOpen) {
        s.music.close();
        s.musicStarted = false;
        Mix_HaltChannel(-1);
        for (Mix_Chunk* chunk : s.chunks) Mix_FreeChunk(chunk);
        s.chunks.clear();
        Mix_CloseAudio();
        s.audioOpen = false;
    }
    if (s.audioStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        s.audioStarted = false;
    }
    s.closeJoystick();
    if (s.inputStarted) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK);
        s.inputStarted = false;
    }
    s.destroyWindow();
    if (s.videoStarted) {
        SDL_ShowCursor(SDL_ENABLE);
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        s.videoStarted = false;
    }
    s.cursorHidden = false;
}

void SdlMedia::HideMouseCursor() {
    m_sdl->cursorHidden = true;
    if (m_sdl->videoStarted) m_sdl->applyCursor();
}

void SdlMedia::ShowMouseCursor() {
    m_sdl->cursorHidden = false;
    if (m_sdl->videoStarted) m_sdl->applyCursor();
}

void SdlMedia::FlipScreen() {
    Impl& s = *m_sdl;
    if (!s.presenter.isOpen()) return;
    int pitch = 0;
    const void* pixels = backBufferPixels(pitch);
    const bool presented = s.presenter.present(static_cast<const std::uint16_t*>(pixels), pitch);

    // Every speed of play is in pixels per frame: the frame rate must not follow the
    // monitor. Frames are due at fixed 1/60 s steps; a late frame (loading, a dragged
    // window) restarts the schedule instead of racing to catch up.
    const Uint64 frequency = SDL_GetPerformanceFrequency();
    const Uint64 period = frequency / kFramesPerSecond;
    Uint64 now = SDL_GetPerformanceCounter();
    if (s.nextFrameDue == 0 || now > s.nextFrameDue + 2 * period) s.nextFrameDue = now;
    s.nextFrameDue += period;
    // A frame that was not presented did not wait for the vertical blank either.
    if (s.presentPaces && presented) return;
    while (now < s.nextFrameDue) {
        const Uint64 remainingMs = (s.nextFrameDue - now) * 1000 / frequency;
        if (remainingMs == 0) break;  // under a millisecond: the next frame makes it up
        SDL_Delay(static_cast<Uint32>(std::min<Uint64>(remainingMs, kDozeStepMs)));
        PumpEvents();
        now = SDL_GetPerformanceCounter();
    }
}

SoundEffectPtr SdlMedia::LoadSoundEffect(const std::string& path) {
    Impl& s = *m_sdl;
    auto effect = std::make_unique<MixerEffect>();
    if (!s.audioOpen) {
        headless::ReadWaveFile(path);  // a broken file is reported even when nothing plays
        return effect;
    }
    const std::string bytes = ReadMediaFile(path, kMaxWaveFileBytes);
    SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    Mix_Chunk* chunk = source != nullptr ? Mix_LoadWAV_RW(source, 1) : nullptr;
    if (chunk == nullptr) {
        throw MediaError(path, std::string("is not a readable WAV sound (") + Mix_GetError() + ")");
    }
    s.chunks.push_back(chunk);
    // One fixed channel per effect: playing it again while it sounds restarts it.
    if (s.nextChannel >= Mix_AllocateChannels(-1)) Mix_AllocateChannels(s.nextChannel + 8);
    effect->chunk = chunk;
    effect->channel = s.nextChannel++;
    return effect;
}

void SdlMedia::PlaySoundEffect(SoundEffect& effect) {
    if (!m_sdl->audioOpen) return;
    auto& mixer = static_cast<MixerEffect&>(effect);
    if (mixer.chunk == nullptr) return;
    Mix_PlayChannel(mixer.channel, mixer.chunk, 0);
}

MusicTrackPtr SdlMedia::LoadMusic(const std::string& path) {
    return m_sdl->music.LoadMusic(path);
}

bool SdlMedia::UnloadMusic(MusicTrackPtr& track) {
    return m_sdl->music.UnloadMusic(track);
}

bool SdlMedia::PlayMusic(MusicTrack* track, int repeats) {
    return m_sdl->music.PlayMusic(track, repeats);
}

bool SdlMedia::ResumeMusic(MusicTrack* track) {
    return m_sdl->music.ResumeMusic(track);
}

bool SdlMedia::StopMusic(MusicTrack* track) {
    return m_sdl->music.StopMusic(track);
}

void SdlMedia::InitJoystick(int deadZone) {
    Impl& s = *m_sdl;
    s.closeJoystick();
    s.limits = LimitsFor(kAxisMin, kAxisMax, kAxisMin, kAxisMax, deadZone);
    if (!s.inputStarted) return;
    // The first device that opens is used; a game controller is preferred to its raw
    // joystick view because its mapping knows where the d-pad and buttons are.
    const int devices = SDL_NumJoysticks();
    for (int i = 0; i < devices; ++i) {
        if (SDL_IsGameController(i)) {
            s.pad = SDL_GameControllerOpen(i);
            if (s.pad != nullptr) {
                s.deviceInstance = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(s.pad));
                return;
            }
        }
        s.stick = SDL_JoystickOpen(i);
        if (s.stick != nullptr) {
            s.deviceInstance = SDL_JoystickInstanceID(s.stick);
            return;
        }
    }
}

void SdlMedia::ReadController() {
    Impl& s = *m_sdl;
    KeyboardSample keys;
    keys.left = s.keyDown(SDL_SCANCODE_LEFT);
    keys.right = s.keyDown(SDL_SCANCODE_RIGHT);
    keys.up = s.keyDown(SDL_SCANCODE_UP);
    keys.down = s.keyDown(SDL_SCANCODE_DOWN);
    for (int i = 0; i < 4; ++i) {
        keys.assigned[i] = KeyAssign[i] != 0 && s.virtualKeyDown(KeyAssign[i]);
    }
    const bool haveDevice = s.pad != nullptr || s.stick != nullptr;
    const JoystickSample sample = s.sampleJoystick();
    m_controller = MergeController(haveDevice ? &sample : nullptr, s.limits, keys);
}

bool SdlMedia::IsKeyDown(int virtualKey) {
    return m_sdl->virtualKeyDown(virtualKey);
}

std::int32_t SdlMedia::Tick() {
    return static_cast<std::int32_t>(SDL_GetTicks64() - m_sdl->startTicks);
}

void SdlMedia::PumpEvents() {
    Impl& s = *m_sdl;
    if (!s.videoStarted) return;
    SDL_Event event;
    bool repaint = false;
    while (SDL_PollEvent(&event) != 0) {
        switch (event.type) {
            case SDL_QUIT:
                throw QuitRequested{};
            case SDL_WINDOWEVENT:
                switch (event.window.event) {
                    case SDL_WINDOWEVENT_EXPOSED:
                    case SDL_WINDOWEVENT_SHOWN:
                    case SDL_WINDOWEVENT_SIZE_CHANGED:
                    case SDL_WINDOWEVENT_RESTORED:
                    case SDL_WINDOWEVENT_MAXIMIZED:
                        // The window system may have dropped what was drawn: one whole
                        // repaint after the events of this pump.
                        repaint = true;
                        break;
                    default:
                        break;
                }
                break;
            case SDL_KEYDOWN: {
                const SDL_Scancode code = event.key.keysym.scancode;
                if (code == SDL_SCANCODE_E) throw QuitRequested{};
                const bool enter = code == SDL_SCANCODE_RETURN || code == SDL_SCANCODE_KP_ENTER;
                if (enter && (event.key.keysym.mod & KMOD_ALT) != 0 && event.key.repeat == 0) {
                    s.enterSuppressed = true;
                    s.setFullScreen(!s.fullScreen);
                }
                break;
            }
            case SDL_CONTROLLERDEVICEREMOVED:
            case SDL_JOYDEVICEREMOVED:
                // An unplugged device reads as no device (centred, no buttons) rather than
                // as a stick held up and left; the next title looks for one again.
                if (event.jdevice.which == s.deviceInstance) s.closeJoystick();
                break;
            default:
                break;
        }
    }
    if (repaint) s.presenter.repaint();
}

void SdlMedia::Doze(int ms) {
    SDL_Delay(static_cast<Uint32>(std::clamp(ms, 0, 1000)));
}

void SdlMedia::ShowMessage(const std::string& title, const std::string& text) {
    Impl& s = *m_sdl;
    std::cerr << "qon: " << text << '\n';
    // A box over a full-screen window can end up hidden behind it: leave full screen for
    // the box's sake (the frame is repainted at the window's size) and return afterwards.
    const bool wasFullScreen = s.fullScreen && s.window != nullptr;
    if (wasFullScreen) s.setFullScreen(false);
    SDL_ShowCursor(SDL_ENABLE);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title.c_str(), text.c_str(), s.window);
    if (wasFullScreen) s.setFullScreen(true);
    if (s.window != nullptr) s.applyCursor();
}

bool SdlMedia::drawsWithGpu() const {
    return m_sdl->presenter.isGpu();
}

const PresentStats& SdlMedia::presentStats() const {
    return m_sdl->presenter.stats();
}

std::uint32_t SdlMedia::RandomSeed() {
    const auto now = std::chrono::system_clock::now().time_since_epoch().count();
    return static_cast<std::uint32_t>(now) ^ static_cast<std::uint32_t>(now >> 32) ^
           static_cast<std::uint32_t>(SDL_GetPerformanceCounter());
}

}  // namespace qon::platform
