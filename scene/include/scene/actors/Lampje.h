// Lampje.h - one of the eight wandering coloured spotlights.
//
// Each frame the lamp glides along a straight leg between two random points
// while its spot direction glides between two random vectors, and its colour
// and cone run through a cycle: a flickering opening, a long steady phase and
// a slow fade. It is never drawn; it shows only in the specular light it adds.
#pragma once

// One lamp for each GL light; lamp i drives GL_LIGHTi.
inline constexpr int kLampjes = 8;

class Lampje {
  public:
    Lampje();
    // Advances one frame and hands position, spot direction, cutoff and
    // colour to GL light `light` (0..7); any other index advances only.
    void CalcLampje(int light);
    // The same frame's advance without any GL call, for runs without a context.
    void AdvanceLampje();

    float posTarget[3]{};
    float posStart[3]{};
    float pos[3]{};
    float dirTarget[3]{};
    float dirStart[3]{};
    float dir[3]{};
    float colorR = 0.0f; // specular colour, 0 to 0.79
    float colorG = 0.0f;
    float colorB = 0.0f;
    int step = 0;
    int legLength = 0;
    int timer = 0; // counts down through the colour cycle
    int phase = 0; // 0 opening, 1 steady, 2 fading
    float cutoff = 0.0f;

  private:
    void MoveLampje();
    void CycleColour();
};
