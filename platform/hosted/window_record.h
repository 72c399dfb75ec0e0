// window_record.h - what a window is to the builds that implement the desktop
// API themselves, over another window system (SDL, a browser page): the part
// of the object behind an HWND that both keep alike, and its device context.
//
// Each build's HWND__ derives from WindowRecord and adds what its own window
// system needs (a native window, a canvas). The shared code sees windows only
// through their handles and these records, never through the build's type.
#pragma once

#include "platform/win32.h"

#include <string>

// A window's device context, the one it always has: it names its window.
struct HDC__ {
    HWND window;
};

namespace platform::detail {

struct WindowRecord {
    // The window as CreateWindowEx makes it: its class's procedure, and its
    // class, title, styles and size from the creation's arguments, the size
    // taken as the client size until the build knows better.
    WindowRecord(WNDPROC procedure, const CREATESTRUCT& create);
    // Ends the build's window object too: the shared code deletes a window
    // through its record (DestroyWindow).
    virtual ~WindowRecord() = default;

    std::string className;
    WNDPROC procedure = nullptr;
    std::string title;
    DWORD style = 0;
    DWORD exStyle = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    LONG_PTR userData = 0;
    HDC__ deviceContext{nullptr}; // names the window from when it is added (AddWindow)
    int pixelFormat = 0;          // 1-based, 0 while none is set
    bool shown = false;
    // The last WM_SIZE sent, so that each change is reported once.
    WPARAM reportedKind = ~WPARAM{0};
    int reportedWidth = -1;
    int reportedHeight = -1;
};

// Sends WM_SIZE when the kind or the client size differs from the last one
// sent; a size that is not a minimised window's is the client size from then on.
void ReportSize(HWND window, WPARAM kind, int width, int height);

// Whether the window's procedure refuses the screen saver or the monitor's
// power-down (answers 0 to SC_SCREENSAVE or SC_MONITORPOWER), as a window is
// asked when it first shows.
bool RefusesScreenSaver(HWND window);

// Ends CreateWindowEx once the window is added: WM_CREATE with the creation's
// arguments, then, as on the desktop API, the client size reported. False when
// the procedure refuses creation (-1): the caller destroys the window.
bool SendCreation(HWND window, const CREATESTRUCT& create);

} // namespace platform::detail
