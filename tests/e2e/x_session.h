// x_session.h - a real X server with a real window manager (openbox) for one
// test, and the X tools a user's desktop would answer to: where windows are,
// what they are called, the display's mode, keys typed through the server.
//
// Two servers: Xvfb, whose screen has one fixed size and mode; and Xorg with
// its dummy driver, a desktop at 1920x1080 that really switches to 1680x1050
// or 1024x768 through RandR, as a monitor would. Either picks a free display
// itself. Xorg needs root (it is given its own configuration); where it cannot
// start, the session says why and tests skip. A third kind is a server some
// other program runs and manages, XWayland under a Wayland compositor: the
// session then only reaches it (see XServerAccess).
#pragma once

#include "tests/support/png_reading.h"
#include "tests/support/polling.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/subprocess.h"

#include <functional>
#include <string>
#include <vector>

struct WindowGeometry {
    int x = 0; // client area's top-left corner on the screen
    int y = 0;
    int width = 0;
    int height = 0;
};

struct FrameExtents {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};

struct XServerSetup {
    bool switchesModes = false; // Xorg with the dummy driver; else Xvfb
    int width = 1680;           // the screen's size at start
    int height = 1050;
    bool windowManager = true;
};

// How to reach an X server that another program runs: `enter` is a command
// that runs the rest of its line where that server is (in its namespaces),
// `environment` what a client there is given (DISPLAY among it); tools run
// under `toolLimit` as well, a command that ends one that hangs.
struct XServerAccess {
    std::string display;
    std::vector<std::string> enter;
    ProcessEnvironment environment;
    std::vector<std::string> toolLimit;
};

// Xorg's desktop at 1920x1080, switching, under openbox unless said otherwise.
inline XServerSetup SwitchingServer(bool windowManager = true) {
    return XServerSetup{true, 1920, 1080, windowManager};
}

class XSession {
  public:
    explicit XSession(const XServerSetup& setup); // starts the server and the window manager
    XSession(int width, int height) : XSession(XServerSetup{false, width, height, true}) {}
    explicit XSession(XServerAccess access); // starts nothing; its manager is the server's owner
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool ready() const { return ready_; }
    const std::string& problem() const { return problem_; } // why it is not ready
    const std::string& display() const { return display_; }

    // Runs an X tool against this display; its standard output.
    std::string Tool(const std::vector<std::string>& arguments) const;
    // Starts a tool where this display is and leaves it running (a bus
    // monitor, say).
    RunningProcess StartTool(const std::vector<std::string>& arguments) const;
    // Starts a program of the build on this display; `change` is applied to
    // the environment it gets there.
    RunningProcess Start(const std::string& program, const std::vector<std::string>& arguments = {},
                         const ProcessEnvironment& change = {}) const;

    // The newest shown window with this title that is not `other`, as the
    // server lists them now, or waited for; empty when there is none.
    std::string FindWindow(const std::string& title, const std::string& other = "") const;
    std::string WaitForWindow(const std::string& title, const std::string& other = "") const;
    // The windows listed under this class name (as both its name and class).
    std::vector<std::string> WindowsOfClass(const std::string& windowClass) const;
    bool WaitUntilGone(const std::string& window) const;

    WindowGeometry Geometry(const std::string& window) const;
    FrameExtents Frame(const std::string& window) const;
    std::string Property(const std::string& window, const std::string& name) const;
    WindowGeometry Screen() const;
    // The mode the screen's output shows ("1680x1050"), and setting one with
    // xrandr, as a user would.
    std::string CurrentMode() const;
    void SetMode(const std::string& mode) const;
    // Waits until the output shows `mode` and the screen is of its size.
    bool WaitForMode(const std::string& mode) const;
    // Waits until the screen has shown `count` pictures after the one it
    // shows now: a program drawing moving frames has then swapped at least
    // that many times.
    bool WaitForPictures(int count) const;
    // The window's own pixels, as the server holds them (xwd); false when
    // they cannot be read.
    bool WindowPicture(const std::string& window, PngImage* picture) const;
    // What the server holds for the program with this pid, one line a kind of
    // resource ("windows : 1"), over all its connections.
    std::string ClientResources(int pid) const;

    // Asks for the keyboard's focus on the window (through the window manager
    // where there is one) until the server gives it: a key typed from then on
    // reaches the program. Whether it came.
    bool Focus(const std::string& window) const;
    // A key ("F1", or with modifiers, "alt+F4") pressed on the keyboard once
    // the window has the focus, held, and let go.
    void KeyDown(const std::string& window, const std::string& key) const;
    void KeyUp(const std::string& key) const;
    // The key held on the window until `seen` holds, the program's own
    // evidence that a frame has seen it (a new window, its end), then let go;
    // whether `seen` held. A press the program missed (one that came before
    // it took the keyboard, say) is made again once the screen has shown
    // several new pictures with the window still there: a frame that had
    // seen the key would have acted on it.
    bool HoldKeyUntil(const std::string& window, const std::string& key,
                      const std::function<bool()>& seen) const;
    // A key pressed and let go at once, once the window has the focus: for a
    // window that acts when the key is let go (a message box).
    void Tap(const std::string& window, const std::string& key) const;

  private:
    bool StartServer(const XServerSetup& setup);
    std::size_t ScreenPicture() const; // the screen's pixels, hashed
    // A tool's command where the server is: the way in, the limit for a
    // tool waited for, then the tool from /usr/bin.
    std::vector<std::string> ToolCommand(const std::vector<std::string>& arguments,
                                         bool limited) const;

    ScratchDirectory scratch_; // the server's configuration and log
    bool managed_ = true;
    std::string display_;
    XServerAccess access_; // empty but for the display where the session runs the server
    RunningProcess server_;
    RunningProcess manager_;
    bool ready_ = false;
    std::string problem_;
};
