// pixels.cpp - pixel storage, reading the frame back, and the strings the
// context names itself by.
//
// glReadPixels hands the pending batch over first and packs the device's RGBA
// rows as GL_PACK_ALIGNMENT asks.
#include "context.h"
#include "unsupported.h"

#include <cstring>
#include <string>

namespace gl11 {
namespace {

bool ValidAlignment(GLint value) {
    return value == 1 || value == 2 || value == 4 || value == 8;
}

} // namespace
} // namespace gl11

using namespace gl11;

extern "C" {

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
    Context* c = FlushedContext();
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
