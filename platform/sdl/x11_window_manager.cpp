// x11_window_manager.cpp - what the layer asks of an X11 window manager and
// server: the size of the frame the manager puts around a decorated window,
// the class name a window is listed under, and a window's end that leaves
// nothing behind on the server; and the full-screen state of a window shown
// in a mode the layer set itself.
//
// The frame is learned before any decorated window is made, so that outer
// sizes can be turned into client sizes from the start: an unmapped probe
// window asks the manager for its frame (_NET_REQUEST_FRAME_EXTENTS) and reads
// the answer. Without a manager, or one that does not answer, there is no
// frame.
#include "sdl/internal.h"
#include "x11/x11_error_trap.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <chrono>
#include <string>

namespace platform::detail {
namespace {

constexpr auto kManagerAnswerLimit = std::chrono::milliseconds(2000);

bool ManagerSupports(Display* display, Atom feature) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const Atom supported = XInternAtom(display, "_NET_SUPPORTED", False);
    if (XGetWindowProperty(display, DefaultRootWindow(display), supported, 0, 4096, False, XA_ATOM,
                           &type, &format, &count, &remaining, &data) != Success ||
        data == nullptr) {
        return false;
    }
    const auto* atoms = reinterpret_cast<const Atom*>(data);
    bool found = false;
    for (unsigned long i = 0; i < count && !found; ++i) {
        found = atoms[i] == feature;
    }
    XFree(data);
    return found;
}

bool ReadExtents(Display* display, Window window, Atom property, FrameExtents* out) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 4, False, XA_CARDINAL, &type, &format,
                           &count, &remaining, &data) != Success ||
        data == nullptr) {
        return false;
    }
    const bool complete = count == 4;
    if (complete) {
        const auto* values = reinterpret_cast<const long*>(data);
        *out = FrameExtents{static_cast<int>(values[0]), static_cast<int>(values[2]),
                            static_cast<int>(values[1]), static_cast<int>(values[3])};
    }
    XFree(data);
    return complete;
}

bool WaitForProperty(Display* display, Window window, Atom property) {
    const auto deadline = std::chrono::steady_clock::now() + kManagerAnswerLimit;
    while (std::chrono::steady_clock::now() < deadline) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == PropertyNotify && event.xproperty.window == window &&
                event.xproperty.atom == property) {
                return true;
            }
        }
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, 50);
    }
    return false;
}

} // namespace

FrameExtents ProbeX11FrameExtents() {
    FrameExtents extents;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return extents;
    }
    const Atom request = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
    const Atom frame = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
    if (ManagerSupports(display, request)) {
        const Window root = DefaultRootWindow(display);
        const Window probe = XCreateSimpleWindow(display, root, 0, 0, 64, 64, 0, 0, 0);
        XSelectInput(display, probe, PropertyChangeMask);
        XEvent ask{};
        ask.xclient.type = ClientMessage;
        ask.xclient.window = probe;
        ask.xclient.message_type = request;
        ask.xclient.format = 32;
        XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &ask);
        XFlush(display);
        if (!ReadExtents(display, probe, frame, &extents) &&
            WaitForProperty(display, probe, frame)) {
            ReadExtents(display, probe, frame, &extents);
        }
        XDestroyWindow(display, probe);
    }
    XCloseDisplay(display);
    return extents;
}

void SetX11ClassHint(SDL_Window* native, const char* className) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(native, &info) || info.subsystem != SDL_SYSWM_X11) {
        return;
    }
    std::string name = className;
    XClassHint hint{name.data(), name.data()};
    XSetClassHint(info.info.x11.display, info.info.x11.window, &hint);
}

void DestroyX11Window(SDL_Window* native) {
    // SDL gives every window a colormap of its own for the GL visual and
    // leaves it on the server when the window goes: one more for every
    // window made, every F1 switch. It is freed here, after the window; an
    // SDL that frees it itself makes the free a harmless error, ignored.
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    XWindowAttributes attributes{};
    const bool x11 =
        SDL_GetWindowWMInfo(native, &info) && info.subsystem == SDL_SYSWM_X11 &&
        XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &attributes) != 0;
    SDL_DestroyWindow(native);
    if (!x11 || attributes.colormap == None ||
        attributes.colormap == DefaultColormapOfScreen(attributes.screen)) {
        return;
    }
    x11::ErrorTrap trap(info.info.x11.display);
    XFreeColormap(info.info.x11.display, attributes.colormap);
}

void MarkX11FullScreen(SDL_Window* native) {
    // Before a window is first shown its state is a property, which the
    // window manager reads when it takes the window on.
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(native, &info) || info.subsystem != SDL_SYSWM_X11) {
        return;
    }
    Display* display = info.info.x11.display;
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    XChangeProperty(display, info.info.x11.window, state, XA_ATOM, 32, PropModeAppend,
                    reinterpret_cast<const unsigned char*>(&fullScreen), 1);
}

} // namespace platform::detail
