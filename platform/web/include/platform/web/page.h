// page.h - services of the browser's platform that the desktop API never
// had, for the page's own entry point: its address, lines and results shown
// in the page.
//
// Nothing in the frame or the scene calls them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::web {

// The page address's query, "?seed=1&frames=60" or "".
std::string PageQuery();

// A line in the page under the canvas, also on the console (standard
// output, or standard error for an error).
void ShowLine(const std::string& text, bool isError);

// The run's results for whoever reads the page: the state dump (on the
// console as one message, and in the page), a frame read back (RGB, top row
// first), the frame count and wall time.
void ShowDump(const std::string& json);
void KeepFrame(long frame, const std::vector<std::uint8_t>& rgb, int width, int height);
void NoteRun(long frames, double seconds);

// The longest side of a frame the browser's WebGL 2 can draw, 0 when it has
// no WebGL 2.
int LargestSurfaceEdge();

// What the page is doing: "running", "ended", "failed".
void NoteState(const char* state);

} // namespace platform::web
