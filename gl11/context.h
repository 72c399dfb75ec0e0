// context.h - one GL 1.1 rendering context: its state, its device, and the
// batch of draws it has gathered but not yet handed to the device.
//
// The entry points (enables.cpp, matrices.cpp, lights.cpp, clearing.cpp,
// textures.cpp, pixels.cpp, draws.cpp and glu.cpp) work on the current
// context; without one, as in GL, they do nothing. Values the scene never
// passes are refused by name (unsupported.h). State every vertex of a draw
// shares (projection, texture, fragment tests) goes to the device as a
// DrawState with the batch: a change to it first hands the pending batch
// over. The client arrays, the model-view matrix and the lighting are applied
// on the CPU as each draw is added, so the scene's thousands of draws a frame
// reach the device as a handful.
#pragma once

#include "device.h"
#include "lighting.h"
#include "matrix.h"

#include <GL/gl.h>

#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace gl11 {

inline constexpr int kMatrixStackDepth = 32;

struct ClientArray {
    bool enabled = false;
    GLint size = 4;
    GLsizei stride = 0; // as given; 0 means tightly packed
    const void* pointer = nullptr;
};

struct TextureObject {
    unsigned handle = 0; // the device's
    GLenum minFilter = GL_NEAREST_MIPMAP_LINEAR;
    GLenum magFilter = GL_LINEAR;
    GLenum wrapS = GL_REPEAT;
    GLenum wrapT = GL_REPEAT;
};

struct Context {
    explicit Context(std::unique_ptr<Device> device, int width, int height);
    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    std::unique_ptr<Device> device;

    // Matrices.
    GLenum matrixMode = GL_MODELVIEW;
    std::vector<Matrix> modelview{Identity()};
    std::vector<Matrix> projection{Identity()};
    Matrix& Current() { return matrixMode == GL_MODELVIEW ? modelview.back() : projection.back(); }
    std::vector<Matrix>& CurrentStack() {
        return matrixMode == GL_MODELVIEW ? modelview : projection;
    }
    int viewport[4];

    // Lighting.
    bool lightingEnabled = false; // GL_LIGHTING
    Light lights[kLights];
    Material material;
    float sceneAmbient[4] = {0.2f, 0.2f, 0.2f, 1};

    // Rasterisation and fragments.
    bool depthTest = false;
    bool blend = false;
    GLenum blendSource = GL_ONE;
    GLenum blendDestination = GL_ZERO;
    bool polygonOffsetFill = false;
    float offsetFactor = 0;
    float offsetUnits = 0;
    float clearColour[4] = {0, 0, 0, 0};

    // Current vertex attributes and client arrays.
    float colour[4] = {1, 1, 1, 1};
    float normal[3] = {0, 0, 1};
    float texcoord[4] = {0, 0, 0, 1};
    ClientArray vertexArray;
    ClientArray normalArray;
    ClientArray texcoordArray;

    // Textures: name 0 is the default texture object.
    bool texture2d = false;
    GLuint boundTexture = 0;
    std::map<GLuint, TextureObject> textures;
    TextureObject& Bound() { return textures[boundTexture]; }

    GLint packAlignment = 4;
    GLint unpackAlignment = 4;

    // The lights and material made ready, while nothing of them changes.
    bool lightingChanged = true;
    Lighting lighting;

    // The pending batch and the state it is drawn under.
    bool stateChanged = true; // something a DrawState holds may have changed
    DrawState pendingState{};
    std::vector<Vertex> vertices;
    std::vector<std::uint32_t> indices;

    // The normal matrix of the model-view matrix it was made from.
    Matrix normalMatrixOf{};
    float normalMatrix[9];
    bool normalMatrixValid = false;

    // Hands the pending batch to the device.
    void FlushBatch();
    // Makes the batch's state the current one, handing over the pending
    // batch first where it was drawn under another, and readies the lighting.
    void PrepareDraw();
    // The normal matrix of the current model-view matrix.
    const float* Normals();
};

Context* CurrentContext();
void SetCurrentContext(Context* context);
// The current context with its pending batch handed over first: for calls
// that change what the device draws outside a DrawState (clears, textures,
// reading pixels).
Context* FlushedContext();

inline void Copy4(const float* from, float* to) {
    std::memcpy(to, from, 4 * sizeof(float));
}

} // namespace gl11
