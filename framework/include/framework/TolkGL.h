// TolkGL.h - the application frame: the records the frame and the scene
// share, the window with its GL context, and the two loops.
//
// The entry point registers the window class and runs an outer loop that
// makes the window, its context and the scene, and an inner loop that hands
// every pending message to the window procedure and, while the queue is empty
// and the window visible, advances and draws one frame. Switching between
// full screen and a window ends only the inner loop: the window, its context
// and the scene's GL state are made again, and the scene goes on where it was.
#pragma once

#include "platform/win32.h"

// The key table: entry v is 1 while the key with virtual-key code v is down.
struct Keys {
    BOOL keyDown[256];
};

struct Application {
    HINSTANCE instance;
    const char* className;
};

struct GL_Window {
    Keys* keys;
    HWND windowHandle;
    HDC deviceContext;
    HGLRC renderingContext;
    Application* application;
    const char* title;
    int width;
    int height;
    int bitsPerPixel;
    BOOL isFullScreen;
    BOOL isVisible;
    DWORD lastTickCount;
};

// The window class and caption the program is known by on the desktop.
inline constexpr char kWindowClassName[] = "OpenGL";
inline constexpr char kWindowTitle[] = "vesk2013 - tarrow";
// How the frame shows a failure: a box captioned "Error", with no owner.
inline constexpr UINT kErrorBox = MB_OK | MB_ICONEXCLAMATION;

// Posted to the window to end the inner loop with the full-screen choice flipped.
constexpr UINT WM_TOGGLE_SCREEN_MODE = WM_USER + 1;

extern BOOL g_isProgramLooping;
extern BOOL g_createFullScreen;
// Whether the first window is full screen: 1, unless the command line asked
// for a window.
extern BOOL g_startFullScreen;

int WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);
BOOL RegisterWindowClass(Application* application);
// The program's window class with another procedure (the screen saver's).
BOOL RegisterWindowClassWith(Application* application, WNDPROC procedure);
// The inner loop: hands every pending message of the window (of its handle
// as it is at each look) to its procedure and, while the queue is empty and
// the window visible, advances and draws one frame; until WM_QUIT.
void RunMessageLoop(GL_Window* window);
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Keeps the record CreateWindowEx was handed in the window's user-data slot,
// where its procedure finds it (on WM_CREATE, whose lParam is the creation).
void KeepWindowRecord(HWND window, LPARAM creation);
void TerminateApplication(GL_Window* window);
void ToggleFullscreen(GL_Window* window);

BOOL CreateWindowGL(GL_Window* window);
// The made window's device context, pixel format and current GL rendering
// context, as CreateWindowGL sets them up; 0 at the first step that fails,
// what was acquired left in the record for DestroyWindowGL.
BOOL MakeContextGL(GL_Window* window);
BOOL DestroyWindowGL(GL_Window* window);
BOOL ChangeScreenResolution(int width, int height, int bitsPerPixel);
void ReshapeGL(int width, int height);
