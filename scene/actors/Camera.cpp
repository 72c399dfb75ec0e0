// Camera.cpp - the camera's legs.
//
// The eye picks one coordinate at random for each new leg and draws its new
// value; the look-at point changes z, y, x in turn and lands at a random
// offset from one coordinate of the eye. Both step counters start above their
// leg lengths, so the first call starts a leg on both tracks.
#include "scene/actors/Camera.h"

#include "platform/runtime.h"
#include "scene/actors/leg.h"

namespace {

constexpr float kEyeSpread = 0.65f; // divides the eye's x and y draws
constexpr int kAxes = 3;

} // namespace

Camera::Camera()
    : eyeTarget{0.0f, 80.0f, 300.0f}, eyeStart{0.0f, 50.0f, 100.0f}, eye{10.01f, 10.01f, 200.01f},
      centerTarget{0.0f, 0.0f, 0.0f}, centerStart{0.0f, 0.0f, 0.0f}, center{0.0f, 0.0f, 0.0f},
      eyeStep(20), eyeLegLength(2), centerStep(20), centerLegLength(2), choice(0), centerAxis(0) {}

void Camera::CalcCamera() {
    ++eyeStep;
    if (eyeStep > eyeLegLength) {
        for (int c = 0; c < kAxes; ++c) {
            eyeStart[c] = eyeTarget[c];
        }
        choice = platform::rand() % 3;
        const int s = platform::rand();
        switch (choice) {
        case 0:
            eyeTarget[0] = static_cast<float>(((s % 40000) - 20000) / double{kEyeSpread});
            break;
        case 1:
            eyeTarget[2] = static_cast<float>((s % 20000) - 20000);
            break;
        default:
            eyeTarget[1] = static_cast<float>(((s % 40000) - 20000) / double{kEyeSpread});
            break;
        }
        eyeStep = 0;
        eyeLegLength = platform::rand() % 230 + 330;
    }
    for (int c = 0; c < kAxes; ++c) {
        eye[c] = AlongLeg(eyeStart[c], eyeTarget[c], eyeLegLength, eyeStep);
    }

    ++centerStep;
    if (centerStep > centerLegLength) {
        for (int c = 0; c < kAxes; ++c) {
            centerStart[c] = centerTarget[c];
        }
        ++centerAxis;
        if (centerAxis > 2) {
            centerAxis = 0;
        }
        choice = centerAxis;
        const int offset = ((platform::rand() % 22000) - 12000) * 10;
        switch (centerAxis) {
        case 0:
            centerTarget[0] = static_cast<float>(double{eye[0]} + offset);
            break;
        case 1: // the look-at z follows the eye's y
            centerTarget[2] = static_cast<float>(double{eye[1]} + offset);
            break;
        default: // and the look-at y the eye's z
            centerTarget[1] = static_cast<float>(double{eye[2]} + offset);
            break;
        }
        centerStep = 0;
        centerLegLength = platform::rand() % 130 + 364;
    }
    for (int c = 0; c < kAxes; ++c) {
        center[c] = AlongLeg(centerStart[c], centerTarget[c], centerLegLength, centerStep);
    }
}
