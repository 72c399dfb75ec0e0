// The scene's hooks: what Initialize sets up in a new context, what Update
// does with the key table, and what one whole frame of Draw leaves behind.
#include "platform/runtime.h"
#include "scene/vesk_nb_17.h"
#include "tests/scene/actors/fields.h"
#include "tests/scene/gl_context.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

std::array<GLfloat, 4> LightValue(GLenum light, GLenum name) {
    std::array<GLfloat, 4> value{};
    glGetLightfv(light, name, value.data());
    return value;
}

constexpr std::array<GLfloat, 4> kBlack = {0.0f, 0.0f, 0.0f, 1.0f};

TEST_F(InitializedScene, DegreeTablesHoldExactValuesAtWholeAngles) {
    EXPECT_EQ(cosd[0], 1.0f);
    EXPECT_EQ(sind[0], 0.0f);
    EXPECT_EQ(sind[90], 1.0f);
    EXPECT_EQ(cosd[180], -1.0f);
    EXPECT_EQ(cosd[60], 0.5f);
    EXPECT_EQ(sind[30], 0.5f);
}

// Pi is taken as 3.14159265, so the right angles miss zero by a little.
TEST_F(InitializedScene, DegreeTablesCarryTheShortPiResidue) {
    EXPECT_NEAR(cosd[90], 1.79e-9, 0.01e-9);
    EXPECT_NEAR(sind[180], 3.59e-9, 0.01e-9);
    EXPECT_NEAR(cosd[270], -5.38e-9, 0.01e-9);
}

TEST_F(InitializedScene, ProjectionIsTheWidePerspectiveOfTheWindow) {
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(85.0, 320.0 / 200.0, 4.0, 3500000.0);
    GLfloat expected[16];
    glGetFloatv(GL_PROJECTION_MATRIX, expected);
    glPopMatrix();
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(projection[i], expected[i]) << "entry " << i;
    }
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 320);
    EXPECT_EQ(viewport[3], 200);
}

TEST_F(InitializedScene, EightLightsShineSpecularOnly) {
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    for (GLenum light = GL_LIGHT0; light <= GL_LIGHT7; ++light) {
        SCOPED_TRACE(light - GL_LIGHT0);
        EXPECT_TRUE(glIsEnabled(light));
        EXPECT_EQ(LightValue(light, GL_AMBIENT), kBlack);
        EXPECT_EQ(LightValue(light, GL_DIFFUSE), kBlack);
    }
}

TEST_F(InitializedScene, DepthTestSmoothShadingAndPolygonOffsetAreOn) {
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLint shadeModel = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shadeModel);
    EXPECT_EQ(shadeModel, GL_SMOOTH);
    EXPECT_TRUE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
    GLfloat factor = 0.0f;
    GLfloat units = 0.0f;
    glGetFloatv(GL_POLYGON_OFFSET_FACTOR, &factor);
    glGetFloatv(GL_POLYGON_OFFSET_UNITS, &units);
    EXPECT_EQ(factor, -1.0f);
    EXPECT_EQ(units, -2.0f);
}

TEST_F(InitializedScene, GlowTextureIsTheDefaultObjectWithItsFilters) {
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
    GLint mag = 0;
    GLint min = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
    EXPECT_EQ(mag, GL_LINEAR);
    EXPECT_EQ(min, GL_LINEAR_MIPMAP_NEAREST);
}

// A block set up again into a spare array must give the corners it holds.
TEST_F(InitializedScene, EveryBlockHasItsCorners) {
    for (int i = 0; i < kBlocks; ++i) {
        GLfloat expected[24];
        Carz copy = kar[i];
        copy.corners = expected;
        copy.SetupCarz();
        ASSERT_TRUE(std::equal(expected, expected + 24, kar[i].corners)) << "block " << i;
    }
}

class KeyUpdate : public InitializedScene {
  protected:
    void SetUp() override {
        InitializedScene::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        PostedMessages(); // whatever making the window queued
        g_isProgramLooping = 1;
    }

    std::vector<UINT> PostedMessages() {
        std::vector<UINT> messages;
        MSG message;
        while (PeekMessage(&message, window.windowHandle, 0, 0, PM_REMOVE) != 0) {
            messages.push_back(message.message);
        }
        return messages;
    }
};

