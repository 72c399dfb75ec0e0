// mode_watcher.cpp - the program's side of tarrow-watch (tarrow_watch.cpp):
// starting it before the first switch, telling it of each switch and of each
// hand-back, starting another where it ended while a switch is in force, and
// letting it finish when the program ends.
//
// It costs one line on a socket per switch and per hand-back, and while a
// switch is in force one poll of that socket each time the window system's
// events are taken in, which tells whether the watcher is still there: a
// watcher killed on its own would leave the desktop's mode unwatched. The
// watcher is started from the program's own folder or the helper programs'
// folder of its prefix, in a process group of its own, with nothing of the
// program's open but the socket. Where it cannot be had the program goes on
// without it and says so once.
#include "platform/display.h"
#include "sdl/internal.h"
#include "x11/x11_display_mode.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

extern char** environ;

namespace platform::detail {
namespace {

constexpr int kAnswerLimitMs = 5000; // for the watcher's first word, and its end once gone
constexpr int kFinishLimitMs = 5000; // for the watcher to see to the mode at exit

int g_socket = -1;
pid_t g_watcher = -1;
// The switch in force as the watcher was told of it, and told again to any
// watcher started after it; empty when none is in force.
std::string g_inForce;
bool g_unwatched = false; // no watcher could be had for the switch in force
bool g_saidWhy = false;

// The program's own folder, with its slash; empty where it cannot be read.
std::string ProgramFolder() {
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) {
        return {};
    }
    const std::string path(self, static_cast<std::size_t>(length));
    return path.substr(0, path.rfind('/') + 1);
}

// The watcher beside the program, where the build puts it.
std::string WatcherBeside() {
    const std::string folder = ProgramFolder();
    const std::string beside = folder + "tarrow-watch";
    return !folder.empty() && access(beside.c_str(), X_OK) == 0 ? beside : std::string();
}

// The watcher beside the program (the build's folder), else among the helper
// programs of the prefix the program is installed under.
std::string WatcherPath() {
    const std::string beside = WatcherBeside();
    if (!beside.empty()) {
        return beside;
    }
    const std::string folder = ProgramFolder();
    return folder.empty() ? "tarrow-watch" : folder + TARROW_WATCHER_FROM_BIN + "/tarrow-watch";
}

// Waits up to `limitMs` for the watcher to end; whether it did (and was reaped).
bool Reap(int limitMs) {
    for (int waited = 0; g_watcher > 0; waited += 10) {
        if (waitpid(g_watcher, nullptr, WNOHANG) != 0) {
            g_watcher = -1;
            return true;
        }
        if (waited >= limitMs) {
            return false;
        }
        usleep(10000);
    }
    return true;
}

void Disconnect(int limitMs) {
    if (g_socket >= 0) {
        close(g_socket);
        g_socket = -1;
    }
    Reap(limitMs);
}

// At exit, however the program ends normally (or by exit() after losing its
// connection to the server): the socket closes and the watcher sees to the
// mode before the exit completes.
void Finish() {
    Disconnect(kFinishLimitMs);
}

// The watcher's first line: "ready", or "cannot: <why>".
std::string FirstLine(int socket) {
    std::string line;
    char c = 0;
    pollfd answer{socket, POLLIN, 0};
    while (line.size() < 256 && poll(&answer, 1, kAnswerLimitMs) > 0 && read(socket, &c, 1) == 1 &&
           c != '\n') {
        line += c;
    }
    return line;
}

// Starts a watcher told of the switch described by `told`. The line is in
// the socket before the watcher runs, which reads it once it is ready: a
// watcher seen running knows of the switch, however soon the program is
// killed after.
bool Start(const std::string& told, std::string* why) {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        *why = "no socket for it";
        return false;
    }
    const std::string line = told + "\n";
    if (send(ends[0], line.data(), line.size(), MSG_NOSIGNAL) !=
        static_cast<ssize_t>(line.size())) {
        close(ends[0]);
        close(ends[1]);
        *why = "no socket for it";
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDIN_FILENO);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
    const std::string path = WatcherPath();
    char name[] = "tarrow-watch";
    char* arguments[] = {name, nullptr};
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, &attributes, arguments, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    if (spawned != 0) {
        close(ends[0]);
        *why = "cannot start " + path;
        return false;
    }
    g_socket = ends[0];
    g_watcher = pid;
    const std::string answer = FirstLine(g_socket);
    if (answer != "ready") {
        *why = answer.rfind("cannot: ", 0) == 0 ? answer.substr(8) : path + " did not answer";
        Disconnect(kAnswerLimitMs);
        return false;
    }
    static bool finishing = false;
    if (!finishing) {
        finishing = true;
        std::atexit(Finish);
    }
    return true;
}

void Send(const std::string& line) {
    const std::string text = line + "\n";
    if (g_socket >= 0 && send(g_socket, text.data(), text.size(), MSG_NOSIGNAL) !=
                             static_cast<ssize_t>(text.size())) {
        Disconnect(kAnswerLimitMs); // it ended early; another is started while a switch is in force
    }
}

// Whether the watcher is there to be told: its socket is open and its end of
// it has not closed. It writes nothing after its first line, so anything to
// read, a hang-up or an error is its end; it is then let go.
bool Connected() {
    if (g_socket < 0) {
        return false;
    }
    pollfd end{g_socket, POLLIN, 0};
    if (poll(&end, 1, 0) <= 0) {
        return true; // still there (or interrupted: looked at again the next time)
    }
    Disconnect(kAnswerLimitMs);
    return false;
}

// A new watcher, told of the switch in force in the line the one before it
// was told: the desktop's setting from before the switch, which the output
// no longer shows once the switch is made. Says once why where none can be
// had.
void StartWatching() {
    std::string why;
    g_unwatched = !Start(g_inForce, &why);
    if (!g_unwatched) {
        return;
    }
    if (!g_saidWhy) {
        g_saidWhy = true;
        Say("display mode: not watched (" + why +
            "); if the program is killed, the desktop keeps its mode");
    }
}

} // namespace

void WatchSwitch(const x11::ModeSwitch& change) {
    g_inForce = x11::Describe(change);
    if (Connected()) {
        Send(g_inForce);
    } else {
        StartWatching();
    }
}

void SwitchHandedBack() {
    g_inForce.clear();
    g_unwatched = false;
    Send("restored");
}

void KeepModeWatched() {
    if (!g_inForce.empty() && !g_unwatched && !Connected()) {
        StartWatching();
    }
}

} // namespace platform::detail

bool platform::RunsFromItsBuild() {
    return !detail::WatcherBeside().empty();
}
