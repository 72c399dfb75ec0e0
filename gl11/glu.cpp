// glu.cpp - the three GLU calls the scene makes, computed as GLU computes
// them: the perspective in double precision, the look-at in single, each then
// multiplied into the current matrix; the mipmaps by mipmaps.h.
#include "context.h"
#include "mipmaps.h"
#include "unsupported.h"

#include <GL/glu.h>

#include <cmath>

namespace gl11 {
namespace {

void MultiplyCurrent(Context* c, const Matrix& by) {
    c->Current() = Multiply(c->Current(), by);
    c->stateChanged = c->stateChanged || c->matrixMode == GL_PROJECTION;
}

void Normalise(float v[3]) {
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0.0f) {
        return;
    }
    for (int k = 0; k < 3; ++k) {
        v[k] /= length;
    }
}

void Cross(const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

bool PowerOfTwo(GLsizei n) {
    return n > 0 && (n & (n - 1)) == 0;
}

} // namespace
} // namespace gl11

using namespace gl11;

extern "C" {

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    Context* c = CurrentContext();
    if (c == nullptr) {
        return;
    }
    constexpr double kPi = 3.14159265358979323846;
    const double radians = fovy / 2 * kPi / 180;
    const double deltaZ = zFar - zNear;
    const double sine = std::sin(radians);
    if (deltaZ == 0 || sine == 0 || aspect == 0) {
        return; // GLU leaves the matrix alone
    }
    const double cotangent = std::cos(radians) / sine;
    Matrix m = Identity();
    m.m[0] = static_cast<float>(cotangent / aspect);
    m.m[5] = static_cast<float>(cotangent);
    m.m[10] = static_cast<float>(-(zFar + zNear) / deltaZ);
    m.m[11] = -1.0f;
    m.m[14] = static_cast<float>(-2 * zNear * zFar / deltaZ);
    m.m[15] = 0.0f;
    MultiplyCurrent(c, m);
}

void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
               GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ) {
    Context* c = CurrentContext();
    if (c == nullptr) {
        return;
    }
    float forward[3] = {static_cast<float>(centerX - eyeX), static_cast<float>(centerY - eyeY),
                        static_cast<float>(centerZ - eyeZ)};
    float up[3] = {static_cast<float>(upX), static_cast<float>(upY), static_cast<float>(upZ)};
    float side[3];
    Normalise(forward);
    Cross(forward, up, side);
    Normalise(side);
    Cross(side, forward, up);
    Matrix m = Identity();
    for (int k = 0; k < 3; ++k) {
        m.m[k * 4 + 0] = side[k];
        m.m[k * 4 + 1] = up[k];
        m.m[k * 4 + 2] = -forward[k];
    }
    MultiplyCurrent(c, m);
    Translate(&c->Current(), static_cast<float>(-eyeX), static_cast<float>(-eyeY),
              static_cast<float>(-eyeZ));
}

GLint gluBuild2DMipmaps(GLenum target, GLint internalFormat, GLsizei width, GLsizei height,
                        GLenum format, GLenum type, const void* data) {
    if (target != GL_TEXTURE_2D) {
        NotImplemented("gluBuild2DMipmaps(target)", target);
    }
    if (internalFormat != GL_RGBA || format != GL_RGBA) {
        NotImplemented("gluBuild2DMipmaps(format)", format);
    }
    if (type != GL_UNSIGNED_BYTE) {
        NotImplemented("gluBuild2DMipmaps(type)", type);
    }
    // Other sides GLU would first rescale to powers of two.
    if (!PowerOfTwo(width) || !PowerOfTwo(height)) {
        Fail("gluBuild2DMipmaps", "sides that are not powers of two: not implemented");
    }
    Context* c = CurrentContext();
    if (c == nullptr) {
        return 0;
    }
    c->FlushBatch();
    const unsigned texture = c->Bound().handle;
    const auto* rgba = static_cast<const std::uint8_t*>(data);
    c->device->UploadLevel(texture, 0, width, height, rgba);
    int level = 1;
    for (const MipLevel& below : MipLevelsBelow(width, height, rgba)) {
        c->device->UploadLevel(texture, level++, below.width, below.height, below.rgba.data());
    }
    return 0;
}

} // extern "C"
