// The demo on today's Wayland desktops, under their real compositors started
// headless on a virtual 1920x1080 monitor: mutter, the GNOME shell and KWin,
// each serving X programs through XWayland. One list of scenarios runs on
// each: the full-screen picture covers the screen, F1 both ways, Escape, the
// desktop's mode as other programs see it, nothing left running, the screen
// saver held off on the session bus, and a request for SDL's native Wayland
// driver answered without a crash. Every wait is for a condition, with a
// generous limit; XWayland draws about a frame a second here, and keys are
// held until the program has reacted.
#include "tests/e2e/black_edges.h"
#include "tests/e2e/desktop.h"
#include "tests/e2e/wayland_session.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <memory>
#include <sstream>

namespace {

const char* Named(Compositor compositor) {
    switch (compositor) {
    case Compositor::Mutter:
        return "Mutter";
    case Compositor::GnomeShell:
        return "GnomeShell";
    case Compositor::KWin:
        return "KWin";
    }
    return "";
}

} // namespace

// How the compositor shows in the tests' messages.
void PrintTo(Compositor compositor, std::ostream* out) {
    *out << Named(compositor);
}

namespace {

constexpr char kDesktopMode[] = "1920x1080";

// One message as dbus-monitor prints it: a header line of fields
// ("method call time=... sender=:1.4 -> destination=... serial=2 ...;
// member=Inhibit") and the body's values, one a line ("uint32 10525").
struct BusMessage {
    std::string type; // "method call", "method return", "error", "signal"
    std::map<std::string, std::string> fields;
    std::vector<std::string> body;
};

std::vector<BusMessage> BusMessages(const std::string& text) {
    std::vector<BusMessage> messages;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && !std::isspace(static_cast<unsigned char>(line[0]))) {
            BusMessage message;
            message.type = line.substr(0, line.find(" time="));
            std::istringstream words(line.substr(message.type.size()));
            for (std::string word; words >> word;) {
                if (word.back() == ';') {
                    word.pop_back();
                }
                const std::size_t equals = word.find('=');
                if (equals != std::string::npos) {
                    message.fields[word.substr(0, equals)] = word.substr(equals + 1);
                }
            }
            messages.push_back(message);
        } else if (const std::size_t value = line.find_first_not_of(" \t");
                   value != std::string::npos && !messages.empty()) {
            messages.back().body.push_back(line.substr(value));
        }
    }
    return messages;
}

// The screen saver inhibitions asked for on the bus, the cookies that
// answered them, the cookies handed back, and the error that answered where
// nothing serves the interface.
struct Inhibitions {
    int asked = 0;
    std::vector<std::string> granted;
    std::vector<std::string> released;
    std::string refusal;
};

std::ostream& operator<<(std::ostream& out, const Inhibitions& inhibitions) {
    out << inhibitions.asked << " Inhibit call(s); cookies granted:";
    for (const std::string& cookie : inhibitions.granted) {
        out << " " << cookie;
    }
    out << "; released:";
    for (const std::string& cookie : inhibitions.released) {
        out << " " << cookie;
    }
    return out << (inhibitions.refusal.empty() ? "" : "; refused with " + inhibitions.refusal);
}

Inhibitions InhibitionsIn(const std::string& monitored) {
    const std::vector<BusMessage> messages = BusMessages(monitored);
    Inhibitions inhibitions;
    for (const BusMessage& call : messages) {
        if (call.type != "method call") {
            continue;
        }
        const std::string member = call.fields.count("member") ? call.fields.at("member") : "";
        if (member == "UnInhibit" && !call.body.empty()) {
            inhibitions.released.push_back(call.body[0]);
        }
        if (member != "Inhibit") {
            continue;
        }
        ++inhibitions.asked;
        for (const BusMessage& reply : messages) {
            if (reply.fields.count("reply_serial") &&
                reply.fields.at("reply_serial") == call.fields.at("serial") &&
                reply.fields.at("destination") == call.fields.at("sender")) {
                if (reply.type == "method return" && !reply.body.empty()) {
                    inhibitions.granted.push_back(reply.body[0]);
                } else if (reply.type == "error") {
                    inhibitions.refusal = reply.fields.at("error_name");
                }
            }
        }
    }
    return inhibitions;
}

// A tool left running for the length of a test, ended with it.
struct RunningTool {
    ~RunningTool() {
        if (process.pid > 0) {
            kill(process.pid, SIGTERM);
            FinishProcess(process);
        }
    }
    RunningProcess process;
};

