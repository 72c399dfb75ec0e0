// x11_error_trap.h - X requests whose errors are answers, not faults.
//
// Xlib's default handler ends the process on any X error. Requests that may
// fairly be refused (a mode the server will not set, a resource already
// gone) run inside an ErrorTrap instead: their errors are recorded, and the
// caller asks whether any came. The handler is the process's, so a trap is
// meant for short spells on the thread that talks to X.
#pragma once

#include <X11/Xlib.h>

namespace platform::x11 {

class ErrorTrap {
  public:
    explicit ErrorTrap(Display* display);
    ~ErrorTrap(); // waits for the trapped requests' answers, then puts the old handler back
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Whether any request sent since the trap was set has failed.
    bool Failed();

  private:
    Display* display_;
    XErrorHandler previous_;
};

} // namespace platform::x11
