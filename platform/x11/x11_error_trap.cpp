// x11_error_trap.cpp - recording X errors for a spell instead of exiting.
#include "x11/x11_error_trap.h"

namespace platform::x11 {
namespace {

bool g_failed = false;

int Record(Display*, XErrorEvent*) {
    g_failed = true;
    return 0;
}

} // namespace

ErrorTrap::ErrorTrap(Display* display) : display_(display) {
    XSync(display_, False); // errors of earlier requests are not ours to hide
    g_failed = false;
    previous_ = XSetErrorHandler(Record);
}

ErrorTrap::~ErrorTrap() {
    XSync(display_, False);
    XSetErrorHandler(previous_);
}

bool ErrorTrap::Failed() {
    XSync(display_, False);
    return g_failed;
}

} // namespace platform::x11
