// x11_host_window.cpp - drawing in another program's X window: a screen-saver
// daemon's window over the screen, or the root window itself.
//
// The other program's window is a record of the layer's own (a host), so that
// its client size can be asked and a window made as its child; the host has
// no SDL window and answers no message, as it is not the demo's to close. Its
// child is the host's X window itself, made into an SDL window: the demo puts
// no window of its own on the server, and what it draws fills the host.
#include "sdl/internal.h"
#include "x11/x11_error_trap.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <cstdio>

namespace platform {
namespace {

LRESULT CALLBACK HostProcedure(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

std::string Named(unsigned long id) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", id);
    return text;
}

// Asks the server on a connection of its own, where a window that is not
// there is an error kept to this question.
bool ClientSize(Display* display, unsigned long id, int* width, int* height) {
    XWindowAttributes attributes{};
    bool found = false;
    {
        x11::ErrorTrap trap(display);
        const bool answered = XGetWindowAttributes(display, id, &attributes) != 0;
        found = answered && !trap.Failed();
    }
    *width = attributes.width;
    *height = attributes.height;
    return found;
}

// The host's record for the X window `id`, or for the root window when `id`
// is 0: one record a window, made when first asked for.
HWND Host(unsigned long id, std::string* problem) {
    if (!detail::EnsureVideo() || !detail::IsX11()) {
        *problem = "drawing in another program's window needs an X display";
        return nullptr;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        *problem = "cannot open the X display";
        return nullptr;
    }
    const unsigned long window = id != 0 ? id : DefaultRootWindow(display);
    int width = 0;
    int height = 0;
    const bool found = ClientSize(display, window, &width, &height);
    XCloseDisplay(display);
    if (!found) {
        *problem = "no window " + Named(window) + " on this display";
        return nullptr;
    }
    for (HWND handle : detail::LiveWindows()) {
        HWND__* known = detail::FindWindow(handle);
        if (known->host && known->foreignX11 == window) {
            return known;
        }
    }
    CREATESTRUCT create{};
    create.lpszClass = "";
    create.cx = width;
    create.cy = height;
    auto* host = new HWND__(HostProcedure, create);
    host->host = true;
    host->foreignX11 = window;
    detail::AddWindow(host, host);
    return host;
}

} // namespace

HWND ForeignWindow(std::uint32_t id, std::string* problem) {
    if (id == 0) {
        *problem = "no window 0 on this display";
        return nullptr;
    }
    return Host(id, problem);
}

HWND ScreenWindow(std::string* problem) {
    return Host(0, problem);
}

namespace detail {

bool RealizeInHost(HWND__* window, const GlFormat* format) {
    if (window->foreignX11 == 0) {
        return false; // the layer makes children only of other programs' windows
    }
    // SDL draws in a window it did not make only when told that the window
    // is to carry GL, and then through GLX alone: it makes a window's EGL
    // surface as it makes the window, never for one it is handed. The choice
    // of GLX is read as GL is first loaded, which this window does: the
    // host's child is the program's only window.
    SDL_SetHint(SDL_HINT_VIDEO_FOREIGN_WINDOW_OPENGL, format != nullptr ? "1" : "0");
    SDL_SetHint(SDL_HINT_VIDEO_X11_FORCE_EGL, "0");
    window->native = SDL_CreateWindowFrom(reinterpret_cast<const void*>(window->foreignX11));
    if (window->native == nullptr) {
        Say("cannot draw in window " + Named(window->foreignX11) + ": " + SDL_GetError());
        return false;
    }
    // Watched from now on, so that the window's end, even before the events
    // below are asked for, closes it instead of faulting.
    WatchX11Window(window);
    // Nor does SDL ask the server for any event of a window it is handed:
    // the window's size changes and its end are asked for here, beside what
    // this connection asked of it before (of the root, say).
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window->native, &info) && info.subsystem == SDL_SYSWM_X11) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(info.info.x11.display, window->foreignX11, &attributes) != 0) {
            XSelectInput(info.info.x11.display, window->foreignX11,
                         attributes.your_event_mask | StructureNotifyMask);
            XFlush(info.info.x11.display);
        }
    }
    return true;
}

} // namespace detail
} // namespace platform
