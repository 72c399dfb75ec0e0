// window_registry.h - the window classes registered and the windows alive, for
// the builds that implement the desktop API themselves.
//
// The registry keeps each live window's handle with its WindowRecord, in the
// order the windows were made; a build finds its own window object from the
// handle (its FindWindow), as the registry never sees the build's type.
#pragma once

#include "hosted/window_record.h"

#include <vector>

namespace platform::detail {

// The procedure of the class registered under that name, null for none.
WNDPROC ClassProcedure(LPCSTR className);

// A window is live from AddWindow, as it is made, until RemoveWindow, as it
// goes, which also drops the messages still queued for it; its device context
// names it from AddWindow on.
void AddWindow(HWND window, WindowRecord* record);
void RemoveWindow(HWND window);
WindowRecord* FindRecord(HWND window); // null when the handle is not a live window
std::vector<HWND> LiveWindows(); // oldest first; a copy, as procedures may make or end windows
HWND NewestWindow();             // null while there is none

} // namespace platform::detail
