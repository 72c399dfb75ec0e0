// saver_command_line.h - what the system's screen-saver settings ask of a
// saver program, read from its command line in the spellings found in the
// wild: /s, -s or /S to run; /p HWND or /p:HWND to draw a preview in that
// window; /c, /c:HWND or nothing at all to be configured.
#pragma once

#include <cstdint>
#include <string>

enum class SaverMode {
    Configure, // the settings' Settings button, or the program opened
    Screen,    // the saver's time has come
    Preview,   // the settings' little screen
};

struct SaverRequest {
    SaverMode mode = SaverMode::Configure;
    std::uint32_t window = 0; // the preview's window; the settings dialog for /c:HWND
    std::string error;        // one line; empty when the command line was one
};

SaverRequest ParseSaverCommandLine(int argc, const char* const* argv);

// What a saver with nothing to configure says when asked to be configured.
inline constexpr char kNothingToConfigure[] = "vesk2013 - tarrow has nothing to configure.";
