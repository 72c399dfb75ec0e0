// command_line.cpp - the demo's options, read from one table.
#include "framework/command_line.h"

#include "options/option_table.h"

namespace {

constexpr unsigned int kMostFramesPerSecond = 1000;

// Every option, in the order --help lists them.
const OptionTable<DemoOptions>& Table() {
    static const OptionTable<DemoOptions> table{
        Seed<DemoOptions>(
            "seed the camera's legs, the movers' turns and the lights' colours with S "
            "(0..4294967295) instead of the clock, so a run can be repeated; the city's layout is "
            "the same in every run",
            &DemoOptions::seed, &DemoOptions::seeded),
        Count<DemoOptions, unsigned int>(
            "fps", "N", "a whole number", 1, kMostFramesPerSecond,
            "draw N frames a second (1..1000), paced by the clock, for screens faster than the "
            "60 Hz the demo was made for, as its motion is counted in frames (default: one frame "
            "per display refresh)",
            &DemoOptions::fps),
        Flag<DemoOptions>("windowed", "", "start in a window, without changing the display mode",
                          &DemoOptions::windowed),
        Flag<DemoOptions>("help", "-h", "print this text", &DemoOptions::help),
        Flag<DemoOptions>("version", "", "print the version", &DemoOptions::version),
    };
    return table;
}

} // namespace

DemoOptions ParseDemoOptions(int argc, const char* const* argv) {
    DemoOptions options;
    options.error = ReadCommandLine(argc, argv, Table(), &options).value_or("");
    return options;
}

std::string DemoUsage() {
    return "Usage: tarrow [--seed S] [--fps N] [--windowed]\n"
           "\"vesk2013 - tarrow\", a real-time OpenGL demo. It asks the display for\n"
           "1680x1050 and runs full screen; Escape ends it, F1 switches between full\n"
           "screen and a window.\n"
           "\n" +
           OptionsHelp(Table());
}
