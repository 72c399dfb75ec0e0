// default_procedure.cpp - what a window does with a message its procedure
// leaves to the default handling.
#include "platform/win32.h"

LRESULT DefWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(handle);
        return 0;
    case WM_SYSKEYDOWN:
        // Alt+F4 asks the window to close, through its own procedure.
        if (wParam == VK_F4 && (HIWORD(lParam) & KF_ALTDOWN) != 0) {
            SendMessage(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    case WM_SYSCOMMAND:
        if (wParam == SC_CLOSE) {
            SendMessage(handle, WM_CLOSE, 0, 0);
            return 0;
        }
        // Left to themselves, windows let the screen saver and power-down run.
        return (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) ? 1 : 0;
    default:
        return 0;
    }
}
