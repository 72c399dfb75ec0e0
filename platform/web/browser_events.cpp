// browser_events.cpp - the browser's events as the messages they stand for.
//
//   key pressed, auto-repeated, released   -> WM_KEYDOWN / WM_KEYUP, queued
//     with Alt held, Alt itself, or F10    -> WM_SYSKEYDOWN / WM_SYSKEYUP
//     once the browser refused full screen -> none: the press asks again
//   page hidden, shown again               -> WM_SIZE (minimised, restored), sent
//
// The browser's events are noted as they come and turned into messages only
// when the program looks at its queue (PumpEvents), so the window procedure
// runs where the program's loop expects it. WaitMessage gives the browser its
// turn until an event comes.
#include "hosted/build_hooks.h"
#include "hosted/key_messages.h"
#include "synthetic_input.h"
#include "web/browser.h"
#include "web/internal.h"

#include <emscripten/html5.h>

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

std::deque<BrowserEvent> g_events;
bool g_listening = false;

constexpr int kF5 = VK_F1 + 4;   // reloads the page
constexpr int kF11 = VK_F1 + 10; // the browser's own full screen
constexpr int kCapsLock = 0x14;

void Note(const BrowserEvent& event) {
    g_events.push_back(event);
    detail::WakeWaitingThread();
}

// Keys the browser keeps for itself: reloading, its own full screen, its
// tools, and whatever is typed with Ctrl or Meta.
bool BrowserKeeps(const EmscriptenKeyboardEvent& key, int virtualKey) {
    return key.ctrlKey != 0 || key.metaKey != 0 || virtualKey == kF5 || virtualKey == kF11 ||
           virtualKey == VK_F12;
}

// Keys whose press counts, for the browser, as the user's say-so for full
// screen: all but Escape and the modifiers.
bool Activates(int virtualKey) {
    return virtualKey != VK_ESCAPE && virtualKey != VK_SHIFT && virtualKey != VK_CONTROL &&
           virtualKey != VK_MENU && virtualKey != kCapsLock;
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* key, void* /*data*/) {
    const int virtualKey = detail::VirtualKeyFromCode(key->code);
    if (virtualKey == 0) {
        return EM_FALSE;
    }
    // After the browser refused the program's full screen, the next press
    // brings it, and is not the program's.
    if (type == EMSCRIPTEN_EVENT_KEYDOWN && !BrowserKeeps(*key, virtualKey) &&
        Activates(virtualKey) && tarrow_full_screen_again() != 0) {
        return EM_TRUE;
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

void Translate(const BrowserEvent& event) {
    if (event.kind == BrowserEvent::Visibility) {
        // A hidden page is a minimised window; shown again, a restored one.
        for (HWND window : detail::LiveWindows()) {
            if (detail::FindWindow(window) == nullptr || !window->shown) {
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
    // The browser gives no scan code.
    detail::PostKey(window, event.virtualKey, event.kind == BrowserEvent::KeyDown, event.alt,
                    event.repeat, 0);
}

} // namespace

namespace detail {

void PumpEvents() {
    Listen();
    while (!g_events.empty()) {
        const BrowserEvent event = g_events.front();
        g_events.pop_front();
        Translate(event);
    }
}

bool WaitForEvent() {
    Listen();
    if (g_events.empty()) {
        tarrow_wait_for_event();
    }
    return true;
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
