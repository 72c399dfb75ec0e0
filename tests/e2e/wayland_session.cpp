// wayland_session.cpp - mutter, the GNOME shell or KWin, headless, in
// namespaces of their own.
#include "tests/e2e/wayland_session.h"

#include "tests/support/files.h"
#include "tests/support/polling.h"
#include "tests/support/process_usage.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <sstream>

namespace {

// A compositor asked to end has this long before its namespaces are killed.
constexpr auto kStopLimit = std::chrono::seconds(15);

// The first process in the new namespaces: a shell that gives the session
// its X socket folder and buses, starts the compositor (its arguments) and
// hands it a termination request. When this shell ends, the process
// namespace ends, and every process of the session with it.
constexpr char kSessionShell[] = R"(
mount -t tmpfs -o mode=1777 tmpfs /tmp/.X11-unix || exit 1
dbus-daemon --session --fork --address="$DBUS_SESSION_BUS_ADDRESS" || exit 1
if [ -n "$DBUS_SYSTEM_BUS_ADDRESS" ]; then
    dbus-daemon --session --fork --address="$DBUS_SYSTEM_BUS_ADDRESS" || exit 1
fi
"$@" &
compositor=$!
trap 'kill -TERM $compositor' TERM
wait $compositor
wait $compositor
)";

std::string NetworkNamespace(int pid) {
    std::error_code ignored;
    return std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/ns/net", ignored);
}

std::vector<std::string> CommandLine(int pid) {
    const std::string text = ReadFile("/proc/" + std::to_string(pid) + "/cmdline");
    std::vector<std::string> arguments;
    std::istringstream parts(text);
    for (std::string part; std::getline(parts, part, '\0');) {
        arguments.push_back(part);
    }
    return arguments;
}

// Whether a child process has ended: gone, or ended and not yet waited for.
bool Ended(int pid) {
    const std::optional<ProcessEntry> process = ReadProcess(pid);
    return !process || process->state == 'Z';
}

const char* Name(Compositor compositor) {
    switch (compositor) {
    case Compositor::Mutter:
        return "mutter";
    case Compositor::GnomeShell:
        return "gnome-shell";
    case Compositor::KWin:
        return "kwin";
    }
    return "";
}

} // namespace

WaylandSession::WaylandSession(Compositor compositor) : compositor_(compositor) {
    ready_ = Start();
    if (!ready_) {
        const std::string first = problem_;
        std::fprintf(stderr, "%s did not start (%s); trying once more\n", Name(compositor),
                     first.c_str());
        Stop();
        ready_ = Start();
        if (!ready_) {
            problem_ = "twice: " + first + "; then " + problem_;
        }
    }
}

WaylandSession::~WaylandSession() {
    Stop();
}

