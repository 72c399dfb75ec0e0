// event_translation.cpp - SDL's events as the window messages they stand for.
//
//   window closed, or the process asked to quit (SIGTERM, Ctrl-C)  -> WM_CLOSE, queued
//   key pressed, auto-repeated, released                           -> WM_KEYDOWN / WM_KEYUP, queued
//     with Alt held, Alt itself, or F10                            -> WM_SYSKEYDOWN / WM_SYSKEYUP
//   minimised, restored, maximised                                 -> WM_SIZE, sent at once
//   resized, by the program or the window system                   -> WM_SIZE, once all are in
//   window destroyed by another client                             -> WM_CLOSE, queued
#include "hosted/key_messages.h"
#include "sdl/internal.h"

namespace platform {
namespace {

void TranslateKey(const SDL_KeyboardEvent& key) {
    const int virtualKey = detail::VirtualKeyFromSdl(key.keysym.sym);
    HWND__* window = detail::KeyboardWindow();
    if (virtualKey == 0 || window == nullptr) {
        return;
    }
    detail::PostKey(window, virtualKey, key.type == SDL_KEYDOWN, (key.keysym.mod & KMOD_ALT) != 0,
                    key.repeat != 0, key.keysym.scancode);
}

void TranslateWindowEvent(const SDL_WindowEvent& event) {
    HWND__* window = detail::WindowFromNative(event.windowID);
    if (window == nullptr) {
        return;
    }
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window->native, &width, &height);
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
        detail::PostInput(window, WM_CLOSE, 0, 0);
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        detail::ReportSize(window, SIZE_MINIMIZED, 0, 0);
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
        detail::ReportSize(window, SIZE_MAXIMIZED, width, height);
        break;
    case SDL_WINDOWEVENT_RESTORED:
        detail::ReportSize(window, SIZE_RESTORED, width, height);
        break;
    default:
        break;
    }
}

} // namespace

namespace detail {

void TranslateEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        RequestQuit();
        break;
    case SDL_WINDOWEVENT:
        TranslateWindowEvent(event.window);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        TranslateKey(event.key);
        break;
    case SDL_SYSWMEVENT:
        NoteX11Event(*event.syswm.msg);
        break;
    default:
        break;
    }
}

} // namespace detail
} // namespace platform
