// window.cpp - windows over SDL (their classes, records, the steps of their
// life and the calls that touch only those are every hosted build's:
// platform/hosted/).
//
// A window exists for the program from CreateWindowEx on; the SDL window
// behind it is made later, when its pixel format is set (the GL surface is
// chosen with the native window) or, for a window without GL, when it is first
// shown. Sizes handed in are outer sizes with the frame's top-left corner at
// the given position; the client area is what remains inside the window
// manager's frame.
#include "hosted/build_hooks.h"
#include "sdl/internal.h"

#include <algorithm>

namespace platform {
namespace {

// Why the screen saver is held off, as the desktop shows it.
constexpr char kScreenSaverReason[] = "Showing a real-time animation";

bool g_quitPending = false; // asked for while no window existed

// A quit request closes every window, through the program's own close path,
// so that it ends as when the user closes it and hands the display mode back.
// One that comes while no window exists is kept for the next window.
void DeliverPendingQuit() {
    if (g_quitPending && detail::NewestWindow() != nullptr) {
        g_quitPending = false;
        for (HWND window : detail::LiveWindows()) {
            detail::PostInput(window, WM_CLOSE, 0, 0);
        }
    }
}

bool Has(DWORD styles, DWORD style) {
    return (styles & style) == style;
}

void SetGlAttributes(const GlFormat& format) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, format.redBits);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, format.greenBits);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, format.blueBits);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, format.alphaBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, format.depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, format.stencilBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, format.doubleBuffer);
}

// Shows the window. The first time, it asks whether the screen saver and the
// monitor's power-down may start: a procedure answering 0 refuses them. The
// size the window system gives the window as it shows is not reported here:
// the program sets its view up for the size it asked for once the window
// shows, and a size reported before that would be overridden. It is reported
// from the message loop instead (ReportChangedSizes), before the next frame.
void ShowNative(HWND__* window) {
    if (window->native == nullptr && !detail::RealizeWindow(window, nullptr)) {
        return;
    }
    if (window->foreignX11 == 0) { // another program's window shows as that program decides
        SDL_ShowWindow(window->native);
    }
    if (window->shown) {
        return;
    }
    window->shown = true;
    if (detail::RefusesScreenSaver(window)) {
        // The desktop lists who holds its screen saver off, and why: the
        // window's title names the program.
        SDL_SetHint(SDL_HINT_APP_NAME, window->title.c_str());
        SDL_SetHint(SDL_HINT_SCREENSAVER_INHIBIT_ACTIVITY_NAME, kScreenSaverReason);
        SDL_DisableScreenSaver();
    }
}

} // namespace

