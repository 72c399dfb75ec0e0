// event_pump.cpp - SDL's events taken in, for the message loop
// (platform/hosted/message_loop.cpp): turned into messages whenever the queue
// is looked at, and waited for when nothing has arrived. Each look also sees
// that a display mode switched is still watched.
#include "hosted/build_hooks.h"
#include "sdl/internal.h"

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
    KeepModeWatched();
}

bool WaitForEvent() {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return false;
    }
    SDL_WaitEvent(nullptr);
    return true;
}

} // namespace platform::detail
