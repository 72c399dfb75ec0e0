// command_line.cpp - reading the demo's options.
#include "framework/command_line.h"

#include <cstdlib>

namespace {

// A seed is a whole number from 0 to 4294967295, as the generator takes.
bool ParseSeed(const std::string& text, unsigned int* seed) {
    if (text.empty() || text.size() > 10 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    const unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
    if (value > 0xFFFFFFFFull) {
        return false;
    }
    *seed = static_cast<unsigned int>(value);
    return true;
}

} // namespace

DemoOptions ParseDemoOptions(int argc, const char* const* argv) {
    DemoOptions options;
    for (int i = 1; i < argc && options.error.empty(); ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == "--windowed") {
            options.windowed = true;
        } else if (argument == "--seed" || argument.rfind("--seed=", 0) == 0) {
            const bool attached = argument != "--seed";
            if (!attached && i + 1 >= argc) {
                options.error = "--seed needs a value";
                break;
            }
            const std::string value = attached ? argument.substr(7) : argv[++i];
            if (!ParseSeed(value, &options.seed)) {
                options.error =
                    "--seed takes a whole number from 0 to 4294967295, not '" + value + "'";
            }
            options.seeded = true;
        } else {
            options.error = "unknown option '" + argument + "'";
        }
    }
    return options;
}

std::string DemoUsage() {
    return "Usage: tarrow [--seed S] [--windowed]\n"
           "\"vesk2013 - tarrow\", a real-time OpenGL demo. It asks the display for\n"
           "1680x1050 and runs full screen; Escape ends it, F1 switches between full\n"
           "screen and a window.\n"
           "\n"
           "  --seed S     seed the camera's legs, the movers' turns and the lights'\n"
           "               colours with S (0..4294967295) instead of the clock, so a run\n"
           "               can be repeated; the city's layout is the same in every run\n"
           "  --windowed   start in a window, without changing the display mode\n"
           "  -h, --help   print this text\n"
           "  --version    print the version\n";
}
