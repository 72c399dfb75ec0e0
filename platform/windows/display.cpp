// display.cpp - on Windows the desktop is there whenever the program runs.
#include "platform/display.h"

namespace platform {

bool OpenDisplay(std::string* /*problem*/) {
    return true;
}

bool RunsFromItsBuild() {
    return false; // never asked: there is always a display
}

} // namespace platform
