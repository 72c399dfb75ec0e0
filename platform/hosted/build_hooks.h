// build_hooks.h - where the builds that implement the desktop API themselves
// really differ: the few services the shared code (this folder) asks of the
// build it is part of. Each build defines them once; the files that define
// them never call back into the shared file that calls them.
#pragma once

#include "platform/win32.h"

namespace platform::detail {

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

} // namespace platform::detail
