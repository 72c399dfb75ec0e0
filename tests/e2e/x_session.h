// x_session.h - a real X server (Xvfb) with a real window manager (openbox)
// for one test, and the X tools a user's desktop would answer to: where
// windows are, what they are called, keys typed through the server.
#pragma once

#include "tests/support/polling.h"
#include "tests/support/subprocess.h"

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

class XSession {
  public:
    XSession(int width, int height); // starts the server and the window manager
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool ready() const { return ready_; }
    const std::string& problem() const { return problem_; } // why it is not ready
    const std::string& display() const { return display_; }

    // Runs an X tool against this display; its standard output.
    std::string Tool(const std::vector<std::string>& arguments) const;
    // Starts a program of the build on this display.
    RunningProcess Start(const std::string& program) const;

    // The newest window the window manager lists with this title that is not
    // `other`, waited for; empty when none comes.
    std::string WaitForWindow(const std::string& title, const std::string& other = "") const;
    // The windows listed under this class name (as both its name and class).
    std::vector<std::string> WindowsOfClass(const std::string& windowClass) const;
    bool WaitUntilGone(const std::string& window) const;

    WindowGeometry Geometry(const std::string& window) const;
    FrameExtents Frame(const std::string& window) const;
    std::string Property(const std::string& window, const std::string& name) const;
    WindowGeometry Screen() const;
    // What the server holds for the program with this pid, one line a kind of
    // resource ("windows : 1"), over all its connections.
    std::string ClientResources(int pid) const;

    // A key pressed on the keyboard, held, and let go.
    void KeyDown(const std::string& window, const std::string& key) const;
    void KeyUp(const std::string& key) const;

  private:
    std::string display_;
    RunningProcess server_;
    RunningProcess manager_;
    bool ready_ = false;
    std::string problem_;
};
