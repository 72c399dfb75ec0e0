// x11_mode_switch.cpp - the display mode on an X server that switches modes
// for every client: set by the program itself through RandR, so that
// ChangeDisplaySettings reports the switch's real outcome, and watched by
// tarrow-watch, so that the desktop gets its mode back however the program
// ends. Each switch and hand-back runs on a short connection of its own.
#include "platform/extras.h"
#include "platform/sdl/internal.h"
#include "platform/sdl/x11_display_mode.h"

#include <cstdio>
#include <optional>

namespace platform::detail {
namespace {

std::optional<x11::ModeSwitch> g_inForce;

class Connection {
  public:
    Connection() : display_(XOpenDisplay(nullptr)) {}
    ~Connection() {
        if (display_ != nullptr) {
            XCloseDisplay(display_);
        }
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Display* get() const { return display_; }

  private:
    Display* display_;
};

} // namespace

bool RandrSwitchesModes() {
    static const bool switches = [] {
        Connection connection;
        std::string why = "no connection to the display";
        if (connection.get() != nullptr && x11::SwitchesModes(connection.get(), &why)) {
            return true;
        }
        std::fprintf(stderr, "display mode: left to SDL and not watched: %s\n", why.c_str());
        return false;
    }();
    return switches;
}

LONG SwitchRandrMode(int width, int height) {
    Connection connection;
    if (connection.get() == nullptr) {
        return DISP_CHANGE_FAILED;
    }
    std::optional<x11::ModeSwitch> change = x11::PlanSwitch(connection.get(), width, height);
    if (!change) {
        return DISP_CHANGE_BADMODE;
    }
    if (g_inForce) {
        // A switch over a switch: the desktop to come back to stays the first.
        change->desktop = g_inForce->desktop;
        change->desktopScreen = g_inForce->desktopScreen;
    }
    if (ModeSwitchesRefused()) {
        return DISP_CHANGE_FAILED;
    }
    WatchSwitch(*change); // the watcher knows of it before it happens
    if (!x11::ApplySwitch(connection.get(), *change)) {
        x11::UndoSwitch(connection.get(), *change);
        g_inForce.reset();
        SwitchHandedBack();
        return DISP_CHANGE_FAILED;
    }
    g_inForce = change;
    return DISP_CHANGE_SUCCESSFUL;
}

void RestoreRandrMode() {
    if (!g_inForce) {
        return;
    }
    Connection connection;
    if (connection.get() != nullptr) {
        x11::UndoSwitch(connection.get(), *g_inForce);
    }
    g_inForce.reset();
    SwitchHandedBack();
}

} // namespace platform::detail
