// enables.cpp - glEnable and glDisable, and the calls that set how fragments
// are made and blended: the blend factors, the polygon offset and mode, the
// shading and the current colour.
//
// A light switched on or off makes the lighting ready again before the next
// draw; a capability a DrawState holds is compared with the pending batch's
// state when the next draw comes.
#include "context.h"
#include "unsupported.h"

namespace gl11 {
namespace {

void SetCapability(GLenum cap, bool on, const char* call) {
    Context* c = CurrentContext();
    if (c == nullptr) {
        return;
    }
    bool* flag = nullptr;
    bool* changed = &c->stateChanged;
    switch (cap) {
    case GL_LIGHTING:
        c->lightingEnabled = on; // read per draw
        return;
    case GL_DEPTH_TEST:
        flag = &c->depthTest;
        break;
    case GL_TEXTURE_2D:
        flag = &c->texture2d;
        break;
    case GL_POLYGON_OFFSET_FILL:
        flag = &c->polygonOffsetFill;
        break;
    case GL_BLEND:
        c->blend = on; // read per draw, not part of the batch's state
        return;
    default:
        if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + kLights) {
            flag = &c->lights[cap - GL_LIGHT0].enabled;
            changed = &c->lightingChanged;
            break;
        }
        NotImplemented(call, cap);
    }
    if (*flag != on) {
        *flag = on;
        *changed = true;
    }
}

} // namespace
} // namespace gl11

using namespace gl11;

extern "C" {

void glEnable(GLenum cap) {
    SetCapability(cap, true, "glEnable");
}

void glDisable(GLenum cap) {
    SetCapability(cap, false, "glDisable");
}

void glBlendFunc(GLenum source, GLenum destination) {
    const bool additive = source == GL_SRC_ALPHA && destination == GL_ONE;
    const bool replacing = source == GL_ONE && destination == GL_ZERO;
    if (!additive && !replacing) {
        Fail("glBlendFunc", "factors other than (GL_SRC_ALPHA, GL_ONE) and (GL_ONE, GL_ZERO): "
                            "not implemented");
    }
    if (Context* c = CurrentContext()) {
        c->blendSource = source;
        c->blendDestination = destination;
    }
}

void glPolygonOffset(GLfloat factor, GLfloat units) {
    if (Context* c = CurrentContext()) {
        c->offsetFactor = factor;
        c->offsetUnits = units;
        c->stateChanged = true;
    }
}

void glPolygonMode(GLenum face, GLenum mode) {
    // WebGL fills polygons only.
    if (face != GL_FRONT_AND_BACK) {
        NotImplemented("glPolygonMode(face)", face);
    }
    if (mode != GL_FILL) {
        NotImplemented("glPolygonMode(mode)", mode);
    }
}

void glShadeModel(GLenum mode) {
    if (mode != GL_SMOOTH) {
        NotImplemented("glShadeModel", mode);
    }
}

void glColor3f(GLfloat red, GLfloat green, GLfloat blue) {
    // Kept as GL keeps it; lit drawing, the only kind here, does not read it.
    if (Context* c = CurrentContext()) {
        const GLfloat colour[4] = {red, green, blue, 1.0f};
        Copy4(colour, c->colour);
    }
}

} // extern "C"
