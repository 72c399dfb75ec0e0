// system.cpp - the display mode, message boxes, the cursor, the tick count
// and sleeping, in a page.
//
// A page has no display modes to switch: a full-screen request always
// succeeds, and the next full-screen window asks the browser to show the page
// full screen (the browser scales it); the desktop's mode is "back" when the
// page leaves full screen. A message box is a line in the page. The program
// may not block the browser, so Sleep's pause is served by the next swap.
#include "platform/headless.h"
#include "platform/web/page.h"
#include "web/browser.h"
#include "web/internal.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <string>

namespace platform {
namespace {

bool g_sleepDisabled = false;
double g_sleepUntil = 0;
int g_cursorCount = 0; // the cursor shows while this is 0 or more
bool g_fullScreenRequested = false;

} // namespace

// A page's canvas is drawn wherever the page is: only the pacing goes.
void RunHeadless() {
    g_sleepDisabled = true;
    detail::UnpacedSwaps();
}

namespace detail {

double TakeSleepDeadline() {
    const double deadline = g_sleepUntil;
    g_sleepUntil = 0;
    return deadline;
}

bool FullScreenRequested() {
    return g_fullScreenRequested;
}

} // namespace detail
} // namespace platform

using namespace platform;

LONG ChangeDisplaySettings(DEVMODE* mode, DWORD flags) {
    if (mode == nullptr) {
        g_fullScreenRequested = false;
        tarrow_full_screen(0);
        return DISP_CHANGE_SUCCESSFUL;
    }
    if ((flags & CDS_FULLSCREEN) == 0) {
        return DISP_CHANGE_FAILED;
    }
    g_fullScreenRequested = true;
    return DISP_CHANGE_SUCCESSFUL;
}

int MessageBox(HWND /*owner*/, LPCSTR text, LPCSTR caption, UINT /*type*/) {
    web::ShowLine(std::string(caption != nullptr ? caption : "") + ": " +
                      (text != nullptr ? text : ""),
                  true);
    return IDOK;
}

int ShowCursor(BOOL show) {
    g_cursorCount += show != FALSE ? 1 : -1;
    tarrow_hide_cursor(g_cursorCount < 0 ? 1 : 0);
    return g_cursorCount;
}

DWORD GetTickCount() {
    // Milliseconds of the page's clock, wrapping at 2^32 as on the desktop.
    return static_cast<DWORD>(static_cast<unsigned long long>(emscripten_get_now()));
}

void Sleep(DWORD milliseconds) {
    if (!g_sleepDisabled) {
        g_sleepUntil = std::max(g_sleepUntil, emscripten_get_now()) + milliseconds;
    }
}
