// frame_window.h - the frame's records for one small window, with the window
// class registered, for tests of the frame's window and of GL drawing.
#pragma once

#include "framework/TolkGL.h"

#include <gtest/gtest.h>

class FrameWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        application = Application{GetModuleHandle(nullptr), kWindowClassName};
        window.keys = &keys;
        window.application = &application;
        window.title = kWindowTitle;
        window.width = 320;
        window.height = 200;
        window.bitsPerPixel = 32;
        window.isFullScreen = 0;
        ASSERT_EQ(RegisterWindowClass(&application), 1);
    }
    void TearDown() override {
        if (window.windowHandle != nullptr) {
            DestroyWindowGL(&window);
        }
        UnregisterClass(kWindowClassName, application.instance);
    }

    Keys keys{};
    GL_Window window{};
    Application application{};
};
