// The program as its users meet it: a real X server with a real window
// manager, real key events, real minimise and close requests. Every wait is
// for a condition, with a generous limit against hangs; nothing here asserts
// how fast anything is.
#include "tests/e2e/desktop.h"
#include "tests/support/process_usage.h"
#include "tests/support/soak.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

namespace {

// Processor time is watched over spells of this length. A program waiting
// for its window to come back spends at most a tick or two of it (timer
// wake-ups); one drawing frames spends far more, however loaded the machine.
constexpr auto kSpell = std::chrono::seconds(2);
constexpr long kIdleTicks = 2;

long TicksInASpell(int pid) {
    const long before = CpuTicks(pid);
    std::this_thread::sleep_for(kSpell);
    return CpuTicks(pid) - before;
}

TEST_F(Desktop, FullScreenWindowSwitchesToAWindowAndBackWithF1) {
    XSession x(1680, 1050);
    ASSERT_TRUE(x.ready()) << x.problem();
    const std::string first = Launch(x);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(x.WindowsOfClass("OpenGL"), std::vector<std::string>{first});
    WindowGeometry full;
    EXPECT_TRUE(PollUntil([&] {
        full = x.Geometry(first);
        return FullScreen(x, first) && full.x == 0 && full.y == 0 && full.width == 1680 &&
               full.height == 1050;
    })) << full.x
        << "," << full.y << " " << full.width << "x" << full.height;

    const std::string windowed = Switch(x, first);
    ASSERT_FALSE(windowed.empty());
    EXPECT_FALSE(FullScreen(x, windowed));
    // The frame's corner at the screen's origin, around the asked-for client
    // area, once the window manager has framed it and the program placed it.
    WindowGeometry client;
    FrameExtents frame;
    EXPECT_TRUE(PollUntil([&] {
        client = x.Geometry(windowed);
        frame = x.Frame(windowed);
        return client.width == 1680 && client.height == 1050 && frame.top > 0 &&
               client.x == frame.left && client.y == frame.top;
    })) << client.x
        << "," << client.y << " " << client.width << "x" << client.height << ", frame top "
        << frame.top << " left " << frame.left;

    const std::string again = Switch(x, windowed);
    ASSERT_FALSE(again.empty());
    EXPECT_TRUE(PollUntil([&] { return FullScreen(x, again); }));
    EXPECT_EQ(Escape(x, again), 0);
}

TEST_F(Desktop, RefusedModeShowsTheErrorBoxThenAWindowOfThatOuterSize) {
    XSession x(1024, 768);
    ASSERT_TRUE(x.ready()) << x.problem();
    program = x.Start("tarrow");
    const std::string box = x.WaitForWindow("Error");
    ASSERT_FALSE(box.empty());
    x.Tap(box, "Return"); // the box acts when the key is let go
    EXPECT_TRUE(x.WaitUntilGone(box));

    const std::string window = x.WaitForWindow(kTitle);
    ASSERT_FALSE(window.empty());
    WindowGeometry client;
    FrameExtents frame;
    EXPECT_TRUE(PollUntil([&] {
        client = x.Geometry(window);
        frame = x.Frame(window);
        return frame.top > 0 && frame.left + client.width + frame.right == 1680 &&
               frame.top + client.height + frame.bottom == 1050 && client.x == frame.left &&
               client.y == frame.top;
    })) << client.x
        << "," << client.y << " " << client.width << "x" << client.height << ", frame top "
        << frame.top << " left " << frame.left;
    EXPECT_EQ(Escape(x, window), 0);
}

TEST_F(Desktop, MinimisedProgramGoesIdleUntilRestored) {
    XSession x(1680, 1050);
    ASSERT_TRUE(x.ready()) << x.problem();
    const std::string window = Launch(x);
    ASSERT_FALSE(window.empty());
    x.Tool({"xdotool", "windowminimize", "--sync", window});
    EXPECT_TRUE(PollUntil([&] { return TicksInASpell(program.pid) <= kIdleTicks; }))
        << "the minimised program kept spending processor time";

    x.Tool({"wmctrl", "-i", "-a", window});
    EXPECT_TRUE(x.WaitForPictures(2)) << "the restored program did not draw again";
    EXPECT_EQ(Escape(x, window), 0);
}

TEST_F(Desktop, CloseRequestEndsTheProgramCleanly) {
    XSession x(1680, 1050);
    ASSERT_TRUE(x.ready()) << x.problem();
    const std::string window = Launch(x);
    ASSERT_FALSE(window.empty());
    EXPECT_EQ(CloseThroughTheWindowManager(x, window), 0);
}

TEST_F(Desktop, TermSignalEndsTheProgramWithTheDesktopModeBack) {
    XSession x(1680, 1050);
    ASSERT_TRUE(x.ready()) << x.problem();
    const std::string window = Launch(x);
    ASSERT_FALSE(window.empty());
    kill(program.pid, SIGTERM);
    ProcessResult result;
    ASSERT_TRUE(WaitForExit(program, kPatience, &result));
    EXPECT_EQ(result.status, 0) << result.err;
    const WindowGeometry screen = x.Screen();
    EXPECT_EQ(screen.width, 1680);
    EXPECT_EQ(screen.height, 1050);
}

// Asked for SDL's native Wayland driver on a plain X server, the program runs
// through X11 and says so, naming the display as it is, in a line of its own
// name like every other it prints.
TEST_F(Desktop, NativeWaylandRequestOnAPlainXServerSaysSoUnderItsName) {
    XSession x(1680, 1050);
    ASSERT_TRUE(x.ready()) << x.problem();
    program =
        x.Start("tarrow", {"--windowed"}, ProcessEnvironment{{{"SDL_VIDEODRIVER", "wayland"}}, {}});
    const std::string window = x.WaitForWindow(kTitle);
    ASSERT_FALSE(window.empty());
    ASSERT_EQ(Escape(x, window), 0) << ended.err;
    EXPECT_NE(ended.err.find("X11 on display " + x.display()), std::string::npos) << ended.err;
    EXPECT_EQ(ended.err.find("XWayland"), std::string::npos) << ended.err;
    std::istringstream lines(ended.err);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_TRUE(line.starts_with("tarrow: ")) << line;
    }
}

