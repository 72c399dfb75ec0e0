// x_session.cpp - Xvfb or Xorg, openbox and the X tools.
#include "tests/e2e/x_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
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

// `change` applied over `base`: a name it sets or unsets loses base's word on it.
ProcessEnvironment Changed(ProcessEnvironment base, const ProcessEnvironment& change) {
    const auto named = [&](const std::string& name) {
        bool found =
            std::find(change.unset.begin(), change.unset.end(), name) != change.unset.end();
        for (const auto& [setName, value] : change.set) {
            found = found || setName == name;
        }
        return found;
    };
    std::erase_if(base.set, [&](const auto& entry) { return named(entry.first); });
    std::erase_if(base.unset, named);
    base.set.insert(base.set.end(), change.set.begin(), change.set.end());
    base.unset.insert(base.unset.end(), change.unset.begin(), change.unset.end());
    return base;
}

void Stop(const RunningProcess& process) {
    if (process.pid > 0) {
        kill(process.pid, SIGTERM);
        FinishProcess(process);
    }
}

// Xorg's configuration: the dummy driver with three modes a monitor would
// offer, and nothing that would take a developer's own console, keyboard or
// mouse (no input devices, no VT switch).
constexpr char kXorgConfig[] = R"(Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoEnableDevices" "false"
    Option "AutoAddGPU" "false"
    Option "DontVTSwitch" "true"
EndSection
Section "Device"
    Identifier "card"
    Driver "dummy"
    VideoRam 65536
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0 - 1000.0
    VertRefresh 5.0 - 200.0
    Modeline "1920x1080" 148.50 1920 2008 2052 2200 1080 1084 1089 1125 +hsync +vsync
    Modeline "1680x1050" 146.25 1680 1784 1960 2240 1050 1053 1059 1089 -hsync +vsync
    Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
EndSection
Section "Screen"
    Identifier "screen"
    Device "card"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Modes "1920x1080" "1680x1050" "1024x768"
        Virtual 1920 1080
    EndSubSection
EndSection
)";

} // namespace

bool XSession::StartServer(const XServerSetup& setup) {
    std::vector<std::string> command;
    if (setup.switchesModes) {
        if (access("/usr/lib/xorg/modules/drivers/dummy_drv.so", R_OK) != 0) {
            problem_ = "Xorg's dummy driver is not installed (xserver-xorg-video-dummy)";
            return false;
        }
        std::filesystem::create_directory(scratch_.Path("xorg.conf.d"));
        std::ofstream(scratch_.Path("xorg.conf")) << kXorgConfig;
        command = {"/usr/bin/Xorg",
                   "-displayfd",
                   "3",
                   "-config",
                   scratch_.Path("xorg.conf"),
                   "-configdir",
                   scratch_.Path("xorg.conf.d"),
                   "-logfile",
                   scratch_.Path("xorg.log"),
                   "-noreset",
                   "-nolisten",
                   "tcp",
                   "-sharevts",
                   "-novtswitch"};
    } else {
        command = {"/usr/bin/Xvfb",
                   "-displayfd",
                   "3",
                   "-screen",
                   "0",
                   std::to_string(setup.width) + "x" + std::to_string(setup.height) + "x24",
                   "-nolisten",
                   "tcp",
                   "-noreset"};
    }
    // The server picks a free display and names it (-displayfd), so tests can
    // run side by side. It must not reset when its last client leaves: a
    // client connecting during the reset is turned away.
    int named[2];
    if (pipe2(named, O_CLOEXEC) != 0) {
        problem_ = "no pipe for the X server's display number";
        return false;
    }
    server_ = StartProcess(command, {}, named[1]);
    close(named[1]);
    const std::string number = ReadDisplayNumber(named[0]);
    close(named[0]);
    if (number.empty()) {
        problem_ = command[0] + " did not start";
        ProcessResult ended;
        if (WaitForExit(server_, std::chrono::milliseconds(0), &ended)) {
            problem_ +=
                ": " + ended.err.substr(ended.err.size() > 600 ? ended.err.size() - 600 : 0);
            server_.pid = -1;
        }
        return false;
    }
    display_ = ":" + number;
    // A developer's own Wayland desktop or driver choice must not reach the
    // programs tested here.
    access_ = XServerAccess{
        display_,
        {},
        ProcessEnvironment{{{"DISPLAY", display_}}, {"SDL_VIDEODRIVER", "WAYLAND_DISPLAY"}},
        {}};
    return true;
}

