// surface.h - the GL layer as the browser's platform sees it: a rendering
// context drawing into a canvas, made current, shown and given back.
//
// The context draws into a framebuffer of its own with the pixel format's
// depth (a 16-bit depth buffer is part of how the scene looks, and a canvas
// cannot be asked for one), and Present copies that frame onto the canvas.
#pragma once

namespace gl11 {

struct Context;

// A context on the canvas the CSS selector names, drawing into a
// width-by-height frame with a depth buffer of depthBits (16 or 24) bits.
// Null where the browser gives no WebGL 2 context. The current context, if
// any, stays current; so it does when another is destroyed.
Context* CreateCanvasContext(const char* canvasSelector, int width, int height, int depthBits);
// The context GL calls go to; null for none.
void MakeCurrent(Context* context);
Context* CurrentContext();
// Hands over what was drawn and shows the frame on the canvas.
void Present(Context* context);
void DestroyContext(Context* context);

} // namespace gl11
