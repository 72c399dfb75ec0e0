// gl_context.h - a small offscreen window with a GL context, made and torn
// down by the frame's own calls, for tests that draw or read GL state.
#pragma once

#include "framework/scene_hooks.h"
#include "tests/support/frame_window.h"

#include <gtest/gtest.h>

class SceneWindow : public FrameWindowTest {
  protected:
    void SetUp() override {
        FrameWindowTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        ASSERT_EQ(CreateWindowGL(&window), 1);
    }
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
