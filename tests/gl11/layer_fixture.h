// The browser's GL layer run natively, over a device that draws nothing and
// records what the layer hands it: the batches, with their state and their
// lit vertices, and the order of the calls that reach the frame.
#pragma once

#include "gl11/context.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

struct Drawn {
    gl11::DrawState state;
    std::vector<gl11::Vertex> vertices;
    std::vector<std::uint32_t> indices;
};

class RecordingDevice final : public gl11::Device {
  public:
    std::vector<Drawn> draws;
    std::string calls; // "Draw Clear Draw Flush": what reached the frame, in order

    unsigned CreateTexture() override { return ++textures_; }
    void DeleteTexture(unsigned) override {}
    void UploadLevel(unsigned, int, int, int, const std::uint8_t*) override {
        Called("UploadLevel");
    }
    void SetSampling(unsigned, unsigned, unsigned, unsigned, unsigned) override {
        Called("SetSampling");
    }
    void Clear(bool, bool, const float*) override { Called("Clear"); }
    void Draw(const gl11::DrawState& state, const std::vector<gl11::Vertex>& vertices,
              const std::vector<std::uint32_t>& indices) override {
        Called("Draw");
        draws.push_back({state, vertices, indices});
    }
    void ReadPixels(int, int, int, int, std::uint8_t*) override { Called("ReadPixels"); }
    void Flush() override { Called("Flush"); }
    void Present() override { Called("Present"); }
    std::string Renderer() const override { return "a recording"; }

  private:
    void Called(const char* name) { calls += calls.empty() ? name : std::string(" ") + name; }
    unsigned textures_ = 0; // handles from 1: the default texture takes the first
};

// A 64 by 64 context over a RecordingDevice, current for the test.
class LayerFixture : public testing::Test {
  protected:
    void SetUp() override {
        auto device = std::make_unique<RecordingDevice>();
        device_ = device.get();
        context_ = std::make_unique<gl11::Context>(std::move(device), 64, 64);
        gl11::SetCurrentContext(context_.get());
    }
    void TearDown() override { gl11::SetCurrentContext(nullptr); }

    gl11::Context& context() { return *context_; }
    RecordingDevice& device() { return *device_; }

  private:
    std::unique_ptr<gl11::Context> context_;
    RecordingDevice* device_ = nullptr;
};

// Draws the first `count` corners (x, y, z each) as lit quads.
inline void DrawQuads(const GLfloat* corners, GLsizei count) {
    glEnable(GL_LIGHTING);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, corners);
    glDrawArrays(GL_QUADS, 0, count);
}
