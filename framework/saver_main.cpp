// saver_main.cpp - tarrow.scr, the demo as the system's screen saver: what the
// screen-saver settings ask of it, read from its command line.
#include "framework/TolkGL.h"
#include "framework/saver.h"
#include "framework/saver_command_line.h"
#include "platform/console.h"
#include "platform/host_window.h"

namespace {

constexpr int kExitBadArguments = 2;
constexpr int kExitNoWindow = 3;

} // namespace

int main(int argc, char** argv) {
    const SaverRequest request = ParseSaverCommandLine(argc, argv);
    if (!request.error.empty()) {
        platform::ShowText("tarrow: " + request.error + "\n", true, kWindowTitle);
        return kExitBadArguments;
    }
    std::string problem;
    switch (request.mode) {
    case SaverMode::Screen:
        return RunOverDesktop(GetModuleHandle(nullptr));
    case SaverMode::Preview: {
        const HWND host = platform::ForeignWindow(request.window, &problem);
        if (host == nullptr) {
            platform::ShowText("tarrow: " + problem + "\n", true, kWindowTitle);
            return kExitNoWindow;
        }
        return RunInHostWindow(GetModuleHandle(nullptr), host);
    }
    case SaverMode::Configure:
    default: {
        // Owned by the settings dialog that asked, where it named itself.
        const HWND owner =
            request.window != 0 ? platform::ForeignWindow(request.window, &problem) : nullptr;
        MessageBox(owner, kNothingToConfigure, kWindowTitle, MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    }
}
