// win32.h - the window-system services the program is written against.
//
// The demo was written for a desktop API of window classes, window procedures,
// a per-thread message queue, device contexts with pixel formats and GL
// rendering contexts. This header declares exactly the part of that API the
// program uses, with the same names, types and constant values, so the frame
// and the scene read as they were written (the keys its tests type are
// synthetic_input.h's). On Windows the API is the system's own
// (win32_shim.h adds the little the program needs beyond it);
// elsewhere the services are declared below and implemented over SDL2 in
// sdl/ or in a browser page in web/ (hosted/ holds what those two share), and
// nothing above this folder sees SDL.
//
// What it is not: a general emulation. Only the messages, styles and flags the
// program and its tools use are given; everything else is left out on purpose.
//
// Usage in short:
//   RegisterClassEx(&wc);                          // class with a window procedure
//   HWND w = CreateWindowEx(..., &record);         // procedure gets WM_CREATE first
//   HDC dc = GetDC(w);
//   SetPixelFormat(dc, ChoosePixelFormat(dc, &pfd), &pfd);
//   HGLRC rc = wglCreateContext(dc); wglMakeCurrent(dc, rc);
//   ShowWindow(w, SW_NORMAL);                      // procedure gets WM_SIZE
//   while (PeekMessage(&m, w, 0, 0, PM_REMOVE)) DispatchMessage(&m);
//   SwapBuffers(dc);                               // waits for the retrace where it can
#pragma once

#if defined(_WIN32)
#include "platform/win32_shim.h"
#else

#include <cstdint>

// ---- Types -----------------------------------------------------------------

using BOOL = std::int32_t;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using ATOM = std::uint16_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LONG_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using LPCSTR = const char*;
using LPSTR = char*;

struct HWND__;
struct HDC__;
struct HGLRC__;
struct HINSTANCE__;
struct HCURSOR__;
struct HICON__;
struct HBRUSH__;
struct HMENU__;
using HWND = HWND__*;
using HDC = HDC__*;
using HGLRC = HGLRC__*;
using HINSTANCE = HINSTANCE__*;
using HCURSOR = HCURSOR__*;
using HICON = HICON__*;
using HBRUSH = HBRUSH__*;
using HMENU = HMENU__*;

// The calling convention of what the system calls back, the window
// procedure: stdcall on 32-bit Windows; elsewhere there is only one.
#define CALLBACK

using WNDPROC = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

struct POINT {
    LONG x;
    LONG y;
};

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

struct WNDCLASSEX {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
    HICON hIconSm;
};

struct CREATESTRUCT {
    void* lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
};

struct PIXELFORMATDESCRIPTOR {
    WORD nSize;
    WORD nVersion;
    DWORD dwFlags;
    BYTE iPixelType;
    BYTE cColorBits;
    BYTE cRedBits;
    BYTE cRedShift;
    BYTE cGreenBits;
    BYTE cGreenShift;
    BYTE cBlueBits;
    BYTE cBlueShift;
    BYTE cAlphaBits;
    BYTE cAlphaShift;
    BYTE cAccumBits;
    BYTE cAccumRedBits;
    BYTE cAccumGreenBits;
    BYTE cAccumBlueBits;
    BYTE cAccumAlphaBits;
    BYTE cDepthBits;
    BYTE cStencilBits;
    BYTE cAuxBuffers;
    BYTE iLayerType;
    BYTE bReserved;
    DWORD dwLayerMask;
    DWORD dwVisibleMask;
    DWORD dwDamageMask;
};

// The display-mode request. Only the members the program fills are kept; the
// size still says which structure it is.
struct DEVMODE {
    WORD dmSize;
    DWORD dmFields;
    DWORD dmBitsPerPel;
    DWORD dmPelsWidth;
    DWORD dmPelsHeight;
    DWORD dmDisplayFrequency;
};

// ---- Constants ---------------------------------------------------------------

// Messages.
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_USER = 0x0400;

// WM_SIZE kinds.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;

// WM_SYSCOMMAND requests the system makes of a window.
constexpr WPARAM SC_CLOSE = 0xF060;
constexpr WPARAM SC_SCREENSAVE = 0xF140;
constexpr WPARAM SC_MONITORPOWER = 0xF170;

// Virtual-key codes (the ones the layer produces; letters and digits are their
// upper-case ASCII codes).
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_PAUSE = 0x13;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_F1 = 0x70;
constexpr int VK_F4 = 0x73;
constexpr int VK_F10 = 0x79;
constexpr int VK_F12 = 0x7B;

