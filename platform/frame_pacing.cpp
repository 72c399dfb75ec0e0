// frame_pacing.cpp - the schedule of frame slots, the same on every desktop
// build.
#include "platform/frame_pacing.h"

#include <chrono>
#include <thread>

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

Clock::duration g_period{}; // zero: not paced
Clock::time_point g_nextSlot{};

} // namespace

void PaceFrames(unsigned int perSecond) {
    g_period = perSecond == 0 ? Clock::duration{}
                              : std::chrono::duration_cast<Clock::duration>(
                                    std::chrono::duration<double>(1.0 / perSecond));
    g_nextSlot = Clock::time_point{};
}

void WaitForFrameSlot() {
    if (g_period == Clock::duration{}) {
        return;
    }
    const Clock::time_point now = Clock::now();
    // A frame later than a whole period starts the schedule again from now,
    // so that a stall (a window being made again, a slow frame) is not
    // followed by a burst of frames catching up.
    g_nextSlot = now > g_nextSlot + g_period ? now : g_nextSlot + g_period;
    std::this_thread::sleep_until(g_nextSlot);
}

} // namespace platform
