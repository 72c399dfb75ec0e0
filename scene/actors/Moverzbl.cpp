// Moverzbl.cpp - construction and drawing of the mover variants.
#include "scene/actors/Moverzbl.h"

#include "platform/runtime.h"
#include "scene/shapes.h"
#include "scene/world_tables.h"

#include <GL/gl.h>

namespace {

// A blended lit box; the box variants share it.
void DrawBlendedBox(const MoverRecord& record) {
    glPushMatrix();
    glEnable(GL_BLEND);
    PlaceMover(record);
    DrawBox(&cc_points[0][0]);
    glPopMatrix();
}

// A draw whose value the construction throws away; the later fields still
// depend on it having been made.
void SkipDraw() {
    platform::rand();
}

} // namespace

Moverzbl::Moverzbl() {
    record.posX = DrawStart(0);
    record.posY = DrawStart(0);
    record.posZ = 0.0f;
    record.scaleX = static_cast<float>((platform::rand() % 9400) / 10.0 + 33);
    record.scaleY = record.scaleX;
    record.scaleZ = static_cast<float>((platform::rand() % 4000) / 9.0 + 3);
    DrawCourse(record, 8.0);
    record.coinToss = 0;
}

void Moverzbl::DrawMoverzbl() {
    DrawBlendedBox(record);
}

Moverzbl2::Moverzbl2() {
    record.posX = DrawStart(20000);
    record.posY = DrawStart(20000);
    record.posZ = 2000.0f;
    record.scaleX = static_cast<float>((platform::rand() % 2400) / 25.0 + 3);
    record.scaleY = static_cast<float>((platform::rand() % 2400) / 25.0 + 3);
    record.scaleZ = record.scaleX;
    SkipDraw();
    DrawCourse(record, 5.0);
    TossCoin(record);
}

void Moverzbl2::DrawMoverzbl2() {
    DrawBlendedBox(record);
}

Moverzbl3::Moverzbl3() {
    record.posX = DrawStart(40000);
    record.posY = DrawStart(40000);
    record.posZ = static_cast<float>((platform::rand() % 9) * 4000 + 1000);
    record.scaleX = static_cast<float>((platform::rand() % 4500) / 1052.0 + 1);
    record.scaleY = static_cast<float>((platform::rand() % 4500) / 1052.0 + 1);
    record.scaleZ = record.scaleX;
    SkipDraw();
    DrawCourse(record, 5.0);
    TossCoin(record);
}

void Moverzbl3::DrawMoverzbl3() {
    glPushMatrix();
    glEnable(GL_BLEND);
    PlaceMover(record);
    DrawSpriteQuad();
    glPopMatrix();
}
