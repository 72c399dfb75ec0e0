// probe_scene.h - a scene that stands in for the demo's while the frame is
// tested: it reacts to Escape and F1 as the demo's scene does, records what
// the frame did, and runs a per-frame script through which a test types keys
// or changes the window from inside the running loops.
#pragma once

#include "framework/TolkGL.h"

#include <functional>
#include <vector>

struct WindowRecord {
    DWORD style;
    BOOL isFullScreen;
    int depthBits;
    int clientWidth;
    int clientHeight;
};

struct ProbeLog {
    int initializes = 0;
    int updates = 0; // over all windows
    int draws = 0;
    int deinitializes = 0;
    int frameInWindow = 0;      // updates since the current window was made
    int escapeSeenAtUpdate = 0; // the update that first found Escape down, 0 if none
    std::vector<WindowRecord> windows;
};

extern ProbeLog g_probe;
extern GL_Window* g_probeWindow;
extern BOOL g_probeInitializeResult;

// Called at the start of every Update with the window count (1-based) and
// the frame number within that window (1-based).
extern std::function<void(int window, int frame)> g_probeScript;

// Types a key through the layer's input queue, as a keyboard would.
void PressKey(BYTE virtualKey);
void ReleaseKey(BYTE virtualKey);