// Key message flags, in the high word of lParam.
constexpr WORD KF_ALTDOWN = 0x2000;

// Class styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_OWNDC = 0x0020;

// The system colour index the class uses as its background brush.
constexpr int COLOR_APPWORKSPACE = 12;

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;   // of another program's window only (host_window.h)
constexpr DWORD WS_VISIBLE = 0x10000000; // not given yet: kept for child windows
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;

// Window data slots.
constexpr int GWL_STYLE = -16;
constexpr int GWLP_USERDATA = -21;
constexpr int GWL_USERDATA = GWLP_USERDATA;

// ShowWindow commands.
constexpr int SW_NORMAL = 1;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_RESTORE = 9;

// PeekMessage.
constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;

// Pixel formats.
constexpr DWORD PFD_DOUBLEBUFFER = 0x00000001;
constexpr DWORD PFD_DRAW_TO_WINDOW = 0x00000004;
constexpr DWORD PFD_SUPPORT_OPENGL = 0x00000020;
constexpr BYTE PFD_TYPE_RGBA = 0;
constexpr BYTE PFD_MAIN_PLANE = 0;

// Display modes.
constexpr DWORD DM_BITSPERPEL = 0x00040000;
constexpr DWORD DM_PELSWIDTH = 0x00080000;
constexpr DWORD DM_PELSHEIGHT = 0x00100000;
constexpr DWORD CDS_FULLSCREEN = 0x00000004;
constexpr LONG DISP_CHANGE_SUCCESSFUL = 0;
constexpr LONG DISP_CHANGE_FAILED = -1;
constexpr LONG DISP_CHANGE_BADMODE = -2;

// Message boxes.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr int IDOK = 1;

// Cursors.
inline LPCSTR const IDC_ARROW = reinterpret_cast<LPCSTR>(32512);

constexpr WORD LOWORD(LPARAM l) {
    return static_cast<WORD>(static_cast<ULONG_PTR>(l) & 0xFFFF);
}
constexpr WORD HIWORD(LPARAM l) {
    return static_cast<WORD>((static_cast<ULONG_PTR>(l) >> 16) & 0xFFFF);
}
constexpr LPARAM MAKELPARAM(int low, int high) {
    return static_cast<LPARAM>((static_cast<DWORD>(high & 0xFFFF) << 16) | (low & 0xFFFF));
}

// ---- Services ---------------------------------------------------------------

// Module.
HINSTANCE GetModuleHandle(LPCSTR moduleName);

// Window classes. A second class of a name already registered is refused (0).
ATOM RegisterClassEx(const WNDCLASSEX* windowClass);
BOOL UnregisterClass(LPCSTR className, HINSTANCE instance);

// Windows. Sizes are outer sizes, the frame's top-left corner at (x, y).
HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                    void* createParams);
BOOL DestroyWindow(HWND window);
BOOL ShowWindow(HWND window, int command);
BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL hasMenu, DWORD exStyle);
BOOL GetClientRect(HWND window, RECT* rect);
LONG_PTR GetWindowLongPtr(HWND window, int index);
LONG_PTR SetWindowLongPtr(HWND window, int index, LONG_PTR value);

// The thread's message queue. Posted messages come before input, each in order.
BOOL PeekMessage(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT remove);
LRESULT DispatchMessage(const MSG* message);
LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam); // any thread
BOOL WaitMessage();
LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Device contexts, pixel formats and GL rendering contexts.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC deviceContext);
int ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* request);
BOOL SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR* request);
BOOL SwapBuffers(HDC deviceContext);
HGLRC wglCreateContext(HDC deviceContext);
BOOL wglMakeCurrent(HDC deviceContext, HGLRC renderingContext);
BOOL wglDeleteContext(HGLRC renderingContext);

// Display mode. CDS_FULLSCREEN succeeds only for a mode the display offers;
// the next WS_POPUP window then takes it. A null mode returns to the desktop's.
LONG ChangeDisplaySettings(DEVMODE* mode, DWORD flags);

// Message boxes, cursor.
int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
int ShowCursor(BOOL show);
HCURSOR LoadCursor(HINSTANCE instance, LPCSTR cursorName);

// Kernel services.
DWORD GetTickCount();
void Sleep(DWORD milliseconds);

#endif // _WIN32
