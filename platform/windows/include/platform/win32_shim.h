// win32_shim.h - the desktop API on Windows: the system's own headers, and
// the little the program needs beyond them.
//
//   - The 64-bit headers name the window's user-data slot GWLP_USERDATA only;
//     the program asks for GWL_USERDATA.
//   - Making a context current also asks for buffer swaps paced by the
//     display's retrace (WGL_EXT_swap_control, where the driver offers it),
//     as the layer on other systems does, so motion counted in frames runs
//     at the display's refresh rate on every build.
//   - A buffer swap first waits for its frame slot where the demo is paced
//     by the clock (frame_pacing.h).
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <GL/gl.h>
#include <GL/glu.h>

#ifndef GWL_USERDATA
#define GWL_USERDATA GWLP_USERDATA
#endif

namespace platform {

// wglMakeCurrent, then swap interval 1 for a context made current for the
// first time.
BOOL PacedMakeCurrent(HDC deviceContext, HGLRC renderingContext);
// SwapBuffers in the demo's frame slot.
BOOL PacedSwapBuffers(HDC deviceContext);

} // namespace platform

#define wglMakeCurrent platform::PacedMakeCurrent
#define SwapBuffers platform::PacedSwapBuffers
