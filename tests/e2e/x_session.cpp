// x_session.cpp - Xvfb, openbox and the X tools.
#include "tests/e2e/x_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <sstream>

namespace {

// The display number a server writes to its -displayfd once it takes
// connections; empty when it ends or stays silent for the whole patience.
std::string ReadDisplayNumber(int descriptor) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    std::string text;
    while (text.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{descriptor, POLLIN, 0};
        char chunk[32];
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
            return {};
        }
        const ssize_t got = read(descriptor, chunk, sizeof chunk);
        if (got <= 0) {
            return {};
        }
        text.append(chunk, static_cast<std::size_t>(got));
    }
    return text.substr(0, text.find('\n'));
}

int Number(const std::string& text, const std::string& label) {
    const std::size_t at = text.find(label);
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + label.size());
}

void Stop(const RunningProcess& process) {
    if (process.pid > 0) {
        kill(process.pid, SIGTERM);
        FinishProcess(process);
    }
}

} // namespace

XSession::XSession(int width, int height) {
    // The server picks a free display and names it (-displayfd), so tests can
    // run side by side. It must not reset when its last client leaves: a
    // client connecting during the reset is turned away.
    int named[2];
    if (pipe2(named, O_CLOEXEC) != 0) {
        problem_ = "no pipe for the X server's display number";
        return;
    }
    server_ = StartProcess({"/usr/bin/Xvfb", "-displayfd", "3", "-screen", "0",
                            std::to_string(width) + "x" + std::to_string(height) + "x24",
                            "-nolisten", "tcp", "-noreset"},
                           {}, named[1]);
    close(named[1]);
    const std::string number = ReadDisplayNumber(named[0]);
    close(named[0]);
    if (number.empty()) {
        problem_ = "the X server did not start";
        ProcessResult ended;
        if (WaitForExit(server_, std::chrono::milliseconds(0), &ended)) {
            problem_ += ": " + ended.err;
            server_.pid = -1;
        }
        return;
    }
    display_ = ":" + number;
    manager_ = StartProcess({"/usr/bin/openbox"}, ProcessEnvironment{{{"DISPLAY", display_}}, {}});
    const bool managed = PollUntil([&] {
        return Tool({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).find("window id") !=
               std::string::npos;
    });
    // Keys are held for as long as a test needs; the server must not repeat them.
    Tool({"xset", "r", "off"});
    ready_ = managed;
    if (!managed) {
        problem_ = "the window manager did not start";
        ProcessResult ended;
        if (WaitForExit(manager_, std::chrono::milliseconds(0), &ended)) {
            problem_ += " on " + display_ + " (status " + std::to_string(ended.status) +
                        "): " + ended.out + ended.err;
            manager_.pid = -1;
        }
    }
}

XSession::~XSession() {
    Stop(manager_);
    Stop(server_);
}

std::string XSession::Tool(const std::vector<std::string>& arguments) const {
    std::vector<std::string> command = arguments;
    command[0] = "/usr/bin/" + command[0];
    return RunProcess(command, ProcessEnvironment{{{"DISPLAY", display_}}, {}}).out;
}

RunningProcess XSession::Start(const std::string& program) const {
    return StartProcess(
        {BuiltProgram(program)},
        ProcessEnvironment{{{"DISPLAY", display_}}, {"SDL_VIDEODRIVER", "WAYLAND_DISPLAY"}});
}

std::string XSession::WaitForWindow(const std::string& title, const std::string& other) const {
    std::string found;
    PollUntil([&] {
        // The window manager's own list: id, desktop, class, host, title.
        std::istringstream lines(Tool({"wmctrl", "-lx"}));
        for (std::string line; std::getline(lines, line);) {
            std::istringstream fields(line);
            std::string id, desktop, windowClass, host;
            fields >> id >> desktop >> windowClass >> host;
            std::string name;
            std::getline(fields >> std::ws, name);
            if (name == title && id != other) {
                found = id;
            }
        }
        return !found.empty();
    });
    return found;
}

std::vector<std::string> XSession::WindowsOfClass(const std::string& windowClass) const {
    std::vector<std::string> ids;
    std::istringstream lines(Tool({"wmctrl", "-lx"}));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string id, desktop, listed;
        fields >> id >> desktop >> listed;
        if (listed == windowClass + "." + windowClass) {
            ids.push_back(id);
        }
    }
    return ids;
}

bool XSession::WaitUntilGone(const std::string& window) const {
    return PollUntil([&] {
        return Tool({"xwininfo", "-id", window}).find("Map State: IsViewable") == std::string::npos;
    });
}

WindowGeometry XSession::Geometry(const std::string& window) const {
    const std::string info = Tool({"xwininfo", "-id", window});
    return WindowGeometry{Number(info, "Absolute upper-left X:"),
                          Number(info, "Absolute upper-left Y:"), Number(info, "Width:"),
                          Number(info, "Height:")};
}

FrameExtents XSession::Frame(const std::string& window) const {
    const std::string text = Property(window, "_NET_FRAME_EXTENTS");
    FrameExtents frame;
    std::sscanf(text.c_str() + text.find('=') + 1, "%d, %d, %d, %d", &frame.left, &frame.right,
                &frame.top, &frame.bottom);
    return frame;
}

std::string XSession::Property(const std::string& window, const std::string& name) const {
    return Tool({"xprop", "-id", window, name});
}

WindowGeometry XSession::Screen() const {
    const std::string info = Tool({"xwininfo", "-root"});
    return WindowGeometry{0, 0, Number(info, "Width:"), Number(info, "Height:")};
}

std::string XSession::ClientResources(int pid) const {
    // xrestop's batch listing: a header per client naming its pid
    // ("2 - vesk2013 - tarrow ( PID:11301 ):", "?" where unknown), then its
    // counts, one a line, indented.
    std::istringstream lines(Tool({"xrestop", "-b", "-m", "1"}));
    std::string resources;
    bool ours = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] != '\t') {
            ours = Number(line, "( PID:") == pid;
        } else if (ours && line.find("res_") == std::string::npos) {
            resources += line.substr(1) + "\n";
        }
    }
    return resources;
}

void XSession::KeyDown(const std::string& window, const std::string& key) const {
    Tool({"xdotool", "windowactivate", "--sync", window});
    Tool({"xdotool", "keydown", key});
}

void XSession::KeyUp(const std::string& key) const {
    Tool({"xdotool", "keyup", key});
}
