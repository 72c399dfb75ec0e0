// pacing.cpp - buffer swaps paced by the display's retrace, where the driver
// offers WGL_EXT_swap_control, and by the clock where the demo asks.
#include "platform/frame_pacing.h"
#include "platform/win32.h"

#undef wglMakeCurrent
#undef SwapBuffers

namespace platform {

BOOL PacedMakeCurrent(HDC deviceContext, HGLRC renderingContext) {
    // The context being paced; the frame releases it (makes none current)
    // before deleting it, so a new context is always paced afresh.
    static HGLRC paced = nullptr;
    const BOOL made = wglMakeCurrent(deviceContext, renderingContext);
    if (renderingContext == nullptr) {
        paced = nullptr;
    }
    if (made == FALSE || renderingContext == nullptr || renderingContext == paced) {
        return made;
    }
    paced = renderingContext;
    using SwapInterval = BOOL(WINAPI*)(int);
    // Through void*: a PROC is the generic function pointer WGL hands out.
    const auto setInterval = reinterpret_cast<SwapInterval>(
        reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT")));
    if (setInterval != nullptr) {
        setInterval(1);
    }
    return made;
}

BOOL PacedSwapBuffers(HDC deviceContext) {
    WaitForFrameSlot();
    return SwapBuffers(deviceContext);
}

} // namespace platform
