// The window with its contexts, the display-mode switch and the projection.
#include "framework/TolkGL.h"
#include "platform/sdl/offscreen.h"
#include "tests/framework/probe_scene.h"
#include "tests/support/frame_window.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/subprocess.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

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
    HWND popup = CreateWindowEx(0, kWindowClassName, "popup", WS_POPUP, 0, 0, 100, 100, nullptr,
                                nullptr, nullptr, &window);
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

// The demo started where no display can be had: one line saying what is
// wrong, no box, no mode switch, and the status kept for this case alone.
struct MissingDisplay {
    const char* name;
    ProcessEnvironment environment;
    const char* problem; // what the line must name
};

void PrintTo(const MissingDisplay& missing, std::ostream* out) {
    *out << missing.name;
}

class ProgramWithoutADisplay : public testing::TestWithParam<MissingDisplay> {};

TEST_P(ProgramWithoutADisplay, SaysWhyOnceAndEndsWithItsOwnStatus) {
    ProcessEnvironment environment = GetParam().environment;
    for (const char* unset : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "XDG_RUNTIME_DIR"}) {
        environment.unset.push_back(unset);
    }
    const ProcessResult run = RunProcess({BuiltProgram("tarrow")}, environment);
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.err.rfind("tarrow: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(GetParam().problem), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("tarrow-render"), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(, ProgramWithoutADisplay,
                         testing::Values(MissingDisplay{"NoServerOnTheDisplay",
                                                        {{{"DISPLAY", ":349"}}, {}},
                                                        "cannot open display :349"},
                                         MissingDisplay{"DisplayUnset", {}, "DISPLAY is not set"},
                                         MissingDisplay{"DriverThatCannotStart",
                                                        {{{"SDL_VIDEODRIVER", "nosuch"}}, {}},
                                                        "cannot start video driver nosuch"},
                                         MissingDisplay{"NativeWaylandWithoutXWayland",
                                                        {{{"SDL_VIDEODRIVER", "wayland"},
                                                          {"WAYLAND_DISPLAY", "wayland-349"},
                                                          {"XDG_RUNTIME_DIR", "/nonexistent"}},
                                                         {}},
                                                        "DISPLAY is not set for XWayland"}),
                         [](const auto& info) { return std::string(info.param.name); });

// What to run instead without a display: a copy in its build's folder names
// the build's preview (make run); a copy installed, without the build's
// programs beside it, names what an installation has.
TEST(ProgramWithoutADisplayAdvises, WhatItsOwnCopyHasAtHand) {
    const ProcessEnvironment noDisplay{{}, {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}};
    const ProcessResult built = RunProcess({BuiltProgram("tarrow")}, noDisplay);
    EXPECT_NE(built.err.find("'make run'"), std::string::npos) << built.err;

    ScratchDirectory bin;
    std::filesystem::copy_file(BuiltProgram("tarrow"), bin.Path("tarrow"));
    const ProcessResult installed = RunProcess({bin.Path("tarrow")}, noDisplay);
    EXPECT_EQ(installed.status, 3) << installed.err;
    EXPECT_NE(installed.err.find("see tarrow-render --help"), std::string::npos) << installed.err;
    EXPECT_EQ(installed.err.find("make"), std::string::npos) << installed.err;
}

} // namespace
