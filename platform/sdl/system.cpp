// system.cpp - message boxes and the cursor.
#include "sdl/internal.h"

#include <string>

namespace platform {
namespace {

int g_cursorCount = 0; // the cursor shows while this is 0 or more

} // namespace

} // namespace platform

using namespace platform;

int MessageBox(HWND /*owner*/, LPCSTR text, LPCSTR caption, UINT /*type*/) {
    // Always on stderr, so the message is seen (and logged) wherever the
    // program runs; a box only where a real display is, so a headless run
    // never waits for a button nobody can press.
    detail::Say(std::string(caption != nullptr ? caption : "") + ": " +
                (text != nullptr ? text : ""));
    if (!detail::HeadlessByRequest() && !detail::IsOffscreen()) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption, text, nullptr);
    }
    return IDOK;
}

int ShowCursor(BOOL show) {
    g_cursorCount += show != FALSE ? 1 : -1;
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
        SDL_ShowCursor(g_cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    }
    return g_cursorCount;
}
