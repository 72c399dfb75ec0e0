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
        Flag<DemoOptions>("root", "-root",
                          "run as a screen saver's display mode: draw in the window named by "
                          "XSCREENSAVER_WINDOW, or else in the root window, at its size, until "
                          "ended by a signal; no keys are read and the display mode stays",
                          &DemoOptions::root),
        Window<DemoOptions>("window-id", "-window-id",
                            "the same in the X window ID (decimal, or hexadecimal after 0x), "
                            "following its size, until it goes or a signal ends the demo",
                            &DemoOptions::windowId),
        Flag<DemoOptions>("help", "-h", "print this text", &DemoOptions::help),
        Flag<DemoOptions>("version", "", "print the version", &DemoOptions::version),
    };
    return table;
}

} // namespace

DemoOptions ParseDemoOptions(int argc, const char* const* argv) {
    DemoOptions options;
    options.error = ReadCommandLine(argc, argv, Table(), &options).value_or("");
    const int places =
        (options.windowed ? 1 : 0) + (options.root ? 1 : 0) + (options.windowId != 0 ? 1 : 0);
    if (options.error.empty() && places > 1) {
        options.error = "--windowed, --root and --window-id each say where to draw: give one";
    }
    return options;
}

std::string DemoUsage() {
    return "Usage: tarrow [--seed S] [--fps N] [--windowed | --root | --window-id ID]\n"
           "\"vesk2013 - tarrow\", a real-time OpenGL demo. It asks the display for\n"
           "1680x1050 and runs full screen; Escape ends it, F1 switches between full\n"
           "screen and a window.\n"
           "\n" +
           OptionsHelp(Table());
}
