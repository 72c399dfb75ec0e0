// The lamps: their legs, their colour cycle, and what they hand to GL.
#include "scene/actors/Lampje.h"
#include "scene/world_tables.h"
#include "tests/scene/actors/fields.h"
#include "tests/scene/draws.h"
#include "tests/scene/gl_context.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>

namespace {

using Quad = std::array<GLfloat, 4>;

class Lamp : public testing::Test {
  protected:
    // A lamp in the middle of a long leg, in its steady phase: a call
    // draws nothing unless the test moves the timer.
    void SetUp() override {
        lamp.step = 100;
        lamp.legLength = 1200;
        lamp.timer = 3000;
        lamp.phase = 1;
        lamp.cutoff = 30.0f;
    }

    Lampje lamp;
};

TEST_F(Lamp, StepNineStartsTheSecondLegOnTheFourthCall) {
    lamp.step = 9;
    lamp.legLength = 12;
    for (int call = 1; call <= 3; ++call) {
        lamp.AdvanceLampje();
    }
    EXPECT_EQ(lamp.step, 12);
    EXPECT_EQ(lamp.legLength, 12);
    lamp.AdvanceLampje();
    EXPECT_EQ(lamp.step, 0);
    EXPECT_GE(lamp.legLength, 1000);
    EXPECT_LE(lamp.legLength, 1499);
}

TEST_F(Lamp, StepZeroStartsTheSecondLegOnTheThirteenthCall) {
    lamp.step = 0;
    lamp.legLength = 12;
    for (int call = 1; call <= 12; ++call) {
        lamp.AdvanceLampje();
    }
    EXPECT_EQ(lamp.legLength, 12);
    lamp.AdvanceLampje();
    EXPECT_EQ(lamp.step, 0);
    EXPECT_GE(lamp.legLength, 1000);
}

TEST_F(Lamp, SpentTimerOpensANewCycleInTheSameFrame) {
    lamp.timer = 0;
    lamp.phase = 2;
    lamp.cutoff = 1.0f;
    platform::srand(1); // the reset draws 41: timer 6051, an opening frame
    lamp.AdvanceLampje();
    EXPECT_EQ(lamp.timer, 6051);
    EXPECT_EQ(lamp.phase, 0);
    // Flicker colour from the next three draws, 18467, 6334 and 26500.
    EXPECT_FLOAT_EQ(lamp.colorR, 0.17f);
    EXPECT_FLOAT_EQ(lamp.colorG, 0.04f);
    EXPECT_FLOAT_EQ(lamp.colorB, 0.10f);
    EXPECT_FLOAT_EQ(lamp.cutoff, 1.2f);
}

TEST_F(Lamp, GreyFramesShowGreyAndANarrowRandomCone) {
    lamp.timer = 6020;
    lamp.phase = 0;
    platform::srand(1); // 41, 18467, 6334 flicker; 26500 gives the cone
    lamp.AdvanceLampje();
    EXPECT_EQ(lamp.timer, 6019);
    EXPECT_EQ(lamp.colorR, 0.14f);
    EXPECT_EQ(lamp.colorG, 0.14f);
    EXPECT_EQ(lamp.colorB, 0.14f);
    EXPECT_EQ(lamp.cutoff, 1.0f);
}

TEST_F(Lamp, OpeningConeStopsAt76) {
    lamp.timer = 6100;
    lamp.phase = 0;
    lamp.cutoff = 75.9f;
    lamp.AdvanceLampje();
    EXPECT_EQ(lamp.cutoff, 76.0f);
    lamp.AdvanceLampje();
    EXPECT_EQ(lamp.cutoff, 76.0f);
}

TEST_F(Lamp, FadingConeStopsAt1AndColourDims) {
    lamp.timer = 300;
    lamp.phase = 2;
    lamp.cutoff = 1.1f;
    lamp.colorR = 0.5f;
    lamp.AdvanceLampje();
    EXPECT_EQ(lamp.cutoff, 1.0f);
    EXPECT_FLOAT_EQ(lamp.colorR, 0.4995005f);
    lamp.AdvanceLampje();
    EXPECT_EQ(lamp.cutoff, 1.0f);
}

TEST_F(Lamp, TimerReaching399StartsTheFade) {
    lamp.timer = 400;
    lamp.AdvanceLampje();
    EXPECT_EQ(lamp.phase, 2);
}

TEST_F(Lamp, SteadyColourFromSeedOneIsKept) {
    lamp.timer = 6001;
    lamp.phase = 0;
    // Draws 41, 18467, 6334: (0.06, 0.22, 0.34); then 26500: cutoff 50.
    EXPECT_EQ(DrawsMadeBy([&] { lamp.AdvanceLampje(); }, 1), 4);
    EXPECT_EQ(lamp.phase, 1);
    EXPECT_FLOAT_EQ(lamp.colorR, 0.06f);
    EXPECT_FLOAT_EQ(lamp.colorG, 0.22f);
    EXPECT_FLOAT_EQ(lamp.colorB, 0.34f);
    EXPECT_EQ(lamp.cutoff, 50.0f);
}

// One component of 0.2 or more, whichever it is, keeps the whole colour.
TEST_F(Lamp, SteadyColourWithOneBrightComponentIsKept) {
    for (int bright = 0; bright < 3; ++bright) {
        lamp.timer = 6001;
        lamp.phase = 0;
        const unsigned seed = SeedWhereDraw(0, [=](int first) {
            const int draws[3] = {first, platform::rand(), platform::rand()};
            for (int c = 0; c < 3; ++c) {
                if ((draws[c] % 35 >= 20) != (c == bright)) {
                    return false;
                }
            }
            return true;
        });
        EXPECT_EQ(DrawsMadeBy([&] { lamp.AdvanceLampje(); }, seed), 4) << "bright " << bright;
        const float colour[3] = {lamp.colorR, lamp.colorG, lamp.colorB};
        EXPECT_GE(colour[bright], 0.2f);
    }
}

TEST_F(Lamp, SteadyColourAllDimIsDrawnAgainStillDim) {
    lamp.timer = 6001;
    lamp.phase = 0;
    // A seed whose first three draws give three components below 0.2.
    const unsigned seed = SeedWhereDraw(0, [](int first) {
        return first % 35 < 20 && platform::rand() % 35 < 20 && platform::rand() % 35 < 20;
    });
    EXPECT_EQ(DrawsMadeBy([&] { lamp.AdvanceLampje(); }, seed), 7);
    EXPECT_LT(lamp.colorR, 0.2f);
    EXPECT_LT(lamp.colorG, 0.2f);
    EXPECT_LT(lamp.colorB, 0.2f);
    EXPECT_GE(lamp.cutoff, 5.0f);
    EXPECT_LE(lamp.cutoff, 69.0f);
}

class LitLamp : public SceneWindow {
  protected:
    static Quad Light(GLenum light, GLenum name) {
        Quad value{};
        glGetLightfv(light, name, value.data());
        return value;
    }
    Lampje lamp;
};

TEST_F(LitLamp, HandsPositionDirectionConeAndColourToItsLight) {
    lamp.step = 0;
    for (int call = 0; call < 14; ++call) { // one step into the second leg: a real direction
        lamp.CalcLampje(3);
    }
    EXPECT_EQ(Light(GL_LIGHT3, GL_POSITION), (Quad{lamp.pos[0], lamp.pos[1], lamp.pos[2], 1}));
    EXPECT_EQ(Light(GL_LIGHT3, GL_SPECULAR), (Quad{lamp.colorR, lamp.colorG, lamp.colorB, 1}));
    GLfloat cutoff = 0.0f;
    glGetLightfv(GL_LIGHT3, GL_SPOT_CUTOFF, &cutoff);
    EXPECT_EQ(cutoff, lamp.cutoff);
    const Quad direction = Light(GL_LIGHT3, GL_SPOT_DIRECTION);
    EXPECT_EQ(direction[0], lamp.dir[0]);
    EXPECT_EQ(direction[1], lamp.dir[1]);
    EXPECT_EQ(direction[2], lamp.dir[2]);
}

TEST_F(LitLamp, SpotPointsNowhereDuringTheFirstLeg) {
    lamp.step = 0;
    for (int call = 0; call < 12; ++call) {
        lamp.CalcLampje(5);
        const Quad direction = Light(GL_LIGHT5, GL_SPOT_DIRECTION);
        EXPECT_EQ(direction[0], 0.0f);
        EXPECT_EQ(direction[1], 0.0f);
        EXPECT_EQ(direction[2], 0.0f);
    }
}

TEST_F(LitLamp, IndexOutsideTheEightLightsReachesNoLight) {
    const Quad position0 = Light(GL_LIGHT0, GL_POSITION);
    const Quad specular0 = Light(GL_LIGHT0, GL_SPECULAR);
    const Quad position7 = Light(GL_LIGHT7, GL_POSITION);
    const Quad specular7 = Light(GL_LIGHT7, GL_SPECULAR);
    while (glGetError() != GL_NO_ERROR) {
    }
    for (const int index : {8, -1}) {
        const int stepBefore = lamp.step;
        lamp.CalcLampje(index);
        EXPECT_NE(lamp.step, stepBefore); // the lamp still moves on
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        EXPECT_EQ((Quad{lposition[0], lposition[1], lposition[2], lposition[3]}),
                  (Quad{lamp.colorR, lamp.colorG, lamp.colorB, 1}));
    }
    EXPECT_EQ(Light(GL_LIGHT0, GL_POSITION), position0);
    EXPECT_EQ(Light(GL_LIGHT0, GL_SPECULAR), specular0);
    EXPECT_EQ(Light(GL_LIGHT7, GL_POSITION), position7);
    EXPECT_EQ(Light(GL_LIGHT7, GL_SPECULAR), specular7);
}

// A whole cycle and several legs, through both ways of advancing a lamp.
TEST_F(LitLamp, CalcAndAdvanceLeaveTheSameLamp) {
    Lampje advanced = lamp;
    platform::srand(99);
    for (int frame = 0; frame < 6500; ++frame) {
        lamp.CalcLampje(0);
    }
    platform::srand(99);
    for (int frame = 0; frame < 6500; ++frame) {
        advanced.AdvanceLampje();
    }
    EXPECT_EQ(Fields(lamp), Fields(advanced));
}

} // namespace
