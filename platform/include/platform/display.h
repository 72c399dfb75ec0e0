// display.h - whether the program has a display to show itself on.
//
// Asked once, before anything is shown: without a display the program cannot
// run, and it says so in one line of its own instead of failing at each step
// that would need one (the mode switch, the message boxes, the window).
#pragma once

#include <string>

namespace platform {

// Connects to the display; false where there is none, with what is wrong in
// one line ("cannot open display :349").
bool OpenDisplay(std::string* problem);

// Whether this copy runs from its build's folder, beside the other programs
// built with it (the display-mode watcher among them), where the build's own
// commands (make run) are at hand; an installed copy has only the installed
// programs.
bool RunsFromItsBuild();

} // namespace platform
