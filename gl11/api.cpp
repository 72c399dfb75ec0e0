// api.cpp - the GL 1.1 state calls the frame and the scene make: enables,
// matrices, lights, materials, blending and the rest, the clear, textures and
// reading the frame back.
//
// Calls without a current context do nothing, as in GL. Values the scene
// never passes are refused by name (unsupported.h).
#include "context.h"
#include "unsupported.h"

#include <cstring>
#include <string>

namespace gl11 {
namespace {

// The context, with the pending batch handed over first: for calls that
// change what the device draws outside a DrawState (clears, textures).
Context* Flushed() {
    Context* c = CurrentContext();
    if (c != nullptr) {
        c->FlushBatch();
    }
    return c;
}

Light* LightOf(Context* c, GLenum light, const char* call) {
    if (light < GL_LIGHT0 || light >= GL_LIGHT0 + kLights) {
        NotImplemented(call, light);
    }
    return &c->lights[light - GL_LIGHT0];
}

void Copy4(const GLfloat* from, float* to) {
    std::memcpy(to, from, 4 * sizeof(float));
}

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

bool ValidAlignment(GLint value) {
    return value == 1 || value == 2 || value == 4 || value == 8;
}

} // namespace
} // namespace gl11

using namespace gl11;

extern "C" {

// ---- Enables, fragments ----------------------------------------------------

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

// ---- Matrices ----------------------------------------------------------------

void glMatrixMode(GLenum mode) {
    if (mode != GL_MODELVIEW && mode != GL_PROJECTION) {
        NotImplemented("glMatrixMode", mode);
    }
    if (Context* c = CurrentContext()) {
        c->matrixMode = mode;
    }
}

void glLoadIdentity() {
    if (Context* c = CurrentContext()) {
        c->Current() = Identity();
        c->stateChanged = c->stateChanged || c->matrixMode == GL_PROJECTION;
    }
}

void glPushMatrix() {
    if (Context* c = CurrentContext()) {
        std::vector<Matrix>& stack = c->CurrentStack();
        if (static_cast<int>(stack.size()) == kMatrixStackDepth) {
            Fail("glPushMatrix", "stack overflow (GL_STACK_OVERFLOW)");
        }
        stack.push_back(stack.back());
    }
}

void glPopMatrix() {
    if (Context* c = CurrentContext()) {
        std::vector<Matrix>& stack = c->CurrentStack();
        if (stack.size() == 1) {
            Fail("glPopMatrix", "stack underflow (GL_STACK_UNDERFLOW)");
        }
        stack.pop_back();
        c->stateChanged = c->stateChanged || c->matrixMode == GL_PROJECTION;
    }
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    if (Context* c = CurrentContext()) {
        Translate(&c->Current(), x, y, z);
        c->stateChanged = c->stateChanged || c->matrixMode == GL_PROJECTION;
    }
}

void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    if (Context* c = CurrentContext()) {
        Scale(&c->Current(), x, y, z);
        c->stateChanged = c->stateChanged || c->matrixMode == GL_PROJECTION;
    }
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    if (width < 0 || height < 0) {
        Fail("glViewport", "negative size (GL_INVALID_VALUE)");
    }
    if (Context* c = CurrentContext()) {
        const int viewport[4] = {x, y, width, height};
        std::memcpy(c->viewport, viewport, sizeof(viewport));
        c->stateChanged = true;
    }
}

// ---- Lights and materials ------------------------------------------------------

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

// ---- Clearing ------------------------------------------------------------------

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
    if (Context* c = Flushed()) {
        c->device->Clear((mask & GL_COLOR_BUFFER_BIT) != 0, (mask & GL_DEPTH_BUFFER_BIT) != 0,
                         c->clearColour);
    }
}

void glFlush() {
    if (Context* c = Flushed()) {
        c->device->Flush();
    }
}

// ---- Textures --------------------------------------------------------------------

void glBindTexture(GLenum target, GLuint texture) {
    if (target != GL_TEXTURE_2D) {
        NotImplemented("glBindTexture", target);
    }
    Context* c = CurrentContext();
    if (c == nullptr) {
        return;
    }
    // Binding an unused name makes its texture object, as in GL 1.1.
    TextureObject& object = c->textures[texture];
    if (object.handle == 0) {
        object.handle = c->device->CreateTexture();
    }
    if (c->boundTexture != texture) {
        c->boundTexture = texture;
        c->stateChanged = true;
    }
}

