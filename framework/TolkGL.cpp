// TolkGL.cpp - the entry point, the window class and procedure, and the two loops.
#include "framework/TolkGL.h"

#include "framework/scene_hooks.h"
#include "platform/runtime.h"

#include <cstring>

BOOL g_isProgramLooping = 0;
BOOL g_createFullScreen = 0;
BOOL g_startFullScreen = 1;

namespace {

constexpr int kExitClassFailed = -1;
constexpr int kExitWindowFailed = 1;

} // namespace

void RunMessageLoop(GL_Window* window) {
    BOOL isMessagePumpActive = 1;
    MSG message;
    while (isMessagePumpActive == 1) {
        if (PeekMessage(&message, window->windowHandle, 0, 0, PM_REMOVE) != 0) {
            if (message.message == WM_QUIT) {
                isMessagePumpActive = 0;
            } else {
                DispatchMessage(&message);
            }
        } else if (window->isVisible == 0) {
            WaitMessage();
        } else {
            const DWORD tickCount = GetTickCount();
            Update(tickCount - window->lastTickCount);
            window->lastTickCount = tickCount;
            Draw();
            SwapBuffers(window->deviceContext);
        }
    }
}

void TerminateApplication(GL_Window* window) {
    PostMessage(window->windowHandle, WM_QUIT, 0, 0);
    g_isProgramLooping = 0;
}

void ToggleFullscreen(GL_Window* window) {
    PostMessage(window->windowHandle, WM_TOGGLE_SCREEN_MODE, 0, 0);
}

void KeepWindowRecord(HWND window, LPARAM creation) {
    const auto* create = reinterpret_cast<const CREATESTRUCT*>(creation);
    SetWindowLongPtr(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
}

LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    auto* window = reinterpret_cast<GL_Window*>(GetWindowLongPtr(hWnd, GWL_USERDATA));
    switch (uMsg) {
    case WM_SYSCOMMAND:
        if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) {
            return 0; // no screen saver, no monitor power-down
        }
        break;
    case WM_CREATE:
        KeepWindowRecord(hWnd, lParam);
        return 0;
    case WM_CLOSE:
        TerminateApplication(window);
        return 0;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) {
            window->isVisible = 0;
            return 0;
        }
        if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) {
            window->isVisible = 1;
            ReshapeGL(LOWORD(lParam), HIWORD(lParam));
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (wParam <= 255) {
            window->keys->keyDown[wParam] = 1;
            return 0;
        }
        break;
    case WM_KEYUP:
        if (wParam <= 255) {
            window->keys->keyDown[wParam] = 0;
            return 0;
        }
        break;
    case WM_TOGGLE_SCREEN_MODE:
        g_createFullScreen = (g_createFullScreen == 1) ? 0 : 1;
        PostMessage(hWnd, WM_QUIT, 0, 0);
        break;
    default:
        break;
    }
    return DefWindowProc(hWnd, uMsg, wParam, lParam);
}

BOOL RegisterWindowClass(Application* application) {
    return RegisterWindowClassWith(application, WindowProc);
}

BOOL RegisterWindowClassWith(Application* application, WNDPROC procedure) {
    WNDCLASSEX windowClass;
    std::memset(&windowClass, 0, sizeof(windowClass));
    windowClass.cbSize = sizeof(WNDCLASSEX);
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = application->instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<LONG_PTR>(COLOR_APPWORKSPACE));
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = application->className;
    if (RegisterClassEx(&windowClass) == 0) {
        MessageBox(nullptr, "RegisterClassEx Failed!", "Error", kErrorBox);
        return 0;
    }
    return 1;
}

int WinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPSTR /*lpCmdLine*/,
            int /*nCmdShow*/) {
    Application application;
    GL_Window window;
    Keys keys;

    application.className = kWindowClassName;
    application.instance = hInstance;

    std::memset(&window, 0, sizeof(window));
    window.keys = &keys;
    window.application = &application;
    window.title = kWindowTitle;
    window.width = 1680;
    window.height = 1050;
    window.bitsPerPixel = 32;
    window.isFullScreen = g_startFullScreen;

    std::memset(&keys, 0, sizeof(keys));

    platform::srand(static_cast<unsigned int>(platform::time(nullptr)));

    if (RegisterWindowClass(&application) == 0) {
        MessageBox(nullptr, "Error Registering Window Class!", "Error", kErrorBox);
        return kExitClassFailed;
    }

    int exitCode = 0;
    g_isProgramLooping = 1;
    g_createFullScreen = window.isFullScreen;
    while (g_isProgramLooping != 0) {
        window.isFullScreen = g_createFullScreen;
        if (CreateWindowGL(&window) == 1) {
            if (Initialize(&window, &keys) == 0) {
                TerminateApplication(&window);
            } else {
                RunMessageLoop(&window);
            }
            Deinitialize();
            DestroyWindowGL(&window);
        } else {
            MessageBox(nullptr, "Error Creating OpenGL Window", "Error", kErrorBox);
            g_isProgramLooping = 0;
            exitCode = kExitWindowFailed; // a program that could not start did not succeed
        }
    }

    UnregisterClass(application.className, application.instance);
    return exitCode;
}