class WaylandDesktop : public Desktop, public testing::WithParamInterface<Compositor> {
  protected:
    void SetUp() override {
        // A crash the tests provoke leaves no core file.
        const rlimit none{0, 0};
        setrlimit(RLIMIT_CORE, &none);
        session = std::make_unique<WaylandSession>(GetParam());
        ASSERT_TRUE(session->ready()) << session->problem();
        // A key is held here for a whole frame, longer than the keyboard's
        // repeat delay: a repeat of F1 reaching the window made after the
        // switch is a new F1 to the program, as on any desktop, and switches
        // back. The keys the tests hold stand for single presses.
        session->x().Tool({"xset", "r", "off"});
    }

    void TearDown() override {
        Desktop::TearDown();
        session.reset();
    }

    bool FullScreen(const std::string& window) const {
        return session->x().Property(window, "_NET_WM_STATE").find("_NET_WM_STATE_FULLSCREEN") !=
               std::string::npos;
    }

    // The compositor marks a window full screen a moment after it is listed.
    bool BecomesFullScreen(const std::string& window) const {
        return PollUntil([&] { return FullScreen(window); });
    }

    // Waits until a picture, read again and again, covers its whole area;
    // what the last one showed when none did.
    static testing::AssertionResult Covered(const std::function<bool(PngImage*)>& read,
                                            int width = 0, int height = 0) {
        PngImage picture;
        BlackEdges edges;
        bool read_once = false;
        const bool covered = PollUntil([&] {
            if (!read(&picture)) {
                return false;
            }
            read_once = true;
            edges = BlackEdgesOf(picture);
            return edges.left + edges.right + edges.top + edges.bottom == 0 &&
                   (width == 0 || (picture.width == width && picture.height == height));
        });
        if (covered) {
            return testing::AssertionSuccess();
        }
        if (!read_once) {
            return testing::AssertionFailure() << "no picture could be read";
        }
        return testing::AssertionFailure()
               << "the " << picture.width << "x" << picture.height << " picture leaves black "
               << edges.left << " columns on the left, " << edges.right << " on the right, "
               << edges.top << " rows at the top and " << edges.bottom << " at the bottom";
    }

    testing::AssertionResult WindowCovered(const std::string& window) const {
        return Covered(
            [&](PngImage* picture) { return session->x().WindowPicture(window, picture); });
    }

    testing::AssertionResult ScreenCovered() const {
        return Covered([&](PngImage* picture) { return session->ReadScreen(picture); }, 1920, 1080);
    }

    // Why no window came: the program still running (then it shows itself
    // elsewhere than on XWayland), or how it ended.
    std::string NoWindowBecause() {
        if (!WaitForExit(program, std::chrono::milliseconds(0), &ended)) {
            return "the program runs, but has no window on XWayland";
        }
        program.pid = -1;
        return "the program ended with status " + std::to_string(ended.status) +
               (ended.status > 128 ? " (signal " + std::to_string(ended.status - 128) + ")" : "") +
               ": " + ended.err;
    }

    std::unique_ptr<WaylandSession> session;
};

TEST_P(WaylandDesktop, FullScreenCoversTheScreenAndEscapeLeavesTheDesktopAsItWas) {
    XSession& x = session->x();
    ASSERT_EQ(x.CurrentMode(), kDesktopMode);
    const std::string window = Launch(x);
    ASSERT_FALSE(window.empty());
    EXPECT_TRUE(BecomesFullScreen(window));
    EXPECT_TRUE(WindowCovered(window)) << "the window's own pixels";
    if (session->ShowsItsScreen()) {
        EXPECT_TRUE(ScreenCovered()) << "the screen, as the compositor shows it";
    }
    // XWayland shows a mode change to the program alone.
    EXPECT_EQ(x.CurrentMode(), kDesktopMode) << "as other programs see it, while full screen";

    EXPECT_EQ(Escape(x, window), 0) << ended.err;
    EXPECT_EQ(x.CurrentMode(), kDesktopMode);
    const WindowGeometry screen = x.Screen();
    EXPECT_EQ(screen.width, 1920);
    EXPECT_EQ(screen.height, 1080);
    EXPECT_TRUE(PollUntil([&] {
        return session->Running("tarrow").empty() && session->Running("tarrow-watch").empty();
    })) << "a process of the program outlived it";
}

TEST_P(WaylandDesktop, F1SwitchesToACoveredWindowAndBack) {
    XSession& x = session->x();
    const std::string first = Launch(x);
    ASSERT_FALSE(first.empty());

    const std::string windowed = Switch(x, first);
    ASSERT_FALSE(windowed.empty());
    EXPECT_TRUE(WindowCovered(windowed));
    EXPECT_FALSE(FullScreen(windowed)); // read once the window has been drawn

    const std::string again = Switch(x, windowed);
    ASSERT_FALSE(again.empty());
    EXPECT_TRUE(BecomesFullScreen(again));
    EXPECT_TRUE(WindowCovered(again));
    EXPECT_EQ(Escape(x, again), 0) << ended.err;
}

