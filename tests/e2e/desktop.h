// desktop.h - the program started on an X session and driven by its keys, as
// a user at that desktop would: the fixture of the end-to-end tests.
#pragma once

#include "tests/e2e/x_session.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <string>
#include <vector>

inline constexpr char kTitle[] = "vesk2013 - tarrow";

// Ends a program with Escape held on its window until it has ended; its exit
// status (what it printed is then in `ended`), or -1 when it did not end.
inline int EndWithEscape(const XSession& x, const std::string& window,
                         const RunningProcess& process, ProcessResult* ended) {
    return x.HoldKeyUntil(window, "Escape",
                          [&] { return WaitForExit(process, std::chrono::milliseconds(0), ended); })
               ? ended->status
               : -1;
}

class Desktop : public testing::Test {
  protected:
    // Starts the program and waits for its first window.
    std::string Launch(XSession& x, const std::vector<std::string>& arguments = {}) {
        program = x.Start("tarrow", arguments);
        return x.WaitForWindow(kTitle);
    }

    // Whether the window manager shows the window full screen.
    static bool FullScreen(const XSession& x, const std::string& window) {
        return x.Property(window, "_NET_WM_STATE").find("_NET_WM_STATE_FULLSCREEN") !=
               std::string::npos;
    }

    // Waits for the program to end; its exit status, or -1 when it did not.
    // What it printed is then in `ended`.
    int Ended() { return WaitForExit(program, kPatience, &ended) ? ended.status : -1; }

    // Ends the program with Escape held on its window until it has ended; its
    // exit status, or -1 when it did not end.
    int Escape(XSession& x, const std::string& window) {
        return EndWithEscape(x, window, program, &ended);
    }

    // Asks the window manager to close the window; the program's exit status.
    int CloseThroughTheWindowManager(XSession& x, const std::string& window) {
        x.Tool({"wmctrl", "-i", "-c", window});
        return Ended();
    }

    // F1 held until the window has been made again; the new window, or
    // empty when none came.
    std::string Switch(XSession& x, const std::string& window) {
        std::string next;
        x.HoldKeyUntil(window, "F1",
                       [&] { return !(next = x.FindWindow(kTitle, window)).empty(); });
        return next;
    }

    void TearDown() override {
        ProcessResult ignored;
        if (program.pid > 0 && !WaitForExit(program, std::chrono::milliseconds(0), &ignored)) {
            kill(program.pid, SIGKILL);
            FinishProcess(program);
        }
    }

    RunningProcess program;
    ProcessResult ended; // how the program ended, once Ended() has seen it end
};
