// Window classes, windows, typed keys, pixel formats and contexts.
#include "platform/synthetic_input.h"
#include "platform/win32.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

std::vector<UINT> g_messages;
void* g_createParams = nullptr;
std::vector<LPARAM> g_sizes;
std::vector<WPARAM> g_sizeKinds;

LRESULT Recorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_messages.push_back(message);
    if (message == WM_CREATE) {
        g_createParams = reinterpret_cast<const CREATESTRUCT*>(lParam)->lpCreateParams;
    }
    if (message == WM_SIZE) {
        g_sizeKinds.push_back(wParam);
    }
    if (message == WM_SIZE && wParam == SIZE_RESTORED) {
        g_sizes.push_back(lParam);
    }
    return DefWindowProc(window, message, wParam, lParam);
}

class Windows : public testing::Test {
  protected:
    void SetUp() override {
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = Recorder;
        windowClass.lpszClassName = "Recorder";
        ASSERT_NE(RegisterClassEx(&windowClass), 0);
    }
    void TearDown() override {
        if (window != nullptr) {
            DestroyWindow(window);
        }
        UnregisterClass("Recorder", nullptr);
    }
    HWND Make(DWORD style, int width, int height, void* params = nullptr) {
        window = CreateWindowEx(0, "Recorder", "probe", style, 0, 0, width, height, nullptr,
                                nullptr, nullptr, params);
        return window;
    }
    static PIXELFORMATDESCRIPTOR Request(BYTE depthBits) {
        PIXELFORMATDESCRIPTOR request{};
        request.nSize = sizeof(request);
        request.nVersion = 1;
        request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        request.iPixelType = PFD_TYPE_RGBA;
        request.cColorBits = 32;
        request.cAlphaBits = 1;
        request.cDepthBits = depthBits;
        return request;
    }

    WNDCLASSEX windowClass{};
    HWND window = nullptr;
};

TEST_F(Windows, ASecondClassOfTheSameNameIsRefused) {
    EXPECT_EQ(RegisterClassEx(&windowClass), 0);
}

TEST_F(Windows, AClassInUseCannotBeUnregistered) {
    Make(WS_POPUP, 16, 16);
    EXPECT_EQ(UnregisterClass("Recorder", nullptr), FALSE);
}

TEST_F(Windows, CreationSendsCreateFirstWithTheCreationParameter) {
    int record = 0;
    g_messages.clear();
    ASSERT_NE(Make(WS_OVERLAPPEDWINDOW, 64, 48, &record), nullptr);
    ASSERT_FALSE(g_messages.empty());
    EXPECT_EQ(g_messages.front(), WM_CREATE);
    EXPECT_EQ(g_createParams, &record);
}

TEST_F(Windows, UserDataHoldsAWholePointer) {
    Make(WS_POPUP, 16, 16);
    const auto wide = static_cast<LONG_PTR>(UINT64_C(0x123456789ABCDEF0));
    SetWindowLongPtr(window, GWL_USERDATA, wide);
    EXPECT_EQ(GetWindowLongPtr(window, GWL_USERDATA), wide);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtr(window, GWL_STYLE)), WS_POPUP);
}

TEST_F(Windows, CreationSendsTheClientSizeOnce) {
    g_sizes.clear();
    Make(WS_POPUP, 200, 100);
    ASSERT_EQ(g_sizes.size(), 1u);
    EXPECT_EQ(LOWORD(g_sizes[0]), 200);
    EXPECT_EQ(HIWORD(g_sizes[0]), 100);
    ShowWindow(window, SW_NORMAL); // nothing changed, nothing sent again
    EXPECT_EQ(g_sizes.size(), 1u);
}

TEST_F(Windows, MinimiseAndRestoreAreEachReportedOnce) {
    Make(WS_POPUP, 200, 100);
    ShowWindow(window, SW_NORMAL);
    g_sizeKinds.clear();
    g_sizes.clear();
    ShowWindow(window, SW_MINIMIZE);
    ShowWindow(window, SW_MINIMIZE);
    ShowWindow(window, SW_RESTORE);
    EXPECT_EQ(g_sizeKinds, (std::vector<WPARAM>{SIZE_MINIMIZED, SIZE_RESTORED}));
    ASSERT_EQ(g_sizes.size(), 1u);
    EXPECT_EQ(LOWORD(g_sizes[0]), 200);
    EXPECT_EQ(HIWORD(g_sizes[0]), 100);
}

// A compositor may resize a window while it shows, and SDL may fold the events
// that said so into others: whatever the window's size then is reaches the
// procedure the next time the queue is looked at.
TEST_F(Windows, ASizeTheWindowSystemGaveIsReportedAtTheNextLookAtTheQueue) {
    Make(WS_POPUP, 200, 100);
    HDC dc = GetDC(window);
    const PIXELFORMATDESCRIPTOR request = Request(16);
    ASSERT_EQ(SetPixelFormat(dc, ChoosePixelFormat(dc, &request), &request), TRUE);
    HGLRC context = wglCreateContext(dc);
    ASSERT_EQ(wglMakeCurrent(dc, context), TRUE);
    ShowWindow(window, SW_NORMAL);
    g_sizes.clear();
    SDL_SetWindowSize(SDL_GL_GetCurrentWindow(), 300, 150);
    SDL_FlushEvent(SDL_WINDOWEVENT);
    EXPECT_TRUE(g_sizes.empty());
    MSG message;
    PeekMessage(&message, window, 0, 0, PM_REMOVE);
    ASSERT_EQ(g_sizes.size(), 1u);
    EXPECT_EQ(LOWORD(g_sizes[0]), 300);
    EXPECT_EQ(HIWORD(g_sizes[0]), 150);
    wglMakeCurrent(dc, nullptr);
    wglDeleteContext(context);
}

