// The static blocks: corners computed once from the template cube, and the
// GL state a block's draw leaves behind.
#include "scene/actors/Carz.h"
#include "tests/scene/gl_context.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

class Block : public testing::Test {
  protected:
    Block() {
        block.posX = 1000.0f;
        block.posY = 2000.0f;
        block.posZ = 3000.0f;
        block.size = 2.0f; // half-edge 50
        block.stretch = 1.0f;
        block.shape = 2;
    }
    ~Block() override { delete[] block.corners; }

    std::vector<float> Corners() const { return {block.corners, block.corners + 24}; }

    // Lowest and highest x, y, z over the eight corners.
    std::array<float, 6> Bounds() const {
        std::array<float, 6> b = {block.corners[0], block.corners[0], block.corners[1],
                                  block.corners[1], block.corners[2], block.corners[2]};
        for (int k = 0; k < 8; ++k) {
            for (int c = 0; c < 3; ++c) {
                b[2 * c] = std::min(b[2 * c], block.corners[3 * k + c]);
                b[2 * c + 1] = std::max(b[2 * c + 1], block.corners[3 * k + c]);
            }
        }
        return b;
    }

    Carz block;
};

TEST_F(Block, UnstretchedColumnIsACubeAroundItsPosition) {
    block.SetupCarz();
    const std::vector<float> cube = {950,  2050, 3050, 1050, 2050, 3050, 1050, 1950,
                                     3050, 950,  1950, 3050, 950,  2050, 2950, 1050,
                                     2050, 2950, 1050, 1950, 2950, 950,  1950, 2950};
    EXPECT_EQ(Corners(), cube);
}

TEST_F(Block, StretchedColumnRaisesOnlyItsTop) {
    block.stretch = 370.0f;
    block.SetupCarz();
    EXPECT_EQ(Bounds(), (std::array<float, 6>{950, 1050, 1950, 2050, 2950, 21500}));
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(block.corners[3 * k + 2], 21500.0f) << "top corner " << k;
        EXPECT_EQ(block.corners[3 * (k + 4) + 2], 2950.0f) << "bottom corner " << k + 4;
    }
}

TEST_F(Block, SmallestBeamIsASmallCube) {
    block.shape = 0;
    block.size = 0.12f;
    block.SetupCarz();
    const std::array<float, 6> bounds = Bounds();
    const std::array<float, 6> expected = {997, 1003, 1997, 2003, 2997, 3003};
    for (int i = 0; i < 6; ++i) {
        EXPECT_FLOAT_EQ(bounds[i], expected[i]) << "bound " << i;
    }
}

TEST_F(Block, BeamAlongXStretchesOnlyX) {
    block.shape = 0;
    block.stretch = 10.0f;
    block.SetupCarz();
    EXPECT_EQ(Bounds(), (std::array<float, 6>{500, 1500, 1950, 2050, 2950, 3050}));
}

TEST_F(Block, BeamAlongYStretchesOnlyY) {
    block.shape = 1;
    block.stretch = 10.0f;
    block.SetupCarz();
    EXPECT_EQ(Bounds(), (std::array<float, 6>{950, 1050, 1500, 2500, 2950, 3050}));
}

TEST_F(Block, SettingUpAgainGivesTheSameCorners) {
    block.shape = 1;
    block.stretch = 37.0f;
    block.size = 13.3f;
    block.SetupCarz();
    const std::vector<float> first = Corners();
    block.SetupCarz();
    EXPECT_EQ(Corners(), first);
}

class DrawnBlock : public SceneWindow {
  protected:
    void TearDown() override {
        delete[] block.corners;
        SceneWindow::TearDown();
    }
    Carz block;
};

TEST_F(DrawnBlock, DrawLeavesBlendingAndArraysOffWhateverItsBlend) {
    block.SetupCarz();
    for (const int blend : {0, 1}) {
        for (const bool blendingBefore : {false, true}) {
            block.blend = blend;
            if (blendingBefore) {
                glEnable(GL_BLEND);
            } else {
                glDisable(GL_BLEND);
            }
            block.DrawCarz();
            EXPECT_FALSE(glIsEnabled(GL_BLEND)) << blend << blendingBefore;
            EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY)) << blend << blendingBefore;
            EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY)) << blend << blendingBefore;
        }
    }
}

} // namespace
