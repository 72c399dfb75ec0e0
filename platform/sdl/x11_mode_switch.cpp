// x11_mode_switch.cpp - the display mode on an X server that switches modes
// for every client: set by the program itself through RandR, so that
// ChangeDisplaySettings reports the switch's real outcome, shared with any
// other program holding it (x11_mode_holders.h), and watched by tarrow-watch,
// so that the desktop gets its mode back however the program ends.
#include "sdl/internal.h"
#include "x11/x11_display_mode.h"
#include "x11/x11_mode_holders.h"

#include <optional>
#include <string>

namespace platform::detail {
namespace {

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

// The program's hold on the mode while its switch is in force: a connection
// of its own, kept open, with the window that stands for the program among
// the mode's holders. The switch and the hand-back run on it. When the
// program goes, however it goes, the connection closes and the server
// destroys the window, so the program stops counting as a holder.
struct Hold {
    Display* display = nullptr;
    Window holder = None;
};

Hold g_hold;
std::optional<x11::ModeSwitch> g_inForce;

bool OpenHold() {
    if (g_hold.display == nullptr) {
        g_hold.display = XOpenDisplay(nullptr);
        if (g_hold.display == nullptr) {
            return false;
        }
        g_hold.holder = x11::MakeHolder(g_hold.display);
    }
    return true;
}

void CloseHold() {
    if (g_hold.display != nullptr) {
        XCloseDisplay(g_hold.display);
    }
    g_hold = Hold{};
}

} // namespace

bool RandrSwitchesModes() {
    static const bool switches = [] {
        Connection connection;
        std::string why = "no connection to the display";
        if (connection.get() != nullptr && x11::SwitchesModes(connection.get(), &why)) {
            return true;
        }
        Say("display mode: left to SDL and not watched: " + why);
        return false;
    }();
    return switches;
}

LONG SwitchRandrMode(int width, int height, bool refused) {
    if (!OpenHold()) {
        return DISP_CHANGE_FAILED;
    }
    std::optional<x11::ModeSwitch> change = x11::PlanSwitch(g_hold.display, width, height);
    if (!change || refused) {
        if (!g_inForce) {
            CloseHold();
        }
        return change ? DISP_CHANGE_FAILED : DISP_CHANGE_BADMODE;
    }
    change->holder = g_hold.holder;
    WatchSwitch(*change); // the watcher knows of it before it happens
    if (!x11::TakeMode(g_hold.display, &*change)) {
        g_inForce.reset();
        CloseHold();
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
    x11::HandBackMode(g_hold.display, *g_inForce, false);
    g_inForce.reset();
    CloseHold();
    SwitchHandedBack();
}

} // namespace platform::detail
