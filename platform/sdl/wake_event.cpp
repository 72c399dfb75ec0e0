// wake_event.cpp - an event of the layer's own in SDL's queue, which wakes a
// thread blocked in WaitMessage when a message is posted from anywhere.
#include "hosted/build_hooks.h"

#include <SDL.h>

namespace platform::detail {

void WakeWaitingThread() {
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
        static const Uint32 kWake = SDL_RegisterEvents(1);
        SDL_Event wake{};
        wake.type = kWake;
        SDL_PushEvent(&wake);
    }
}

} // namespace platform::detail
