// desktop.h - the program started on an X session and driven by its keys, as
// a user at that desktop would: the fixture of the end-to-end tests.
#pragma once

#include "tests/e2e/x_session.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <string>
#include <vector>

inline constexpr char kTitle[] = "vesk2013 - tarrow";

class Desktop : public testing::Test {
  protected:
    // Starts the program and waits for its first window.
    std::string Launch(XSession& x, const std::vector<std::string>& arguments = {}) {
        program = x.Start("tarrow", arguments);
        return x.WaitForWindow(kTitle);
    }

    // Waits for the program to end; its exit status, or -1 when it did not.
    // What it printed is then in `ended`.
    int Ended() { return WaitForExit(program, kPatience, &ended) ? ended.status : -1; }

    // Ends the program with Escape held on its window; its exit status.
    int Escape(XSession& x, const std::string& window) {
        x.KeyDown(window, "Escape");
        const int status = Ended();
        x.KeyUp("Escape");
        return status;
    }

    // Asks the window manager to close the window; the program's exit status.
    int CloseThroughTheWindowManager(XSession& x, const std::string& window) {
        x.Tool({"wmctrl", "-i", "-c", window});
        return Ended();
    }

    // F1 held until the window has been made again; the new window.
    std::string Switch(XSession& x, const std::string& window) {
        x.KeyDown(window, "F1");
        const std::string next = x.WaitForWindow(kTitle, window);
        x.KeyUp("F1");
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
