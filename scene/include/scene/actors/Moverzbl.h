// Moverzbl.h - the mover variants. They move exactly as the glowing movers do
// and differ in where they start, their size and speed, their draws, and how
// they are drawn:
//   Moverzbl   large red lit boxes with a square footprint, centred on z = 0, the fastest;
//   Moverzbl2  small blue lit boxes at height 2000;
//   Moverzbl3  one glowing horizontal square in the additive pass.
// The two box variants turn blending on and leave it on: they add their lit
// colour to the frame while still writing depth.
#pragma once

#include "scene/actors/Moverz.h"

class Moverzbl {
  public:
    Moverzbl();
    void CalcMoverzbl() { MoveMover(record); }
    void DrawMoverzbl();

    MoverRecord record;
};

class Moverzbl2 {
  public:
    Moverzbl2();
    void CalcMoverzbl2() { MoveMover(record); }
    void DrawMoverzbl2();

    MoverRecord record;
};

class Moverzbl3 {
  public:
    Moverzbl3();
    void CalcMoverzbl3() { MoveMover(record); }
    void DrawMoverzbl3();

    MoverRecord record;
};
