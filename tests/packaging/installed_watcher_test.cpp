// installed_watcher_test.cpp - the demo installed under a prefix, laid out as
// make install lays it out, starts its display-mode watcher from the helper
// programs' folder (libexec/tarrow) when it switches the desktop's mode.
#include "tests/e2e/desktop.h"
#include "tests/support/process_usage.h"

#include <filesystem>

namespace {

// The program of the process's child named tarrow-watch; empty when there is
// none.
std::string WatcherProgramOf(int process) {
    const int watcher = ChildNamed(process, "tarrow-watch");
    std::error_code unreadable;
    return watcher < 0 ? ""
                       : std::filesystem::read_symlink("/proc/" + std::to_string(watcher) + "/exe",
                                                       unreadable)
                             .string();
}

class InstalledDemo : public Desktop {};

TEST_F(InstalledDemo, StartsItsWatcherFromTheHelperProgramsFolder) {
    ScratchDirectory prefix;
    const ProcessResult installed =
        RunProcess({TARROW_CMAKE, "--install", std::string(TARROW_BIN_DIR) + "/..", "--prefix",
                    prefix.Path("usr")});
    ASSERT_EQ(installed.status, 0) << installed.err;
    XSession x(SwitchingServer());
    if (!x.ready()) {
        GTEST_SKIP() << x.problem();
    }
    program = StartProcess(
        {prefix.Path("usr/bin/tarrow")},
        ProcessEnvironment{{{"DISPLAY", x.display()}}, {"SDL_VIDEODRIVER", "WAYLAND_DISPLAY"}});
    const std::string window = x.WaitForWindow(kTitle);
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(x.WaitForMode("1680x1050"));
    const std::string watcher =
        std::filesystem::canonical(prefix.Path("usr/libexec/tarrow/tarrow-watch")).string();
    EXPECT_TRUE(PollUntil([&] { return WatcherProgramOf(program.pid) == watcher; }));
    EXPECT_EQ(Escape(x, window), 0);
    EXPECT_TRUE(x.WaitForMode("1920x1080"));
}

} // namespace
