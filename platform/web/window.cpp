// window.cpp - windows as canvases in the page (their classes, records, the
// steps of their life and the calls that touch only those are every hosted
// build's: platform/hosted/).
//
// A window's canvas is its client area at the size asked for; the page has
// no frame around it, so outer and client sizes are the same. A WS_POPUP
// window made while full screen is asked for shows its canvas full screen
// (the page, scaled to the screen). A destroyed window's canvas stays in the
// page, as a still of its last frame, until the next window shows.
#include "hosted/build_hooks.h"
#include "web/browser.h"
#include "web/internal.h"

#include <emscripten/html5.h>

#include <string>

namespace platform {
namespace {

int g_nextCanvas = 1;
bool g_awake = false;

// Shows the window. The first time, it reports the window's size, as the
// first show does on the desktop API, and asks whether the screen saver and
// the monitor's power-down may start: a procedure answering 0 refuses them,
// and the page then asks the browser to keep the screen on.
void Show(HWND__* window) {
    tarrow_show_canvas(window->canvas.c_str());
    if (window->shown) {
        return;
    }
    window->shown = true;
    if (window->fullScreen) {
        tarrow_full_screen(1);
    }
    if (detail::PageHidden()) {
        detail::ReportSize(window, SIZE_MINIMIZED, 0, 0);
    } else {
        detail::ReportSize(window, SIZE_RESTORED, window->clientWidth, window->clientHeight);
    }
    if (detail::RefusesScreenSaver(window) && !g_awake) {
        g_awake = true;
        tarrow_keep_screen_awake(1);
    }
}

} // namespace

namespace detail {

HWND__* FindWindow(HWND window) {
    return static_cast<HWND__*>(FindRecord(window));
}

HWND__* KeyboardWindow() {
    return NewestWindow();
}

bool CanMakeWindow(int width, int height) {
    return width > 0 && height > 0;
}

NewWindow MakeWindow(WNDPROC procedure, const CREATESTRUCT& create) {
    auto* window = new HWND__(procedure, create);
    window->fullScreen = (window->style & WS_POPUP) != 0 && FullScreenRequested();
    window->canvas = "tarrow-window-" + std::to_string(g_nextCanvas++);
    tarrow_make_canvas(window->canvas.c_str(), create.cx, create.cy, window->title.c_str());
    return NewWindow{window, window};
}

void WindowMade(HWND /*window*/) {} // nothing waits on the page for a window

void ReleaseNativeWindow(HWND handle) {
    tarrow_close_canvas(FindWindow(handle)->canvas.c_str());
}

void LastWindowGone() {
    if (g_awake) {
        g_awake = false;
        tarrow_keep_screen_awake(0);
    }
}

bool PageHidden() {
    EmscriptenVisibilityChangeEvent visibility{};
    return emscripten_get_visibility_status(&visibility) == EMSCRIPTEN_RESULT_SUCCESS &&
           visibility.hidden != 0;
}

} // namespace detail
} // namespace platform

using namespace platform;

BOOL ShowWindow(HWND handle, int command) {
    HWND__* window = detail::FindWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    const BOOL wasVisible = window->shown ? TRUE : FALSE;
    switch (command) {
    case SW_MINIMIZE:
        Show(window);
        detail::ReportSize(window, SIZE_MINIMIZED, 0, 0);
        break;
    default:
        Show(window);
        break;
    }
    return wasVisible;
}

BOOL AdjustWindowRectEx(RECT* rect, DWORD /*style*/, BOOL /*hasMenu*/, DWORD /*exStyle*/) {
    return rect != nullptr ? TRUE : FALSE; // a canvas has no frame
}
