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
    EXPECT_NE(x.Property(first, "_NET_WM_STATE").find("_NET_WM_STATE_FULLSCREEN"),
              std::string::npos);
    const WindowGeometry full = x.Geometry(first);
    EXPECT_EQ(full.x, 0);
    EXPECT_EQ(full.y, 0);
    EXPECT_EQ(full.width, 1680);
    EXPECT_EQ(full.height, 1050);

    const std::string windowed = Switch(x, first);
    ASSERT_FALSE(windowed.empty());
    EXPECT_EQ(x.Property(windowed, "_NET_WM_STATE").find("_NET_WM_STATE_FULLSCREEN"),
              std::string::npos);
    const WindowGeometry client = x.Geometry(windowed);
    const FrameExtents frame = x.Frame(windowed);
    EXPECT_EQ(client.width, 1680);
    EXPECT_EQ(client.height, 1050);
    EXPECT_GT(frame.top, 0);             // the window manager did frame it
    EXPECT_EQ(client.x - frame.left, 0); // the frame's corner at the screen's origin
    EXPECT_EQ(client.y - frame.top, 0);

    const std::string again = Switch(x, windowed);
    ASSERT_FALSE(again.empty());
    EXPECT_NE(x.Property(again, "_NET_WM_STATE").find("_NET_WM_STATE_FULLSCREEN"),
              std::string::npos);
    EXPECT_EQ(Escape(x, again), 0);
}

TEST_F(Desktop, RefusedModeShowsTheErrorBoxThenAWindowOfThatOuterSize) {
    XSession x(1024, 768);
    ASSERT_TRUE(x.ready()) << x.problem();
    program = x.Start("tarrow");
    const std::string box = x.WaitForWindow("Error");
    ASSERT_FALSE(box.empty());
    x.Tool({"xdotool", "windowactivate", "--sync", box});
    x.Tool({"xdotool", "key", "Return"});
    EXPECT_TRUE(x.WaitUntilGone(box));

    const std::string window = x.WaitForWindow(kTitle);
    ASSERT_FALSE(window.empty());
    const WindowGeometry client = x.Geometry(window);
    const FrameExtents frame = x.Frame(window);
    EXPECT_EQ(frame.left + client.width + frame.right, 1680);
    EXPECT_EQ(frame.top + client.height + frame.bottom, 1050);
    EXPECT_EQ(client.x - frame.left, 0);
    EXPECT_EQ(client.y - frame.top, 0);
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
    EXPECT_TRUE(PollUntil([&] { return TicksInASpell(program.pid) > 10 * kIdleTicks; }))
        << "the restored program did not draw again";
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
    const long before = CpuTicks(program.pid);
    x.KeyDown(window, "alt");
    x.Tool({"xdotool", "keydown", "F1"});
    // Frames are all the program spends processor time on: a second of it
    // covers several of them.
    EXPECT_TRUE(PollUntil([&] { return CpuTicks(program.pid) >= before + 100; }));
    x.KeyUp("F1");
    x.KeyUp("alt");
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
    x.KeyDown(window, "alt");
    x.Tool({"xdotool", "keydown", "F4"});
    ProcessResult result;
    const bool ended = WaitForExit(program, kPatience, &result);
    x.KeyUp("F4");
    x.KeyUp("alt");
    ASSERT_TRUE(ended);
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
