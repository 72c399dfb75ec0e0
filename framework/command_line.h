// command_line.h - the demo's command line, the same on every build.
//
// Without arguments the demo runs as it always did. The options make a run
// repeatable (--seed), start it in a window (--windowed), or only answer
// (--help, --version).
#pragma once

#include <string>

struct DemoOptions {
    bool help = false;
    bool version = false;
    bool windowed = false; // start in a window, as after F1, without a mode switch
    bool seeded = false;
    unsigned int seed = 0; // every clock seeding of the run uses it
    std::string error;     // what was wrong, one line; empty when nothing was
};

DemoOptions ParseDemoOptions(int argc, const char* const* argv);

// The --help text.
std::string DemoUsage();
