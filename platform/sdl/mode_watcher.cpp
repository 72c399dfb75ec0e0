// mode_watcher.cpp - the program's side of tarrow-watch (tarrow_watch.cpp):
// starting it before the first switch, telling it of each switch and of each
// hand-back, and letting it finish when the program ends.
//
// It costs nothing per frame: one line on a socket per switch and per
// hand-back. The watcher is started from the program's own folder or the
// helper programs' folder of its prefix, in a process group of its own, with
// nothing of the program's open but the socket. Where it cannot be had the
// program goes on without it and says so once.
#include "platform/sdl/internal.h"
#include "platform/x11/x11_display_mode.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

extern char** environ;

namespace platform::detail {
namespace {

constexpr int kAnswerLimitMs = 5000; // for the watcher's first word
constexpr int kFinishLimitMs = 5000; // for the watcher to see to the mode at exit

int g_socket = -1;
pid_t g_watcher = -1;
bool g_saidWhy = false;

// The watcher beside the program (the build's folder), else among the helper
// programs of the prefix the program is installed under.
std::string WatcherPath() {
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) {
        return "tarrow-watch";
    }
    std::string path(self, static_cast<std::size_t>(length));
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    const std::string beside = folder + "tarrow-watch";
    return access(beside.c_str(), X_OK) == 0 ? beside
                                             : folder + TARROW_WATCHER_FROM_BIN + "/tarrow-watch";
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

bool Start(std::string* why) {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
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
        Disconnect(0); // it ended early; started again at the next switch
    }
}

} // namespace

void WatchSwitch(const x11::ModeSwitch& change) {
    Reap(0);
    if (g_watcher <= 0 && g_socket >= 0) {
        Disconnect(0);
    }
    std::string why;
    if (g_socket < 0 && !Start(&why)) {
        if (!g_saidWhy) {
            g_saidWhy = true;
            std::fprintf(stderr,
                         "display mode: not watched (%s); if the program is killed, the desktop "
                         "keeps its mode\n",
                         why.c_str());
        }
        return;
    }
    Send(x11::Describe(change));
}

void SwitchHandedBack() {
    Send("restored");
}

} // namespace platform::detail
