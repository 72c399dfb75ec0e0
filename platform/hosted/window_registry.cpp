// window_registry.cpp - window classes and the windows alive.
#include "hosted/window_registry.h"

#include "hosted/message_queues.h"

#include <algorithm>
#include <map>
#include <string>

namespace platform {
namespace {

struct WindowClass {
    WNDPROC procedure;
    HINSTANCE instance;
};

struct LiveWindow {
    HWND handle;
    detail::WindowRecord* record;
};

std::map<std::string, WindowClass> g_classes;
std::vector<LiveWindow> g_windows;
ATOM g_nextAtom = 0xC000;

std::vector<LiveWindow>::iterator Find(HWND window) {
    return std::find_if(g_windows.begin(), g_windows.end(),
                        [window](const LiveWindow& live) { return live.handle == window; });
}

} // namespace

namespace detail {

WNDPROC ClassProcedure(LPCSTR className) {
    const auto found = g_classes.find(className);
    return found == g_classes.end() ? nullptr : found->second.procedure;
}

void AddWindow(HWND window, WindowRecord* record) {
    record->deviceContext.window = window;
    g_windows.push_back(LiveWindow{window, record});
}

void RemoveWindow(HWND window) {
    PurgeMessages(window);
    if (const auto found = Find(window); found != g_windows.end()) {
        g_windows.erase(found);
    }
}

WindowRecord* FindRecord(HWND window) {
    const auto found = Find(window);
    return found == g_windows.end() ? nullptr : found->record;
}

std::vector<HWND> LiveWindows() {
    std::vector<HWND> windows;
    for (const LiveWindow& live : g_windows) {
        windows.push_back(live.handle);
    }
    return windows;
}

HWND NewestWindow() {
    return g_windows.empty() ? nullptr : g_windows.back().handle;
}

} // namespace detail
} // namespace platform

using namespace platform;

ATOM RegisterClassEx(const WNDCLASSEX* windowClass) {
    if (windowClass == nullptr || windowClass->lpszClassName == nullptr ||
        windowClass->lpfnWndProc == nullptr) {
        return 0;
    }
    const auto [entry, added] = g_classes.try_emplace(
        windowClass->lpszClassName, WindowClass{windowClass->lpfnWndProc, windowClass->hInstance});
    return added ? g_nextAtom++ : 0;
}

BOOL UnregisterClass(LPCSTR className, HINSTANCE /*instance*/) {
    if (className == nullptr) {
        return FALSE;
    }
    const bool inUse = std::any_of(g_windows.begin(), g_windows.end(), [&](const LiveWindow& live) {
        return live.record->className == className;
    });
    return !inUse && g_classes.erase(className) == 1 ? TRUE : FALSE;
}
