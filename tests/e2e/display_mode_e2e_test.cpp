// The display mode on an X server that really switches (Xorg's dummy driver,
// a desktop at 1920x1080): set to 1680x1050 for the full-screen window, handed
// back by F1 and Escape, and handed back by the watcher however else the
// program ends. Every wait is for a condition, with a generous limit.
#include "tests/e2e/desktop.h"
#include "tests/support/process_usage.h"

#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cerrno>
#include <filesystem>

namespace {

// The program's watcher: its child named tarrow-watch; -1 when there is none.
int WatcherOf(int program) {
    return ChildNamed(program, "tarrow-watch");
}

// A watcher of the program's other than `ended`, and still running (one
// ended and not yet waited for lingers as a zombie); -1 when there is none.
int WatcherOtherThan(int program, int ended) {
    for (const ProcessEntry& process : Processes()) {
        if (process.parent == program && process.name == "tarrow-watch" && process.pid != ended &&
            process.state != 'Z') {
            return process.pid;
        }
    }
    return -1;
}

// Polls until the process has ended and been reaped, by this process (which
// adopts orphans, see SetUp) or by its parent.
bool Gone(int pid) {
    return PollUntil([&] {
        return waitpid(pid, nullptr, WNOHANG) == pid || (kill(pid, 0) != 0 && errno == ESRCH);
    });
}

class SwitchingDesktop : public Desktop {
  protected:
    void SetUp() override {
        // A killed program's watcher is adopted here, so its end can be seen.
        prctl(PR_SET_CHILD_SUBREAPER, 1);
        // The crashes provoked here leave no core files.
        const rlimit none{0, 0};
        setrlimit(RLIMIT_CORE, &none);
    }
};

TEST_F(SwitchingDesktop, FullScreenSetsTheModeAndF1AndEscapeHandItBack) {
    XSession x(SwitchingServer());
    if (!x.ready()) {
        GTEST_SKIP() << x.problem();
    }
    const std::string first = Launch(x);
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(x.WaitForMode("1680x1050"));
    EXPECT_TRUE(PollUntil([&] {
        const WindowGeometry window = x.Geometry(first);
        return window.x == 0 && window.y == 0 && window.width == 1680 && window.height == 1050;
    }));

    const std::string windowed = Switch(x, first);
    ASSERT_FALSE(windowed.empty());
    EXPECT_TRUE(x.WaitForMode("1920x1080"));
    EXPECT_TRUE(PollUntil([&] {
        const WindowGeometry client = x.Geometry(windowed);
        return client.width == 1680 && client.height == 1050;
    }));

    const std::string again = Switch(x, windowed);
    ASSERT_FALSE(again.empty());
    EXPECT_TRUE(x.WaitForMode("1680x1050"));
    EXPECT_EQ(Escape(x, again), 0);
    EXPECT_TRUE(x.WaitForMode("1920x1080"));
}

TEST_F(SwitchingDesktop, WindowedStartLeavesTheModeAlone) {
    XSession x(SwitchingServer());
    if (!x.ready()) {
        GTEST_SKIP() << x.problem();
    }
    const std::string window = Launch(x, {"--windowed"});
    ASSERT_FALSE(window.empty());
    EXPECT_FALSE(FullScreen(x, window));
    EXPECT_EQ(WatcherOf(program.pid), -1);
    EXPECT_EQ(x.CurrentMode(), "1920x1080");
    EXPECT_EQ(Escape(x, window), 0);
}

struct AbnormalEnd {
    const char* name;
    int signal; // 0: the program's X connection closed under it (xkill)
};

void PrintTo(const AbnormalEnd& end, std::ostream* out) {
    *out << end.name;
}

class AbnormallyEndedProgram : public SwitchingDesktop,
                               public testing::WithParamInterface<AbnormalEnd> {};

TEST_P(AbnormallyEndedProgram, LeavesTheDesktopItsModeAndNothingRunning) {
    XSession x(SwitchingServer());
    if (!x.ready()) {
        GTEST_SKIP() << x.problem();
    }
    const std::string window = Launch(x);
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(x.WaitForMode("1680x1050"));
    const int watcher = WatcherOf(program.pid);
    ASSERT_GT(watcher, 0);
    if (GetParam().signal != 0) {
        kill(program.pid, GetParam().signal);
    } else {
        x.Tool({"xkill", "-id", window});
    }
    ProcessResult ended;
    ASSERT_TRUE(WaitForExit(program, kPatience, &ended));
    EXPECT_TRUE(x.WaitForMode("1920x1080"));
    EXPECT_TRUE(Gone(watcher));
}

INSTANTIATE_TEST_SUITE_P(, AbnormallyEndedProgram,
                         testing::Values(AbnormalEnd{"Killed", SIGKILL},
                                         AbnormalEnd{"Crashed", SIGSEGV},
                                         AbnormalEnd{"Aborted", SIGABRT},
                                         AbnormalEnd{"CutOffFromTheServer", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// Two demos full screen at once, ended one after the other: the one still
// running keeps its mode, and the desktop gets its own back only when both
// are gone, whichever hands it back.
enum class Ending { Escape, Term, Kill };

struct TwoDemos {
    const char* name;
    Ending older; // the demo started first, which also ends first
    Ending newer;
};

void PrintTo(const TwoDemos& demos, std::ostream* out) {
    *out << demos.name;
}

class TwoFullScreenDemos : public SwitchingDesktop, public testing::WithParamInterface<TwoDemos> {
  protected:
    // Ends the demo and waits until it and its watcher are gone.
    void End(XSession& x, RunningProcess& demo, const std::string& window, Ending how) {
        const int watcher = WatcherOf(demo.pid);
        ASSERT_GT(watcher, 0);
        ProcessResult ended;
        if (how == Ending::Escape) {
            ASSERT_NE(EndWithEscape(x, window, demo, &ended), -1);
        } else {
            kill(demo.pid, how == Ending::Term ? SIGTERM : SIGKILL);
            ASSERT_TRUE(WaitForExit(demo, kPatience, &ended));
        }
        demo.pid = -1;
        ASSERT_TRUE(Gone(watcher));
    }

    void TearDown() override {
        if (newer.pid > 0) {
            kill(newer.pid, SIGKILL);
            FinishProcess(newer);
        }
        SwitchingDesktop::TearDown();
    }

    RunningProcess newer;
};

TEST_P(TwoFullScreenDemos, LeaveTheModeToTheOneRunningAndTheDesktopItsOwnAtTheEnd) {
    XSession x(SwitchingServer());
    if (!x.ready()) {
        GTEST_SKIP() << x.problem();
    }
    const std::string olderWindow = Launch(x);
    ASSERT_FALSE(olderWindow.empty());
    ASSERT_TRUE(x.WaitForMode("1680x1050"));
    newer = x.Start("tarrow");
    const std::string newerWindow = x.WaitForWindow(kTitle, olderWindow);
    ASSERT_FALSE(newerWindow.empty());

    ASSERT_NO_FATAL_FAILURE(End(x, program, olderWindow, GetParam().older));
    EXPECT_EQ(x.CurrentMode(), "1680x1050") << "taken from the demo still running";
    ASSERT_NO_FATAL_FAILURE(End(x, newer, newerWindow, GetParam().newer));
    EXPECT_TRUE(x.WaitForMode("1920x1080"));
}

INSTANTIATE_TEST_SUITE_P(, TwoFullScreenDemos,
                         testing::Values(TwoDemos{"TermThenEscape", Ending::Term, Ending::Escape},
                                         TwoDemos{"EscapeThenKill", Ending::Escape, Ending::Kill},
                                         TwoDemos{"KillThenKill", Ending::Kill, Ending::Kill}),
                         [](const auto& info) { return std::string(info.param.name); });

// A watcher killed on its own is replaced while the mode is switched, and the
// new one, told of the switch the first one was, hands the desktop its mode
// back when the program is killed in turn.
TEST_F(SwitchingDesktop, AKilledWatcherIsReplacedAndTheDesktopStillGetsItsMode) {
    XSession x(SwitchingServer());
    if (!x.ready()) {
        GTEST_SKIP() << x.problem();
    }
    ASSERT_FALSE(Launch(x).empty());
    ASSERT_TRUE(x.WaitForMode("1680x1050"));
    const int first = WatcherOf(program.pid);
    ASSERT_GT(first, 0);
    kill(first, SIGKILL);
    int second = -1;
    ASSERT_TRUE(PollUntil([&] { return (second = WatcherOtherThan(program.pid, first)) > 0; }))
        << "no new watcher";
    kill(program.pid, SIGKILL);
    ProcessResult ended;
    ASSERT_TRUE(WaitForExit(program, kPatience, &ended));
    EXPECT_TRUE(x.WaitForMode("1920x1080"));
    EXPECT_TRUE(Gone(second));
}

TEST_F(SwitchingDesktop, AModeSomeoneElseSetIsLeftAsItIsAfterAKill) {
    XSession x(SwitchingServer());
    if (!x.ready()) {
        GTEST_SKIP() << x.problem();
    }
    ASSERT_FALSE(Launch(x).empty());
    ASSERT_TRUE(x.WaitForMode("1680x1050"));
    const int watcher = WatcherOf(program.pid);
    ASSERT_GT(watcher, 0);
    x.SetMode("1024x768");
    ASSERT_TRUE(PollUntil([&] { return x.CurrentMode() == "1024x768"; }));
    kill(program.pid, SIGKILL);
    ProcessResult ended;
    ASSERT_TRUE(WaitForExit(program, kPatience, &ended));
    ASSERT_TRUE(Gone(watcher));
    EXPECT_EQ(x.CurrentMode(), "1024x768");
}

} // namespace
