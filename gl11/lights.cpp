// lights.cpp - glLightfv, glLightf and glMaterialfv: the lights and the
// material the context lights each vertex with (lighting.h).
//
// Positions and spot directions are carried to eye coordinates by the
// model-view matrix at the moment they are set, as GL does. Every change
// makes the lighting ready again before the next draw.
#include "context.h"
#include "unsupported.h"

namespace gl11 {
namespace {

Light* LightOf(Context* c, GLenum light, const char* call) {
    if (light < GL_LIGHT0 || light >= GL_LIGHT0 + kLights) {
        NotImplemented(call, light);
    }
    return &c->lights[light - GL_LIGHT0];
}

} // namespace
} // namespace gl11

using namespace gl11;

extern "C" {

void glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
    Context* c = CurrentContext();
    if (c == nullptr) {
        return;
    }
    Light* l = LightOf(c, light, "glLightfv");
    const Matrix& modelview = c->modelview.back();
    switch (pname) {
    case GL_AMBIENT:
        Copy4(params, l->ambient);
        break;
    case GL_DIFFUSE:
        Copy4(params, l->diffuse);
        break;
    case GL_SPECULAR:
        Copy4(params, l->specular);
        break;
    case GL_POSITION: {
        // Kept in eye coordinates: the model-view matrix of this moment.
        const Matrix& m = modelview;
        for (int r = 0; r < 4; ++r) {
            l->position[r] = m.m[r] * params[0] + m.m[4 + r] * params[1] + m.m[8 + r] * params[2] +
                             m.m[12 + r] * params[3];
        }
        break;
    }
    case GL_SPOT_DIRECTION:
        TransformDirection(modelview, params, l->spotDirection);
        break;
    default:
        NotImplemented("glLightfv(pname)", pname);
    }
    c->lightingChanged = true;
}

void glLightf(GLenum light, GLenum pname, GLfloat param) {
    if (pname != GL_SPOT_CUTOFF) {
        NotImplemented("glLightf(pname)", pname);
    }
    if (param != 180.0f && (param < 0.0f || param > 90.0f)) {
        Fail("glLightf(GL_SPOT_CUTOFF)", "outside 0..90 and not 180 (GL_INVALID_VALUE)");
    }
    if (Context* c = CurrentContext()) {
        LightOf(c, light, "glLightf")->spotCutoff = param;
        c->lightingChanged = true;
    }
}

void glMaterialfv(GLenum face, GLenum pname, const GLfloat* params) {
    // Without two-sided lighting only the front material is ever used.
    if (face != GL_FRONT_AND_BACK && face != GL_FRONT) {
        NotImplemented("glMaterialfv(face)", face);
    }
    Context* c = CurrentContext();
    if (c == nullptr) {
        return;
    }
    switch (pname) {
    case GL_AMBIENT_AND_DIFFUSE:
        Copy4(params, c->material.ambient);
        Copy4(params, c->material.diffuse);
        break;
    case GL_SPECULAR:
        Copy4(params, c->material.specular);
        break;
    default:
        NotImplemented("glMaterialfv(pname)", pname);
    }
    c->lightingChanged = true;
}

} // extern "C"
