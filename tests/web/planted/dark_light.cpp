// dark_light.cpp - the fault planted in the page of the browser test that
// shows the frames' comparison sees one light left dark (run.test.mjs): light
// 6 is never switched on, so it lights nothing. The page links the product's
// GL layer as it is, with glEnable wrapped (CMakeLists.txt): the scene's
// calls come here, and all but that one go on to the layer's glEnable.
#include <GL/gl.h>

extern "C" {

void __real_glEnable(GLenum cap);

void __wrap_glEnable(GLenum cap) {
    if (cap != GL_LIGHT6) {
        __real_glEnable(cap);
    }
}

} // extern "C"
