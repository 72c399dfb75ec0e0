// command_line.cpp - the demo's options, read from one table.
#include "framework/command_line.h"

#include "framework/option_table.h"

namespace {

constexpr unsigned long long kMostFramesPerSecond = 1000;

CommandOption Flag(const char* name, const char* alias, const char* help, bool* set) {
    return {name, alias, "", help, [set](const std::string&) {
                *set = true;
                return std::optional<std::string>();
            }};
}

// Every option, in the order --help lists them. `options` may be null for
// the help text alone.
std::vector<CommandOption> OptionTable(DemoOptions* options) {
    static DemoOptions unused;
    DemoOptions* o = options != nullptr ? options : &unused;
    return {
        SeedOption("seed the camera's legs, the movers' turns and the lights' colours with S "
                   "(0..4294967295) instead of the clock, so a run can be repeated; the city's "
                   "layout is the same in every run",
                   &o->seed, &o->seeded),
        {"--fps", "", "N",
         "draw N frames a second (1..1000), paced by the clock, for screens faster than the "
         "60 Hz the demo was made for, as its motion is counted in frames (default: one frame "
         "per display refresh)",
         [o](const std::string& value) {
             unsigned long long number = 0;
             if (!ReadWholeNumber(value, kMostFramesPerSecond, &number) || number == 0) {
                 return std::optional<std::string>("--fps needs a whole number from 1 to " +
                                                   std::to_string(kMostFramesPerSecond) +
                                                   ", not '" + value + "'");
             }
             o->fps = static_cast<unsigned int>(number);
             return std::optional<std::string>();
         }},
        Flag("--windowed", "", "start in a window, without changing the display mode",
             &o->windowed),
        Flag("--help", "-h", "print this text", &o->help),
        Flag("--version", "", "print the version", &o->version),
    };
}

} // namespace

DemoOptions ParseDemoOptions(int argc, const char* const* argv) {
    DemoOptions options;
    options.error = ReadCommandLine(argc, argv, OptionTable(&options)).value_or("");
    return options;
}

std::string DemoUsage() {
    return "Usage: tarrow [--seed S] [--fps N] [--windowed]\n"
           "\"vesk2013 - tarrow\", a real-time OpenGL demo. It asks the display for\n"
           "1680x1050 and runs full screen; Escape ends it, F1 switches between full\n"
           "screen and a window.\n"
           "\n" +
           OptionsHelp(OptionTable(nullptr));
}