// The inhibition is asked of org.freedesktop.ScreenSaver on the session bus
// while the window exists, and handed back when it goes. Where the session
// serves that interface (KWin does; the headless GNOME session has nothing
// that does) the inhibition must also have been granted.
TEST_P(WaylandDesktop, ScreenSaverIsHeldOffOnTheSessionBusWhileTheWindowExists) {
    XSession& x = session->x();
    RunningTool monitor{
        x.StartTool({"dbus-monitor", "--session", "interface=org.freedesktop.ScreenSaver",
                     "type=method_return", "type=error"})};
    const auto monitored = [&] { return ReadFile(monitor.process.outPath); };
    // The monitor prints the name it lost on becoming one.
    ASSERT_TRUE(PollUntil([&] { return monitored().find("NameLost") != std::string::npos; }));
    const bool served = session->BusNameOwned("org.freedesktop.ScreenSaver");

    const std::string window = Launch(x);
    ASSERT_FALSE(window.empty());
    EXPECT_TRUE(PollUntil([&] {
        const Inhibitions inhibitions = InhibitionsIn(monitored());
        return served ? !inhibitions.granted.empty() : inhibitions.asked > 0;
    })) << InhibitionsIn(monitored())
        << (served ? "" : " (nothing on this session serves the interface)");
    // The desktop lists the inhibition under the program's own name.
    EXPECT_NE(monitored().find(std::string("string \"") + kTitle + "\""), std::string::npos)
        << monitored();

    EXPECT_EQ(Escape(x, window), 0) << ended.err;
    EXPECT_TRUE(PollUntil([&] {
        Inhibitions inhibitions = InhibitionsIn(monitored());
        std::sort(inhibitions.granted.begin(), inhibitions.granted.end());
        std::sort(inhibitions.released.begin(), inhibitions.released.end());
        return inhibitions.granted == inhibitions.released;
    })) << InhibitionsIn(monitored());
}

// Asked for SDL's native Wayland driver where XWayland is there too, the
// program says so once on standard error and runs through XWayland: a window
// there, F1 both ways, Escape.
TEST_P(WaylandDesktop, NativeWaylandRequestIsServedThroughXWayland) {
    XSession& x = session->x();
    program = x.Start("tarrow", {}, ProcessEnvironment{{{"SDL_VIDEODRIVER", "wayland"}}, {}});
    const std::string first = x.WaitForWindow(kTitle);
    ASSERT_FALSE(first.empty()) << NoWindowBecause();
    const std::string windowed = Switch(x, first);
    ASSERT_FALSE(windowed.empty()) << NoWindowBecause();
    const std::string again = Switch(x, windowed);
    ASSERT_FALSE(again.empty()) << NoWindowBecause();
    EXPECT_EQ(Escape(x, again), 0) << ended.err;

    // The display mode's own line names XWayland too; the one that answers
    // the request is the other.
    std::istringstream lines(ended.err);
    int about = 0;
    for (std::string line; std::getline(lines, line);) {
        std::string lower = line;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        about += !line.starts_with("tarrow: display mode:") &&
                 lower.find("wayland") != std::string::npos;
    }
    EXPECT_EQ(about, 1) << ended.err;
}

// Asked for the native Wayland driver with no X display to fall back on, the
// program ends at once with one line of error and the status of a run without
// a display, 3.
TEST_P(WaylandDesktop, NativeWaylandRequestWithoutXWaylandEndsWithOneLineOfError) {
    program = session->x().Start(
        "tarrow", {},
        ProcessEnvironment{{{"SDL_VIDEODRIVER", "wayland"}}, {"DISPLAY", "XAUTHORITY"}});
    const int status = Ended();
    ASSERT_NE(status, -1) << "still running: the program made a native Wayland window";
    EXPECT_EQ(status, 3) << (status > 128 ? "ended by signal " + std::to_string(status - 128) : "")
                         << "\n"
                         << ended.err;
    EXPECT_EQ(std::count(ended.err.begin(), ended.err.end(), '\n'), 1) << ended.err;
}

INSTANTIATE_TEST_SUITE_P(, WaylandDesktop,
                         testing::Values(Compositor::Mutter, Compositor::GnomeShell,
                                         Compositor::KWin),
                         [](const auto& info) { return std::string(Named(info.param)); });

} // namespace
