// scene_hooks.h - the four calls through which the frame drives the scene.
// Per window: Initialize once, then Update and Draw once a frame, then
// Deinitialize once.
#pragma once

#include "platform/win32.h"

struct GL_Window;
struct Keys;

BOOL Initialize(GL_Window* window, Keys* keys); // non-zero: success
void Update(unsigned long milliseconds);        // milliseconds since the previous frame
void Draw();
void Deinitialize();
