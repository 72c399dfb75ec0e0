// Cloud.cpp - the clouds.
#include "scene/actors/Cloud.h"

#include "platform/runtime.h"
#include "scene/shapes.h"
#include "scene/world_tables.h"

namespace {

constexpr double kHalfWorld = kWorldModulus / 2.0;
constexpr float kWrapAt = 7 * worldsize;

float CloudScale() {
    return static_cast<float>((platform::rand() % 31000) / 60.0 + 250);
}

} // namespace

Cloud::Cloud() {
    posX = static_cast<float>((platform::rand() % kWorldModulus - kHalfWorld) * 4);
    posY = static_cast<float>((platform::rand() % kWorldModulus - kHalfWorld) * 4);
    posZ = static_cast<float>(platform::rand() % kWorldModulus + 8000);
    scaleX = CloudScale();
    scaleY = CloudScale();
    speed = static_cast<float>((platform::rand() % 4000) / 120.0 + 40);
}

void Cloud::CalcCloud() {
    posX += speed;
    if (posX > kWrapAt) {
        posX = -kWrapAt; // the overshoot is dropped
    }
}

void Cloud::DrawCloud() {
    DrawFlatSprite(posX, posY, posZ, scaleX, scaleY);
}
