// Floor.h - one glowing horizontal floor tile, placed and sized once.
#pragma once

class Floor {
  public:
    Floor();
    void CalcFloor() {} // tiles never move; kept for the actors' common shape, never called
    void DrawFloor();   // the sprite quad stretched to the tile, in the caller's GL state

    float posX = 0.0f;
    float posY = 0.0f;
    float posZ = 0.0f; // the tile itself lies 500 higher, on the quad's top face
    float scaleX = 0.0f;
    float scaleY = 0.0f;
    int colorR = 0; // one grey, stored three times; nothing reads it
    int colorG = 0;
    int colorB = 0;
};