TEST_F(Windows, WithoutAWindowManagerTheFrameAddsNothing) {
    RECT rect{0, 0, 1680, 1050};
    AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_APPWINDOW);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 1680);
    EXPECT_EQ(rect.bottom, 1050);
}

TEST_F(Windows, TypedKeysArriveAsVirtualKeys) {
    Make(WS_POPUP, 16, 16);
    const BYTE keys[] = {VK_ESCAPE, VK_F1,   VK_F12,   'A',       'Z',      '0',       '9',
                         VK_LEFT,   VK_DOWN, VK_SPACE, VK_RETURN, VK_SHIFT, VK_CONTROL};
    for (const BYTE key : keys) {
        keybd_event(key, 0, 0, 0);
        keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    }
    MSG message;
    for (const BYTE key : keys) {
        ASSERT_EQ(PeekMessage(&message, window, 0, 0, PM_REMOVE), TRUE);
        EXPECT_EQ(message.message, WM_KEYDOWN);
        EXPECT_EQ(message.wParam, key);
        ASSERT_EQ(PeekMessage(&message, window, 0, 0, PM_REMOVE), TRUE);
        EXPECT_EQ(message.message, WM_KEYUP);
        EXPECT_EQ(message.wParam, key);
    }
}

TEST_F(Windows, AutoRepeatArrivesAsFurtherKeyDowns) {
    Make(WS_POPUP, 16, 16);
    SDL_Event repeat{};
    repeat.type = SDL_KEYDOWN;
    repeat.key.keysym.sym = SDLK_F1;
    SDL_PushEvent(&repeat);
    repeat.key.repeat = 1;
    SDL_PushEvent(&repeat);
    MSG message;
    ASSERT_EQ(PeekMessage(&message, window, 0, 0, PM_REMOVE), TRUE);
    EXPECT_EQ(message.message, WM_KEYDOWN);
    EXPECT_EQ(message.lParam & (LPARAM{1} << 30), 0);
    ASSERT_EQ(PeekMessage(&message, window, 0, 0, PM_REMOVE), TRUE);
    EXPECT_EQ(message.message, WM_KEYDOWN);
    EXPECT_NE(message.lParam & (LPARAM{1} << 30), 0); // the key was already down
}

TEST_F(Windows, PixelFormatIsSetOnceAndHonoursTheDepthRequest) {
    Make(WS_POPUP, 64, 64);
    HDC dc = GetDC(window);
    const PIXELFORMATDESCRIPTOR request = Request(16);
    const int format = ChoosePixelFormat(dc, &request);
    ASSERT_GT(format, 0);
    ASSERT_EQ(SetPixelFormat(dc, format, &request), TRUE);
    EXPECT_EQ(SetPixelFormat(dc, format, &request), FALSE);

    HGLRC context = wglCreateContext(dc);
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(SDL_GL_GetCurrentContext(), nullptr); // made, not made current
    ASSERT_EQ(wglMakeCurrent(dc, context), TRUE);
    GLint depth = 0;
    GLint red = 0;
    GLint alpha = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetIntegerv(GL_RED_BITS, &red);
    glGetIntegerv(GL_ALPHA_BITS, &alpha);
    EXPECT_EQ(depth, 16);
    EXPECT_EQ(red, 8);
    EXPECT_EQ(alpha, 8);
    EXPECT_EQ(SwapBuffers(dc), TRUE);
    wglMakeCurrent(dc, nullptr);
    EXPECT_EQ(wglDeleteContext(context), TRUE);
    ReleaseDC(window, dc);
}

TEST_F(Windows, PixelFormatWithoutGlIsRefused) {
    Make(WS_POPUP, 16, 16);
    PIXELFORMATDESCRIPTOR request = Request(16);
    request.dwFlags = PFD_DRAW_TO_WINDOW;
    EXPECT_EQ(ChoosePixelFormat(GetDC(window), &request), 0);
}

TEST(DisplayMode, FullScreenNeedsAModeTheDisplayOffers) {
    DEVMODE mode{};
    mode.dmSize = sizeof(mode);
    mode.dmPelsWidth = 1680;
    mode.dmPelsHeight = 1050;
    mode.dmBitsPerPel = 32;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    EXPECT_NE(ChangeDisplaySettings(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    mode.dmPelsWidth = 1024; // the offscreen display's own mode
    mode.dmPelsHeight = 768;
    EXPECT_EQ(ChangeDisplaySettings(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(ChangeDisplaySettings(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
}

} // namespace
