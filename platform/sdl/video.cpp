// video.cpp - starting SDL's video with the driver chosen for it.
//
// Without a driver named in SDL_VIDEODRIVER the layer asks for X11 (a Wayland
// desktop serves it through XWayland): display modes and window frames are
// X11 notions, and SDL would otherwise fall back to its invisible offscreen
// driver and the program would run unseen. SDL's Wayland driver is never
// started (video_driver_request.h). Every GL context is made through EGL,
// which honours a 16-bit depth request exactly on Mesa, so the window and the
// offscreen renderer draw the same pixels.
#include "platform/display.h"
#include "sdl/internal.h"
#include "sdl/offscreen.h"
#include "sdl/video_driver_request.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace platform {
namespace {

enum class VideoState { NotStarted, Running, Unavailable };

VideoState g_video = VideoState::NotStarted;
bool g_offscreenForced = false;
std::string g_videoProblem; // why video could not start, one line

// What kept video from starting, in the user's terms: the display that could
// not be opened, or the drivers named instead of X11 that could not start.
std::string VideoProblem(const std::string& drivers) {
    if (drivers != "x11") {
        return "cannot start video driver " + drivers + " (" + SDL_GetError() + ")";
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

} // namespace

void UseOffscreenDriver() {
    g_offscreenForced = true;
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
    const VideoDriverChoice choice =
        g_offscreenForced
            ? VideoDriverChoice{"offscreen", "", ""}
            : ChooseVideoDriver(std::getenv("SDL_VIDEODRIVER"), std::getenv("DISPLAY"));
    if (!choice.refusal.empty()) {
        g_videoProblem = choice.refusal;
        g_video = VideoState::Unavailable;
        return false;
    }
    if (!choice.notice.empty()) {
        detail::Say(choice.notice);
    }
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, choice.drivers.c_str(), SDL_HINT_OVERRIDE);
    detail::FilterLostX11WindowErrors();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        g_videoProblem = VideoProblem(choice.drivers);
        g_video = VideoState::Unavailable;
        return false;
    }
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
