// x11_lost_window.cpp - a window destroyed by another client (xdotool
// windowclose, a window manager gone wrong): the program is told as if its
// window had been closed, and ends through its own close path, handing the
// display mode back.
//
// The layer learns of it in one of two ways, whichever comes first: the
// server's word that the window was destroyed (DestroyNotify, through SDL's
// window-system events), or an error naming the window as missing, in reply
// to a request made on it meanwhile (a frame drawn, SDL's own requests, the
// window's own end). Such errors are expected from the moment the window is
// gone until the program has let go of it, so they are not faults: Xlib's
// handler, which would end the process, never sees them. Every other error
// goes on to the handler that was there before. The filter is set before
// SDL's video starts, so that SDL's own handler passes errors on to it, and
// SDL puts it back, not Xlib's, when it closes its connections at the end
// (errors still on the way are read then).
#include "sdl/internal.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <vector>

namespace platform::detail {
namespace {

XErrorHandler g_previous = nullptr;
bool g_eventsAsked = false;
std::vector<HWND__*> g_watched; // live windows with an X window
std::vector<Window> g_lost;     // kept after the window goes: late errors still name it

HWND__* LiveWindow(Window id) {
    for (HWND__* window : g_watched) {
        if (window->x11Window == id) {
            return window;
        }
    }
    return nullptr;
}

bool Lost(Window id) {
    return std::find(g_lost.begin(), g_lost.end(), id) != g_lost.end();
}

// The window drawn in another program's window, where the program draws so.
HWND__* DrawnInAnother() {
    for (HWND__* window : g_watched) {
        if (window->foreignX11 != 0) {
            return window;
        }
    }
    return nullptr;
}

// The window is gone: its program is asked to close it, once.
void MarkLost(HWND__* window) {
    if (!window->lost) {
        window->lost = true;
        g_lost.push_back(window->x11Window);
        PostInput(window, WM_CLOSE, 0, 0);
    }
}

int PassOverLostWindows(Display* display, XErrorEvent* error) {
    const bool missing = error->error_code == BadWindow || error->error_code == BadDrawable;
    if (missing) {
        if (HWND__* window = LiveWindow(error->resourceid)) {
            MarkLost(window);
            return 0;
        }
        if (Lost(error->resourceid)) {
            return 0;
        }
        // In another program's window SDL also asks about the windows around
        // it (its parent, where it is on the screen), which go with it as
        // that program ends; a missing window then, whichever the error
        // names, is the host's end.
        if (HWND__* window = DrawnInAnother()) {
            MarkLost(window);
            return 0;
        }
    }
    return g_previous != nullptr ? g_previous(display, error) : 0;
}

} // namespace

void FilterLostX11WindowErrors() {
    if (g_previous == nullptr) {
        g_previous = XSetErrorHandler(PassOverLostWindows);
    }
}

void WatchX11Window(HWND__* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window->native, &info) || info.subsystem != SDL_SYSWM_X11) {
        return;
    }
    window->x11Window = info.info.x11.window;
    g_watched.push_back(window);
    if (!g_eventsAsked) {
        g_eventsAsked = true;
        SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    }
}

void UnwatchX11Window(HWND__* window) {
    std::erase(g_watched, window);
}

void NoteX11Event(const SDL_SysWMmsg& message) {
    if (message.subsystem != SDL_SYSWM_X11 || message.msg.x11.event.type != DestroyNotify) {
        return;
    }
    if (HWND__* window = LiveWindow(message.msg.x11.event.xdestroywindow.window)) {
        MarkLost(window);
    }
}

void QueueUnmapOfLostX11Window(HWND__* window) {
    // SDL ends a window it believes shown by unmapping it and waiting for the
    // server's word that it is unmapped; of a destroyed window that word never
    // comes (and SDL's belief is unreliable once the window is gone: it reads
    // the window's state and gets errors). The word is put in its queue first.
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window->lost || (SDL_GetWindowFlags(window->native) & SDL_WINDOW_SHOWN) == 0 ||
        !SDL_GetWindowWMInfo(window->native, &info) || info.subsystem != SDL_SYSWM_X11) {
        return;
    }
    XEvent unmapped{};
    unmapped.xunmap.type = UnmapNotify;
    unmapped.xunmap.display = info.info.x11.display;
    unmapped.xunmap.event = window->x11Window;
    unmapped.xunmap.window = window->x11Window;
    XPutBackEvent(info.info.x11.display, &unmapped);
}

} // namespace platform::detail
