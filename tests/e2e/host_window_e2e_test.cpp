// The demo drawn in another program's X window (a saver daemon's, through
// --window-id): it fills that window with no window of its own, follows the
// window's size, and ends cleanly when the window goes.
#include "tests/e2e/black_edges.h"
#include "tests/e2e/desktop.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <cstdio>

namespace {

// The other program: a bare window of the test's own, black until drawn in.
class HostWindow {
  public:
    explicit HostWindow(const std::string& display) : display_(XOpenDisplay(display.c_str())) {
        if (display_ != nullptr) {
            window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 320, 240, 0,
                                          0, BlackPixel(display_, DefaultScreen(display_)));
            XMapWindow(display_, window_);
            XSync(display_, False);
        }
    }
    ~HostWindow() {
        if (display_ != nullptr) {
            XCloseDisplay(display_);
        }
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    bool ready() const { return display_ != nullptr; }
    std::string id() const {
        char text[32];
        std::snprintf(text, sizeof text, "0x%lx", window_);
        return text;
    }
    void Resize(int width, int height) {
        XResizeWindow(display_, window_, width, height);
        XSync(display_, False);
    }
    void Destroy() {
        XDestroyWindow(display_, window_);
        XSync(display_, False);
    }

  private:
    Display* display_;
    Window window_ = 0;
};

TEST_F(Desktop, WindowIdDrawsInThatWindowFollowsItsSizeAndEndsWithIt) {
    XSession x(XServerSetup{false, 800, 600, false});
    ASSERT_TRUE(x.ready()) << x.problem();
    HostWindow host(x.display());
    ASSERT_TRUE(host.ready());
    program = x.Start("tarrow", {"--window-id", host.id()});

    PngImage picture;
    EXPECT_TRUE(PollUntil([&] {
        return x.WindowPicture(host.id(), &picture) && picture.width == 320 && Covered(picture);
    }));
    EXPECT_TRUE(x.WindowsOfClass("OpenGL").empty());

    host.Resize(640, 480);
    EXPECT_TRUE(PollUntil([&] {
        return x.WindowPicture(host.id(), &picture) && picture.width == 640 && Covered(picture);
    })) << picture.width
        << "x" << picture.height;

    host.Destroy();
    EXPECT_EQ(Ended(), 0) << ended.err;
}

} // namespace
