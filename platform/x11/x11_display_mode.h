// x11_display_mode.h - a display-mode switch on an X server, through RandR.
//
// A switch changes one output: the primary one, or the first that is lit. It
// sets that output's CRTC to a mode of the asked size and makes the screen as
// large as what is lit then, so the desktop is as large as the new mode, as on
// the desktop API. A ModeSwitch records what is needed to undo it (the CRTC
// and screen as they were) and to recognise it (the mode the program set).
//
// Shared by the program, which switches and hands the desktop back itself,
// and by its watcher, tarrow-watch, which hands it back when the program ended
// without doing so, both through the mode's holders (x11_mode_holders.h).
// Both talk to the server on connections of their own, and every call here
// turns X errors into a false result instead of an exit.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <optional>
#include <string>
#include <vector>

namespace platform::x11 {

struct ScreenSize {
    int width = 0;
    int height = 0;
    int mmWidth = 0;
    int mmHeight = 0;
};

struct CrtcSetting {
    RRCrtc crtc = 0;
    RRMode mode = 0;
    int x = 0;
    int y = 0;
    Rotation rotation = RR_Rotate_0;
    std::vector<RROutput> outputs;
};

struct ModeSwitch {
    CrtcSetting desktop; // the switched CRTC as it was
    ScreenSize desktopScreen;
    RRMode programMode = 0;
    ScreenSize programScreen;
    Window holder = None; // stands for the program that switched (x11_mode_holders.h)
};

// Whether the server switches modes through RandR 1.2 for every client.
// False, with the reason, where it does not: no RandR 1.2, or XWayland, which
// shows a client's mode change to that client alone and ends it with it.
bool SwitchesModes(Display* display, std::string* why);

// The switch of the primary output to a mode of this size, or none where no
// output offers one. Any refresh rate: the highest offered is taken.
std::optional<ModeSwitch> PlanSwitch(Display* display, int width, int height);

// Sets the program's mode, or the desktop's back; whether the server took it.
// The caller holds the server grabbed (x11_mode_holders.h), so that no other
// client sees the screen between the steps.
bool ApplySwitch(Display* display, const ModeSwitch& change);
bool UndoSwitch(Display* display, const ModeSwitch& change);

// Whether the switched CRTC still shows the mode the program set: false once
// it was handed back, or once someone else changed it since.
bool ShowsProgramMode(Display* display, const ModeSwitch& change);

// A switch as one line of text, and back: what the program tells its watcher.
std::string Describe(const ModeSwitch& change);
std::optional<ModeSwitch> ParseSwitch(const std::string& line);

} // namespace platform::x11
