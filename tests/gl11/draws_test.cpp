// Draws reach the device as batches of triangles in eye coordinates, lit:
// quads split along the diagonal from their second corner to their fourth,
// and a batch handed over only when what its DrawState holds changes or a
// call draws outside it.
#include "tests/gl11/layer_fixture.h"

#include <GL/glu.h>

#include <functional>

namespace {

constexpr GLfloat kQuad[12] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};

class Draws : public LayerFixture {};

TEST_F(Draws, QuadsBecomeTwoTrianglesEach) {
    // Vertex i at x = i.
    static const GLfloat corners[24] = {0, 0, 0, 1, 0, 0, 2, 0, 0, 3, 0, 0,
                                        4, 0, 0, 5, 0, 0, 6, 0, 0, 7, 0, 0};
    DrawQuads(corners, 6); // the two corners past the last whole quad are left out
    static const GLuint elements[4] = {5, 6, 7, 4};
    glDrawElements(GL_QUADS, 4, GL_UNSIGNED_INT, elements);
    glFlush();
    ASSERT_EQ(device().draws.size(), 1u);
    const Drawn& drawn = device().draws[0];
    ASSERT_EQ(drawn.vertices.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(drawn.vertices[i].eye[0], i);
    }
    EXPECT_EQ(drawn.indices, (std::vector<std::uint32_t>{0, 1, 3, 1, 2, 3, 5, 6, 4, 6, 7, 4}));
}

// The light at (0, 0, 2) in eye coordinates, its cone 45 degrees: vertex 0 at
// (1, 0, 0) is inside, 2 / sqrt 5 = 0.894 down the spot and lit by as much,
// the others outside. Material 0.5 under the scene's ambient 0.2: 0.1 + 0.5 *
// 0.894 inside, 0.1 outside.
TEST_F(Draws, CarryVerticesAndLightsToEyeCoordinates) {
    glTranslatef(0, 0, -5);
    const GLfloat position[4] = {0, 0, 7, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 45);
    const GLfloat grey[4] = {0.5f, 0.5f, 0.5f, 1};
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, grey);
    glEnable(GL_LIGHT0);
    static const GLfloat corners[12] = {1, 0, 5, 3, 0, 5, 3, 3, 5, 1, 3, 5};
    DrawQuads(corners, 4);
    glFlush();
    ASSERT_EQ(device().draws.size(), 1u);
    const std::vector<gl11::Vertex>& vertices = device().draws[0].vertices;
    const float eye[4][4] = {{1, 0, 0, 1}, {3, 0, 0, 1}, {3, 3, 0, 1}, {1, 3, 0, 1}};
    const float lit[4] = {0.5472136f, 0.1f, 0.1f, 0.1f};
    for (int v = 0; v < 4; ++v) {
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(vertices[v].eye[k], eye[v][k]) << "vertex " << v;
        }
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(vertices[v].colour[k], lit[v], 1e-6f) << "vertex " << v;
        }
    }
}

TEST_F(Draws, EachBatchIsDrawnUnderTheStateOfItsOwnDraws) {
    DrawQuads(kQuad, 4);
    glViewport(1, 2, 3, 4);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 5); // the device's second texture
    DrawQuads(kQuad, 4);
    glFlush();
    ASSERT_EQ(device().draws.size(), 2u);
    const gl11::DrawState& first = device().draws[0].state;
    const gl11::DrawState& second = device().draws[1].state;
    EXPECT_EQ(std::vector<int>(first.viewport, first.viewport + 4),
              (std::vector<int>{0, 0, 64, 64}));
    EXPECT_EQ(first.textured, 0);
    EXPECT_EQ(std::vector<int>(second.viewport, second.viewport + 4),
              (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(second.textured, 1);
    EXPECT_EQ(second.texture, 2u);
}

struct Between {
    const char* name;
    std::function<void()> before; // ahead of both quads
    std::function<void()> between;
    const char* calls; // what reached the device
};

class Batches : public LayerFixture, public testing::WithParamInterface<Between> {};

TEST_P(Batches, AreHandedOverWhereTheDeviceMustSeeThem) {
    if (GetParam().before) {
        GetParam().before();
    }
    DrawQuads(kQuad, 4);
    GetParam().between();
    DrawQuads(kQuad, 4);
    glFlush();
    EXPECT_EQ(device().calls, GetParam().calls);
}

void NoCall() {}

void ChangeTheProjection() {
    glMatrixMode(GL_PROJECTION);
    glTranslatef(0, 0, -1);
}

void PushAndPopTheProjection() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glTranslatef(0, 0, -1);
    glPopMatrix();
}

void SwitchDepthTestOnAndOff() {
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_DEPTH_TEST);
}

void BlendAdditively() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
}

void SetLightAndMaterial() {
    const GLfloat red[4] = {1, 0, 0, 1};
    glLightfv(GL_LIGHT1, GL_DIFFUSE, red);
    glEnable(GL_LIGHT1);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, red);
}

void BuildMipmaps() {
    static const GLubyte texels[16] = {};
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, 2, 2, GL_RGBA, GL_UNSIGNED_BYTE, texels);
}

void ReadAPixel() {
    GLubyte pixel[4];
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, Batches,
    testing::Values(
        Between{"Nothing", nullptr, NoCall, "Draw Flush"},
        Between{"ModelviewMatrix", nullptr, [] { glTranslatef(1, 0, 0); }, "Draw Flush"},
        Between{"LightsAndMaterial", nullptr, SetLightAndMaterial, "Draw Flush"},
        Between{"Blending", nullptr, BlendAdditively, "Draw Flush"},
        Between{"ProjectionMatrix", nullptr, ChangeTheProjection, "Draw Draw Flush"},
        Between{"ProjectionPushedAndPopped", nullptr, PushAndPopTheProjection, "Draw Flush"},
        Between{"Viewport", nullptr, [] { glViewport(0, 0, 32, 32); }, "Draw Draw Flush"},
        Between{"DepthTest", nullptr, [] { glEnable(GL_DEPTH_TEST); }, "Draw Draw Flush"},
        Between{"DepthTestOnAndOffAgain", nullptr, SwitchDepthTestOnAndOff, "Draw Flush"},
        Between{"PolygonOffset", nullptr, [] { glPolygonOffset(1, 1); }, "Draw Draw Flush"},
        Between{"TextureBoundWhileTexturing", [] { glEnable(GL_TEXTURE_2D); },
                [] { glBindTexture(GL_TEXTURE_2D, 5); }, "Draw Draw Flush"},
        Between{"TextureBoundWithTexturingOff", nullptr, [] { glBindTexture(GL_TEXTURE_2D, 5); },
                "Draw Flush"},
        Between{"Sampling", nullptr,
                [] { glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST); },
                "Draw SetSampling Draw Flush"},
        Between{"Mipmaps", nullptr, BuildMipmaps, "Draw UploadLevel UploadLevel Draw Flush"},
        Between{"Clear", nullptr, [] { glClear(GL_COLOR_BUFFER_BIT); }, "Draw Clear Draw Flush"},
        Between{"ReadPixels", nullptr, ReadAPixel, "Draw ReadPixels Draw Flush"}),
    [](const testing::TestParamInfo<Between>& info) { return std::string(info.param.name); });

} // namespace
