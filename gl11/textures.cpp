// textures.cpp - binding texture objects and setting their sampling.
//
// Binding another texture is a change of the DrawState; setting sampling
// goes to the device at once, so it hands the pending batch over first.
// Mipmaps are uploaded by gluBuild2DMipmaps (glu.cpp).
#include "context.h"
#include "unsupported.h"

using namespace gl11;

extern "C" {

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
    Context* c = FlushedContext();
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

} // extern "C"
