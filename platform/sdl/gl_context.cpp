// gl_context.cpp - pixel formats and GL rendering contexts.
//
// A pixel format request is mapped to the closest surface the driver can be
// asked for: byte-sized colour channels (32 or 24 colour bits give 8 bits a
// channel, as the desktop API's formats do; an alpha request of any size gets
// 8 bits), and the depth and stencil sizes exactly as asked. The depth size
// matters: a 16-bit depth buffer is part of how the scene looks. Setting the
// format makes the native window, whose visual depends on it.
#include "hosted/build_hooks.h"
#include "hosted/pixel_formats.h"
#include "platform/frame_pacing.h"
#include "sdl/internal.h"

namespace platform {
namespace {

detail::PixelFormats<GlFormat> g_formats;

GlFormat FormatFor(const PIXELFORMATDESCRIPTOR& request) {
    GlFormat format{};
    if (request.cColorBits <= 16) {
        format.redBits = 5;
        format.greenBits = 6;
        format.blueBits = 5;
    } else {
        format.redBits = 8;
        format.greenBits = 8;
        format.blueBits = 8;
    }
    format.alphaBits = request.cAlphaBits > 0 ? 8 : 0;
    format.depthBits = request.cDepthBits;
    format.stencilBits = request.cStencilBits;
    format.doubleBuffer = (request.dwFlags & PFD_DOUBLEBUFFER) != 0 ? 1 : 0;
    return format;
}

SDL_Window* NativeOf(HDC deviceContext) {
    if (deviceContext == nullptr) {
        return nullptr;
    }
    HWND__* window = detail::FindWindow(deviceContext->window);
    return window != nullptr ? window->native : nullptr;
}

} // namespace

namespace detail {

int PixelFormatNumber(const PIXELFORMATDESCRIPTOR& request) {
    return g_formats.Number(FormatFor(request));
}

} // namespace detail
} // namespace platform

using namespace platform;

BOOL SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR* /*request*/) {
    HWND__* window = deviceContext != nullptr ? detail::FindWindow(deviceContext->window) : nullptr;
    const GlFormat* chosen = g_formats.Find(format);
    // A window's format is set once, before it is first shown.
    if (window == nullptr || chosen == nullptr || window->pixelFormat != 0 ||
        window->native != nullptr) {
        return FALSE;
    }
    if (!detail::RealizeWindow(window, chosen)) {
        return FALSE;
    }
    window->pixelFormat = format;
    return TRUE;
}

BOOL SwapBuffers(HDC deviceContext) {
    SDL_Window* native = NativeOf(deviceContext);
    if (native == nullptr) {
        return FALSE;
    }
    WaitForFrameSlot();
    SDL_GL_SwapWindow(native);
    return TRUE;
}

HGLRC wglCreateContext(HDC deviceContext) {
    SDL_Window* native = NativeOf(deviceContext);
    if (native == nullptr) {
        return nullptr;
    }
    // SDL makes a new context current; the desktop API does not, so the
    // previous binding is put back.
    SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext previous = SDL_GL_GetCurrentContext();
    SDL_GLContext context = SDL_GL_CreateContext(native);
    if (context == nullptr) {
        return nullptr;
    }
    SDL_GL_MakeCurrent(previousWindow, previous);
    return new HGLRC__{context, false};
}

BOOL wglMakeCurrent(HDC deviceContext, HGLRC renderingContext) {
    if (renderingContext == nullptr) {
        SDL_Window* native = NativeOf(deviceContext);
        return SDL_GL_MakeCurrent(native != nullptr ? native : SDL_GL_GetCurrentWindow(),
                                  nullptr) == 0
                   ? TRUE
                   : FALSE;
    }
    SDL_Window* native = NativeOf(deviceContext);
    if (native == nullptr || SDL_GL_MakeCurrent(native, renderingContext->context) != 0) {
        return FALSE;
    }
    if (!renderingContext->pacingSet) {
        // Swaps wait for the vertical retrace where the driver allows: motion
        // is counted in frames, and unpaced it would run many times too fast.
        SDL_GL_SetSwapInterval(1);
        renderingContext->pacingSet = true;
    }
    return TRUE;
}

BOOL wglDeleteContext(HGLRC renderingContext) {
    if (renderingContext == nullptr) {
        return FALSE;
    }
    if (SDL_GL_GetCurrentContext() == renderingContext->context) {
        SDL_GL_MakeCurrent(SDL_GL_GetCurrentWindow(), nullptr);
    }
    SDL_GL_DeleteContext(renderingContext->context);
    delete renderingContext;
    return TRUE;
}
