// internal.h - what the files of the layer share: the window object behind an
// HWND (the record every hosted build keeps, with the SDL window behind it),
// the rendering context behind HGLRC, and the few services one file offers
// another. Only files of this folder include it.
#pragma once

#include "hosted/message_queues.h"
#include "hosted/window_record.h"
#include "hosted/window_registry.h"
#include "platform/win32.h"

#include <SDL.h>

#include <optional>
#include <string>

// The GL surface a pixel format asks for, in the terms the driver understands.
struct GlFormat {
    int redBits;
    int greenBits;
    int blueBits;
    int alphaBits;
    int depthBits;
    int stencilBits;
    int doubleBuffer;

    bool operator==(const GlFormat&) const = default;
};

namespace platform::detail {

// A full-screen display mode asked for, and who sets it: SDL, when a
// full-screen window shows it; otherwise it is set already, through RandR.
struct FullScreenMode {
    SDL_DisplayMode mode;
    bool sdlSetsMode;
};

} // namespace platform::detail

struct HGLRC__ {
    SDL_GLContext context;
    bool pacingSet; // swap interval asked for on its first make-current
};

struct HWND__ : platform::detail::WindowRecord {
    using WindowRecord::WindowRecord;

    int x = 0; // frame's top-left corner
    int y = 0;
    // Made while a full-screen mode was in force, as a pop-up: it covers that mode.
    std::optional<platform::detail::FullScreenMode> fullScreen;
    SDL_Window* native = nullptr; // made when the pixel format is set, or when first shown
    unsigned long x11Window = 0;  // the X window behind it, where the driver is X11
    bool lost = false;            // destroyed by another client; a close was asked for
    // Another program's X window: the one a host record stands for, or the
    // one its child draws in (x11_host_window.cpp).
    unsigned long foreignX11 = 0;
    bool host = false;
};

namespace platform::x11 {
struct ModeSwitch;
}

namespace platform::detail {

// Video: starts SDL's video on first use. False when there is no display.
bool EnsureVideo();
bool IsOffscreen();
bool IsX11();
bool HeadlessByRequest(); // the offscreen driver was asked for, so no box is ever shown

// The full-screen mode the last successful ChangeDisplaySettings asked for,
// or null once the desktop has its own back (display_settings.cpp); and the
// windows showing a mode SDL set, which leave full screen when it goes.
const FullScreenMode* FullScreenRequest();
void ShowsSdlMode(SDL_Window* native);
void NoLongerShowsSdlMode(SDL_Window* native);

// The display mode through RandR, on X servers that switch modes for every
// client (x11_mode_switch.cpp), and its watcher (mode_watcher.cpp). A switch
// to an offered mode fails where `refused` (see RefuseModeSwitches).
bool RandrSwitchesModes(); // decided once; says why on stderr where not
LONG SwitchRandrMode(int width, int height, bool refused);
void RestoreRandrMode();
void WatchSwitch(const x11::ModeSwitch& change);
void SwitchHandedBack();
// While a switch is in force, starts another watcher where the last one
// ended (killed on its own, say); one poll of a socket, so cheap enough for
// every look at the window system's events (PumpEvents).
void KeepModeWatched();

// A message for whoever started the program, on standard error after the
// program's name, so that it stands apart from what the libraries print.
void Say(const std::string& message);

// The window manager's frame around a decorated window, learned once.
struct FrameExtents {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
FrameExtents DecoratedFrameExtents();
FrameExtents ProbeX11FrameExtents();                             // x11_window_manager.cpp
void SetX11ClassHint(SDL_Window* native, const char* className); // x11_window_manager.cpp
void DestroyX11Window(SDL_Window* native);                       // x11_window_manager.cpp
// Asks the window manager to show the window full screen (before it is shown).
void MarkX11FullScreen(SDL_Window* native); // x11_window_manager.cpp
// A window destroyed by another client is closed as if the user had asked
// (x11_lost_window.cpp): watched from when its X window is made, noticed in
// the server's events or in the errors that name it.
void FilterLostX11WindowErrors(); // before SDL's video starts
void WatchX11Window(HWND__* window);
void UnwatchX11Window(HWND__* window); // as the window goes
void NoteX11Event(const SDL_SysWMmsg& message);
void QueueUnmapOfLostX11Window(HWND__* window); // before a lost window's SDL window goes

// Windows.
bool IsDecorated(DWORD style);
HWND__* FindWindow(HWND window); // null when the handle is not a live window
HWND__* WindowFromNative(Uint32 nativeId);
HWND__* KeyboardWindow(); // the window that keyboard input goes to
bool RealizeWindow(HWND__* window, const GlFormat* format);
// A host's child made into the SDL window of the host's X window
// (x11_host_window.cpp); false for a child of any other window.
bool RealizeInHost(HWND__* window, const GlFormat* format);
// Sends WM_SIZE, of the kind last sent, to every shown window that is not
// minimised and whose size the window system has changed since: a window
// resized by a compositor or a window manager, whether or not an event said
// so. The message loop calls it each time it takes in the window system's
// events, so that the picture follows before the next frame is drawn.
void ReportChangedSizes();

// The quit SDL was asked for (SIGTERM, Ctrl-C): every window is closed
// through its own close path, now or, with none, as the next one is made.
void RequestQuit();

// SDL's events turned into messages (event_translation.cpp) whenever the
// queue is looked at (PumpEvents, event_pump.cpp).
void TranslateEvent(const SDL_Event& event);

// Keys.
int VirtualKeyFromSdl(SDL_Keycode key); // 0 when the key has no virtual-key code
SDL_Keycode SdlFromVirtualKey(int virtualKey);

} // namespace platform::detail
