// message_queues.h - the thread's two queues of messages, for the builds that
// implement the desktop API themselves: posted messages (PostMessage, from any
// thread), taken first, and input (keys, close requests) made from the window
// system's events. Each keeps its order.
#pragma once

#include "platform/win32.h"

namespace platform::detail {

void PostInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PurgeMessages(HWND window); // a window's messages, as it goes
bool TakeQueuedMessage(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT remove);
bool ArrivedSinceLastLook(); // something was queued since the queue was last looked at

} // namespace platform::detail
