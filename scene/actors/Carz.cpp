// Carz.cpp - the static blocks.
#include "scene/actors/Carz.h"

#include "platform/runtime.h"
#include "scene/shapes.h"
#include "scene/world_tables.h"

namespace {

constexpr int kCorners = 8;
constexpr float kSmallestSize = 0.12f;

float BlockSize() {
    return static_cast<float>((platform::rand() % 2000) / 60.0 + double{kSmallestSize});
}

} // namespace

Carz::Carz() {
    // The grid: 14 cells a side, the cell count kept as a float for its half.
    const auto cells = static_cast<float>(double{worldsize} / blocksize * 2);
    const int cellCount = static_cast<int>(cells);
    const auto column = static_cast<float>((platform::rand() % cellCount) - cells / 2.0);
    const auto row = static_cast<float>((platform::rand() % cellCount) - cells / 2.0);
    const auto baseX = static_cast<float>(double{column} * blocksize - blocksize / 2.0);
    const auto baseY = static_cast<float>(double{row} * blocksize - blocksize / 2.0);

    posX = static_cast<float>(((platform::rand() % 80000) - 40000) / 2400.0 + baseX);
    posY = static_cast<float>(((platform::rand() % 80000) - 40000) / 2400.0 + baseY);
    posZ = static_cast<float>((platform::rand() % 390000) - 50000);
    size = BlockSize();
    size2 = BlockSize();
    stretch = static_cast<float>(platform::rand() % 370 + 1);
    colorR = platform::rand() % 55;
    colorG = platform::rand() % 55;
    colorB = platform::rand() % 55;
    blend = 1;
    if (platform::rand() % 4 == 0) {
        blend = 0;
    }
    shape = platform::rand() % 3;
    corners = new GLfloat[kCorners * 3];
}

void Carz::SetupCarz() {
    for (int k = 0; k < kCorners; ++k) {
        for (int c = 0; c < 3; ++c) {
            corners[3 * k + c] = cc_points[k][c] * size;
        }
    }
    for (int k = 0; k < kCorners; ++k) {
        switch (shape) {
        case 0:
            corners[3 * k] *= stretch;
            break;
        case 1:
            corners[3 * k + 1] *= stretch;
            break;
        default:
            if (k < 4) { // the top face rises; the bottom stays
                corners[3 * k + 2] *= stretch;
            }
            break;
        }
    }
    for (int k = 0; k < kCorners; ++k) {
        corners[3 * k] += posX;
        corners[3 * k + 1] += posY;
        corners[3 * k + 2] += posZ;
    }
}

void Carz::DrawCarz() {
    glPushMatrix();
    if (blend != 0) {
        glEnable(GL_BLEND);
    } else {
        glDisable(GL_BLEND);
    }
    glColor3f(static_cast<GLfloat>(colorR), static_cast<GLfloat>(colorG),
              static_cast<GLfloat>(colorB));
    DrawBox(corners);
    glDisable(GL_BLEND);
    glPopMatrix();
}
