// message_queue.cpp - the thread's message queue.
//
// Two queues, as on the desktop API: posted messages, taken first, and input
// (keys, close requests) made from SDL's events. Each keeps its order. SDL's
// events are turned into messages whenever the queue is looked at. Size
// changes are not queued: they are sent to the window procedure at once, as
// the system sends them.
#include "platform/sdl/internal.h"

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

void PumpEvents() {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return;
    }
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
        TranslateEvent(event);
    }
}

} // namespace detail
} // namespace platform

using namespace platform;

BOOL PeekMessage(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
    detail::PumpEvents();
    {
        std::lock_guard<std::mutex> hold(g_postedLock);
        g_arrivalsSeen = g_arrivals;
        if (Take(g_posted, message, window, filterMin, filterMax, remove)) {
            return TRUE;
        }
    }
    return Take(g_input, message, window, filterMin, filterMax, remove) ? TRUE : FALSE;
}

LRESULT SendMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND__* window = detail::FindWindow(handle);
    if (window == nullptr) {
        return 0;
    }
    return window->procedure(window, message, wParam, lParam);
}

LRESULT DispatchMessage(const MSG* message) {
    if (message == nullptr) {
        return 0;
    }
    return SendMessage(message->hwnd, message->message, message->wParam, message->lParam);
}

BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    {
        std::lock_guard<std::mutex> hold(g_postedLock);
        g_posted.push_back(Make(window, message, wParam, lParam));
        ++g_arrivals;
    }
    // Wakes a thread blocked in WaitMessage.
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
        SDL_Event wake{};
        wake.type = detail::WakeEventType();
        SDL_PushEvent(&wake);
    }
    return TRUE;
}

BOOL WaitMessage() {
    {
        std::lock_guard<std::mutex> hold(g_postedLock);
        if (g_arrivals != g_arrivalsSeen) {
            return TRUE; // something arrived since the queue was last looked at
        }
    }
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return FALSE; // nothing could ever arrive
    }
    // Any event may change the window's state (a restore is sent, not
    // queued), so the caller looks again after each one.
    SDL_WaitEvent(nullptr);
    detail::PumpEvents();
    return TRUE;
}

LRESULT DefWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(handle);
        return 0;
    case WM_SYSKEYDOWN:
        // Alt+F4 asks the window to close, through its own procedure.
        if (wParam == VK_F4 && (HIWORD(lParam) & KF_ALTDOWN) != 0) {
            SendMessage(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    case WM_SYSCOMMAND:
        if (wParam == SC_CLOSE) {
            SendMessage(handle, WM_CLOSE, 0, 0);
            return 0;
        }
        // Left to themselves, windows let the screen saver and power-down run.
        return (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) ? 1 : 0;
    default:
        return 0;
    }
}
