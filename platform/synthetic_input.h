// synthetic_input.h - keys typed by the program's tests rather than by a
// user, queued as if typed, so that they reach the window procedure as a
// user's do. The program itself reads the keyboard only through its window
// procedure; its tests include this beside win32.h to feed it.
#pragma once

#include "platform/win32.h"

// On Windows the system's own keybd_event (windows.h) types them.
#if !defined(_WIN32)

// keybd_event flags.
constexpr DWORD KEYEVENTF_KEYUP = 0x0002;

// Synthesised keyboard input, queued as if typed (any thread).
void keybd_event(BYTE virtualKey, BYTE scanCode, DWORD flags, ULONG_PTR extraInfo);

#endif // !_WIN32
