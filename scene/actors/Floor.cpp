// Floor.cpp - the floor tiles.
#include "scene/actors/Floor.h"

#include "platform/runtime.h"
#include "scene/shapes.h"
#include "scene/world_tables.h"

namespace {

constexpr double kHalfWorld = kWorldModulus / 2.0;
constexpr float kSmallestScale = 9.0f; // a smaller draw is replaced by kReplacedScale
constexpr float kReplacedScale = 29.0f;

float TileScale() {
    return static_cast<float>((platform::rand() % 10000 - 1000) / 6.0);
}

} // namespace

Floor::Floor() {
    posX = static_cast<float>((platform::rand() % kWorldModulus - kHalfWorld) * 14 + 900000);
    posY = static_cast<float>((platform::rand() % kWorldModulus - kHalfWorld) * 14 + 900000);
    posZ = static_cast<float>((platform::rand() % 46000 - 23000) * 4 - 52500);
    scaleX = TileScale();
    scaleY = TileScale();
    if (scaleX < kSmallestScale) {
        scaleX = kReplacedScale;
    }
    if (scaleY < kSmallestScale) {
        scaleY = kReplacedScale;
    }
    colorR = platform::rand() % 255;
    colorG = colorR;
    colorB = colorR;
}

void Floor::DrawFloor() {
    DrawFlatSprite(posX, posY, posZ, scaleX, scaleY);
}
