// The camera's two tracks: the eye and the look-at point, each moving in
// straight legs and starting a new leg when the old one is used up.
#include "scene/actors/Camera.h"
#include "scene/actors/leg.h"
#include "tests/scene/draws.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using Point = std::array<float, 3>;

Point Eye(const Camera& c) {
    return {c.eye[0], c.eye[1], c.eye[2]};
}
Point Center(const Camera& c) {
    return {c.center[0], c.center[1], c.center[2]};
}
Point EyeTarget(const Camera& c) {
    return {c.eyeTarget[0], c.eyeTarget[1], c.eyeTarget[2]};
}
Point CenterTarget(const Camera& c) {
    return {c.centerTarget[0], c.centerTarget[1], c.centerTarget[2]};
}

class CameraTrack : public testing::Test {
  protected:
    // Keeps one track in the middle of a long leg, so that only the other
    // starts a new leg on the next call.
    static void HoldEye(Camera& c) {
        c.eyeStep = 10;
        c.eyeLegLength = 400;
    }
    static void HoldCenter(Camera& c) {
        c.centerStep = 10;
        c.centerLegLength = 400;
    }
    // An eye standing still at (1, 2, 3) and a look-at leg that ends now,
    // the next look-at draw being 12000: an offset of 0.
    void LookAtLegFrom(int axis) {
        for (int c = 0; c < 3; ++c) {
            camera.eyeStart[c] = camera.eyeTarget[c] = static_cast<float>(c + 1);
        }
        HoldEye(camera);
        camera.centerAxis = axis;
        camera.centerStep = camera.centerLegLength = 400;
        platform::srand(SeedWhereDraw(0, [](int value) { return value == 12000; }));
        camera.CalcCamera();
    }

    Camera camera;
};

TEST_F(CameraTrack, FirstCallLooksFromTheStartEyeAtTheOrigin) {
    platform::srand(7);
    camera.CalcCamera();
    EXPECT_EQ(Eye(camera), (Point{0.0f, 80.0f, 300.0f}));
    EXPECT_EQ(Center(camera), (Point{0.0f, 0.0f, 0.0f}));
    EXPECT_EQ(camera.eyeStep, 0);
    EXPECT_EQ(camera.centerStep, 0);
}

TEST_F(CameraTrack, EyeMovesAlongItsLegInEqualSteps) {
    camera.eyeStart[0] = 0.0f;
    camera.eyeStart[1] = 80.0f;
    camera.eyeStart[2] = 300.0f;
    camera.eyeTarget[0] = 1000.0f;
    camera.eyeTarget[1] = 80.0f;
    camera.eyeTarget[2] = 300.0f;
    camera.eyeLegLength = 400;
    camera.eyeStep = 99;
    HoldCenter(camera);
    camera.CalcCamera();
    EXPECT_EQ(camera.eyeStep, 100);
    EXPECT_EQ(Eye(camera), (Point{250.0f, 80.0f, 300.0f}));
}

TEST_F(CameraTrack, LegEndShowsItsTargetOnTwoFrames) {
    camera.eyeStart[0] = -500.0f;
    camera.eyeTarget[0] = 700.0f;
    camera.eyeStep = 399;
    camera.eyeLegLength = 400;
    HoldCenter(camera);
    camera.CalcCamera();
    const Point target = {700.0f, 80.0f, 300.0f};
    EXPECT_EQ(Eye(camera), target);
    platform::srand(3);
    camera.CalcCamera();
    EXPECT_EQ(camera.eyeStep, 0);
    EXPECT_EQ(Eye(camera), target);
}

// Seed 1 draws 41 (case 2: y), 18467 (the new y) and 6334 (the length).
TEST_F(CameraTrack, EyeLegFromSeedOneMovesAlongY) {
    HoldCenter(camera);
    platform::srand(1);
    camera.CalcCamera();
    EXPECT_EQ(camera.choice, 2);
    EXPECT_FLOAT_EQ(camera.eyeTarget[0], 0.0f);
    EXPECT_FLOAT_EQ(camera.eyeTarget[1], -2358.4617f);
    EXPECT_FLOAT_EQ(camera.eyeTarget[2], 300.0f);
    EXPECT_EQ(camera.eyeLegLength, 454);
}

TEST_F(CameraTrack, StepWithinBothLegsDrawsNothing) {
    HoldEye(camera);
    HoldCenter(camera);
    EXPECT_EQ(DrawsMadeBy([&] { camera.CalcCamera(); }), 0);
}

TEST_F(CameraTrack, NewEyeLegDrawsThree) {
    HoldCenter(camera);
    EXPECT_EQ(DrawsMadeBy([&] { camera.CalcCamera(); }), 3);
}

TEST_F(CameraTrack, NewLookAtLegDrawsTwo) {
    HoldEye(camera);
    EXPECT_EQ(DrawsMadeBy([&] { camera.CalcCamera(); }), 2);
}

TEST_F(CameraTrack, BothLegsEndingDrawFiveWithTheEyesFirst) {
    Camera eyeOnly;
    HoldCenter(eyeOnly);
    platform::srand(11);
    eyeOnly.CalcCamera();
    EXPECT_EQ(DrawsMadeBy([&] { camera.CalcCamera(); }, 11), 5);
    EXPECT_EQ(EyeTarget(camera), EyeTarget(eyeOnly));
    EXPECT_EQ(camera.eyeLegLength, eyeOnly.eyeLegLength);
}

TEST_F(CameraTrack, LookAtZFollowsTheEyesY) {
    LookAtLegFrom(0);
    EXPECT_EQ(camera.centerAxis, 1);
    EXPECT_EQ(CenterTarget(camera), (Point{0.0f, 0.0f, 2.0f}));
}

TEST_F(CameraTrack, LookAtYFollowsTheEyesZ) {
    LookAtLegFrom(1);
    EXPECT_EQ(camera.centerAxis, 2);
    EXPECT_EQ(CenterTarget(camera), (Point{0.0f, 3.0f, 0.0f}));
}

TEST_F(CameraTrack, LookAtXFollowsTheEyesX) {
    LookAtLegFrom(2);
    EXPECT_EQ(camera.centerAxis, 0);
    EXPECT_EQ(CenterTarget(camera), (Point{1.0f, 0.0f, 0.0f}));
}

// A point of a leg is one double sum rounded once to a float. Here the exact
// sum lies halfway between two floats and rounds to the even one; a product
// and sum fused into one rounding (as compilers do on CPUs with the
// instruction) lands on the float below, and the whole run differs after.
TEST(LegPoint, HalfwayPointRoundsAsWritten) {
    EXPECT_EQ(AlongLeg(-14793.845703125f, 70776.59375f, 486, 243), 27991.375f);
}

} // namespace
