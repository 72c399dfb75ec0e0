// probe_scene.cpp - the stand-in scene's hooks.
#include "tests/framework/probe_scene.h"

#include "framework/scene_hooks.h"
#include "platform/synthetic_input.h"

#include <GL/gl.h>

ProbeLog g_probe;
GL_Window* g_probeWindow = nullptr;
BOOL g_probeInitializeResult = 1;
std::function<void(int window, int frame)> g_probeScript;

namespace {
Keys* g_probeKeys = nullptr;
}

void PressKey(BYTE virtualKey) {
    keybd_event(virtualKey, 0, 0, 0);
}

void ReleaseKey(BYTE virtualKey) {
    keybd_event(virtualKey, 0, KEYEVENTF_KEYUP, 0);
}

BOOL Initialize(GL_Window* window, Keys* keys) {
    g_probeWindow = window;
    g_probeKeys = keys;
    ++g_probe.initializes;
    g_probe.frameInWindow = 0;
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    RECT client{};
    GetClientRect(window->windowHandle, &client);
    g_probe.windows.push_back(
        WindowRecord{static_cast<DWORD>(GetWindowLongPtr(window->windowHandle, GWL_STYLE)),
                     window->isFullScreen, depthBits, client.right, client.bottom});
    return g_probeInitializeResult;
}

void Update(unsigned long /*milliseconds*/) {
    ++g_probe.updates;
    ++g_probe.frameInWindow;
    if (g_probeScript) {
        g_probeScript(g_probe.initializes, g_probe.frameInWindow);
    }
    if (g_probeKeys->keyDown[VK_ESCAPE] == 1) {
        if (g_probe.escapeSeenAtUpdate == 0) {
            g_probe.escapeSeenAtUpdate = g_probe.updates;
        }
        TerminateApplication(g_probeWindow);
    }
    if (g_probeKeys->keyDown[VK_F1] == 1) {
        ToggleFullscreen(g_probeWindow);
    }
}

void Draw() {
    ++g_probe.draws;
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void Deinitialize() {
    ++g_probe.deinitializes;
}
