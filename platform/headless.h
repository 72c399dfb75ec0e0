// headless.h - for runs that draw as fast as they can, with nobody watching
// (the renderer's recordings, the page's state dump): the scene's pause
// after each frame made to return at once. Nothing in the frame or the scene
// calls it.
#pragma once

namespace platform {

// Make Sleep return at once: frames are not paced.
void DisableSleep();

} // namespace platform
