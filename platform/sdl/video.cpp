// video.cpp - starting SDL's video, choosing its driver, and the display mode.
//
// Without a driver named in SDL_VIDEODRIVER the layer asks for X11 (a Wayland
// desktop serves it through XWayland): display modes and window frames are
// X11 notions, and SDL would otherwise fall back to its invisible offscreen
// driver and the program would run unseen. Every GL context is made through
// EGL, which honours a 16-bit depth request exactly on Mesa, so the window and
// the offscreen renderer draw the same pixels.
#include "platform/display.h"
#include "platform/extras.h"
#include "platform/sdl/internal.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace platform {
namespace {

enum class VideoState { NotStarted, Running, Unavailable };

VideoState g_video = VideoState::NotStarted;
bool g_offscreenForced = false;
Uint32 g_wakeEvent = 0;
int g_offscreenModeWidth = 0; // 0: the driver's own desktop mode
int g_offscreenModeHeight = 0;
bool g_fullScreenRequested = false;
bool g_sdlSetsMode = false;
bool g_switchesRefused = false;
SDL_DisplayMode g_fullScreenMode{};
std::string g_videoProblem; // why video could not start, one line

// What kept video from starting, in the user's terms: the display that could
// not be opened, or the driver named instead of X11 that could not start.
std::string VideoProblem() {
    const char* named = g_offscreenForced ? "offscreen" : std::getenv("SDL_VIDEODRIVER");
    if (named != nullptr && *named != '\0' && std::strcmp(named, "x11") != 0) {
        return std::string("cannot start video driver ") + named + " (" + SDL_GetError() + ")";
    }
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        return "cannot open a display: DISPLAY is not set";
    }
    return std::string("cannot open display ") + display;
}

bool DriverIs(const char* name) {
    const char* current = SDL_GetCurrentVideoDriver();
    return current != nullptr && std::strcmp(current, name) == 0;
}

bool OffersMode(int width, int height, SDL_DisplayMode* found) {
    if (detail::IsOffscreen()) {
        SDL_DisplayMode desktop{};
        SDL_GetDesktopDisplayMode(0, &desktop);
        if (g_offscreenModeWidth > 0) {
            desktop.w = g_offscreenModeWidth;
            desktop.h = g_offscreenModeHeight;
        }
        *found = desktop;
        return desktop.w == width && desktop.h == height;
    }
    // SDL lists the modes from the highest refresh rate down; the first of
    // the right size is taken, as no rate is asked for.
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w == width && mode.h == height) {
            *found = mode;
            return true;
        }
    }
    return false;
}

} // namespace

void UseOffscreenDriver() {
    g_offscreenForced = true;
}

void SetOffscreenDisplayMode(int width, int height) {
    g_offscreenModeWidth = width;
    g_offscreenModeHeight = height;
}

void RefuseModeSwitches() {
    g_switchesRefused = true;
}

namespace detail {

bool EnsureVideo() {
    if (g_video != VideoState::NotStarted) {
        return g_video == VideoState::Running;
    }
    SDL_SetHint(SDL_HINT_VIDEO_X11_FORCE_EGL, "1");
    // Closing the window is the window procedure's business, not SDL's.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The window procedure decides about the screen saver (see ShowWindow).
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // A full-screen window stays when it loses focus, as on the desktop API.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (g_offscreenForced) {
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "offscreen", SDL_HINT_OVERRIDE);
    } else {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11"); // SDL_VIDEODRIVER still wins
    }
    detail::FilterLostX11WindowErrors();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        g_videoProblem = VideoProblem();
        g_video = VideoState::Unavailable;
        return false;
    }
    g_wakeEvent = SDL_RegisterEvents(1);
    std::atexit(SDL_Quit); // hands any changed display mode back
    g_video = VideoState::Running;
    return true;
}

bool IsOffscreen() {
    return g_video == VideoState::Running && DriverIs("offscreen");
}

bool IsX11() {
    return g_video == VideoState::Running && DriverIs("x11");
}

Uint32 WakeEventType() {
    return g_wakeEvent;
}

const SDL_DisplayMode* RequestedFullScreenMode() {
    return g_fullScreenRequested ? &g_fullScreenMode : nullptr;
}

bool SdlSetsRequestedMode() {
    return g_sdlSetsMode;
}

bool ModeSwitchesRefused() {
    return g_switchesRefused;
}

bool HeadlessByRequest() {
    if (g_offscreenForced) {
        return true;
    }
    const char* named = std::getenv("SDL_VIDEODRIVER");
    return named != nullptr &&
           (std::strcmp(named, "offscreen") == 0 || std::strcmp(named, "dummy") == 0);
}

} // namespace detail

bool OpenDisplay(std::string* problem) {
    if (detail::EnsureVideo()) {
        return true;
    }
    *problem = g_videoProblem;
    return false;
}

} // namespace platform

// On an X server that switches modes for every client the mode is set here,
// through RandR, and the result is the switch's own. Elsewhere (the offscreen
// driver, XWayland) SDL sets it when the full-screen window shows.
LONG ChangeDisplaySettings(DEVMODE* mode, DWORD /*flags*/) {
    using namespace platform;
    if (mode == nullptr) {
        g_fullScreenRequested = false;
        if (detail::EnsureVideo()) {
            for (HWND__* window : detail::Windows()) {
                if (window->native != nullptr && window->fullScreen && window->sdlSetsMode) {
                    SDL_SetWindowFullscreen(window->native, 0);
                }
            }
            if (detail::IsX11()) {
                detail::RestoreRandrMode();
            }
        }
        return DISP_CHANGE_SUCCESSFUL;
    }
    if (!detail::EnsureVideo()) {
        return DISP_CHANGE_FAILED;
    }
    const int width = static_cast<int>(mode->dmPelsWidth);
    const int height = static_cast<int>(mode->dmPelsHeight);
    if (detail::IsX11() && detail::RandrSwitchesModes()) {
        const LONG result = detail::SwitchRandrMode(width, height);
        if (result != DISP_CHANGE_SUCCESSFUL) {
            return result;
        }
        g_fullScreenMode = SDL_DisplayMode{SDL_PIXELFORMAT_UNKNOWN, width, height, 0, nullptr};
        g_sdlSetsMode = false;
    } else {
        SDL_DisplayMode found{};
        if (!OffersMode(width, height, &found)) {
            return DISP_CHANGE_BADMODE;
        }
        if (g_switchesRefused) {
            return DISP_CHANGE_FAILED;
        }
        g_fullScreenMode = found;
        g_sdlSetsMode = true;
    }
    g_fullScreenRequested = true;
    return DISP_CHANGE_SUCCESSFUL;
}
