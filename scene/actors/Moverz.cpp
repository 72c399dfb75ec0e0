// Moverz.cpp - mover motion, and the glowing movers of the additive pass.
#include "scene/actors/Moverz.h"

#include "platform/runtime.h"
#include "scene/shapes.h"
#include "scene/world_tables.h"

#include <GL/gl.h>

namespace {

// The three ways on from each direction, in increasing order of their codes.
constexpr int kTurns[4][3] = {{0, 2, 3}, {1, 2, 3}, {0, 1, 2}, {0, 1, 3}};

} // namespace

void MoveMover(MoverRecord& m) {
    const float w = worldsize;
    switch (m.direction) {
    case 0:
        m.posX += m.speed;
        if (m.posX > w) {
            m.posX = -w;
            m.travelled = 0.0f;
        }
        break;
    case 1:
        m.posX -= m.speed;
        if (m.posX < -w) {
            m.posX = w;
            m.travelled = 0.0f;
        }
        break;
    case 2:
        m.posY += m.speed;
        if (m.posY > w) {
            m.posY = -w;
            m.travelled = 0.0f;
        }
        break;
    case 3:
        m.posY -= m.speed;
        if (m.posY < -w) {
            m.posY = w;
            m.travelled = 0.0f;
        }
        break;
    default:
        return;
    }
    m.travelled += m.speed;
    if (!(m.travelled > blocksize)) {
        return;
    }
    // Back to exactly one blocksize from where the count began.
    const float excess = m.travelled - blocksize;
    switch (m.direction) {
    case 0:
        m.posX -= excess;
        break;
    case 1:
        m.posX += excess;
        break;
    case 2:
        m.posY -= excess;
        break;
    default:
        m.posY += excess;
        break;
    }
    m.turnDraw = platform::rand() % 3;
    m.travelled = 0.0f;
    m.direction = kTurns[m.direction][m.turnDraw];
    // To the right of the line, seen from above and facing the way of travel.
    switch (m.direction) {
    case 0:
        m.offsetX = 0.0f;
        m.offsetY = -m.laneOffset;
        break;
    case 1:
        m.offsetX = 0.0f;
        m.offsetY = m.laneOffset;
        break;
    case 2:
        m.offsetX = m.laneOffset;
        m.offsetY = 0.0f;
        break;
    default:
        m.offsetX = -m.laneOffset;
        m.offsetY = 0.0f;
        break;
    }
}

void DrawCourse(MoverRecord& m, double slowest) {
    m.colorR = platform::rand() % 255;
    m.colorG = platform::rand() % 255;
    m.colorB = platform::rand() % 255;
    m.turnDraw = 0;
    m.travelled = 0.0f;
    m.direction = platform::rand() % 3; // never -y at the start
    m.speed = static_cast<float>((platform::rand() % 400) / 140.0 + slowest);
    m.laneOffset = static_cast<float>(double{m.speed} * 5);
    m.offsetX = 0.0f;
    m.offsetY = 0.0f;
}

void TossCoin(MoverRecord& m) {
    m.coinToss = 1;
    if (platform::rand() % 2 == 0) {
        m.coinToss = 0;
    }
}

float DrawStart(int shift) {
    return static_cast<float>((platform::rand() % kWorldModulus) - kWorldModulus / 2 + shift);
}

void PlaceMover(const MoverRecord& m) {
    glTranslatef(m.posX + m.offsetX, m.posY + m.offsetY, m.posZ);
    glScalef(m.scaleX, m.scaleY, m.scaleZ);
}

namespace {

float MoverzScale() {
    return static_cast<float>((platform::rand() % 24000) / 19.0 + 3);
}

} // namespace

Moverz::Moverz() {
    record.posX = DrawStart(120000);
    record.posY = DrawStart(120000);
    record.posZ = static_cast<float>((platform::rand() % 10255) / 40.0 * 420 + 24000);
    record.scaleX = MoverzScale();
    record.scaleY = MoverzScale();
    record.scaleZ = MoverzScale();
    DrawCourse(record, 5.0);
    TossCoin(record);
}

void Moverz::DrawMoverz() {
    glPushMatrix();
    PlaceMover(record);
    DrawBox(&cc_points[0][0]);
    glPopMatrix();
}
