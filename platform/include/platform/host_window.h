// host_window.h - windows of other programs for the demo to draw in: a screen
// saver's (the daemon's window over the screen, a settings dialog's preview)
// or the screen itself.
//
// The handle names the other program's window for the desktop API: the demo
// asks its client size (GetClientRect) and makes its own window as a child of
// it (WS_CHILD), filling that client area. Where the window system lets a
// program draw in another's window directly (X), the child is that window
// itself, so the demo has no window of its own on the server; its size
// follows the host's, and the host's end closes it.
#pragma once

#include "platform/win32.h"

#include <cstdint>
#include <string>

namespace platform {

// The window that the window system numbers `id` (an X window's id, an
// HWND's value on Windows); null where the display has no such window, with
// why in one line.
HWND ForeignWindow(std::uint32_t id, std::string* problem);

// The window that is the whole screen (X's root window); null where the
// desktop has none a program may draw in, with why in one line.
HWND ScreenWindow(std::string* problem);

} // namespace platform
