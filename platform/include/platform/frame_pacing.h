// frame_pacing.h - frames paced by the clock, for screens faster than the
// ones the demo was made for.
//
// Motion is counted in frames, so a display refreshing at 144 Hz runs the
// scene 2.4 times as fast as a 60 Hz one, and a driver that does not wait for
// the retrace as fast as it can draw. With a pace set, every buffer swap
// waits for its slot on a steady schedule of N a second (a late frame does not
// make the next ones early), and the swap interval stays as it is, so the
// display's retrace still paces the demo where it is the slower of the two.
// Nothing in the frame or the scene calls this: the platform's SwapBuffers
// does.
//
// The desktop builds (SDL, Windows) have it. The page has none: the browser
// paces its frames itself, a swap giving it its turn until its next
// animation frame.
#pragma once

namespace platform {

// From now on, frames at `perSecond` a second; 0, the default, leaves them to
// the display's refresh.
void PaceFrames(unsigned int perSecond);

// Waits until the next frame's slot; each desktop build's SwapBuffers calls it
// first.
void WaitForFrameSlot();

} // namespace platform
