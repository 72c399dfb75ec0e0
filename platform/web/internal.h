// internal.h - what the files of the browser's platform share: the window
// object behind an HWND (a canvas), the device and rendering contexts behind
// HDC and HGLRC, and the few services one file offers another. Only files of
// this folder include it.
#pragma once

#include "platform/win32.h"

#include <string>
#include <vector>

namespace gl11 {
struct Context;
}

struct HDC__ {
    HWND__* window;
};

struct HGLRC__ {
    gl11::Context* context;
};

struct HWND__ {
    std::string className;
    WNDPROC procedure = nullptr;
    std::string title;
    DWORD style = 0;
    DWORD exStyle = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    LONG_PTR userData = 0;
    HDC__ deviceContext{this};
    int pixelFormat = 0; // 1-based, 0 while none is set
    std::string canvas;  // the canvas's element id, "tarrow-window-N"
    bool shown = false;
    bool fullScreen = false; // a WS_POPUP window while full screen is asked for
    // The last WM_SIZE sent, so that each change is reported once.
    WPARAM reportedKind = ~WPARAM{0};
    int reportedWidth = -1;
    int reportedHeight = -1;
};

namespace platform::detail {

// Windows.
HWND__* FindWindow(HWND window); // null when the handle is not a live window
const std::vector<HWND__*>& Windows();
HWND__* KeyboardWindow(); // the newest window: the one on the page
// Sends WM_SIZE when the kind or the client size differs from the last one sent.
void ReportSize(HWND__* window, WPARAM kind, int width, int height);
bool PageHidden();

// Pixel formats chosen so far (1-based index): the depth bits asked for.
int DepthBitsOf(int format);

// Full screen: asked for by a display-mode request, taken by the next
// WS_POPUP window when it shows.
bool FullScreenRequested();

// Message queue.
void PostInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PurgeMessages(HWND window);
// Turns the browser's events since the last look into messages.
void PumpEvents();
bool EventsWaiting();

// Keys: the desktop's virtual-key code of a KeyboardEvent.code, 0 for none.
int VirtualKeyFromCode(const char* code);

// Where the pauses asked of Sleep since the last swap end (emscripten_get_now's
// milliseconds, 0 for none), forgetting them: the swap serves them.
double TakeSleepDeadline();

} // namespace platform::detail
