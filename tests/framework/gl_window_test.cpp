// The window with its contexts, the display-mode switch and the projection.
#include "framework/TolkGL.h"
#include "platform/extras.h"
#include "tests/framework/probe_scene.h"
#include "tests/support/frame_window.h"
#include "tests/support/subprocess.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using GlWindow = FrameWindowTest;

std::vector<GLfloat> Projection() {
    std::vector<GLfloat> matrix(16);
    glGetFloatv(GL_PROJECTION_MATRIX, matrix.data());
    return matrix;
}

TEST_F(GlWindow, WindowedRequestGetsExactlyTheClientSize) {
    ASSERT_EQ(CreateWindowGL(&window), 1);
    RECT client{};
    GetClientRect(window.windowHandle, &client);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 200);
    EXPECT_EQ(window.isVisible, 1);
    EXPECT_NE(window.renderingContext, nullptr);
    DestroyWindowGL(&window);
    EXPECT_EQ(window.windowHandle, nullptr);
    EXPECT_EQ(window.deviceContext, nullptr);
    EXPECT_EQ(window.renderingContext, nullptr);
}

TEST_F(GlWindow, ReshapeToNoHeightKeepsAFiniteProjection) {
    ASSERT_EQ(CreateWindowGL(&window), 1);
    ReshapeGL(640, 0);
    const std::vector<GLfloat> flat = Projection();
    for (const GLfloat value : flat) {
        EXPECT_TRUE(std::isfinite(value));
    }
    ReshapeGL(640, 1);
    EXPECT_EQ(flat, Projection());
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    DestroyWindowGL(&window);
}

TEST_F(GlWindow, FailureAfterAModeSwitchHandsTheDesktopBack) {
    platform::SetOffscreenDisplayMode(320, 200);
    application.className = "NoSuchClass"; // the window itself cannot be made
    window.isFullScreen = 1;
    EXPECT_EQ(CreateWindowGL(&window), 0);
    EXPECT_EQ(window.windowHandle, nullptr);
    EXPECT_EQ(ShowCursor(TRUE), 1); // the cursor was shown again: the count is back at 0
    // No full-screen mode is held any more: a popup window keeps its own size.
    HWND popup = CreateWindowEx(0, "OpenGL", "popup", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, &window);
    RECT client{};
    GetClientRect(popup, &client);
    EXPECT_EQ(client.right, 100);
    DestroyWindow(popup);
}

TEST_F(GlWindow, DestroyWithoutAWindowOnlyRestoresTheMode) {
    window.isFullScreen = 1;
    EXPECT_EQ(DestroyWindowGL(&window), 1);
    EXPECT_EQ(ShowCursor(FALSE), 0);
}

TEST(Program, WithoutADisplaySaysSoAndFails) {
    const ProcessResult run =
        RunProcess({BuiltProgram("tarrow")},
                   ProcessEnvironment{{}, {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("tarrow needs a display"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("tarrow-render"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Error: Error Creating OpenGL Window\n"), std::string::npos) << run.err;
}

} // namespace
