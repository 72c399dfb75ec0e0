// window.cpp - window classes, and windows as canvases in the page.
//
// A window's canvas is its client area at the size asked for; the page has
// no frame around it, so outer and client sizes are the same. A WS_POPUP
// window made while full screen is asked for shows its canvas full screen
// (the page, scaled to the screen). A destroyed window's canvas stays in the
// page, as a still of its last frame, until the next window shows.
#include "platform/web/browser.h"
#include "platform/web/internal.h"

#include <emscripten/html5.h>

#include <algorithm>
#include <map>
#include <string>

namespace platform {
namespace {

struct WindowClass {
    WNDPROC procedure;
    HINSTANCE instance;
};

std::map<std::string, WindowClass> g_classes;
std::vector<HWND__*> g_windows;
ATOM g_nextAtom = 0xC000;
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
    const bool saverRefused = SendMessage(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0) == 0;
    const bool powerRefused = SendMessage(window, WM_SYSCOMMAND, SC_MONITORPOWER, 0) == 0;
    if ((saverRefused || powerRefused) && !g_awake) {
        g_awake = true;
        tarrow_keep_screen_awake(1);
    }
}

} // namespace

namespace detail {

const std::vector<HWND__*>& Windows() {
    return g_windows;
}

HWND__* FindWindow(HWND window) {
    const auto found = std::find(g_windows.begin(), g_windows.end(), window);
    return found == g_windows.end() ? nullptr : *found;
}

HWND__* KeyboardWindow() {
    return g_windows.empty() ? nullptr : g_windows.back();
}

void ReportSize(HWND__* window, WPARAM kind, int width, int height) {
    if (kind == window->reportedKind && width == window->reportedWidth &&
        height == window->reportedHeight) {
        return;
    }
    window->reportedKind = kind;
    window->reportedWidth = width;
    window->reportedHeight = height;
    SendMessage(window, WM_SIZE, kind, MAKELPARAM(width, height));
}

bool PageHidden() {
    EmscriptenVisibilityChangeEvent visibility{};
    return emscripten_get_visibility_status(&visibility) == EMSCRIPTEN_RESULT_SUCCESS &&
           visibility.hidden != 0;
}

} // namespace detail
} // namespace platform

using namespace platform;

HINSTANCE GetModuleHandle(LPCSTR /*moduleName*/) {
    static char module;
    return reinterpret_cast<HINSTANCE>(&module);
}

ATOM RegisterClassEx(const WNDCLASSEX* windowClass) {
    if (windowClass == nullptr || windowClass->lpszClassName == nullptr ||
        windowClass->lpfnWndProc == nullptr) {
        return 0;
    }
    const auto [entry, added] = g_classes.try_emplace(
        windowClass->lpszClassName, WindowClass{windowClass->lpfnWndProc, windowClass->hInstance});
    return added ? g_nextAtom++ : 0;
}

BOOL UnregisterClass(LPCSTR className, HINSTANCE /*instance*/) {
    if (className == nullptr) {
        return FALSE;
    }
    const bool inUse = std::any_of(g_windows.begin(), g_windows.end(),
                                   [&](HWND__* window) { return window->className == className; });
    return !inUse && g_classes.erase(className) == 1 ? TRUE : FALSE;
}

HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                    void* createParams) {
    if (className == nullptr || width <= 0 || height <= 0) {
        return nullptr;
    }
    const auto found = g_classes.find(className);
    if (found == g_classes.end()) {
        return nullptr;
    }
    auto* window = new HWND__;
    window->className = className;
    window->procedure = found->second.procedure;
    window->title = windowName != nullptr ? windowName : "";
    window->style = style;
    window->exStyle = exStyle;
    window->clientWidth = width;
    window->clientHeight = height;
    window->fullScreen = (style & WS_POPUP) != 0 && detail::FullScreenRequested();
    window->canvas = "tarrow-window-" + std::to_string(g_nextCanvas++);
    tarrow_make_canvas(window->canvas.c_str(), width, height, window->title.c_str());
    g_windows.push_back(window);

    CREATESTRUCT create{
        createParams, instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
        windowName,   className, exStyle};
    if (SendMessage(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(window);
        return nullptr;
    }
    // As on the desktop API, creation ends by reporting the client size.
    detail::ReportSize(window, SIZE_RESTORED, window->clientWidth, window->clientHeight);
    return window;
}

BOOL DestroyWindow(HWND handle) {
    HWND__* window = detail::FindWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    SendMessage(window, WM_DESTROY, 0, 0);
    tarrow_close_canvas(window->canvas.c_str());
    detail::PurgeMessages(window);
    g_windows.erase(std::find(g_windows.begin(), g_windows.end(), window));
    if (g_windows.empty() && g_awake) {
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

BOOL GetClientRect(HWND handle, RECT* rect) {
    HWND__* window = detail::FindWindow(handle);
    if (window == nullptr || rect == nullptr) {
        return FALSE;
    }
    *rect = RECT{0, 0, window->clientWidth, window->clientHeight};
    return TRUE;
}

LONG_PTR GetWindowLongPtr(HWND handle, int index) {
    HWND__* window = detail::FindWindow(handle);
    if (window == nullptr) {
        return 0;
    }
    switch (index) {
    case GWL_STYLE:
        return static_cast<LONG_PTR>(window->style);
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(window->exStyle);
    case GWLP_USERDATA:
        return window->userData;
    default:
        return 0;
    }
}

LONG_PTR SetWindowLongPtr(HWND handle, int index, LONG_PTR value) {
    HWND__* window = detail::FindWindow(handle);
    if (window == nullptr || index != GWLP_USERDATA) {
        return 0;
    }
    const LONG_PTR previous = window->userData;
    window->userData = value;
    return previous;
}
