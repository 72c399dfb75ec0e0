// device_contexts.cpp - a window's device context, and the pixel format a GL
// request is given: the build numbers the formats it hands out
// (PixelFormatNumber); what makes a request one for GL is the same everywhere.
#include "hosted/build_hooks.h"
#include "hosted/window_registry.h"

using namespace platform;

HDC GetDC(HWND handle) {
    detail::WindowRecord* window = detail::FindRecord(handle);
    return window != nullptr ? &window->deviceContext : nullptr;
}

int ReleaseDC(HWND handle, HDC deviceContext) {
    detail::WindowRecord* window = detail::FindRecord(handle);
    return window != nullptr && deviceContext == &window->deviceContext ? 1 : 0;
}

int ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* request) {
    if (deviceContext == nullptr || request == nullptr ||
        (request->dwFlags & PFD_SUPPORT_OPENGL) == 0 || request->iPixelType != PFD_TYPE_RGBA) {
        return 0;
    }
    return detail::PixelFormatNumber(*request);
}
