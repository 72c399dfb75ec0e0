// The frame's window procedure, fed messages through the layer's queue.
#include "framework/TolkGL.h"
#include "tests/framework/probe_scene.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A key table with room behind it, to see that nothing is written past it.
struct GuardedKeys {
    Keys keys;
    BOOL behind[64];
};

class WindowProcedure : public testing::Test {
  protected:
    void SetUp() override {
        std::memset(&guarded, 0, sizeof(guarded));
        std::memset(&window, 0, sizeof(window));
        application = Application{GetModuleHandle(nullptr), kWindowClassName};
        window.keys = &guarded.keys;
        window.application = &application;
        window.isVisible = 1;
        ASSERT_EQ(RegisterWindowClass(&application), 1);
        handle = CreateWindowEx(0, kWindowClassName, "probe", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64,
                                nullptr, nullptr, application.instance, &window);
        ASSERT_NE(handle, nullptr);
        window.windowHandle = handle;
    }
    void TearDown() override {
        DestroyWindow(handle);
        UnregisterClass(kWindowClassName, application.instance);
    }

    // Hands every queued message to the procedure, as the inner loop does.
    void Drain() {
        MSG message;
        while (PeekMessage(&message, handle, 0, 0, PM_REMOVE) != 0) {
            if (message.message == WM_QUIT) {
                ++quits;
            } else {
                DispatchMessage(&message);
            }
        }
    }

    GuardedKeys guarded;
    GL_Window window;
    Application application{};
    HWND handle = nullptr;
    int quits = 0;
};

TEST_F(WindowProcedure, CreationStoresTheRecordInTheWindowsUserData) {
    EXPECT_EQ(GetWindowLongPtr(handle, GWL_USERDATA), reinterpret_cast<LONG_PTR>(&window));
}

TEST_F(WindowProcedure, KeysGoDownAndUpInTheTable) {
    PostMessage(handle, WM_KEYDOWN, VK_F1, 0);
    Drain();
    EXPECT_EQ(guarded.keys.keyDown[VK_F1], 1);
    PostMessage(handle, WM_KEYUP, VK_F1, 0);
    Drain();
    EXPECT_EQ(guarded.keys.keyDown[VK_F1], 0);
}

TEST_F(WindowProcedure, KeyCodesAbove255AreNeverStored) {
    PostMessage(handle, WM_KEYDOWN, 256, 0);
    PostMessage(handle, WM_KEYDOWN, 300, 0);
    PostMessage(handle, WM_KEYDOWN, 0xFFFF, 0);
    Drain();
    for (const BOOL down : guarded.keys.keyDown) {
        EXPECT_EQ(down, 0);
    }
    for (const BOOL word : guarded.behind) {
        EXPECT_EQ(word, 0);
    }
}

TEST_F(WindowProcedure, MinimiseHidesAndRestoreShowsWithTheNewSize) {
    SendMessage(handle, WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(window.isVisible, 0);
    SendMessage(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 600));
    EXPECT_EQ(window.isVisible, 1);
    SendMessage(handle, WM_SIZE, SIZE_MINIMIZED, 0);
    SendMessage(handle, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(800, 600));
    EXPECT_EQ(window.isVisible, 1);
}

TEST_F(WindowProcedure, ScreenSaverAndPowerDownAreRefused) {
    EXPECT_EQ(SendMessage(handle, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
    EXPECT_EQ(SendMessage(handle, WM_SYSCOMMAND, SC_MONITORPOWER, 0), 0);
}

TEST_F(WindowProcedure, CloseEndsTheProgram) {
    g_isProgramLooping = 1;
    PostMessage(handle, WM_CLOSE, 0, 0);
    Drain();
    EXPECT_EQ(g_isProgramLooping, 0);
    EXPECT_EQ(quits, 1);
}

TEST_F(WindowProcedure, ToggleFlipsTheFullScreenChoiceAndEndsTheInnerLoop) {
    g_isProgramLooping = 1;
    g_createFullScreen = 1;
    ToggleFullscreen(&window);
    Drain();
    EXPECT_EQ(g_createFullScreen, 0);
    EXPECT_EQ(g_isProgramLooping, 1);
    EXPECT_EQ(quits, 1);
    ToggleFullscreen(&window);
    Drain();
    EXPECT_EQ(g_createFullScreen, 1);
}

} // namespace
