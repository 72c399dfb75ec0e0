// message_loop.cpp - looking at the thread's messages (message_queues.cpp
// holds them), waiting for them, and handing them to their windows.
//
// The window system's events are turned into messages whenever the queue is
// looked at (PumpEvents), so the window procedure runs where the program's
// loop expects it. Size changes are not queued: they are sent to the window
// procedure at once, as the system sends them.
#include "hosted/build_hooks.h"
#include "hosted/message_queues.h"

using namespace platform;

BOOL PeekMessage(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
    detail::PumpEvents();
    return detail::TakeQueuedMessage(message, window, filterMin, filterMax, remove) ? TRUE : FALSE;
}

LRESULT DispatchMessage(const MSG* message) {
    if (message == nullptr) {
        return 0;
    }
    return SendMessage(message->hwnd, message->message, message->wParam, message->lParam);
}

BOOL WaitMessage() {
    if (detail::ArrivedSinceLastLook()) {
        return TRUE; // something arrived since the queue was last looked at
    }
    if (!detail::WaitForEvent()) {
        return FALSE; // nothing could ever arrive
    }
    // Any event may change the window's state (a restore is sent, not
    // queued), so the caller looks again after each one.
    detail::PumpEvents();
    return TRUE;
}
