// The demo drawn in another program's X window (a saver daemon's, through
// --window-id): it fills that window with no window of its own, follows the
// window's size, and ends cleanly when the window goes.
#include "tests/e2e/desktop.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <cstdio>
#include <set>

namespace {

// The other program: a bare window of the test's own, white until drawn in.
class HostWindow {
  public:
    explicit HostWindow(const std::string& display) : display_(XOpenDisplay(display.c_str())) {
        if (display_ != nullptr) {
            window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 320, 240, 0,
                                          0, WhitePixel(display_, DefaultScreen(display_)));
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

// The colours seen in the picture's top-right quarter, sampled: the corner
// the view reaches only once it fills the whole window (GL's origin is the
// bottom-left corner).
std::size_t ColoursTopRight(const PngImage& picture) {
    std::set<std::uint32_t> colours;
    for (int y = 0; y < picture.height / 2; y += 3) {
        for (int x = picture.width / 2; x < picture.width; x += 3) {
            const std::uint8_t* pixel =
                &picture
                     .pixels[(static_cast<std::size_t>(y) * picture.width + x) * picture.channels];
            colours.insert(pixel[0] << 16 | pixel[1] << 8 | pixel[2]);
        }
    }
    return colours.size();
}

// A scene has many colours; an empty window or buffer has one or two.
constexpr std::size_t kSceneColours = 16;

TEST_F(Desktop, WindowIdDrawsInThatWindowFollowsItsSizeAndEndsWithIt) {
    XSession x(XServerSetup{false, 800, 600, false});
    ASSERT_TRUE(x.ready()) << x.problem();
    HostWindow host(x.display());
    ASSERT_TRUE(host.ready());
    program = x.Start("tarrow", {"--window-id", host.id()});

    PngImage picture;
    EXPECT_TRUE(PollUntil([&] {
        return x.WindowPicture(host.id(), &picture) && picture.width == 320 &&
               ColoursTopRight(picture) >= kSceneColours;
    }));
    EXPECT_TRUE(x.WindowsOfClass("OpenGL").empty());

    host.Resize(640, 480);
    EXPECT_TRUE(PollUntil([&] {
        return x.WindowPicture(host.id(), &picture) && picture.width == 640 &&
               ColoursTopRight(picture) >= kSceneColours;
    })) << ColoursTopRight(picture);

    host.Destroy();
    EXPECT_EQ(Ended(), 0) << ended.err;
}

} // namespace
