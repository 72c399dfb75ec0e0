// saver.cpp - the screen saver's window, procedure and run, on every build.
#include "framework/saver.h"

#include "framework/TolkGL.h"
#include "framework/scene_hooks.h"
#include "platform/console.h"
#include "platform/runtime.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kExitFailed = 1;
// How far the pointer may wander from where the saver first saw it before
// the move is taken for the user's: a saver sees small moves as it starts,
// and from a desk knocked.
constexpr LONG kPointerSlack = 8;

struct InputWatch {
    bool endsOnInput = false;
    bool pointerSeen = false;
    POINT firstPointer{};
};
InputWatch g_input;

bool MovedFar(LPARAM lParam) {
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (!g_input.pointerSeen) {
        g_input.pointerSeen = true;
        g_input.firstPointer = at;
        return false;
    }
    return std::abs(at.x - g_input.firstPointer.x) > kPointerSlack ||
           std::abs(at.y - g_input.firstPointer.y) > kPointerSlack;
}

// Whether the message is the user's wish to have the desktop back.
bool EndsTheSaver(UINT message, LPARAM lParam) {
    if (!g_input.endsOnInput) {
        return false;
    }
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        return true;
    case WM_MOUSEMOVE:
        return MovedFar(lParam);
    default:
        return false;
    }
}

LRESULT CALLBACK SaverWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    auto* window = reinterpret_cast<GL_Window*>(GetWindowLongPtr(hWnd, GWL_USERDATA));
    if (window != nullptr && EndsTheSaver(uMsg, lParam)) {
        TerminateApplication(window);
        return 0;
    }
    switch (uMsg) {
    case WM_CREATE:
        KeepWindowRecord(hWnd, lParam);
        return 0;
    case WM_CLOSE:
        TerminateApplication(window);
        return 0;
    case WM_DESTROY:
        // Going with a context still made, the window is ended by another
        // hand, with its host (a preview's dialog closed): the run ends, with
        // no window left to draw in or to give back, its device context gone
        // with it. The saver's own end deletes the context first.
        if (window != nullptr && window->renderingContext != nullptr) {
            window->windowHandle = nullptr;
            window->deviceContext = nullptr;
            window->isVisible = 0;
            TerminateApplication(window);
        }
        break;
    case WM_SIZE:
        if (window == nullptr) {
            break;
        }
        window->isVisible = wParam == SIZE_MINIMIZED ? 0 : 1;
        if (window->isVisible != 0) {
            ReshapeGL(LOWORD(lParam), HIWORD(lParam));
        }
        return 0;
    default:
        break;
    }
    return DefWindowProc(hWnd, uMsg, wParam, lParam);
}

// Gives back the context, and the window where it is still there.
void EndSaverWindow(GL_Window* window) {
    if (window->windowHandle == nullptr && window->renderingContext != nullptr) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(window->renderingContext);
        window->renderingContext = nullptr;
    }
    DestroyWindowGL(window);
}

} // namespace

int RunSaver(HINSTANCE instance, const SaverPlacement& placement) {
    Application application{instance, kWindowClassName};
    GL_Window window;
    Keys keys;
    std::memset(&window, 0, sizeof(window));
    std::memset(&keys, 0, sizeof(keys));
    window.keys = &keys;
    window.application = &application;
    window.title = kWindowTitle;
    window.width = placement.area.right - placement.area.left;
    window.height = placement.area.bottom - placement.area.top;
    window.bitsPerPixel = 32;
    g_input = InputWatch{placement.endsOnInput};

    platform::srand(static_cast<unsigned int>(platform::time(nullptr)));

    if (RegisterWindowClassWith(&application, SaverWindowProc) == 0) {
        return kExitFailed;
    }
    window.windowHandle =
        CreateWindowEx(placement.exStyle, application.className, window.title, placement.style,
                       placement.area.left, placement.area.top, window.width, window.height,
                       placement.parent, nullptr, instance, &window);
    int status = kExitFailed;
    if (window.windowHandle != nullptr && MakeContextGL(&window) != 0) {
        ShowWindow(window.windowHandle, SW_NORMAL);
        window.isVisible = 1;
        ReshapeGL(window.width, window.height);
        window.lastTickCount = GetTickCount();
        g_isProgramLooping = 1;
        if (Initialize(&window, &keys) != 0) {
            RunMessageLoop(&window);
            status = 0;
        }
        Deinitialize();
    } else {
        platform::ShowText("tarrow: cannot make a GL window for the screen saver\n", true,
                           kWindowTitle);
    }
    EndSaverWindow(&window);
    UnregisterClass(application.className, application.instance);
    return status;
}

int RunInHostWindow(HINSTANCE instance, HWND host) {
    RECT area{};
    if (GetClientRect(host, &area) == 0) {
        platform::ShowText("tarrow: the window to draw in is gone\n", true, kWindowTitle);
        return kExitFailed;
    }
    return RunSaver(instance, SaverPlacement{host, WS_CHILD, 0, area, false});
}
