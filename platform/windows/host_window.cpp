// host_window.cpp - other programs' windows on Windows: an HWND's value is
// the window's number, and the system makes a child of any window.
#include "platform/host_window.h"

namespace platform {

HWND ForeignWindow(std::uint32_t id, std::string* problem) {
    HWND window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(id));
    if (id == 0 || IsWindow(window) == 0) {
        *problem = "no window " + std::to_string(id) + " on this desktop";
        return nullptr;
    }
    return window;
}

HWND ScreenWindow(std::string* problem) {
    *problem = "this desktop's screen is no window to draw in: its screen saver is tarrow.scr";
    return nullptr;
}

} // namespace platform
