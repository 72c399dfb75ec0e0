// offscreen.h - the SDL build's offscreen driver, which headless runs
// (platform::RunHeadless) and the tests draw through, and the tests' settings
// of its pretend display: what the desktop API never had. Nothing in the
// frame or the scene calls them.
#pragma once

namespace platform {

// Use the offscreen video driver (EGL, no display needed) whatever the
// environment says. Call before the first window service.
void UseOffscreenDriver();

// The display mode the offscreen driver's pretend display offers (its desktop
// mode); full-screen requests for any other size are refused.
void SetOffscreenDisplayMode(int width, int height);

// Make the display refuse every mode switch at the moment of switching, as a
// driver may refuse a mode it offers: for tests of the refused-switch path.
void RefuseModeSwitches();

} // namespace platform