void glTexParameteri(GLenum target, GLenum pname, GLint param) {
    if (target != GL_TEXTURE_2D) {
        NotImplemented("glTexParameteri", target);
    }
    const auto value = static_cast<GLenum>(param);
    const bool filter = value == GL_NEAREST || value == GL_LINEAR;
    const bool mipmapFilter = value == GL_NEAREST_MIPMAP_NEAREST ||
                              value == GL_LINEAR_MIPMAP_NEAREST ||
                              value == GL_NEAREST_MIPMAP_LINEAR || value == GL_LINEAR_MIPMAP_LINEAR;
    const bool wrap = value == GL_REPEAT || value == GL_CLAMP_TO_EDGE;
    Context* c = Flushed();
    if (c == nullptr) {
        return;
    }
    TextureObject& object = c->Bound();
    switch (pname) {
    case GL_TEXTURE_MAG_FILTER:
        if (!filter) {
            NotImplemented("glTexParameteri(GL_TEXTURE_MAG_FILTER)", value);
        }
        object.magFilter = value;
        break;
    case GL_TEXTURE_MIN_FILTER:
        if (!filter && !mipmapFilter) {
            NotImplemented("glTexParameteri(GL_TEXTURE_MIN_FILTER)", value);
        }
        object.minFilter = value;
        break;
    case GL_TEXTURE_WRAP_S:
    case GL_TEXTURE_WRAP_T:
        if (!wrap) {
            NotImplemented("glTexParameteri(wrap)", value);
        }
        (pname == GL_TEXTURE_WRAP_S ? object.wrapS : object.wrapT) = value;
        break;
    default:
        NotImplemented("glTexParameteri(pname)", pname);
    }
    c->device->SetSampling(object.handle, object.minFilter, object.magFilter, object.wrapS,
                           object.wrapT);
}

// ---- Pixels ------------------------------------------------------------------------

void glPixelStorei(GLenum pname, GLint param) {
    if (pname != GL_PACK_ALIGNMENT && pname != GL_UNPACK_ALIGNMENT) {
        NotImplemented("glPixelStorei(pname)", pname);
    }
    if (!ValidAlignment(param)) {
        Fail("glPixelStorei", "alignment not 1, 2, 4 or 8 (GL_INVALID_VALUE)");
    }
    if (Context* c = CurrentContext()) {
        (pname == GL_PACK_ALIGNMENT ? c->packAlignment : c->unpackAlignment) = param;
    }
}

void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                  GLvoid* pixels) {
    if (format != GL_RGB && format != GL_RGBA) {
        NotImplemented("glReadPixels(format)", format);
    }
    if (type != GL_UNSIGNED_BYTE) {
        NotImplemented("glReadPixels(type)", type);
    }
    Context* c = Flushed();
    if (c == nullptr || width <= 0 || height <= 0) {
        return;
    }
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
    c->device->ReadPixels(x, y, width, height, rgba.data());
    const int channels = format == GL_RGB ? 3 : 4;
    const std::size_t row = static_cast<std::size_t>(width) * channels;
    const std::size_t alignment = static_cast<std::size_t>(c->packAlignment);
    const std::size_t stride = (row + alignment - 1) / alignment * alignment;
    auto* out = static_cast<std::uint8_t*>(pixels);
    for (GLsizei j = 0; j < height; ++j) {
        const std::uint8_t* from = rgba.data() + static_cast<std::size_t>(j) * width * 4;
        std::uint8_t* to = out + static_cast<std::size_t>(j) * stride;
        for (GLsizei i = 0; i < width; ++i) {
            std::memcpy(to + static_cast<std::size_t>(i) * channels, from + i * 4, channels);
        }
    }
}

const GLubyte* glGetString(GLenum name) {
    // Each name's string stays as it is while the program keeps it.
    static std::string renderer;
    const char* text = "";
    Context* c = CurrentContext();
    if (c == nullptr) {
        return nullptr;
    }
    switch (name) {
    case GL_VENDOR:
        text = "tarrow";
        break;
    case GL_RENDERER:
        renderer = "tarrow GL 1.1 over " + c->device->Renderer();
        text = renderer.c_str();
        break;
    case GL_VERSION:
        text = "1.1";
        break;
    case GL_EXTENSIONS:
        break;
    default:
        NotImplemented("glGetString", name);
    }
    return reinterpret_cast<const GLubyte*>(text);
}

} // extern "C"
