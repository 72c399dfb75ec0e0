// video_driver_request.h - which of SDL's video drivers a run is given, from
// the drivers its environment names (SDL_VIDEODRIVER) and the X display it
// has (DISPLAY).
//
// The layer shows windows through X11, which a Wayland desktop serves through
// XWayland: display modes and window frames are X11 notions. SDL's own
// Wayland driver is never started, even when asked for: it can crash inside
// SDL's start (on a compositor without a seat) and in its window decorations,
// where nothing can catch it. So the request is settled before SDL starts: a
// request for Wayland is served through X11 where there is an X display (on a
// Wayland desktop, XWayland), and refused in one line where there is none.
#pragma once

#include <string>

namespace platform {

struct VideoDriverChoice {
    std::string drivers; // SDL's list of drivers to try, in order; empty when refused
    std::string notice;  // one line for the user where Wayland is served through X11
    std::string refusal; // one line where Wayland is asked for and there is no X display
};

// `requested` and `display` as the environment gives them (null when unset).
VideoDriverChoice ChooseVideoDriver(const char* requested, const char* display);

} // namespace platform