XSession::XSession(const XServerSetup& setup) : managed_(setup.windowManager) {
    if (!StartServer(setup)) {
        return;
    }
    // Keys are held for as long as a test needs; the server must not repeat them.
    Tool({"xset", "r", "off"});
    if (!managed_) {
        ready_ = true;
        return;
    }
    manager_ = StartProcess({"/usr/bin/openbox"}, ProcessEnvironment{{{"DISPLAY", display_}}, {}});
    ready_ = PollUntil([&] {
        return Tool({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).find("window id") !=
               std::string::npos;
    });
    if (!ready_) {
        problem_ = "the window manager did not start";
        ProcessResult ended;
        if (WaitForExit(manager_, std::chrono::milliseconds(0), &ended)) {
            problem_ += " on " + display_ + " (status " + std::to_string(ended.status) +
                        "): " + ended.out + ended.err;
            manager_.pid = -1;
        }
    }
}

XSession::XSession(XServerAccess access)
    : display_(access.display), access_(std::move(access)), ready_(true) {}

XSession::~XSession() {
    Stop(manager_);
    Stop(server_);
}

std::vector<std::string> XSession::ToolCommand(const std::vector<std::string>& arguments,
                                               bool limited) const {
    std::vector<std::string> command = access_.enter;
    if (limited) {
        command.insert(command.end(), access_.toolLimit.begin(), access_.toolLimit.end());
    }
    command.push_back("/usr/bin/" + arguments[0]);
    command.insert(command.end(), arguments.begin() + 1, arguments.end());
    return command;
}

std::string XSession::Tool(const std::vector<std::string>& arguments) const {
    return RunProcess(ToolCommand(arguments, true), access_.environment).out;
}

RunningProcess XSession::StartTool(const std::vector<std::string>& arguments) const {
    return StartProcess(ToolCommand(arguments, false), access_.environment);
}

RunningProcess XSession::Start(const std::string& program,
                               const std::vector<std::string>& arguments,
                               const ProcessEnvironment& change) const {
    std::vector<std::string> command = access_.enter;
    command.push_back(BuiltProgram(program));
    command.insert(command.end(), arguments.begin(), arguments.end());
    return StartProcess(command, Changed(access_.environment, change));
}

std::string XSession::FindWindow(const std::string& title, const std::string& other) const {
    std::string found;
    if (!managed_) {
        // No manager to list windows: the server's own, shown, by name.
        std::istringstream ids(
            Tool({"xdotool", "search", "--onlyvisible", "--name", "^" + title + "$"}));
        for (std::string id; ids >> id;) {
            if (id != other) {
                found = id;
            }
        }
        return found;
    }
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
    return found;
}

std::string XSession::WaitForWindow(const std::string& title, const std::string& other) const {
    std::string found;
    PollUntil([&] { return !(found = FindWindow(title, other)).empty(); });
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

bool XSession::WindowPicture(const std::string& window, PngImage* picture) const {
    const std::string dump = scratch_.Path("window.xwd");
    const std::string png = scratch_.Path("window.png");
    std::filesystem::remove(png);
    Tool({"xwd", "-id", window, "-silent", "-out", dump});
    Tool({"ffmpeg", "-loglevel", "error", "-y", "-f", "xwd_pipe", "-i", dump, png});
    return ReadPng(png, picture);
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

std::string XSession::CurrentMode() const {
    // The output's modes are listed under it, the one shown marked with '*'.
    std::istringstream lines(Tool({"xrandr", "--query"}));
    for (std::string line; std::getline(lines, line);) {
        if (line.find('*') != std::string::npos) {
            std::istringstream fields(line);
            std::string mode;
            fields >> mode;
            return mode;
        }
    }
    return {};
}

void XSession::SetMode(const std::string& mode) const {
    std::istringstream lines(Tool({"xrandr", "--query"}));
    for (std::string line; std::getline(lines, line);) {
        if (line.find(" connected") != std::string::npos) {
            Tool({"xrandr", "--output", line.substr(0, line.find(' ')), "--mode", mode});
            return;
        }
    }
}

bool XSession::WaitForMode(const std::string& mode) const {
    return PollUntil([&] {
        const WindowGeometry screen = Screen();
        return CurrentMode() == mode &&
               std::to_string(screen.width) + "x" + std::to_string(screen.height) == mode;
    });
}

std::size_t XSession::ScreenPicture() const {
    return std::hash<std::string>{}(Tool({"xwd", "-root", "-silent"}));
}

bool XSession::WaitForPictures(int count) const {
    std::set<std::size_t> seen{ScreenPicture()};
    return PollUntil([&] {
        seen.insert(ScreenPicture());
        return static_cast<int>(seen.size()) > count;
    });
}

bool XSession::Focus(const std::string& window) const {
    // The manager's word that a window is active comes before the server's
    // focus does, and a key typed in between goes elsewhere: the server's
    // focus is what is waited for. Without a manager there is no activation,
    // only the focus. Ids compare as numbers: wmctrl writes them in hex,
    // xdotool in decimal.
    if (window.empty() || !std::isdigit(static_cast<unsigned char>(window[0]))) {
        return false;
    }
    const unsigned long wanted = std::stoul(window, nullptr, 0);
    const auto focused = [&] {
        const std::string id = Tool({"xdotool", "getwindowfocus"});
        return !id.empty() && std::isdigit(static_cast<unsigned char>(id[0])) &&
               std::stoul(id, nullptr, 0) == wanted;
    };
    return PollUntil([&] {
        if (focused()) {
            return true;
        }
        Tool({"xdotool", managed_ ? "windowactivate" : "windowfocus", window});
        return focused();
    });
}

void XSession::KeyDown(const std::string& window, const std::string& key) const {
    Focus(window);
    Tool({"xdotool", "keydown", key});
}

bool XSession::HoldKeyUntil(const std::string& window, const std::string& key,
                            const std::function<bool()>& seen) const {
    // The program acts on a key in the frame after the one that took it in:
    // this many pictures drawn with it held, and it was missed.
    constexpr std::size_t kMissedAfter = 10;
    KeyDown(window, key);
    std::set<std::size_t> pictures{ScreenPicture()};
    const bool held = PollUntil([&] {
        if (seen()) {
            return true;
        }
        pictures.insert(ScreenPicture());
        if (pictures.size() > kMissedAfter &&
            Tool({"xwininfo", "-id", window}).find("Map State: IsViewable") != std::string::npos) {
            KeyUp(key);
            KeyDown(window, key);
            pictures = {ScreenPicture()};
        }
        return false;
    });
    KeyUp(key);
    return held;
}

void XSession::Tap(const std::string& window, const std::string& key) const {
    Focus(window);
    Tool({"xdotool", "key", key});
}

void XSession::KeyUp(const std::string& key) const {
    Tool({"xdotool", "keyup", key});
}
