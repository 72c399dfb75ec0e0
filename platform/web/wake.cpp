// wake.cpp - waking the program where it waits for a message: the page ends
// WaitMessage's yield (tarrow_wait_for_event) when the browser next has a turn.
#include "hosted/build_hooks.h"
#include "web/browser.h"

namespace platform::detail {

void WakeWaitingThread() {
    tarrow_wake();
}

} // namespace platform::detail
