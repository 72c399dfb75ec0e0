// message_queue.cpp - looking at the thread's messages (queued_messages.cpp
// holds them), waiting for them, and their default handling.
//
// SDL's events are turned into messages whenever the queue is looked at. Size
// changes are not queued: they are sent to the window procedure at once, as
// the system sends them.
#include "platform/sdl/internal.h"

namespace platform::detail {

void PumpEvents() {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return;
    }
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
        TranslateEvent(event);
    }
    ReportChangedSizes();
}

} // namespace platform::detail

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
