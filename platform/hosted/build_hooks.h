// build_hooks.h - where the builds that implement the desktop API themselves
// really differ: the few services the shared code (this folder) asks of the
// build it is part of. Each build defines them once; the files that define
// them never call back into the shared file that calls them.
#pragma once

#include "platform/win32.h"

namespace platform::detail {

struct WindowRecord;

// Turns the window system's events since the last look into messages:
// queued input, and size changes sent at once. PeekMessage and WaitMessage
// call it before they look at the queues.
void PumpEvents();

// Waits until the window system has an event (WaitMessage, once nothing has
// arrived); false where none could ever come.
bool WaitForEvent();

// Wakes a thread waiting in WaitForEvent: a message was posted.
void WakeWaitingThread();

// The number (from 1) of the build's pixel format closest to a GL request,
// the same number for the same format (ChoosePixelFormat).
int PixelFormatNumber(const PIXELFORMATDESCRIPTOR& request);

// A window's life (window_life.cpp): CreateWindowEx and DestroyWindow around
// the window system's side of it.

// Whether the window system can have a window of that outer size now, asked
// before its class is looked up.
bool CanMakeWindow(int width, int height);

// The build's object behind a new window, from its class's procedure and the
// creation's arguments, with its native side prepared (its client size, what
// shows it): all before it is added and gets WM_CREATE. Handle and record
// are the same object.
struct NewWindow {
    HWND handle;
    WindowRecord* record;
};
NewWindow MakeWindow(WNDPROC procedure, const CREATESTRUCT& create);

// A window made: its procedure accepted WM_CREATE.
void WindowMade(HWND window);

// Ends the window system's side of a window that goes, after WM_DESTROY,
// while it is still live.
void ReleaseNativeWindow(HWND window);

// No window is left: what the windows held off while they showed (the
// screen saver, the monitor's power-down) is handed back.
void LastWindowGone();

} // namespace platform::detail
