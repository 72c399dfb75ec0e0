// ticks.cpp - the tick count and sleeping.
#include "platform/headless.h"
#include "sdl/internal.h"
#include "sdl/offscreen.h"

#include <chrono>
#include <thread>

namespace platform {
namespace {

bool g_sleepDisabled = false;

} // namespace

void RunHeadless() {
    UseOffscreenDriver();
    g_sleepDisabled = true;
}

} // namespace platform

DWORD GetTickCount() {
    // Milliseconds on a steady clock, wrapping at 2^32 as the desktop's tick
    // count does.
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void Sleep(DWORD milliseconds) {
    if (!platform::g_sleepDisabled) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
}
