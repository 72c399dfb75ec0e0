// clearing.cpp - the clear colour, glClear and glFlush.
//
// Clearing and flushing hand the pending batch to the device first, so that
// what was drawn before them is drawn before them.
#include "context.h"
#include "unsupported.h"

using namespace gl11;

extern "C" {

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
    if (Context* c = CurrentContext()) {
        const auto clamp = [](float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); };
        const GLfloat colour[4] = {clamp(red), clamp(green), clamp(blue), clamp(alpha)};
        Copy4(colour, c->clearColour);
    }
}

void glClear(GLbitfield mask) {
    constexpr GLbitfield kKnown = GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT;
    if ((mask & ~kKnown) != 0) {
        NotImplemented("glClear", mask & ~kKnown);
    }
    if (Context* c = FlushedContext()) {
        c->device->Clear((mask & GL_COLOR_BUFFER_BIT) != 0, (mask & GL_DEPTH_BUFFER_BIT) != 0,
                         c->clearColour);
    }
}

void glFlush() {
    if (Context* c = FlushedContext()) {
        c->device->Flush();
    }
}

} // extern "C"
