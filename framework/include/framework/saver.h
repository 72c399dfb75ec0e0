// saver.h - the demo as a screen saver: drawn in another program's window (a
// saver daemon's over the screen, a settings dialog's preview) or over the
// whole desktop, for as long as the saver runs.
//
// The scene runs as in the demo's own window, seeded by the same rule; only
// the window and what ends the run differ. No key reaches the scene (Escape
// and F1 are the demo's, not a saver's), the display mode stays as it is,
// and the screen saver is never refused.
#pragma once

#include "platform/win32.h"

// Draws in a child window filling the host's client area, following its
// size, until the child is closed (on X, by the signal that ends a display
// mode) or goes with its host. The exit status: 0 once it ran.
int RunInHostWindow(HINSTANCE instance, HWND host);

// Draws in a pop-up window covering the whole desktop at the desktop's own
// size, the cursor hidden, until a key, a click or a real move of the mouse
// (Windows).
int RunOverDesktop(HINSTANCE instance);

// Where the saver's window goes (RunInHostWindow's child, RunOverDesktop's
// pop-up) and whether the user's input ends the run.
struct SaverPlacement {
    HWND parent;
    DWORD style;
    DWORD exStyle;
    RECT area; // in the parent's client area, or on the desktop
    bool endsOnInput;
};
int RunSaver(HINSTANCE instance, const SaverPlacement& placement);
