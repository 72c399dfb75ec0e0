// message_queue.cpp - the thread's message queue, and the browser's events
// as the messages they stand for.
//
//   key pressed, auto-repeated, released   -> WM_KEYDOWN / WM_KEYUP, queued
//     with Alt held, Alt itself, or F10    -> WM_SYSKEYDOWN / WM_SYSKEYUP
//   page hidden, shown again               -> WM_SIZE (minimised, restored), sent
//
// Two queues, as on the desktop API: posted messages, taken first, and input.
// The browser's events are noted as they come and turned into messages only
// when the program looks at its queue, so the window procedure runs where
// the program's loop expects it. WaitMessage gives the browser its turn until
// an event comes.
#include "platform/web/browser.h"
#include "platform/web/internal.h"

#include <emscripten/html5.h>

#include <algorithm>
#include <deque>

namespace platform {
namespace {

struct BrowserEvent {
    enum Kind { KeyDown, KeyUp, Visibility } kind;
    int virtualKey;
    bool alt;
    bool repeat;
    bool hidden;
};

std::deque<MSG> g_posted;
std::deque<MSG> g_input;
std::deque<BrowserEvent> g_events;
unsigned long g_arrivals = 0; // messages queued so far, both queues
unsigned long g_arrivalsSeen = 0;
bool g_listening = false;

constexpr int kF5 = VK_F1 + 4;   // reloads the page
constexpr int kF11 = VK_F1 + 10; // the browser's own full screen

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

void Note(const BrowserEvent& event) {
    g_events.push_back(event);
    tarrow_wake();
}

// Keys the browser keeps for itself: reloading, its own full screen, its
// tools, and whatever is typed with Ctrl or Meta.
bool BrowserKeeps(const EmscriptenKeyboardEvent& key, int virtualKey) {
    return key.ctrlKey != 0 || key.metaKey != 0 || virtualKey == kF5 || virtualKey == kF11 ||
           virtualKey == VK_F12;
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* key, void* /*data*/) {
    const int virtualKey = detail::VirtualKeyFromCode(key->code);
    if (virtualKey == 0) {
        return EM_FALSE;
    }
    Note(
        BrowserEvent{type == EMSCRIPTEN_EVENT_KEYDOWN ? BrowserEvent::KeyDown : BrowserEvent::KeyUp,
                     virtualKey, key->altKey != 0, key->repeat != 0, false});
    return BrowserKeeps(*key, virtualKey) ? EM_FALSE : EM_TRUE;
}

EM_BOOL OnVisibility(int /*type*/, const EmscriptenVisibilityChangeEvent* visibility,
                     void* /*data*/) {
    Note(BrowserEvent{BrowserEvent::Visibility, 0, false, false, visibility->hidden != 0});
    return EM_FALSE;
}

void Listen() {
    if (g_listening) {
        return;
    }
    g_listening = true;
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnKey);
    emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, OnVisibility);
}

// lParam of a key message: repeat count 1, bit 29 set while Alt is held, bit
// 30 set when the key was already down (auto-repeat), bits 30 and 31 set on
// release. The browser gives no scan code.
LPARAM KeyParameter(const BrowserEvent& key) {
    LPARAM value = 1;
    if (key.alt) {
        value |= static_cast<LPARAM>(KF_ALTDOWN) << 16;
    }
    if (key.kind == BrowserEvent::KeyUp) {
        value |= LPARAM{3} << 30;
    } else if (key.repeat) {
        value |= LPARAM{1} << 30;
    }
    return value;
}

void Translate(const BrowserEvent& event) {
    if (event.kind == BrowserEvent::Visibility) {
        // A hidden page is a minimised window; shown again, a restored one.
        const std::vector<HWND__*> windows = detail::Windows();
        for (HWND__* window : windows) {
            if (!window->shown || detail::FindWindow(window) == nullptr) {
                continue;
            }
            if (event.hidden) {
                detail::ReportSize(window, SIZE_MINIMIZED, 0, 0);
            } else {
                detail::ReportSize(window, SIZE_RESTORED, window->clientWidth,
                                   window->clientHeight);
            }
        }
        return;
    }
    HWND__* window = detail::KeyboardWindow();
    if (window == nullptr) {
        return;
    }
    // System keys belong to the window's default handling, not to the
    // program's key table: Alt+F4 closes, Alt+F1 does not switch.
    const bool system = event.virtualKey == VK_MENU || event.virtualKey == VK_F10 || event.alt;
    const bool down = event.kind == BrowserEvent::KeyDown;
    const UINT message =
        down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    detail::PostInput(window, message, static_cast<WPARAM>(event.virtualKey), KeyParameter(event));
}

} // namespace

namespace detail {

void PostInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_input.push_back(Make(window, message, wParam, lParam));
    ++g_arrivals;
}

void PurgeMessages(HWND window) {
    const auto forWindow = [window](const MSG& message) { return message.hwnd == window; };
    g_input.erase(std::remove_if(g_input.begin(), g_input.end(), forWindow), g_input.end());
    g_posted.erase(std::remove_if(g_posted.begin(), g_posted.end(), forWindow), g_posted.end());
}

void PumpEvents() {
    Listen();
    while (!g_events.empty()) {
        const BrowserEvent event = g_events.front();
        g_events.pop_front();
        Translate(event);
    }
}

bool EventsWaiting() {
    return !g_events.empty();
}

} // namespace detail
} // namespace platform

using namespace platform;

void keybd_event(BYTE virtualKey, BYTE /*scanCode*/, DWORD flags, ULONG_PTR /*extraInfo*/) {
    // Alt typed earlier is held for the keys that follow, as on a keyboard.
    static bool altHeld = false;
    const bool released = (flags & KEYEVENTF_KEYUP) != 0;
    if (virtualKey == VK_MENU) {
        altHeld = !released;
    }
    Note(BrowserEvent{released ? BrowserEvent::KeyUp : BrowserEvent::KeyDown, virtualKey, altHeld,
                      false, false});
}

BOOL PeekMessage(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
    detail::PumpEvents();
    g_arrivalsSeen = g_arrivals;
    if (Take(g_posted, message, window, filterMin, filterMax, remove)) {
        return TRUE;
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
    g_posted.push_back(Make(window, message, wParam, lParam));
    ++g_arrivals;
    return TRUE;
}

BOOL WaitMessage() {
    if (g_arrivals != g_arrivalsSeen) {
        return TRUE; // something arrived since the queue was last looked at
    }
    Listen();
    // Any event may change the window's state (a restore is sent, not
    // queued), so the caller looks again after each one.
    if (!detail::EventsWaiting()) {
        tarrow_wait_for_event();
    }
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
