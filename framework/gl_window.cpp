// gl_window.cpp - the program's one window with its device and rendering
// contexts, the display-mode switch, and the projection on resize.
#include "framework/TolkGL.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstring>

namespace {

constexpr double kReshapeFieldOfView = 79.0;
constexpr double kReshapeNear = 4.0;
constexpr double kReshapeFar = 1200000.0;

// Gives back what CreateWindowGL acquired, newest first, and clears the handles.
void ReleaseWindowGL(GL_Window* window) {
    if (window->renderingContext != nullptr) {
        wglDeleteContext(window->renderingContext);
        window->renderingContext = nullptr;
    }
    if (window->deviceContext != nullptr) {
        ReleaseDC(window->windowHandle, window->deviceContext);
        window->deviceContext = nullptr;
    }
    if (window->windowHandle != nullptr) {
        DestroyWindow(window->windowHandle);
        window->windowHandle = nullptr;
    }
}

// The desktop's own mode and cursor come back whenever a full-screen window
// goes, whether it ran or failed half-way.
void RestoreDesktop() {
    ChangeDisplaySettings(nullptr, 0);
    ShowCursor(TRUE);
}

BOOL FailCreation(GL_Window* window) {
    ReleaseWindowGL(window);
    if (window->isFullScreen != 0) {
        RestoreDesktop();
    }
    return 0;
}

} // namespace

void ReshapeGL(int width, int height) {
    glViewport(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // A window shrunk to no client area keeps a finite projection.
    const int aspectHeight = height != 0 ? height : 1;
    gluPerspective(kReshapeFieldOfView, static_cast<GLdouble>(width) / aspectHeight, kReshapeNear,
                   kReshapeFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

BOOL ChangeScreenResolution(int width, int height, int bitsPerPixel) {
    DEVMODE screen;
    std::memset(&screen, 0, sizeof(screen));
    screen.dmSize = sizeof(DEVMODE);
    screen.dmPelsWidth = static_cast<DWORD>(width);
    screen.dmPelsHeight = static_cast<DWORD>(height);
    screen.dmBitsPerPel = static_cast<DWORD>(bitsPerPixel);
    screen.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettings(&screen, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL ? 1 : 0;
}

BOOL MakeContextGL(GL_Window* window) {
    PIXELFORMATDESCRIPTOR pfd;
    std::memset(&pfd, 0, sizeof(pfd));
    pfd.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = static_cast<BYTE>(window->bitsPerPixel);
    pfd.cAlphaBits = 1;
    pfd.cDepthBits = 16;
    pfd.iLayerType = PFD_MAIN_PLANE;

    window->deviceContext = GetDC(window->windowHandle);
    if (window->deviceContext == nullptr) {
        return 0;
    }

    const int pixelFormat = ChoosePixelFormat(window->deviceContext, &pfd);
    if (pixelFormat == 0) {
        return 0;
    }
    if (SetPixelFormat(window->deviceContext, pixelFormat, &pfd) == 0) {
        return 0;
    }

    window->renderingContext = wglCreateContext(window->deviceContext);
    if (window->renderingContext == nullptr) {
        return 0;
    }
    if (wglMakeCurrent(window->deviceContext, window->renderingContext) == 0) {
        return 0;
    }

    return 1;
}

BOOL CreateWindowGL(GL_Window* window) {
    DWORD windowStyle = WS_OVERLAPPEDWINDOW;
    DWORD windowExtendedStyle = WS_EX_APPWINDOW;

    RECT windowRect = {0, 0, window->width, window->height};

    if (window->isFullScreen == 1) {
        if (ChangeScreenResolution(window->width, window->height, window->bitsPerPixel) == 0) {
            MessageBox(nullptr, "Mode Switch Failed.\nRunning In Windowed Mode.", "Error",
                       kErrorBox);
            window->isFullScreen = 0;
        } else {
            ShowCursor(FALSE);
            windowStyle = WS_POPUP;
            windowExtendedStyle |= WS_EX_TOPMOST;
        }
    } else {
        AdjustWindowRectEx(&windowRect, windowStyle, 0, windowExtendedStyle);
    }

    window->windowHandle = CreateWindowEx(
        windowExtendedStyle, window->application->className, window->title, windowStyle, 0, 0,
        windowRect.right - windowRect.left, windowRect.bottom - windowRect.top, nullptr, nullptr,
        window->application->instance, window);
    if (window->windowHandle == nullptr) {
        return FailCreation(window);
    }

    if (MakeContextGL(window) == 0) {
        return FailCreation(window);
    }

    ShowWindow(window->windowHandle, SW_NORMAL);
    window->isVisible = 1;

    ReshapeGL(window->width, window->height);

    std::memset(window->keys, 0, sizeof(Keys));

    window->lastTickCount = GetTickCount();

    return 1;
}

BOOL DestroyWindowGL(GL_Window* window) {
    if (window->windowHandle != nullptr) {
        if (window->deviceContext != nullptr) {
            wglMakeCurrent(window->deviceContext, nullptr);
            if (window->renderingContext != nullptr) {
                wglDeleteContext(window->renderingContext);
                window->renderingContext = nullptr;
            }
            ReleaseDC(window->windowHandle, window->deviceContext);
            window->deviceContext = nullptr;
        }
        DestroyWindow(window->windowHandle);
        window->windowHandle = nullptr;
    }

    if (window->isFullScreen != 0) {
        RestoreDesktop();
    }
    return 1;
}
