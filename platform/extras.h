// extras.h - services of this platform that the desktop API never had.
//
// The recording tool and the tests run the program headless; these calls set
// that up. Nothing in the frame or the scene calls them.
#pragma once

namespace platform {

// Use the offscreen video driver (EGL, no display needed) whatever the
// environment says. Call before the first window service.
void UseOffscreenDriver();

// Make Sleep return at once: for recording, where frames are not paced.
void DisableSleep();

// The display mode the offscreen driver's pretend display offers (its desktop
// mode); full-screen requests for any other size are refused.
void SetOffscreenDisplayMode(int width, int height);

// Make the display refuse every mode switch at the moment of switching, as a
// driver may refuse a mode it offers: for tests of the refused-switch path.
void RefuseModeSwitches();

} // namespace platform
