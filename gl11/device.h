// device.h - what the GL 1.1 layer asks of the graphics device below it.
//
// The layer keeps GL 1.1's state, carries vertices to eye coordinates, lights
// them and gathers the scene's many small draws into batches; a device turns
// a batch into pixels. The browser's device is WebGL 2 (webgl_device.cpp); the
// native tests give the layer one that draws nothing.
//
// A batch is triangles over vertices in eye coordinates, lit already, each
// vertex saying whether it is blended additively, drawn under one DrawState:
// projection, texture and the fragment tests are the same for all of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gl11 {

struct Vertex {
    float eye[4];      // position in eye coordinates
    float colour[4];   // lit, clamped
    float texcoord[2]; // s, t
    float additive;    // 1: blended as source alpha + destination; 0: replaces
};

// Four-byte members only, so that two states compare byte by byte.
struct DrawState {
    float projection[16];
    int viewport[4];
    int textured;
    unsigned texture; // the device's handle of the bound texture
    int depthTest;
    int polygonOffsetFill;
    float offsetFactor;
    float offsetUnits;
};

class Device {
  public:
    virtual ~Device() = default;

    virtual unsigned CreateTexture() = 0;
    virtual void DeleteTexture(unsigned texture) = 0;
    // Level `level` of the texture, RGBA bytes, rows bottom first.
    virtual void UploadLevel(unsigned texture, int level, int width, int height,
                             const std::uint8_t* rgba) = 0;
    virtual void SetSampling(unsigned texture, unsigned minFilter, unsigned magFilter,
                             unsigned wrapS, unsigned wrapT) = 0;

    virtual void Clear(bool colour, bool depth, const float clearColour[4]) = 0;
    virtual void Draw(const DrawState& state, const std::vector<Vertex>& vertices,
                      const std::vector<std::uint32_t>& indices) = 0;
    // The frame's pixels, RGBA, rows bottom first.
    virtual void ReadPixels(int x, int y, int width, int height, std::uint8_t* rgba) = 0;
    virtual void Flush() = 0;
    // Shows the frame drawn so far where the context's surface is seen.
    virtual void Present() = 0;
    virtual std::string Renderer() const = 0;
};

} // namespace gl11
