// Moverz.h - the movers: boxes that wander the block grid, and the record and
// motion that all four mover classes share.
//
// A mover runs along a line parallel to x or y at its own speed and, after
// every blocksize of travel, goes straight on, left or right at random, never
// back, keeping from then on a fixed distance to the right of its line. A
// mover leaving the world on one side comes back on the other.
#pragma once

// The record every mover class holds, field for field.
struct MoverRecord {
    float posX = 0.0f; // point on the lane line
    float posY = 0.0f;
    float posZ = 0.0f; // height of the box centre, fixed
    float scaleX = 0.0f;
    float scaleY = 0.0f;
    float scaleZ = 0.0f;
    int colorR = 0; // drawn at construction; nothing reads them
    int colorG = 0;
    int colorB = 0;
    int direction = 0;       // 0 +x, 1 -x, 2 +y, 3 -y
    float speed = 0.0f;      // units a frame
    float travelled = 0.0f;  // since the last turn decision or wrap
    int turnDraw = 0;        // the last turn draw, 0..2
    float laneOffset = 0.0f; // speed * 5: the distance kept to the right of the line
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    int coinToss = 0; // drawn at construction; nothing reads it
};

// One frame of motion: the step, the wrap, and at every blocksize of travel
// the turn decision (the only draw).
void MoveMover(MoverRecord& mover);

// The draws that close every mover's construction: colour, direction and
// speed (the speed from `slowest` up), with the lane offsets that follow.
void DrawCourse(MoverRecord& mover, double slowest);

// The draw that closes the construction of most mover classes: 1, or 0 when even.
void TossCoin(MoverRecord& mover);

// A start coordinate drawn across the world's width, moved by `shift`.
float DrawStart(int shift);

// Moves the model-view matrix onto the mover's box: its lane point plus its
// side offset, then its scale.
void PlaceMover(const MoverRecord& mover);

class Moverz {
  public:
    Moverz();
    void CalcMoverz() { MoveMover(record); }
    void DrawMoverz();

    MoverRecord record;
};
