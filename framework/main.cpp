// main.cpp - the process entry: reads the command line and makes sure there
// is a display, then hands over to the program's own entry point. On Windows
// too the C runtime starts here, with the command line already split into
// arguments.
#include "framework/TolkGL.h"
#include "framework/command_line.h"
#include "framework/saver.h"
#include "options/option_table.h"
#include "platform/console.h"
#include "platform/display.h"
#include "platform/frame_pacing.h"
#include "platform/host_window.h"
#include "platform/runtime.h"

#include <cstdlib>

namespace {

constexpr int kExitBadArguments = 2;
constexpr int kExitNoDisplay = 3; // nothing tried: no box shown, no mode switched

// The window a display mode of a screen saver draws in: the one --window-id
// names; for --root the daemon's own window over the screen, which it names
// in XSCREENSAVER_WINDOW, or else the screen itself. Null with why, and the
// status to end with, where there is none.
HWND SaverHost(const DemoOptions& options, std::string* problem, int* status) {
    std::uint32_t id = options.windowId;
    const char* daemons = std::getenv("XSCREENSAVER_WINDOW");
    if (options.root && daemons != nullptr && *daemons != '\0') {
        if (const Problem wrong =
                option_values::WindowNumber(daemons, "XSCREENSAVER_WINDOW", &id)) {
            *problem = *wrong;
            *status = kExitBadArguments;
            return nullptr;
        }
    }
    *status = kExitNoDisplay;
    return id != 0 ? platform::ForeignWindow(id, problem) : platform::ScreenWindow(problem);
}

} // namespace

int main(int argc, char** argv) {
    const DemoOptions options = ParseDemoOptions(argc, argv);
    if (!options.error.empty()) {
        platform::ShowText("tarrow: " + options.error + "\n", true, kWindowTitle);
        return kExitBadArguments;
    }
    if (options.help) {
        platform::ShowText(DemoUsage(), false, kWindowTitle);
        return 0;
    }
    if (options.version) {
        platform::ShowText("tarrow " TARROW_VERSION "\n", false, kWindowTitle);
        return 0;
    }
    if (options.seeded) {
        platform::UseSeed(options.seed);
    }
    if (options.fps != 0) {
        platform::PaceFrames(options.fps);
    }
    if (options.windowed) {
        g_startFullScreen = 0;
    }
    // Decided before the first box or mode switch, each of which would fail
    // on its own and say so in its own words.
    std::string problem;
    if (!platform::OpenDisplay(&problem)) {
        // An installed copy has no make at hand, only the installed programs.
        const std::string headless =
            platform::RunsFromItsBuild()
                ? "tarrow-render records the demo headless, as images and video, and "
                  "'make run' renders a preview"
                : "tarrow-render records the demo headless, as images and video: see "
                  "tarrow-render --help";
        platform::ShowText("tarrow: " + problem + "; " + headless + "\n", true, kWindowTitle);
        return kExitNoDisplay;
    }
    if (options.root || options.windowId != 0) {
        int status = 0;
        const HWND host = SaverHost(options, &problem, &status);
        if (host == nullptr) {
            platform::ShowText("tarrow: " + problem + "\n", true, kWindowTitle);
            return status;
        }
        return RunInHostWindow(GetModuleHandle(nullptr), host);
    }
    return WinMain(GetModuleHandle(nullptr), nullptr, nullptr, SW_SHOWNORMAL);
}
