// unsupported.h - the layer's one way of saying no.
//
// The layer implements the GL 1.1 the scene calls and nothing more. A call,
// an argument or a state it does not implement, or a call GL would reject, is
// never passed over: it is named on standard error (the browser's console)
// and the program stops there, so that a difference from the desktop's GL
// can never go unseen.
#pragma once

#include <GL/gl.h>

namespace gl11 {

// "tarrow-gl: <call>: <what>" and stop.
[[noreturn]] void Fail(const char* call, const char* what);
// "tarrow-gl: glEnable(0x0B60): not implemented" and stop: the value, an
// enumerant or a count, is one the layer has no code for.
[[noreturn]] void NotImplemented(const char* call, GLenum value);

} // namespace gl11
