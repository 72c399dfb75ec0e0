// main.cpp - the page's entry: reads the page's address, then runs the demo
// through its own entry point, or a run of frames as tarrow-render does.
//
// A page may not take the screen before whoever watches it has pressed a key,
// so the demo starts in its window, as --windowed starts it; F1 then asks the
// browser for full screen. When the demo ends, its last frame stays in the
// page with a line on how to start it again.
#include "framework/TolkGL.h"
#include "page_options.h"
#include "page_run.h"
#include "platform/runtime.h"
#include "platform/web/page.h"

namespace {

constexpr int kExitBadAddress = 2;

} // namespace

int main() {
    const PageOptions options = ParsePageOptions(platform::web::PageQuery());
    if (!options.error.empty()) {
        platform::web::ShowLine("tarrow: " + options.error, true);
        platform::web::NoteState("failed");
        return kExitBadAddress;
    }
    if (options.run) {
        const int status = RunFrames(options);
        platform::web::NoteState(status == 0 ? "ended" : "failed");
        return status;
    }
    if (options.seeded) {
        platform::UseSeed(options.seed);
    }
    g_startFullScreen = 0;
    platform::web::ShowLine("F1 switches between full screen and the page; Escape ends the demo.",
                            false);
    platform::web::NoteState("running");
    const int status = WinMain(GetModuleHandle(nullptr), nullptr, nullptr, SW_SHOWNORMAL);
    platform::web::ShowLine("The demo has ended. Reload the page to start it again.", false);
    platform::web::NoteState(status == 0 ? "ended" : "failed");
    return status;
}
