// window_life.cpp - a window made and ended, the same steps on every build
// that implements the desktop API itself, around the window system's side of
// it (build_hooks.h).
#include "hosted/build_hooks.h"
#include "hosted/window_record.h"
#include "hosted/window_registry.h"

using namespace platform;

HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                    void* createParams) {
    if (className == nullptr || !detail::CanMakeWindow(width, height)) {
        return nullptr;
    }
    const WNDPROC procedure = detail::ClassProcedure(className);
    if (procedure == nullptr) {
        return nullptr;
    }
    const CREATESTRUCT create{
        createParams, instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
        windowName,   className, exStyle};
    const detail::NewWindow window = detail::MakeWindow(procedure, create);
    detail::AddWindow(window.handle, window.record);

    // A first show reports the client size again only if it differs.
    if (!detail::SendCreation(window.handle, create)) {
        DestroyWindow(window.handle);
        return nullptr;
    }
    detail::WindowMade(window.handle);
    return window.handle;
}

BOOL DestroyWindow(HWND handle) {
    detail::WindowRecord* window = detail::FindRecord(handle);
    if (window == nullptr) {
        return FALSE;
    }
    SendMessage(handle, WM_DESTROY, 0, 0);
    if (detail::FindRecord(handle) == nullptr) {
        return TRUE; // its procedure destroyed it meanwhile
    }
    detail::ReleaseNativeWindow(handle);
    detail::RemoveWindow(handle);
    if (detail::NewestWindow() == nullptr) {
        detail::LastWindowGone();
    }
    delete window;
    return TRUE;
}
