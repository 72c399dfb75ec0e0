// The demo as a display mode of the X screen saver daemon (xscreensaver), as
// a user who names it in ~/.xscreensaver meets it: the daemon blanks the
// screen and starts `tarrow --root` on its own window, the scene fills the
// screen and moves, and when the screen is given back the demo ends cleanly,
// leaving nothing running and nothing held in the X server. The daemon
// launches no display mode for root, so a test run as root runs it as
// nobody, from a copy of the programs that user can reach. Every wait is for
// the daemon's or the program's own evidence, with a generous limit.
#include "tests/e2e/black_edges.h"
#include "tests/e2e/desktop.h"
#include "tests/support/files.h"
#include "tests/support/process_usage.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr char kDaemon[] = "/usr/bin/xscreensaver";
constexpr char kCommand[] = "/usr/bin/xscreensaver-command";

// The daemon's settings: the demo its only display mode, shown as soon as
// it is asked for, with no lock to type a password into and no fade to wait
// through. "GL:" asks the daemon for a visual GL can draw on.
std::string Settings(const std::string& program) {
    return "mode:\tone\n"
           "selected:\t0\n"
           "lock:\tFalse\n"
           "fade:\tFalse\n"
           "unfade:\tFalse\n"
           "splash:\tFalse\n"
           "dpmsEnabled:\tFalse\n"
           "timeout:\t1:00:00\n"
           "cycle:\t0:00:00\n"
           "programs:\tGL: " +
           program + " --root\n";
}

// The first argument each process was started with: its program's path.
std::string ProgramOf(int pid) {
    const std::string line = ReadFile("/proc/" + std::to_string(pid) + "/cmdline");
    return line.substr(0, line.find('\0'));
}

// The running processes started from a program in `folder`.
std::vector<int> RunningFrom(const std::string& folder) {
    std::vector<int> found;
    for (const ProcessEntry& process : Processes()) {
        if (process.state != 'Z' && ProgramOf(process.pid).starts_with(folder + "/")) {
            found.push_back(process.pid);
        }
    }
    return found;
}

class ScreenSaverMode : public testing::Test {
  protected:
    void SetUp() override {
        if (access(kDaemon, X_OK) != 0 || access(kCommand, X_OK) != 0) {
            GTEST_SKIP() << "the screen saver daemon is not installed (xscreensaver)";
        }
        // The demo's process is the daemon's grandchild, and its parent ends
        // before it does: this process takes it in, to see how it ended.
        prctl(PR_SET_CHILD_SUBREAPER, 1);
        if (geteuid() == 0) {
            // A folder of its own under /tmp, open to the daemon's user
            // wherever the build is.
            std::string pattern = "/tmp/tarrow-saver-XXXXXX";
            ASSERT_NE(mkdtemp(pattern.data()), nullptr);
            folder = pattern;
            chmod(folder.c_str(), 0755);
            const passwd* user = getpwnam("nobody");
            const group* users = getgrnam("nogroup");
            ASSERT_TRUE(user != nullptr && users != nullptr) << "no user nobody:nogroup";
            uid = user->pw_uid;
            gid = users->gr_gid;
            become = {"/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"};
        } else {
            folder = scratch.Path("saver");
            uid = geteuid();
            gid = getegid();
        }
        home = folder + "/home";
        programs = folder + "/bin";
        std::filesystem::create_directories(home);
        std::filesystem::create_directories(programs);
        chmod(programs.c_str(), 0755);
        for (const char* name : {"tarrow"}) {
            std::filesystem::copy_file(BuiltProgram(name), programs + "/" + name);
            chmod((programs + "/" + name).c_str(), 0755);
        }
        std::ofstream(home + "/.xscreensaver") << Settings(programs + "/tarrow");
        ASSERT_EQ(chown((home + "/.xscreensaver").c_str(), uid, gid), 0);
        ASSERT_EQ(chown(home.c_str(), uid, gid), 0);
        chmod(home.c_str(), 0700);
    }

    void TearDown() override {
        if (daemon.pid > 0) {
            kill(daemon.pid, SIGTERM);
            FinishProcess(daemon);
        }
        if (!programs.empty()) {
            for (int pid : RunningFrom(programs)) {
                kill(pid, SIGKILL);
            }
        }
        // Whatever of the daemon's this process took in.
        while (waitpid(-1, nullptr, WNOHANG) > 0) {
        }
        prctl(PR_SET_CHILD_SUBREAPER, 0);
        if (!folder.empty() && folder.starts_with("/tmp/tarrow-saver-")) {
            std::filesystem::remove_all(folder);
        }
    }

