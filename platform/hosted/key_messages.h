// key_messages.h - a key pressed or released, as the message the desktop
// API queues for it, for the builds that implement that API themselves.
#pragma once

#include "platform/win32.h"

namespace platform::detail {

// Queues WM_KEYDOWN / WM_KEYUP for the key, or WM_SYSKEYDOWN / WM_SYSKEYUP
// for a system key (Alt itself, F10, or any key with Alt held): those belong
// to the window's default handling, not to the program's key table, so that
// Alt+F4 closes and Alt+F1 does not switch. `scanCode` is 0 where the window
// system gives none.
void PostKey(HWND window, int virtualKey, bool down, bool alt, bool repeat, int scanCode);

} // namespace platform::detail