namespace detail {

bool IsDecorated(DWORD style) {
    return !Has(style, WS_POPUP) && (Has(style, WS_CAPTION) || Has(style, WS_THICKFRAME));
}

FrameExtents DecoratedFrameExtents() {
    static bool learned = false;
    static FrameExtents extents;
    if (!learned && EnsureVideo()) {
        learned = true;
        if (IsX11()) {
            extents = ProbeX11FrameExtents();
        }
    }
    return extents;
}

void RequestQuit() {
    g_quitPending = true;
    DeliverPendingQuit();
}

HWND__* FindWindow(HWND window) {
    return static_cast<HWND__*>(FindRecord(window));
}

HWND__* WindowFromNative(Uint32 nativeId) {
    for (HWND window : LiveWindows()) {
        if (window->native != nullptr && SDL_GetWindowID(window->native) == nativeId) {
            return window;
        }
    }
    return nullptr;
}

HWND__* KeyboardWindow() {
    SDL_Window* focus = SDL_GetKeyboardFocus();
    if (focus != nullptr) {
        if (HWND__* window = WindowFromNative(SDL_GetWindowID(focus))) {
            return window;
        }
    }
    // Without a focus (the offscreen driver has none) input goes to the
    // newest window.
    return NewestWindow();
}

bool RealizeWindow(HWND__* window, const GlFormat* format) {
    if (Has(window->style, WS_CHILD)) {
        return RealizeInHost(window, format);
    }
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (format != nullptr) {
        SetGlAttributes(*format);
        flags |= SDL_WINDOW_OPENGL;
    }
    if (!IsDecorated(window->style)) {
        flags |= SDL_WINDOW_BORDERLESS;
    }
    if (Has(window->style, WS_THICKFRAME)) {
        flags |= SDL_WINDOW_RESIZABLE;
    }
    if (Has(window->exStyle, WS_EX_TOPMOST)) {
        flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    }
    const bool sdlSetsMode = window->fullScreen && window->fullScreen->sdlSetsMode;
    if (sdlSetsMode) {
        flags |= SDL_WINDOW_FULLSCREEN;
    }
    window->native = SDL_CreateWindow(window->title.c_str(), window->x, window->y,
                                      window->clientWidth, window->clientHeight, flags);
    if (window->native == nullptr) {
        return false;
    }
    if (sdlSetsMode) {
        SDL_SetWindowDisplayMode(window->native, &window->fullScreen->mode);
        ShowsSdlMode(window->native);
    }
    if (IsX11()) {
        WatchX11Window(window);
        SetX11ClassHint(window->native, window->className.c_str());
        if (window->fullScreen && !sdlSetsMode) {
            // The mode is set already: a window covering the screen, which
            // the window manager is asked to keep full screen.
            MarkX11FullScreen(window->native);
        }
    }
    return true;
}

bool CanMakeWindow(int /*width*/, int /*height*/) {
    return EnsureVideo();
}

NewWindow MakeWindow(WNDPROC procedure, const CREATESTRUCT& create) {
    auto* window = new HWND__(procedure, create);
    window->x = create.x;
    window->y = create.y;
    const FullScreenMode* fullScreen = FullScreenRequest();
    const HWND__* parent = create.hwndParent != nullptr ? FindWindow(create.hwndParent) : nullptr;
    if (Has(window->style, WS_CHILD) && parent != nullptr && parent->host) {
        window->foreignX11 = parent->foreignX11; // drawn in the host, at the size asked
    } else if ((window->style & WS_POPUP) != 0 && fullScreen != nullptr) {
        window->fullScreen = *fullScreen;
        window->clientWidth = fullScreen->mode.w;
        window->clientHeight = fullScreen->mode.h;
    } else if (IsDecorated(window->style)) {
        const FrameExtents frame = DecoratedFrameExtents();
        window->clientWidth = std::max(1, create.cx - frame.left - frame.right);
        window->clientHeight = std::max(1, create.cy - frame.top - frame.bottom);
    }
    return NewWindow{window, window};
}

// A quit asked for while no window existed closes the first one made.
void WindowMade(HWND /*window*/) {
    DeliverPendingQuit();
}

void ReleaseNativeWindow(HWND handle) {
    HWND__* window = FindWindow(handle);
    if (window->native == nullptr) {
        return;
    }
    NoLongerShowsSdlMode(window->native);
    if (window->foreignX11 != 0) { // the host's window stays, as its program left it
        UnwatchX11Window(window);
        SDL_DestroyWindow(window->native);
    } else if (IsX11()) {
        QueueUnmapOfLostX11Window(window);
        UnwatchX11Window(window);
        DestroyX11Window(window->native);
    } else {
        SDL_DestroyWindow(window->native);
    }
}

void LastWindowGone() {
    SDL_EnableScreenSaver();
}

void ReportChangedSizes() {
    // A procedure may make or end windows: each is looked up as its turn comes.
    for (HWND window : LiveWindows()) {
        if (FindWindow(window) == nullptr || !window->shown ||
            window->reportedKind == SIZE_MINIMIZED ||
            (SDL_GetWindowFlags(window->native) & SDL_WINDOW_MINIMIZED) != 0) {
            continue;
        }
        int width = 0;
        int height = 0;
        SDL_GetWindowSize(window->native, &width, &height);
        ReportSize(window, window->reportedKind, width, height);
    }
}

} // namespace detail
} // namespace platform

using namespace platform;

BOOL ShowWindow(HWND handle, int command) {
    HWND__* window = detail::FindWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    const BOOL wasVisible =
        window->native != nullptr && (SDL_GetWindowFlags(window->native) & SDL_WINDOW_SHOWN) != 0;
    switch (command) {
    case SW_MINIMIZE:
        ShowNative(window);
        SDL_MinimizeWindow(window->native);
        detail::ReportSize(window, SIZE_MINIMIZED, 0, 0);
        break;
    case SW_RESTORE:
        ShowNative(window);
        SDL_RestoreWindow(window->native);
        detail::ReportSize(window, SIZE_RESTORED, window->clientWidth, window->clientHeight);
        break;
    default:
        ShowNative(window);
        break;
    }
    return wasVisible;
}

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL /*hasMenu*/, DWORD /*exStyle*/) {
    if (rect == nullptr) {
        return FALSE;
    }
    if (detail::IsDecorated(style)) {
        const detail::FrameExtents frame = detail::DecoratedFrameExtents();
        rect->left -= frame.left;
        rect->top -= frame.top;
        rect->right += frame.right;
        rect->bottom += frame.bottom;
    }
    return TRUE;
}
