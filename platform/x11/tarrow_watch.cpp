// tarrow_watch.cpp - tarrow-watch, the display-mode watcher: hands the
// desktop its mode back when the program that switched it ended without
// doing so (killed, crashed, cut off from the X server).
//
// The program starts it before its first switch, with one end of a socket as
// standard input, and tells it on that socket, one line each:
//   switch ...   a switch about to be made: the desktop as it is, the mode
//                the program is about to set and the window that stands for
//                the program among the mode's holders (x11_display_mode.h)
//   restored     the program handed the desktop back itself
// The watcher answers "ready" once it has a connection of its own to the
// server, or "cannot: <why>" and ends, and writes nothing more: the program
// sees it end (killed on its own, say) by the socket closing, and while a
// switch is in force starts another, which it tells of that switch first, in
// the line the one before was told: the desktop's setting from before the
// switch, which the output no longer shows.
//
// When the socket closes, the program is gone: if a switch is still
// outstanding, the program is taken off the mode's holders
// (x11_mode_holders.h), and where no other program holds the mode and the
// output still shows it, the desktop's saved mode and screen size are set
// back; a mode someone else set since is left as it is. The watcher then
// ends, as it does at once when its own connection to the server breaks.
//
// It lives in a process group of its own and ignores the signals a terminal
// sends to a whole group (Ctrl-C, hang-up) and SIGTERM, so whatever ends the
// program leaves it to finish its one job.
#include "x11/x11_display_mode.h"
#include "x11/x11_mode_holders.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

constexpr int kProgram = STDIN_FILENO;

void Say(const std::string& line) {
    const std::string text = line + "\n";
    [[maybe_unused]] const ssize_t sent = write(kProgram, text.data(), text.size());
}

int ConnectionLost(Display*) {
    _exit(0); // nothing can be handed back without a server
}

} // namespace

int main() {
    for (const int deaf : {SIGINT, SIGHUP, SIGTERM, SIGQUIT, SIGPIPE}) {
        signal(deaf, SIG_IGN);
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        Say("cannot: no connection to the display");
        return 1;
    }
    XSetIOErrorHandler(ConnectionLost);
    std::string why;
    if (!platform::x11::SwitchesModes(display, &why)) {
        Say("cannot: " + why);
        return 1;
    }
    Say("ready");

    std::optional<platform::x11::ModeSwitch> outstanding;
    std::string received;
    for (;;) {
        pollfd watched[2] = {{kProgram, POLLIN, 0}, {ConnectionNumber(display), POLLIN, 0}};
        if (poll(watched, 2, -1) < 0) {
            continue; // interrupted
        }
        if (watched[1].revents != 0) {
            XSync(display, False); // a broken connection ends the watcher here
            while (XPending(display) > 0) {
                XEvent ignored;
                XNextEvent(display, &ignored);
            }
        }
        if (watched[0].revents == 0) {
            continue;
        }
        char chunk[512];
        const ssize_t got = read(kProgram, chunk, sizeof chunk);
        if (got <= 0) {
            break; // the program is gone
        }
        received.append(chunk, static_cast<std::size_t>(got));
        for (std::size_t end; (end = received.find('\n')) != std::string::npos;) {
            const std::string line = received.substr(0, end);
            received.erase(0, end + 1);
            if (line == "restored") {
                outstanding.reset();
            } else if (auto change = platform::x11::ParseSwitch(line)) {
                outstanding = change;
            }
        }
    }
    if (outstanding) {
        platform::x11::HandBackMode(display, *outstanding, true);
    }
    XCloseDisplay(display);
    return 0;
}