// A window destroyed by another client (xdotool windowclose) ends the program
// as a close request does: cleanly, with the desktop's mode handed back;
// while drawing, while minimised and idle, and full screen on a server that
// switches modes.
struct DestroyedWindow {
    const char* name;
    XServerSetup server;
    bool minimised;
};

void PrintTo(const DestroyedWindow& destroyed, std::ostream* out) {
    *out << destroyed.name;
}

class WindowDestroyedByAnotherClient : public Desktop,
                                       public testing::WithParamInterface<DestroyedWindow> {};

TEST_P(WindowDestroyedByAnotherClient, EndsTheProgramCleanly) {
    const XServerSetup& server = GetParam().server;
    XSession x(server);
    if (!x.ready() && server.switchesModes) {
        GTEST_SKIP() << x.problem();
    }
    ASSERT_TRUE(x.ready()) << x.problem();
    const std::string window = Launch(x);
    ASSERT_FALSE(window.empty());
    if (GetParam().minimised) {
        x.Tool({"xdotool", "windowminimize", "--sync", window});
        ASSERT_TRUE(PollUntil([&] { return TicksInASpell(program.pid) <= kIdleTicks; }));
    }
    x.Tool({"xdotool", "windowclose", window});
    ProcessResult result;
    ASSERT_TRUE(WaitForExit(program, kPatience, &result));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(x.WaitForMode(std::to_string(server.width) + "x" + std::to_string(server.height)));
}

