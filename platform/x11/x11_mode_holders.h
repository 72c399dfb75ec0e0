// x11_mode_holders.h - one switched display mode shared by every program
// that holds it on an X server.
//
// Two demos may be full screen at once. The desktop's own setting must come
// back once, when the last of them lets go, however each one ends, and a
// program still full screen keeps its mode when another ends. So the state
// lives on the server itself, as two properties of the root window, read and
// written only with the server grabbed:
//   _TARROW_DESKTOP_MODE  the first holder's switch (Describe), whose desktop
//                         side is the setting to come back to
//   _TARROW_MODE_HOLDERS  the holders: each a window that its program keeps
//                         on a connection of its own, which the server
//                         destroys when that program goes, however it goes
// A holder whose window is gone no longer counts: its program is gone.
//
// Used by the program, which takes the mode and hands it back itself, and by
// its watcher, which hands it back for a program that could not.
#pragma once

#include "x11/x11_display_mode.h"

namespace platform::x11 {

// A window standing for this program among the holders, made on `display`;
// it lasts as long as that connection.
Window MakeHolder(Display* display);

// Sets the switch's mode for its holder. The first holder saves the desktop's
// setting; a later one takes the saved setting as its desktop (`change` is
// updated). False where the server refused the mode: the holder is then
// taken off again, and the desktop's setting put back where no one else
// holds the mode.
bool TakeMode(Display* display, ModeSwitch* change);

// Takes the switch's holder off. Where no other holder is left, the desktop's
// saved setting comes back; with `unlessChangedSince`, only if the output
// still shows the holder's mode, so that a mode someone else set since is
// left as it is.
void HandBackMode(Display* display, const ModeSwitch& change, bool unlessChangedSince);

} // namespace platform::x11
