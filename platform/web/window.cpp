// window.cpp - windows as canvases in the page (their classes, records and
// the calls that touch only those are every hosted build's: platform/hosted/).
//
// A window's canvas is its client area at the size asked for; the page has
// no frame around it, so outer and client sizes are the same. A WS_POPUP
// window made while full screen is asked for shows its canvas full screen
// (the page, scaled to the screen). A destroyed window's canvas stays in the
// page, as a still of its last frame, until the next window shows.
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

bool PageHidden() {
    EmscriptenVisibilityChangeEvent visibility{};
    return emscripten_get_visibility_status(&visibility) == EMSCRIPTEN_RESULT_SUCCESS &&
           visibility.hidden != 0;
}

} // namespace detail
} // namespace platform

using namespace platform;

HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                    void* createParams) {
    if (className == nullptr || width <= 0 || height <= 0) {
        return nullptr;
    }
    const WNDPROC procedure = detail::ClassProcedure(className);
    if (procedure == nullptr) {
        return nullptr;
    }
    auto* window = new HWND__(className, procedure, windowName, style, exStyle, width, height);
    window->fullScreen = (style & WS_POPUP) != 0 && detail::FullScreenRequested();
    window->canvas = "tarrow-window-" + std::to_string(g_nextCanvas++);
    tarrow_make_canvas(window->canvas.c_str(), width, height, window->title.c_str());
    detail::AddWindow(window, window);

    CREATESTRUCT create{
        createParams, instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
        windowName,   className, exStyle};
    if (!detail::SendCreation(window, create)) {
        DestroyWindow(window);
        return nullptr;
    }
    return window;
}

BOOL DestroyWindow(HWND handle) {
    HWND__* window = detail::FindWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    SendMessage(window, WM_DESTROY, 0, 0);
    if (detail::FindWindow(handle) == nullptr) {
        return TRUE; // its procedure destroyed it meanwhile
    }
    tarrow_close_canvas(window->canvas.c_str());
    detail::RemoveWindow(window);
    if (detail::NewestWindow() == nullptr && g_awake) {
        g_awake = false;
        tarrow_keep_screen_awake(0);
    }
    delete window;
    return TRUE;
}

BOOL ShowWindow(HWND handle, int command) {
    HWND__* window = detail::FindWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    const BOOL wasVisible = window->shown ? TRUE : FALSE;
    switch (command) {
    case SW_HIDE:
        break; // the page shows the newest window's canvas until another shows
    case SW_MINIMIZE:
        Show(window);
        detail::ReportSize(window, SIZE_MINIMIZED, 0, 0);
        break;
    case SW_MAXIMIZE:
        Show(window);
        detail::ReportSize(window, SIZE_MAXIMIZED, window->clientWidth, window->clientHeight);
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