bool WaylandSession::Start() {
    const std::string runtime = scratch_.Path("runtime");
    std::filesystem::remove_all(runtime);
    std::filesystem::create_directory(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    std::filesystem::create_directories(scratch_.Path("home"));

    ProcessEnvironment environment{{{"XDG_RUNTIME_DIR", runtime},
                                    {"HOME", scratch_.Path("home")},
                                    {"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + runtime + "/bus"}},
                                   {"DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "SDL_VIDEODRIVER"}};
    std::vector<std::string> compositor;
    switch (compositor_) {
    case Compositor::Mutter:
        compositor = {"/usr/bin/mutter", "--headless", "--wayland", "--virtual-monitor",
                      "1920x1080"};
        break;
    case Compositor::GnomeShell:
        // The shell asks the system bus for accounts, networks and the like;
        // a bus of its own answers that no such service is there.
        compositor = {"/usr/bin/gnome-shell", "--headless", "--wayland", "--virtual-monitor",
                      "1920x1080"};
        environment.set.push_back({"DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + runtime + "/system"});
        break;
    case Compositor::KWin: {
        // The installed binary carries a file capability that a container may
        // refuse to execute; a plain copy does without it. KWin's own Qt
        // platform plugin serves only a binary of that name.
        const std::string copy = scratch_.Path("bin/kwin_wayland");
        std::filesystem::create_directories(scratch_.Path("bin"));
        std::filesystem::copy_file("/usr/bin/kwin_wayland", copy,
                                   std::filesystem::copy_options::overwrite_existing);
        compositor = {copy, "--virtual", "--xwayland", "--width", "1920", "--height", "1080"};
        environment.set.push_back({"KWIN_SCREENSHOT_NO_PERMISSION_CHECKS", "1"});
        break;
    }
    }
    if (compositor_ != Compositor::GnomeShell) {
        environment.unset.push_back("DBUS_SYSTEM_BUS_ADDRESS");
    }

    // setpriv: should this test process die, the session dies with it.
    std::vector<std::string> command{
        "/usr/bin/setpriv", "--pdeathsig", "KILL",  "--",      "/usr/bin/unshare",
        "--mount",          "--net",       "--pid", "--fork",  "--kill-child",
        "--propagation",    "private",     "--",    "/bin/sh", "-c",
        kSessionShell,      "session"};
    command.insert(command.end(), compositor.begin(), compositor.end());
    session_ = StartProcess(command, environment);
    if (session_.pid <= 0) {
        problem_ = "unshare could not be started";
        return false;
    }
    if (AwaitReady()) {
        return true;
    }
    ProcessResult ended;
    if (WaitForExit(session_, std::chrono::milliseconds(0), &ended)) {
        session_.pid = -1;
        problem_ += " (the session ended with status " + std::to_string(ended.status) +
                    "): " + ended.err.substr(ended.err.size() > 800 ? ended.err.size() - 800 : 0);
    }
    return false;
}

bool WaylandSession::AwaitReady() {
    // A normal start takes seconds; one that hangs is given up with the
    // patience of every wait, and one whose session ends at once.
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    const auto poll = [&](const std::function<bool()>& done) {
        return PollUntil(done, deadline, [&] { return Ended(session_.pid); });
    };
    if (!poll([&] {
            for (const ProcessEntry& process : Processes()) {
                if (process.parent == session_.pid) {
                    inside_ = process.pid;
                    namespaceId_ = NetworkNamespace(inside_);
                }
            }
            return !namespaceId_.empty() && namespaceId_ != NetworkNamespace(getpid());
        })) {
        problem_ = "the namespaces were not made";
        return false;
    }

    // XWayland's display and authority, from its own command line; the
    // compositor's socket, from the runtime folder.
    std::string display, authority, wayland;
    if (!poll([&] {
            for (int pid : Running("Xwayland")) {
                const std::vector<std::string> arguments = CommandLine(pid);
                for (std::size_t i = 1; i < arguments.size(); ++i) {
                    if (arguments[i][0] == ':') {
                        display = arguments[i];
                    } else if (arguments[i] == "-auth" && i + 1 < arguments.size()) {
                        authority = arguments[i + 1];
                    }
                }
            }
            std::error_code ignored;
            for (const auto& entry :
                 std::filesystem::directory_iterator(scratch_.Path("runtime"), ignored)) {
                const std::string name = entry.path().filename();
                if (name.starts_with("wayland-") && !name.ends_with(".lock")) {
                    wayland = name;
                }
            }
            return !display.empty() && !wayland.empty();
        })) {
        problem_ = "XWayland did not start";
        return false;
    }

    ProcessEnvironment clients{
        {{"DISPLAY", display},
         {"WAYLAND_DISPLAY", wayland},
         {"XDG_RUNTIME_DIR", scratch_.Path("runtime")},
         {"HOME", scratch_.Path("home")},
         {"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + scratch_.Path("runtime") + "/bus"}},
        {"SDL_VIDEODRIVER", "DBUS_SYSTEM_BUS_ADDRESS"}};
    if (authority.empty()) {
        clients.unset.push_back("XAUTHORITY");
    } else {
        clients.set.push_back({"XAUTHORITY", authority});
    }
    const std::string target = std::to_string(inside_);
    x_ = std::make_unique<XSession>(
        XServerAccess{display,
                      {"/usr/bin/nsenter", "--target", target, "--mount", "--net", "--"},
                      clients,
                      {"/usr/bin/timeout", "-k", "5", std::to_string(kPatience.count())}});

    if (!poll([&] {
            return x_->Tool({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).find("window id") !=
                   std::string::npos;
        })) {
        problem_ = "the compositor did not manage XWayland's windows";
        return false;
    }
    if (compositor_ == Compositor::GnomeShell) {
        // The shell starts in its overview, which keys sent into XWayland do
        // not reach: it is closed through the shell's own property.
        const auto overview = [&](const std::string& method, const std::string& value) {
            std::vector<std::string> call{"gdbus",
                                          "call",
                                          "--session",
                                          "--dest",
                                          "org.gnome.Shell",
                                          "--object-path",
                                          "/org/gnome/Shell",
                                          "--method",
                                          "org.freedesktop.DBus.Properties." + method,
                                          "org.gnome.Shell",
                                          "OverviewActive"};
            if (!value.empty()) {
                call.push_back(value);
            }
            return x_->Tool(call);
        };
        if (!poll([&] { return overview("Get", "").find("true") != std::string::npos; }) ||
            !poll([&] {
                overview("Set", "<false>");
                return overview("Get", "").find("false") != std::string::npos;
            })) {
            problem_ = "the GNOME shell did not start, or kept its overview open";
            return false;
        }
    }
    return true;
}

void WaylandSession::Stop() {
    x_.reset();
    if (session_.pid <= 0) {
        return;
    }
    if (inside_ > 0) {
        kill(inside_, SIGTERM);
    }
    ProcessResult ended;
    if (inside_ <= 0 || !WaitForExit(session_, kStopLimit, &ended)) {
        kill(session_.pid, SIGKILL); // its child, and so the namespaces, go with it
        FinishProcess(session_);
    }
    session_.pid = -1;
    inside_ = -1;
    namespaceId_.clear();
}

bool WaylandSession::BusNameOwned(const std::string& name) const {
    return x_->Tool({"gdbus", "call", "--session", "--dest", "org.freedesktop.DBus",
                     "--object-path", "/org/freedesktop/DBus", "--method",
                     "org.freedesktop.DBus.NameHasOwner", name})
               .find("true") != std::string::npos;
}

bool WaylandSession::ReadScreen(PngImage* screen) const {
    if (!ShowsItsScreen()) {
        return false;
    }
    const std::string path = scratch_.Path("screen.png");
    std::filesystem::remove(path);
    x_->Tool({"python3", TARROW_READ_SCREEN, Name(compositor_), path});
    return ReadPng(path, screen);
}

std::vector<int> WaylandSession::Running(const std::string& name) const {
    std::vector<int> pids;
    for (const ProcessEntry& process : Processes()) {
        if (process.name == name && NetworkNamespace(process.pid) == namespaceId_) {
            pids.push_back(process.pid);
        }
    }
    return pids;
}