TEST_F(KeyUpdate, EscapeEndsTheProgram) {
    keys.keyDown[VK_ESCAPE] = 1;
    Update(16);
    EXPECT_EQ(PostedMessages(), std::vector<UINT>{WM_QUIT});
    EXPECT_EQ(g_isProgramLooping, 0);
}

TEST_F(KeyUpdate, F1AsksForTheOtherScreenMode) {
    keys.keyDown[VK_F1] = 1;
    Update(16);
    EXPECT_EQ(PostedMessages(), std::vector<UINT>{WM_USER + 1});
    EXPECT_EQ(g_isProgramLooping, 1);
}

TEST_F(KeyUpdate, KeyEntryOtherThanOneIsIgnored) {
    keys.keyDown[VK_ESCAPE] = 2;
    keys.keyDown[VK_F1] = 2;
    Update(16);
    EXPECT_TRUE(PostedMessages().empty());
    EXPECT_EQ(g_isProgramLooping, 1);
}

TEST_F(InitializedScene, FrameLeavesBlendingAndTextureCoordinatesOn) {
    Draw();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
}

// Every field that a frame changes, of every object, as one list.
std::vector<double> MovingState() {
    std::vector<double> all;
    const auto add = [&all](const std::vector<double>& fields) {
        all.insert(all.end(), fields.begin(), fields.end());
    };
    add(Fields(Zenith[0]));
    std::ranges::for_each(licht, [&](const Lampje& x) { add(Fields(x)); });
    std::ranges::for_each(mover, [&](const Moverz& x) { add(Fields(x.record)); });
    std::ranges::for_each(cloudz, [&](const Cloud& x) { add(Fields(x)); });
    add(Fields(moverbl3[0].record));
    std::ranges::for_each(moverbl, [&](const Moverzbl& x) { add(Fields(x.record)); });
    std::ranges::for_each(moverbl2, [&](const Moverzbl2& x) { add(Fields(x.record)); });
    return all;
}

// Starts every mover one step short of a turn decision, so that each takes
// a draw in the next frame and any change of order shows in their turns.
class FrameOrder : public InitializedScene {
  protected:
    void SetUp() override {
        InitializedScene::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        std::ranges::for_each(mover, [](Moverz& m) { m.record.travelled = blocksize; });
        std::ranges::for_each(moverbl, [](Moverzbl& m) { m.record.travelled = blocksize; });
        std::ranges::for_each(moverbl2, [](Moverzbl2& m) { m.record.travelled = blocksize; });
        moverbl3[0].record.travelled = blocksize;
        cameras.assign(std::begin(Zenith), std::end(Zenith));
        lamps.assign(std::begin(licht), std::end(licht));
        movers.assign(std::begin(mover), std::end(mover));
        clouds.assign(std::begin(cloudz), std::end(cloudz));
        reds.assign(std::begin(moverbl), std::end(moverbl));
        blues.assign(std::begin(moverbl2), std::end(moverbl2));
        square = moverbl3[0].record;
    }

    // Every field that one frame of `frame` leaves, from the start state and seed
    // 4242, followed by the generator's next value.
    template <class Frame>
    std::vector<double> After(Frame frame) {
        std::ranges::copy(cameras, Zenith);
        std::ranges::copy(lamps, licht);
        std::ranges::copy(movers, mover);
        std::ranges::copy(clouds, cloudz);
        std::ranges::copy(reds, moverbl);
        std::ranges::copy(blues, moverbl2);
        moverbl3[0].record = square;
        platform::srand(4242);
        frame();
        std::vector<double> state = MovingState();
        state.push_back(platform::rand());
        return state;
    }

    std::vector<Camera> cameras;
    std::vector<Lampje> lamps;
    std::vector<Moverz> movers;
    std::vector<Cloud> clouds;
    std::vector<Moverzbl> reds;
    std::vector<Moverzbl2> blues;
    MoverRecord square;
};

// The runs that draw nothing advance the scene as the frame's Draw does:
// the same calculations, taking the same draws in the same order.
TEST_F(FrameOrder, AdvanceSceneLeavesWhatDrawLeaves) {
    EXPECT_TRUE(After(Draw) == After(AdvanceScene));
}

} // namespace
