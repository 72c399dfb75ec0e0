// A GL call, argument or state the browser's GL layer does not implement
// stops the program and names itself on standard error: the layer never draws
// something else in silence. The layer runs here natively, over a device that
// draws nothing (layer_fixture.h).
#include "tests/gl11/layer_fixture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <functional>

namespace {

struct Refusal {
    const char* name;
    std::function<void()> call;
    const char* says; // a regular expression over standard error
};

class Unimplemented : public LayerFixture, public testing::WithParamInterface<Refusal> {};

// A quad drawn from a vertex array, lit unless `lit` is false.
void DrawQuad(bool lit) {
    static const GLfloat corners[12] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
    if (lit) {
        glEnable(GL_LIGHTING);
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, corners);
    glDrawArrays(GL_QUADS, 0, 4);
}

TEST_P(Unimplemented, StopsTheProgramAndSaysWhat) {
    EXPECT_DEATH(GetParam().call(), GetParam().says);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, Unimplemented,
    testing::Values(Refusal{"Fog", [] { glEnable(GL_FOG); },
                            "tarrow-gl: glEnable\\(0x0B60\\): not implemented"},
                    Refusal{"FlatShading", [] { glShadeModel(GL_FLAT); },
                            "tarrow-gl: glShadeModel\\(0x1D00\\): not implemented"},
                    Refusal{"OutlinedPolygons", [] { glPolygonMode(GL_FRONT_AND_BACK, GL_LINE); },
                            "tarrow-gl: glPolygonMode\\(mode\\)\\(0x1B01\\): not implemented"},
                    Refusal{"OtherBlending", [] { glBlendFunc(GL_ONE, GL_ONE); },
                            "tarrow-gl: glBlendFunc: factors other than"},
                    Refusal{"Triangles", [] { glDrawArrays(GL_TRIANGLES, 0, 3); },
                            "tarrow-gl: glDrawArrays\\(0x0004\\): not implemented"},
                    Refusal{"UnlitDrawing", [] { DrawQuad(false); },
                            "tarrow-gl: glDrawArrays: drawing without lighting: not implemented"},
                    Refusal{"PopPastTheBottom",
                            [] {
                                glPushMatrix();
                                glPopMatrix();
                                glPopMatrix();
                            },
                            "tarrow-gl: glPopMatrix: stack underflow"}),
    [](const testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

// The control: what the scene does passes.
TEST_F(Unimplemented, LitQuadsPass) {
    DrawQuad(true);
    SUCCEED();
}

} // namespace
