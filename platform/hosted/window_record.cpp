// window_record.cpp - the desktop API's calls that only read or write a
// window's record: its procedure called at once, its size reported, its
// client area and data slots.
#include "hosted/window_record.h"

#include "hosted/window_registry.h"

namespace platform::detail {

WindowRecord::WindowRecord(WNDPROC procedure, const CREATESTRUCT& create)
    : className(create.lpszClass), procedure(procedure),
      title(create.lpszName != nullptr ? create.lpszName : ""),
      style(static_cast<DWORD>(create.style)), exStyle(create.dwExStyle), clientWidth(create.cx),
      clientHeight(create.cy) {}

void ReportSize(HWND handle, WPARAM kind, int width, int height) {
    WindowRecord* window = FindRecord(handle);
    if (window == nullptr || (kind == window->reportedKind && width == window->reportedWidth &&
                              height == window->reportedHeight)) {
        return;
    }
    window->reportedKind = kind;
    window->reportedWidth = width;
    window->reportedHeight = height;
    if (kind != SIZE_MINIMIZED) {
        window->clientWidth = width;
        window->clientHeight = height;
    }
    SendMessage(handle, WM_SIZE, kind, MAKELPARAM(width, height));
}

bool RefusesScreenSaver(HWND window) {
    const bool saverRefused = SendMessage(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0) == 0;
    const bool powerRefused = SendMessage(window, WM_SYSCOMMAND, SC_MONITORPOWER, 0) == 0;
    return saverRefused || powerRefused;
}

bool SendCreation(HWND handle, const CREATESTRUCT& create) {
    if (SendMessage(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        return false;
    }
    const WindowRecord* window = FindRecord(handle);
    ReportSize(handle, SIZE_RESTORED, window->clientWidth, window->clientHeight);
    return true;
}

} // namespace platform::detail

using namespace platform;

// A window's procedure, called at once: size changes, creation and the
// default handling's requests are sent, not queued.
LRESULT SendMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    detail::WindowRecord* window = detail::FindRecord(handle);
    if (window == nullptr) {
        return 0;
    }
    return window->procedure(handle, message, wParam, lParam);
}

BOOL GetClientRect(HWND handle, RECT* rect) {
    detail::WindowRecord* window = detail::FindRecord(handle);
    if (window == nullptr || rect == nullptr) {
        return FALSE;
    }
    *rect = RECT{0, 0, window->clientWidth, window->clientHeight};
    return TRUE;
}

LONG_PTR GetWindowLongPtr(HWND handle, int index) {
    detail::WindowRecord* window = detail::FindRecord(handle);
    if (window == nullptr) {
        return 0;
    }
    switch (index) {
    case GWL_STYLE:
        return static_cast<LONG_PTR>(window->style);
    case GWLP_USERDATA:
        return window->userData;
    default:
        return 0;
    }
}

LONG_PTR SetWindowLongPtr(HWND handle, int index, LONG_PTR value) {
    detail::WindowRecord* window = detail::FindRecord(handle);
    if (window == nullptr || index != GWLP_USERDATA) {
        return 0;
    }
    const LONG_PTR previous = window->userData;
    window->userData = value;
    return previous;
}
