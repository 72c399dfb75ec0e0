// message_queues.cpp - the thread's two queues of messages, as on the desktop
// API: posted messages, taken first, and input made from the window system's
// events. Each keeps its order. A message posted wakes a thread waiting for
// one (WakeWaitingThread).
#include "hosted/message_queues.h"

#include "hosted/build_hooks.h"

#include <algorithm>
#include <deque>
#include <mutex>

namespace platform {
namespace {

std::mutex g_postedLock; // PostMessage may come from any thread
std::deque<MSG> g_posted;
std::deque<MSG> g_input;
unsigned long g_arrivals = 0; // messages queued so far, both queues
unsigned long g_arrivalsSeen = 0;

bool Matches(const MSG& message, HWND window, UINT filterMin, UINT filterMax) {
    if (window != nullptr && message.hwnd != window) {
        return false;
    }
    if (filterMin == 0 && filterMax == 0) {
        return true;
    }
    return message.message >= filterMin && message.message <= filterMax;
}

bool Take(std::deque<MSG>& queue, MSG* out, HWND window, UINT filterMin, UINT filterMax,
          UINT remove) {
    const auto found = std::find_if(queue.begin(), queue.end(), [&](const MSG& message) {
        return Matches(message, window, filterMin, filterMax);
    });
    if (found == queue.end()) {
        return false;
    }
    *out = *found;
    if ((remove & PM_REMOVE) != 0) {
        queue.erase(found);
    }
    return true;
}

MSG Make(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return MSG{window, message, wParam, lParam, GetTickCount(), POINT{0, 0}};
}

} // namespace

namespace detail {

void PostInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_input.push_back(Make(window, message, wParam, lParam));
    std::lock_guard<std::mutex> hold(g_postedLock);
    ++g_arrivals;
}

void PurgeMessages(HWND window) {
    const auto forWindow = [window](const MSG& message) { return message.hwnd == window; };
    g_input.erase(std::remove_if(g_input.begin(), g_input.end(), forWindow), g_input.end());
    std::lock_guard<std::mutex> hold(g_postedLock);
    g_posted.erase(std::remove_if(g_posted.begin(), g_posted.end(), forWindow), g_posted.end());
}

bool TakeQueuedMessage(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
    {
        std::lock_guard<std::mutex> hold(g_postedLock);
        g_arrivalsSeen = g_arrivals;
        if (Take(g_posted, message, window, filterMin, filterMax, remove)) {
            return true;
        }
    }
    return Take(g_input, message, window, filterMin, filterMax, remove);
}

bool ArrivedSinceLastLook() {
    std::lock_guard<std::mutex> hold(g_postedLock);
    return g_arrivals != g_arrivalsSeen;
}

} // namespace detail
} // namespace platform

BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    using namespace platform;
    {
        std::lock_guard<std::mutex> hold(g_postedLock);
        g_posted.push_back(Make(window, message, wParam, lParam));
        ++g_arrivals;
    }
    detail::WakeWaitingThread();
    return TRUE;
}
