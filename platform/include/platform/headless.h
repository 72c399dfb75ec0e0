// headless.h - for runs that draw as fast as they can, with nobody watching
// (the renderer's recordings, the page's runs, the benchmarks). Nothing in
// the frame or the scene calls it.
#pragma once

namespace platform {

// Windows drawn where nobody sees them where the build has the choice (the
// SDL build's offscreen driver, which needs no display), and frames unpaced:
// Sleep returns at once and a buffer swap waits for nothing. Call before the
// first window service.
void RunHeadless();

} // namespace platform
