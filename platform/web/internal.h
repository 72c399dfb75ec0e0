// internal.h - what the files of the browser's platform share: the window
// object behind an HWND (the record every hosted build keeps, with its
// canvas), the rendering context behind HGLRC, and the few services one file
// offers another. Only files of this folder include it.
#pragma once

#include "hosted/message_queues.h"
#include "hosted/window_record.h"
#include "hosted/window_registry.h"
#include "platform/win32.h"

#include <string>

namespace gl11 {
struct Context;
}

struct HGLRC__ {
    gl11::Context* context;
};

struct HWND__ : platform::detail::WindowRecord {
    using WindowRecord::WindowRecord;

    std::string canvas;      // the canvas's element id, "tarrow-window-N"
    bool fullScreen = false; // a WS_POPUP window while full screen is asked for
};

namespace platform::detail {

// Windows.
HWND__* FindWindow(HWND window); // null when the handle is not a live window
HWND__* KeyboardWindow();        // the newest window: the one on the page
bool PageHidden();

// Full screen: asked for by a display-mode request, taken by the next
// WS_POPUP window when it shows.
bool FullScreenRequested();

// Swaps give the browser its turn without waiting for an animation frame.
void UnpacedSwaps();

// Keys: the desktop's virtual-key code of a KeyboardEvent.code, 0 for none.
int VirtualKeyFromCode(const char* code);

// Where the pauses asked of Sleep since the last swap end (emscripten_get_now's
// milliseconds, 0 for none), forgetting them: the swap serves them.
double TakeSleepDeadline();

} // namespace platform::detail
