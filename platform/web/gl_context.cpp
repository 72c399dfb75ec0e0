// gl_context.cpp - pixel formats, GL rendering contexts and the buffer swap.
//
// A rendering context is the GL 1.1 layer's, on the window's canvas; it draws
// with the depth the pixel format asks for (16 bits here, exactly), colour
// always 8 bits a channel. The swap shows the frame on the canvas and gives
// the browser its turn: until the next animation frame, so that the demo runs
// at the display's rate as it does where the driver waits for the retrace,
// or, for runs that are not paced, only until the browser has looked at its
// events. A pause the program asked of Sleep ends before the swap returns.
#include "gl11/surface.h"
#include "hosted/build_hooks.h"
#include "hosted/pixel_formats.h"
#include "platform/web/page.h"
#include "web/browser.h"
#include "web/internal.h"

namespace platform {
namespace {

detail::PixelFormats<int> g_depthBits; // a format is the depth bits it asks for
bool g_paced = true;

int DepthBitsOf(int format) {
    const int* depth = g_depthBits.Find(format);
    return depth != nullptr ? *depth : 0;
}

} // namespace

namespace detail {

int PixelFormatNumber(const PIXELFORMATDESCRIPTOR& request) {
    return g_depthBits.Number(request.cDepthBits <= 16 ? 16 : 24);
}

void UnpacedSwaps() {
    g_paced = false;
}

} // namespace detail
} // namespace platform

using namespace platform;

BOOL SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR* /*request*/) {
    HWND__* window = deviceContext != nullptr ? detail::FindWindow(deviceContext->window) : nullptr;
    // A window's format is set once.
    if (window == nullptr || DepthBitsOf(format) == 0 || window->pixelFormat != 0) {
        return FALSE;
    }
    window->pixelFormat = format;
    return TRUE;
}

HGLRC wglCreateContext(HDC deviceContext) {
    HWND__* window = deviceContext != nullptr ? detail::FindWindow(deviceContext->window) : nullptr;
    if (window == nullptr || window->pixelFormat == 0) {
        return nullptr;
    }
    gl11::Context* context =
        gl11::CreateCanvasContext(("#" + window->canvas).c_str(), window->clientWidth,
                                  window->clientHeight, DepthBitsOf(window->pixelFormat));
    return context != nullptr ? new HGLRC__{context} : nullptr;
}

BOOL wglMakeCurrent(HDC deviceContext, HGLRC renderingContext) {
    if (renderingContext == nullptr) {
        gl11::MakeCurrent(nullptr);
        return TRUE;
    }
    if (deviceContext == nullptr || detail::FindWindow(deviceContext->window) == nullptr) {
        return FALSE;
    }
    gl11::MakeCurrent(renderingContext->context);
    return TRUE;
}

BOOL wglDeleteContext(HGLRC renderingContext) {
    if (renderingContext == nullptr) {
        return FALSE;
    }
    gl11::DestroyContext(renderingContext->context);
    delete renderingContext;
    return TRUE;
}

BOOL SwapBuffers(HDC deviceContext) {
    HWND__* window = deviceContext != nullptr ? detail::FindWindow(deviceContext->window) : nullptr;
    gl11::Context* context = gl11::CurrentContext();
    if (window == nullptr || context == nullptr) {
        return FALSE;
    }
    gl11::Present(context);
    tarrow_yield_to_browser(g_paced ? 1 : 0, detail::TakeSleepDeadline());
    return TRUE;
}
