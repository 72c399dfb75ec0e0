// display_settings.cpp - the display mode the program asks for, and the one
// place that knows it.
//
// On an X server that switches modes for every client the mode is set here,
// through RandR, and the result is the switch's own. Elsewhere (the offscreen
// driver, XWayland) SDL sets it when the full-screen window shows, and takes
// it back when that window leaves full screen: the windows made to show it
// are kept here, so that handing the desktop its mode back reaches them.
#include "sdl/internal.h"
#include "sdl/offscreen.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace platform {
namespace {

std::optional<detail::FullScreenMode> g_request; // the last successful request
std::vector<SDL_Window*> g_sdlModeWindows;       // showing a mode SDL set
int g_offscreenModeWidth = 0;                    // 0: the driver's own desktop mode
int g_offscreenModeHeight = 0;
bool g_switchesRefused = false;

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

void SetOffscreenDisplayMode(int width, int height) {
    g_offscreenModeWidth = width;
    g_offscreenModeHeight = height;
}

void RefuseModeSwitches() {
    g_switchesRefused = true;
}

namespace detail {

const FullScreenMode* FullScreenRequest() {
    return g_request ? &*g_request : nullptr;
}

void ShowsSdlMode(SDL_Window* native) {
    g_sdlModeWindows.push_back(native);
}

void NoLongerShowsSdlMode(SDL_Window* native) {
    std::erase(g_sdlModeWindows, native);
}

} // namespace detail
} // namespace platform

LONG ChangeDisplaySettings(DEVMODE* mode, DWORD /*flags*/) {
    using namespace platform;
    if (mode == nullptr) {
        g_request.reset();
        for (SDL_Window* native : g_sdlModeWindows) {
            SDL_SetWindowFullscreen(native, 0);
        }
        g_sdlModeWindows.clear();
        if (detail::IsX11()) {
            detail::RestoreRandrMode();
        }
        return DISP_CHANGE_SUCCESSFUL;
    }
    if (!detail::EnsureVideo()) {
        return DISP_CHANGE_FAILED;
    }
    const int width = static_cast<int>(mode->dmPelsWidth);
    const int height = static_cast<int>(mode->dmPelsHeight);
    if (detail::IsX11() && detail::RandrSwitchesModes()) {
        const LONG result = detail::SwitchRandrMode(width, height, g_switchesRefused);
        if (result != DISP_CHANGE_SUCCESSFUL) {
            return result;
        }
        g_request = detail::FullScreenMode{
            SDL_DisplayMode{SDL_PIXELFORMAT_UNKNOWN, width, height, 0, nullptr}, false};
        return DISP_CHANGE_SUCCESSFUL;
    }
    SDL_DisplayMode found{};
    if (!OffersMode(width, height, &found)) {
        return DISP_CHANGE_BADMODE;
    }
    if (g_switchesRefused) {
        return DISP_CHANGE_FAILED;
    }
    g_request = detail::FullScreenMode{found, true};
    return DISP_CHANGE_SUCCESSFUL;
}
