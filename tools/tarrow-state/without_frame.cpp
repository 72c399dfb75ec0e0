// without_frame.cpp - what the scene's key handling and drawing name of the
// frame and the desktop API, for a program that runs the scene's logic only:
// the frame's two window actions and, where the desktop API is not the
// system's own, the frame's pause. None of them is reached: the program makes
// no window, reads no keys and never draws.
#include "framework/TolkGL.h"

void TerminateApplication(GL_Window*) {}
void ToggleFullscreen(GL_Window*) {}

#if !defined(_WIN32)
void Sleep(DWORD) {}
#endif
