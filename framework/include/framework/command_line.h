// command_line.h - the demo's command line, the same on every build.
//
// Without arguments the demo runs as it always did. The options make a run
// repeatable (--seed), pace it for a fast screen (--fps), start it in a
// window (--windowed) or in another program's window as a screen saver's
// display mode (--root, --window-id), or only answer (--help, --version).
#pragma once

#include <cstdint>
#include <string>

struct DemoOptions {
    bool help = false;
    bool version = false;
    bool windowed = false;      // start in a window, as after F1, without a mode switch
    bool root = false;          // draw in the saver daemon's window, or the root window
    std::uint32_t windowId = 0; // draw in this window of another program; 0: none
    bool seeded = false;
    std::uint32_t seed = 0; // every clock seeding of the run uses it
    unsigned int fps = 0;   // frames a second, paced by the clock; 0: one a display refresh
    std::string error;      // what was wrong, one line; empty when nothing was
};

DemoOptions ParseDemoOptions(int argc, const char* const* argv);

// The --help text.
std::string DemoUsage();
