// gl_context.h - a small offscreen window with a GL context, made and torn
// down by the frame's own calls, for tests that draw or read GL state.
#pragma once

#include "framework/TolkGL.h"
#include "framework/scene_hooks.h"

#include <gtest/gtest.h>

class SceneWindow : public testing::Test {
  protected:
    void SetUp() override {
        application = Application{GetModuleHandle(nullptr), "OpenGL"};
        window.keys = &keys;
        window.application = &application;
        window.title = "vesk2013 - tarrow";
        window.width = 320;
        window.height = 200;
        window.bitsPerPixel = 32;
        window.isFullScreen = 0;
        ASSERT_EQ(RegisterWindowClass(&application), 1);
        ASSERT_EQ(CreateWindowGL(&window), 1);
    }
    void TearDown() override {
        if (window.windowHandle != nullptr) {
            DestroyWindowGL(&window);
        }
        UnregisterClass("OpenGL", application.instance);
    }

    Keys keys{};
    GL_Window window{};
    Application application{};
};

// The same window with the scene initialised in it.
class InitializedScene : public SceneWindow {
  protected:
    void SetUp() override {
        SceneWindow::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        ASSERT_EQ(Initialize(&window, &keys), 1);
    }
};
