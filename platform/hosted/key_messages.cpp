// key_messages.cpp - key messages and their lParam.
#include "hosted/key_messages.h"

#include "hosted/message_queues.h"

namespace platform::detail {

void PostKey(HWND window, int virtualKey, bool down, bool alt, bool repeat, int scanCode) {
    // lParam: repeat count 1, the scan code, bit 29 set while Alt is held,
    // bit 30 set when the key was already down (auto-repeat), bits 30 and 31
    // set on release.
    LPARAM parameter = 1 | (static_cast<LPARAM>(scanCode & 0xFF) << 16);
    if (alt) {
        parameter |= static_cast<LPARAM>(KF_ALTDOWN) << 16;
    }
    if (!down) {
        parameter |= LPARAM{3} << 30;
    } else if (repeat) {
        parameter |= LPARAM{1} << 30;
    }
    const bool system = virtualKey == VK_MENU || virtualKey == VK_F10 || alt;
    const UINT message =
        down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    PostInput(window, message, static_cast<WPARAM>(virtualKey), parameter);
}

} // namespace platform::detail
