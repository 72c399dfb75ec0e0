// The matrix calls and GLU's perspective and look-at multiply into the
// current matrix as GL does, and the two stacks keep their own matrices, 32
// deep.
#include "tests/gl11/layer_fixture.h"

#include <GL/glu.h>

#include <functional>

namespace {

struct Product {
    const char* name;
    std::function<void()> calls;
    float expected[16]; // column by column
};

class Matrices : public LayerFixture, public testing::WithParamInterface<Product> {};

TEST_P(Matrices, MakeTheHandWorkedMatrix) {
    GetParam().calls();
    const float* m = context().modelview.back().m;
    for (int k = 0; k < 16; ++k) {
        EXPECT_NEAR(m[k], GetParam().expected[k], 1e-6f) << "element " << k;
    }
}

// The perspective of 90 degrees, aspect 2, near 1 and far 3: cot 45 = 1 over
// the aspect, 1, -(3 + 1) / (3 - 1) and -2 * 1 * 3 / (3 - 1). Looking from
// (1, 2, 3) along +x with y up: side +z, up +y, back -x, and the eye at the origin.
INSTANTIATE_TEST_SUITE_P(
    Calls, Matrices,
    testing::Values(Product{"TranslateThenScale",
                            [] {
                                glTranslatef(1, 2, 3);
                                glScalef(2, 3, 4);
                            },
                            {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 1, 2, 3, 1}},
                    Product{"ScaleThenTranslate",
                            [] {
                                glScalef(2, 3, 4);
                                glTranslatef(1, 1, 1);
                            },
                            {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 2, 3, 4, 1}},
                    Product{"LoadIdentity",
                            [] {
                                glTranslatef(1, 2, 3);
                                glLoadIdentity();
                            },
                            {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
                    Product{"Perspective",
                            [] { gluPerspective(90, 2, 1, 3); },
                            {0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, -2, -1, 0, 0, -3, 0}},
                    Product{"PerspectiveAfterATranslation",
                            [] {
                                glTranslatef(0, 0, -1);
                                gluPerspective(90, 2, 1, 3);
                            },
                            {0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, -1, 0, 0, -3, 0}},
                    Product{"LookAt",
                            [] { gluLookAt(1, 2, 3, 2, 2, 3, 0, 1, 0); },
                            {0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, -3, -2, 1, 1}}),
    [](const testing::TestParamInfo<Product>& info) { return std::string(info.param.name); });

class MatrixStacks : public LayerFixture {};

TEST_F(MatrixStacks, PopGivesBackWhatPushKeptOfItsOwnStack) {
    glTranslatef(1, 0, 0);
    glPushMatrix();
    glTranslatef(0, 1, 0);
    glMatrixMode(GL_PROJECTION);
    glScalef(2, 2, 2);
    glMatrixMode(GL_MODELVIEW);
    EXPECT_EQ(context().modelview.back().m[13], 1);
    glPopMatrix();
    const float* m = context().modelview.back().m;
    EXPECT_EQ(m[12], 1);
    EXPECT_EQ(m[13], 0);
    EXPECT_EQ(context().projection.back().m[0], 2);
}

// Popping the last matrix stops the program too (unimplemented_test.cpp).
TEST_F(MatrixStacks, HoldThirtyTwoMatricesAndStopAtAThirtyThird) {
    for (int depth = 1; depth < 32; ++depth) {
        glPushMatrix();
    }
    EXPECT_DEATH(glPushMatrix(), "tarrow-gl: glPushMatrix: stack overflow");
}

} // namespace
