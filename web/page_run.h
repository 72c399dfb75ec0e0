// page_run.h - a run of the scene in the page, as tarrow-render runs it.
//
// The same steps in the same order as tarrow-render: the seed given to
// platform::UseSeed, the offscreen scene's window and context at the size
// asked for, Initialize, then Update and Draw a frame, unpaced and without
// the scene's pause. Frames asked for are read back and kept for the page's
// reader; at the end, the state dump, and the run's wall time.
#pragma once

#include "page_options.h"

// 0 when the run went through, 1 when no context could be made or the size
// is larger than the browser draws.
int RunFrames(const PageOptions& options);
