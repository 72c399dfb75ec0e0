// command_line.h - the demo's command line, the same on every build.
//
// Without arguments the demo runs as it always did. The options make a run
// repeatable (--seed), pace it for a fast screen (--fps), start it in a
// window (--windowed), or only answer (--help, --version).
#pragma once

#include <cstdint>
#include <string>

struct DemoOptions {
    bool help = false;
    bool version = false;
    bool windowed = false; // start in a window, as after F1, without a mode switch
    bool seeded = false;
    std::uint32_t seed = 0; // every clock seeding of the run uses it
    unsigned int fps = 0;   // frames a second, paced by the clock; 0: one a display refresh
    std::string error;      // what was wrong, one line; empty when nothing was
};

DemoOptions ParseDemoOptions(int argc, const char* const* argv);

// The --help text.
std::string DemoUsage();
