// context.cpp - the current context, and the batches it hands its device.
#include "context.h"

#include <cstring>

namespace gl11 {
namespace {

Context* g_current = nullptr;

DrawState StateOf(Context& c) {
    DrawState state{};
    std::memcpy(state.projection, c.projection.back().m, sizeof(state.projection));
    std::memcpy(state.viewport, c.viewport, sizeof(state.viewport));
    state.textured = c.texture2d ? 1 : 0;
    state.texture = c.texture2d ? c.Bound().handle : 0;
    state.depthTest = c.depthTest ? 1 : 0;
    state.polygonOffsetFill = c.polygonOffsetFill ? 1 : 0;
    state.offsetFactor = c.offsetFactor;
    state.offsetUnits = c.offsetUnits;
    return state;
}

} // namespace

Context::Context(std::unique_ptr<Device> device_, int width, int height)
    : device(std::move(device_)), viewport{0, 0, width, height} {
    // Light 0 alone starts white.
    for (int k = 0; k < 3; ++k) {
        lights[0].diffuse[k] = 1;
        lights[0].specular[k] = 1;
    }
    textures[0].handle = device->CreateTexture();
}

Context::~Context() {
    for (const auto& [name, texture] : textures) {
        device->DeleteTexture(texture.handle);
    }
}

void Context::FlushBatch() {
    if (!vertices.empty()) {
        device->Draw(pendingState, vertices, indices);
        vertices.clear();
        indices.clear();
    }
}

void Context::PrepareDraw() {
    if (lightingChanged) {
        lightingChanged = false;
        lighting = PrepareLighting(lights, material, sceneAmbient);
    }
    if (!stateChanged) {
        return;
    }
    stateChanged = false;
    const DrawState state = StateOf(*this);
    if (std::memcmp(&state, &pendingState, sizeof(state)) != 0) {
        FlushBatch();
        pendingState = state;
    }
}

const float* Context::Normals() {
    const Matrix& current = modelview.back();
    if (!normalMatrixValid || std::memcmp(&current, &normalMatrixOf, sizeof(current)) != 0) {
        if (!NormalMatrix(current, normalMatrix)) {
            // No inverse: GL leaves the result undefined; the normals stay.
            constexpr float kUnchanged[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
            std::memcpy(normalMatrix, kUnchanged, sizeof(normalMatrix));
        }
        normalMatrixOf = current;
        normalMatrixValid = true;
    }
    return normalMatrix;
}

Context* CurrentContext() {
    return g_current;
}

void SetCurrentContext(Context* context) {
    g_current = context;
}

Context* FlushedContext() {
    if (g_current != nullptr) {
        g_current->FlushBatch();
    }
    return g_current;
}

} // namespace gl11
