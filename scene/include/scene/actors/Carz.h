// Carz.h - one static lit block: the template cube scaled, then stretched into
// a beam along x or y or a column rising from its base, standing in a random
// cell of the block grid.
#pragma once

#include <GL/gl.h>

class Carz {
  public:
    Carz();            // draws the block's parameters and takes its corner array
    void SetupCarz();  // world-space corners from the template; the same every time
    void CalcCarz() {} // blocks never move; kept for the actors' common shape, never called
    void DrawCarz();

    float posX = 0.0f; // centre before stretching
    float posY = 0.0f;
    float posZ = 0.0f;
    float size = 0.0f;    // uniform scale of the template cube
    float size2 = 0.0f;   // drawn like size; nothing reads it
    float stretch = 0.0f; // along the shape's axis, 1..370
    int colorR = 0;       // handed to glColor3f unscaled; lighting ignores it
    int colorG = 0;
    int colorB = 0;
    int shape = 0; // 0 beam along x, 1 beam along y, 2 column
    int blend = 0; // non-zero: drawn blended
    // Eight corners in world coordinates, in the template's corner order. Taken
    // from the heap by the constructor and never given back: blocks live as
    // long as the process.
    GLfloat* corners = nullptr;
};