    // The daemon on the display, as the user, in an environment of its own:
    // nothing of this process's reaches the display modes it starts but the
    // sanitizers' settings, which a sanitized build's demo needs as this
    // process does.
    void StartDaemon(const XSession& x) {
        std::vector<std::string> command = become;
        for (const std::string& word :
             {std::string("/usr/bin/env"), std::string("-i"), "HOME=" + home,
              "DISPLAY=" + x.display(), std::string("PATH=/usr/bin:/bin"),
              std::string("LP_NUM_THREADS=0")}) {
            command.push_back(word);
        }
        if (const char* sanitizer = std::getenv("ASAN_OPTIONS")) {
            command.push_back(std::string("ASAN_OPTIONS=") + sanitizer);
        }
        for (const char* word : {kDaemon, "-no-splash", "-verbose"}) {
            command.push_back(word);
        }
        daemon = StartProcess(command);
    }

    // xscreensaver-command with `verb`, as the user, until the daemon takes
    // it: it refuses while the daemon is still starting.
    bool Tell(const XSession& x, const std::string& verb) const {
        return PollUntil([&] {
            return RunProcess({kCommand, verb}, ProcessEnvironment{{{"DISPLAY", x.display()}}, {}})
                       .status == 0;
        });
    }

    // What the daemon has said so far, for a failure's message.
    std::string Log() const { return "the daemon said:\n" + ReadFile(daemon.errPath); }

    ScratchDirectory scratch;
    std::string folder;   // the user's home and programs
    std::string home;     // the daemon's settings are in it
    std::string programs; // the copy of tarrow
    uid_t uid = 0;
    gid_t gid = 0;
    std::vector<std::string> become; // the command's start that runs the rest as the user
    RunningProcess daemon;
};

// The X server's clients, by the base of their resource ids, but for the
// listing tool's own connection.
std::set<std::string> Clients(const XSession& x) {
    std::istringstream lines(x.Tool({"xrestop", "-b", "-m", "1"}));
    std::set<std::string> clients;
    bool listing = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] != '\t') {
            listing = line.find(" xrestop ") != std::string::npos;
        } else if (!listing && line.find("res_base") != std::string::npos) {
            clients.insert(line.substr(line.find(':') + 1));
        }
    }
    return clients;
}

// The screen's pixels, read from the server.
bool ScreenPicture(const XSession& x, PngImage* picture) {
    const std::string info = x.Tool({"xwininfo", "-root"});
    const std::size_t at = info.find("Window id: ");
    return at != std::string::npos &&
           x.WindowPicture(info.substr(at + 11, info.find(' ', at + 11) - at - 11), picture);
}

TEST_F(ScreenSaverMode, DrawsTheSceneOverTheBlankedScreenAndEndsWhenItIsGivenBack) {
    XSession x(XServerSetup{false, 800, 600, false});
    ASSERT_TRUE(x.ready()) << x.problem();
    StartDaemon(x);
    ASSERT_TRUE(Tell(x, "-version")) << Log();
    const std::set<std::string> before = Clients(x);

    ASSERT_TRUE(Tell(x, "-activate")) << Log();
    int demo = -1;
    ASSERT_TRUE(PollUntil([&] {
        const std::vector<int> running = RunningFrom(programs);
        demo = running.empty() ? -1 : running.front();
        return demo > 0;
    })) << "the daemon did not start the demo; "
        << Log();

    // The scene over the whole screen, a frame drawn at the saver window's
    // size, and then another frame.
    PngImage first, next;
    EXPECT_TRUE(PollUntil([&] { return ScreenPicture(x, &first) && Covered(first); }))
        << "the screen never showed a whole frame; " << Log();
    EXPECT_TRUE(PollUntil([&] {
        return ScreenPicture(x, &next) && Covered(next) && next.pixels != first.pixels;
    })) << "the screen showed one picture and no other";

    // No window of its own: it draws on the daemon's.
    const std::string windows = x.Tool({"xwininfo", "-root", "-tree"});
    EXPECT_EQ(windows.find(std::string("\"") + kTitle + "\""), std::string::npos) << windows;
    EXPECT_EQ(windows.find("\"OpenGL\")"), std::string::npos) << windows;

    ASSERT_TRUE(Tell(x, "-deactivate")) << Log();
    // The daemon's helper that started it ends first, so this process takes
    // it in and sees how it ended; if the helper saw to it instead, only that
    // it is gone can be seen.
    int status = -1;
    bool statusSeen = false;
    EXPECT_TRUE(PollUntil([&] {
        errno = 0;
        const int waited = waitpid(demo, &status, WNOHANG);
        statusSeen = waited == demo;
        return statusSeen || (waited < 0 && errno == ECHILD && !ReadProcess(demo).has_value());
    })) << "the demo went on after the screen was given back";
    if (statusSeen) {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "the demo ended with wait status " << status << "; " << Log();
    }
    EXPECT_TRUE(PollUntil([&] { return RunningFrom(programs).empty(); }))
        << "processes of the demo are still running";
    std::set<std::string> after;
    EXPECT_TRUE(PollUntil([&] {
        after = Clients(x);
        return std::includes(before.begin(), before.end(), after.begin(), after.end());
    })) << "the X server holds "
        << after.size() << " clients, " << before.size() << " before the blank";
}

} // namespace