INSTANTIATE_TEST_SUITE_P(, WindowDestroyedByAnotherClient,
                         testing::Values(DestroyedWindow{"Drawing", XServerSetup{}, false},
                                         DestroyedWindow{"Minimised", XServerSetup{}, true},
                                         DestroyedWindow{"FullScreenOnASwitchingServer",
                                                         SwitchingServer(), false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Keys typed with Alt held are the system's, not the program's: Alt+F1,
// held while frames are drawn, leaves the window as it is.
TEST_F(Desktop, AltF1DoesNotSwitch) {
    XSession x(1680, 1050);
    ASSERT_TRUE(x.ready()) << x.problem();
    const std::string window = Launch(x);
    ASSERT_FALSE(window.empty());
    x.KeyDown(window, "alt+F1");
    EXPECT_TRUE(x.WaitForPictures(10)); // frames enough to have switched, had it been F1
    x.KeyUp("alt+F1");
    EXPECT_EQ(x.WindowsOfClass("OpenGL"), std::vector<std::string>{window});
    EXPECT_EQ(Escape(x, window), 0);
}

// Alt+F4 closes the window like any close request: through the window
// manager where there is one, through the window's own default handling
// where there is none.
class AltF4 : public Desktop, public testing::WithParamInterface<bool> {};

TEST_P(AltF4, EndsTheProgramCleanly) {
    XSession x(XServerSetup{false, 1680, 1050, GetParam()});
    ASSERT_TRUE(x.ready()) << x.problem();
    const std::string window = Launch(x);
    ASSERT_FALSE(window.empty());
    ProcessResult result;
    ASSERT_TRUE(x.HoldKeyUntil(window, "alt+F4", [&] {
        return WaitForExit(program, std::chrono::milliseconds(0), &result);
    }));
    EXPECT_EQ(result.status, 0) << result.err;
}

INSTANTIATE_TEST_SUITE_P(, AltF4, testing::Bool(), [](const auto& info) {
    return std::string(info.param ? "WithAWindowManager" : "WithoutAWindowManager");
});

// Window and context made again and again must give back what they took:
// descriptors, X resources, and (measured only when soaking, once the GL
// driver's own caches have filled) memory.
TEST_F(Desktop, RepeatedSwitchesLeaveNothingBehind) {
    const int warmUp = RunLength(5, 50);
    const int measured = RunLength(20, 500);
    XSession x(1680, 1050);
    ASSERT_TRUE(x.ready()) << x.problem();
    std::string window = Launch(x);
    ASSERT_FALSE(window.empty());
    for (int i = 0; i < warmUp; ++i) {
        window = Switch(x, window);
        ASSERT_FALSE(window.empty()) << "warm-up switch " << i;
    }
    // Making a window and its context opens descriptors for a moment (the GL
    // driver's among them): readings are taken once they hold still.
    using Descriptors = std::multiset<std::string>;
    const auto descriptors = [&] { return OpenDescriptors(program.pid); };
    const auto resources = [&] { return x.ClientResources(program.pid); };
    const Descriptors descriptorsBefore = SettledReading<Descriptors>(descriptors);
    const std::string resourcesBefore = SettledReading<std::string>(resources);
    const long residentBefore = ResidentKiB(program.pid);
    for (int i = 0; i < measured; ++i) {
        window = Switch(x, window);
        ASSERT_FALSE(window.empty()) << "switch " << i;
    }
    const Descriptors descriptorsAfter = SettledReading<Descriptors>(descriptors);
    std::vector<std::string> leftOpen;
    std::set_difference(descriptorsAfter.begin(), descriptorsAfter.end(), descriptorsBefore.begin(),
                        descriptorsBefore.end(), std::back_inserter(leftOpen));
    EXPECT_EQ(leftOpen, std::vector<std::string>{});
    EXPECT_FALSE(resourcesBefore.empty()) << "the server does not name the program's pid";
    EXPECT_EQ(SettledReading<std::string>(resources), resourcesBefore);
    if (kMemoryMeasurable && Soaking()) {
        EXPECT_LT(ResidentKiB(program.pid) - residentBefore, 32 * 1024);
    }
    EXPECT_EQ(Escape(x, window), 0);
}

} // namespace
