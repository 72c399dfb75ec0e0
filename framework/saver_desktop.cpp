// saver_desktop.cpp - the screen saver over the whole desktop, on Windows:
// one pop-up over every monitor, at the desktop's own size.
#include "framework/saver.h"

int RunOverDesktop(HINSTANCE instance) {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const RECT desktop{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                       top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    ShowCursor(FALSE);
    const int status =
        RunSaver(instance, SaverPlacement{nullptr, WS_POPUP, WS_EX_TOPMOST, desktop, true});
    ShowCursor(TRUE);
    return status;
}
