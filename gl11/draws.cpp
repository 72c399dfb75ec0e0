// draws.cpp - the client arrays and the two draw calls.
//
// Each draw reads its vertices from the client's arrays (or the current
// normal and texture coordinate where an array is off), carries positions and
// normals to eye coordinates with the model-view matrix of the moment, lights
// them (lighting.h) and adds them to the pending batch. GL_QUADS become two triangles each, split
// along the diagonal from the second corner to the fourth as Mesa splits
// them, so that colours interpolate across a quad as on the desktop. Indices
// are 32-bit throughout.
#include "context.h"
#include "unsupported.h"

#include <algorithm>
#include <cstring>

namespace gl11 {
namespace {

constexpr GLsizei kFloat = sizeof(GLfloat);

const GLfloat* Element(const ClientArray& array, GLint index) {
    const GLsizei stride = array.stride != 0 ? array.stride : array.size * kFloat;
    return reinterpret_cast<const GLfloat*>(static_cast<const char*>(array.pointer) +
                                            static_cast<std::ptrdiff_t>(index) * stride);
}

// 1 where the draw blends as source alpha + destination, 0 where it replaces.
float AdditiveOf(const Context& c, const char* call) {
    if (!c.blend || (c.blendSource == GL_ONE && c.blendDestination == GL_ZERO)) {
        return 0.0f;
    }
    if (c.blendSource == GL_SRC_ALPHA && c.blendDestination == GL_ONE) {
        return 1.0f;
    }
    Fail(call, "blending with this glBlendFunc: not implemented");
}

// Adds array elements first..last to the batch; returns the batch index of `first`.
std::uint32_t AddVertices(Context& c, GLint first, GLint last, float additive) {
    const Matrix& modelview = c.modelview.back();
    const float* normals = c.Normals();
    const auto base = static_cast<std::uint32_t>(c.vertices.size());
    for (GLint i = first; i <= last; ++i) {
        Vertex v;
        TransformPoint(modelview, Element(c.vertexArray, i), v.eye);
        const GLfloat* n = c.normalArray.enabled ? Element(c.normalArray, i) : c.normal;
        float normal[3];
        for (int r = 0; r < 3; ++r) {
            normal[r] = normals[r] * n[0] + normals[3 + r] * n[1] + normals[6 + r] * n[2];
        }
        LightVertex(c.lighting, v.eye, normal, v.colour);
        const GLfloat* t = c.texcoordArray.enabled ? Element(c.texcoordArray, i) : c.texcoord;
        v.texcoord[0] = t[0];
        v.texcoord[1] = t[1];
        v.additive = additive;
        c.vertices.push_back(v);
    }
    return base;
}

void AddQuad(Context& c, std::uint32_t a, std::uint32_t b, std::uint32_t d, std::uint32_t e) {
    const std::uint32_t triangles[6] = {a, b, e, b, d, e};
    c.indices.insert(c.indices.end(), triangles, triangles + 6);
}

// The context a draw works in, or null where it draws nothing.
Context* DrawingContext(const char* call, GLenum mode, GLsizei count) {
    Context* c = CurrentContext();
    if (c == nullptr) {
        return nullptr;
    }
    if (mode != GL_QUADS) {
        NotImplemented(call, mode);
    }
    if (count < 0) {
        Fail(call, "negative count (GL_INVALID_VALUE)");
    }
    if (!c->lightingEnabled) {
        Fail(call, "drawing without lighting: not implemented");
    }
    // Without the vertex array, GL makes no vertices.
    return count >= 4 && c->vertexArray.enabled ? c : nullptr;
}

void SetArray(ClientArray* array, GLint size, GLsizei stride, const void* pointer) {
    array->size = size;
    array->stride = stride;
    array->pointer = pointer;
}

ClientArray* ArrayOf(Context* c, GLenum array, const char* call) {
    switch (array) {
    case GL_VERTEX_ARRAY:
        return &c->vertexArray;
    case GL_NORMAL_ARRAY:
        return &c->normalArray;
    case GL_TEXTURE_COORD_ARRAY:
        return &c->texcoordArray;
    default:
        NotImplemented(call, array);
    }
}

} // namespace
} // namespace gl11

using namespace gl11;

extern "C" {

void glEnableClientState(GLenum array) {
    if (Context* c = CurrentContext()) {
        ArrayOf(c, array, "glEnableClientState")->enabled = true;
    }
}

void glDisableClientState(GLenum array) {
    if (Context* c = CurrentContext()) {
        ArrayOf(c, array, "glDisableClientState")->enabled = false;
    }
}

void glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer) {
    if (size != 3) {
        NotImplemented("glVertexPointer(size)", static_cast<GLenum>(size));
    }
    if (type != GL_FLOAT) {
        NotImplemented("glVertexPointer(type)", type);
    }
    if (Context* c = CurrentContext()) {
        SetArray(&c->vertexArray, size, stride, pointer);
    }
}

void glNormalPointer(GLenum type, GLsizei stride, const GLvoid* pointer) {
    if (type != GL_FLOAT) {
        NotImplemented("glNormalPointer(type)", type);
    }
    if (Context* c = CurrentContext()) {
        SetArray(&c->normalArray, 3, stride, pointer);
    }
}

void glInterleavedArrays(GLenum format, GLsizei stride, const GLvoid* pointer) {
    if (format != GL_T2F_N3F_V3F) {
        NotImplemented("glInterleavedArrays", format);
    }
    Context* c = CurrentContext();
    if (c == nullptr) {
        return;
    }
    // s, t, then the normal, then the vertex: eight floats a vertex.
    const GLsizei step = stride != 0 ? stride : 8 * kFloat;
    const auto* base = static_cast<const char*>(pointer);
    SetArray(&c->texcoordArray, 2, step, base);
    SetArray(&c->normalArray, 3, step, base + 2 * kFloat);
    SetArray(&c->vertexArray, 3, step, base + 5 * kFloat);
    c->texcoordArray.enabled = true;
    c->normalArray.enabled = true;
    c->vertexArray.enabled = true;
}

void glDrawArrays(GLenum mode, GLint first, GLsizei count) {
    Context* c = DrawingContext("glDrawArrays", mode, count);
    if (c == nullptr) {
        return;
    }
    const float additive = AdditiveOf(*c, "glDrawArrays");
    c->PrepareDraw();
    const GLsizei used = count - count % 4;
    const std::uint32_t base = AddVertices(*c, first, first + used - 1, additive);
    for (GLsizei q = 0; q < used; q += 4) {
        const std::uint32_t v = base + static_cast<std::uint32_t>(q);
        AddQuad(*c, v, v + 1, v + 2, v + 3);
    }
}

void glDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices) {
    if (type != GL_UNSIGNED_INT) {
        NotImplemented("glDrawElements(type)", type);
    }
    Context* c = DrawingContext("glDrawElements", mode, count);
    if (c == nullptr) {
        return;
    }
    const float additive = AdditiveOf(*c, "glDrawElements");
    c->PrepareDraw();
    const GLsizei used = count - count % 4;
    const auto* elements = static_cast<const GLuint*>(indices);
    const auto range = std::minmax_element(elements, elements + used);
    const GLuint lowest = *range.first;
    const std::uint32_t base =
        AddVertices(*c, static_cast<GLint>(lowest), static_cast<GLint>(*range.second), additive);
    const auto at = [&](GLsizei i) { return base + (elements[i] - lowest); };
    for (GLsizei q = 0; q < used; q += 4) {
        AddQuad(*c, at(q), at(q + 1), at(q + 2), at(q + 3));
    }
}

} // extern "C"
