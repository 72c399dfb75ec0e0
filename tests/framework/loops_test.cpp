// The entry point's two loops, driven through the layer's input as a user
// would drive them: keys typed, the window minimised and closed, the process
// asked to quit. Each test runs the whole program in its own process.
#include "framework/TolkGL.h"
#include "platform/sdl/offscreen.h"
#include "tests/framework/probe_scene.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <thread>

namespace {

int RunProgram() {
    return WinMain(GetModuleHandle(nullptr), nullptr, nullptr, SW_SHOWNORMAL);
}

class Loops : public testing::Test {
  protected:
    void SetUp() override { platform::SetOffscreenDisplayMode(1680, 1050); }
};

TEST_F(Loops, EscapeEndsTheProgramAfterTheFrameInProgressIsDrawn) {
    g_probeScript = [](int, int frame) {
        if (frame == 3) {
            PressKey(VK_ESCAPE);
        }
    };
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(g_probe.escapeSeenAtUpdate, 4); // typed during frame 3, read by the next Update
    EXPECT_EQ(g_probe.updates, 4);
    EXPECT_EQ(g_probe.draws, 4); // the frame that saw Escape was still drawn
    EXPECT_EQ(g_probe.initializes, 1);
    EXPECT_EQ(g_probe.deinitializes, 1);
}

TEST_F(Loops, F1RecreatesTheWindowOncePerPressInTheOtherStyle) {
    g_probeScript = [](int window, int frame) {
        if (window == 1 && frame == 2) {
            PressKey(VK_F1);
        }
        if (window == 1 && frame == 3) {
            ReleaseKey(VK_F1); // still queued when the window goes
        }
        if (window == 2 && frame == 3) {
            PressKey(VK_ESCAPE);
        }
    };
    EXPECT_EQ(RunProgram(), 0);
    ASSERT_EQ(g_probe.windows.size(), 2u);
    EXPECT_EQ(g_probe.windows[0].style, WS_POPUP);
    EXPECT_EQ(g_probe.windows[0].isFullScreen, 1);
    EXPECT_EQ(g_probe.windows[1].style, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(g_probe.windows[1].isFullScreen, 0);
    EXPECT_EQ(g_probe.initializes, 2);
    EXPECT_EQ(g_probe.deinitializes, 2);
    EXPECT_EQ(g_createFullScreen, 0);
}

TEST_F(Loops, SecondF1GoesBackToFullScreen) {
    g_probeScript = [](int window, int frame) {
        if (window < 3 && frame == 2) {
            PressKey(VK_F1);
        }
        if (window < 3 && frame == 3) {
            ReleaseKey(VK_F1);
        }
        if (window == 3 && frame == 2) {
            PressKey(VK_ESCAPE);
        }
    };
    EXPECT_EQ(RunProgram(), 0);
    ASSERT_EQ(g_probe.windows.size(), 3u);
    EXPECT_EQ(g_probe.windows[0].style, WS_POPUP);
    EXPECT_EQ(g_probe.windows[1].style, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(g_probe.windows[2].style, WS_POPUP);
}

TEST_F(Loops, EscapeAndF1InOneFrameEndWithoutANewWindow) {
    g_probeScript = [](int, int frame) {
        if (frame == 2) {
            PressKey(VK_ESCAPE);
            PressKey(VK_F1);
        }
    };
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(g_probe.initializes, 1);
    EXPECT_EQ(g_probe.deinitializes, 1);
}

TEST_F(Loops, KeyPressedAndReleasedInOneDrainHasNoEffect) {
    g_probeScript = [](int, int frame) {
        if (frame == 2) {
            PressKey(VK_ESCAPE);
            ReleaseKey(VK_ESCAPE);
        }
        if (frame == 6) {
            PressKey(VK_ESCAPE);
        }
    };
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(g_probe.escapeSeenAtUpdate, 7);
}

TEST_F(Loops, PostedQuitEndsOnlyTheInnerLoop) {
    g_probeScript = [](int window, int frame) {
        if (window == 1 && frame == 2) {
            PostMessage(g_probeWindow->windowHandle, WM_QUIT, 0, 0);
        }
        if (window == 2 && frame == 2) {
            PressKey(VK_ESCAPE);
        }
    };
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(g_probe.initializes, 2); // the outer loop made the window again
    EXPECT_EQ(g_probe.windows[1].style, WS_POPUP);
}

TEST_F(Loops, ClosingTheWindowEndsTheProgram) {
    g_probeScript = [](int, int frame) {
        if (frame == 2) {
            SDL_Event close{};
            close.type = SDL_WINDOWEVENT;
            close.window.event = SDL_WINDOWEVENT_CLOSE;
            close.window.windowID = SDL_GetWindowID(SDL_GL_GetCurrentWindow());
            SDL_PushEvent(&close);
        }
    };
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(g_probe.initializes, 1);
    EXPECT_EQ(g_probe.deinitializes, 1);
    EXPECT_EQ(g_probe.updates, 2); // no frame after the close was handled
}

TEST_F(Loops, TermSignalEndsTheProgramAsClosingDoes) {
    g_probeScript = [](int, int frame) {
        if (frame == 2) {
            std::raise(SIGTERM);
        }
    };
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(g_probe.initializes, 1);
    EXPECT_EQ(g_probe.deinitializes, 1);
    EXPECT_EQ(g_probe.updates, 2);
}

TEST_F(Loops, MinimisedWindowDrawsNothingUntilRestored) {
    static int drawsWhenMinimised = 0;
    static std::thread restorer;
    g_probeScript = [](int, int frame) {
        if (frame == 2) {
            ShowWindow(g_probeWindow->windowHandle, SW_MINIMIZE);
            drawsWhenMinimised = g_probe.draws;
            // The restore arrives from elsewhere while the loop waits.
            HWND window = g_probeWindow->windowHandle;
            restorer = std::thread([window] {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                PostMessage(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 400));
            });
        }
        if (frame == 3) {
            // Nothing ran while minimised: this is the first frame after.
            EXPECT_EQ(g_probe.draws, drawsWhenMinimised + 1);
            EXPECT_EQ(g_probeWindow->isVisible, 1);
            PressKey(VK_ESCAPE);
        }
    };
    EXPECT_EQ(RunProgram(), 0);
    restorer.join();
    EXPECT_EQ(g_probe.updates, 4);
}

// A mode the display does not offer, and one it offers but then refuses to
// set, take the same path.
class RefusedModeSwitch : public Loops, public testing::WithParamInterface<bool> {};

TEST_P(RefusedModeSwitch, SaysSoAndRunsWindowed) {
    if (GetParam()) {
        platform::RefuseModeSwitches();
    } else {
        platform::SetOffscreenDisplayMode(1024, 768);
    }
    g_probeScript = [](int, int frame) {
        if (frame == 2) {
            PressKey(VK_ESCAPE);
        }
    };
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunProgram(), 0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("tarrow: Error: Mode Switch Failed.\nRunning In Windowed Mode.\n"),
              std::string::npos);
    ASSERT_EQ(g_probe.windows.size(), 1u);
    EXPECT_EQ(g_probe.windows[0].style, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(g_probe.windows[0].isFullScreen, 0);
    EXPECT_EQ(g_createFullScreen, 1); // the next F1 asks for a window, not full screen
}

INSTANTIATE_TEST_SUITE_P(, RefusedModeSwitch, testing::Bool(), [](const auto& info) {
    return std::string(info.param ? "OfferedButRefused" : "NotOffered");
});

TEST_F(Loops, RefusedInitializeEndsWithoutAFrame) {
    g_probeInitializeResult = 0;
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(g_probe.updates, 0);
    EXPECT_EQ(g_probe.deinitializes, 1);
}

TEST_F(Loops, ContextHasTheRequestedSixteenBitDepthBuffer) {
    g_probeScript = [](int, int) { PressKey(VK_ESCAPE); };
    EXPECT_EQ(RunProgram(), 0);
    ASSERT_EQ(g_probe.windows.size(), 1u);
    EXPECT_EQ(g_probe.windows[0].depthBits, 16);
}

TEST_F(Loops, ScreenSaverIsRefusedWhileTheWindowExists) {
    static bool saverOnDuringRun = true;
    g_probeScript = [](int, int) {
        saverOnDuringRun = SDL_IsScreenSaverEnabled() == SDL_TRUE;
        PressKey(VK_ESCAPE);
    };
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_FALSE(saverOnDuringRun);
    EXPECT_TRUE(SDL_IsScreenSaverEnabled());
}

} // namespace
