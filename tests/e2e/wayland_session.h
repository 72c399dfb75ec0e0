// wayland_session.h - a Wayland desktop of today for one test: a real
// compositor (mutter, the GNOME shell or KWin) started headless on a virtual
// 1920x1080 monitor, with XWayland, as a user's session would run it, and
// what a test asks of it: its XWayland as an X session, tools run inside it,
// its screen read back, the processes still running in it.
//
// Each session lives in private namespaces: a mount namespace with its own
// tmpfs on /tmp/.X11-unix (mode 1777), so its XWayland's sockets meet no
// other X server's; a network namespace, which holds the abstract sockets;
// and a process namespace, whose end takes every process of the session with
// it. /tmp itself stays shared, so the build and scratch folders are seen
// inside. It has its own session bus, XDG_RUNTIME_DIR (mode 0700) and HOME,
// and the GNOME shell a stand-in system bus. A start that hangs (the shell
// does, now and then) is given up after a limit and tried once more.
#pragma once

#include "tests/e2e/x_session.h"
#include "tests/support/png_reading.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/subprocess.h"

#include <memory>
#include <string>
#include <vector>

enum class Compositor { Mutter, GnomeShell, KWin };

class WaylandSession {
  public:
    explicit WaylandSession(Compositor compositor);
    ~WaylandSession();
    WaylandSession(const WaylandSession&) = delete;
    WaylandSession& operator=(const WaylandSession&) = delete;

    bool ready() const { return ready_; }
    const std::string& problem() const { return problem_; } // why it is not ready

    // Its XWayland, with the compositor as the window manager. Programs
    // started there get the session's whole environment (WAYLAND_DISPLAY
    // too, as on a user's desktop).
    XSession& x() const { return *x_; }

    // Whether a name on the session bus has an owner.
    bool BusNameOwned(const std::string& name) const;
    // Whether the compositor hands out pictures of its screen; reading one.
    bool ShowsItsScreen() const { return compositor_ != Compositor::Mutter; }
    bool ReadScreen(PngImage* screen) const;
    // The pids of processes named `name` still running in the session.
    std::vector<int> Running(const std::string& name) const;

  private:
    bool Start();
    bool AwaitReady();
    void Stop();

    Compositor compositor_;
    ScratchDirectory scratch_; // runtime folder, home, the compositor's log
    RunningProcess session_;   // unshare, whose child is the namespaces' first process
    int inside_ = -1;          // that child
    std::string namespaceId_;  // its network namespace, as /proc names it
    std::unique_ptr<XSession> x_;
    bool ready_ = false;
    std::string problem_;
};
