// Lampje.cpp - the lamps' legs and colour cycle.
#include "scene/actors/Lampje.h"

#include "platform/runtime.h"
#include "scene/actors/leg.h"
#include "scene/world_tables.h"

#include <GL/gl.h>

namespace {

constexpr int kAxes = 3;

// Timer values of the colour cycle.
constexpr int kCycleStartMin = 6010; // a new cycle starts at 6010..6129
constexpr int kCycleStartSpread = 120;
constexpr int kGreyFrom = 6019; // 6001..6019: grey, random narrow cone
constexpr int kSteadyAt = 6000; // the steady colour and cone are drawn
constexpr int kFadeFrom = 399;  // 399..0: fading

constexpr double kCutoffStep = 0.2;
constexpr float kWidestOpening = 76.0f;
constexpr float kNarrowest = 1.0f;
constexpr float kGrey = 0.14f;
constexpr double kDim = 0.2;
constexpr double kFade = 1.001;

float Colour(int modulus) {
    return static_cast<float>((platform::rand() % modulus) / 100.0);
}

int LatticeDraw() {
    return platform::rand() % 600 - 300;
}

void FillScratch(float a, float b, float c) {
    lposition[0] = a;
    lposition[1] = b;
    lposition[2] = c;
    lposition[3] = 1.0f;
}

} // namespace

Lampje::Lampje() {
    legLength = 12;
    posStart[0] = static_cast<float>(platform::rand() % 100 - 50);
    posStart[1] = static_cast<float>(platform::rand() % 100 - 50);
    posStart[2] = static_cast<float>(platform::rand() % 100);
    pos[1] = static_cast<float>(platform::rand() % 100 - 50);
    posTarget[0] = static_cast<float>(platform::rand() % 100 - 50);
    posTarget[1] = static_cast<float>(platform::rand() % 100 - 50);
    posTarget[2] = static_cast<float>(platform::rand() % 100);
    step = platform::rand() % 10;
    colorR = Colour(80);
    colorG = Colour(80);
    colorB = Colour(80);
    timer = platform::rand() % kCycleStartSpread + kCycleStartMin;
    phase = 0;
    cutoff = 1.0f;
}

void Lampje::MoveLampje() {
    ++step;
    if (step > legLength) {
        for (int c = 0; c < kAxes; ++c) {
            posStart[c] = posTarget[c];
            dirStart[c] = dirTarget[c];
        }
        // Drawn x, z, y: targets lie on a lattice 150 apart in x, 100 in y and z.
        posTarget[0] = static_cast<float>(LatticeDraw() * 150);
        posTarget[2] = static_cast<float>(LatticeDraw() * 100);
        posTarget[1] = static_cast<float>(LatticeDraw() * 100);
        dirTarget[0] = static_cast<float>(LatticeDraw() * 150);
        dirTarget[2] = static_cast<float>(LatticeDraw() * 100);
        dirTarget[1] = static_cast<float>(LatticeDraw() * 100);
        step = 0;
        legLength = platform::rand() % 500 + 1000;
    }
    for (int c = 0; c < kAxes; ++c) {
        pos[c] = AlongLeg(posStart[c], posTarget[c], legLength, step);
        dir[c] = AlongLeg(dirStart[c], dirTarget[c], legLength, step);
    }
}

void Lampje::CycleColour() {
    --timer;
    if (timer <= kFadeFrom) {
        phase = 2;
    }
    if (timer < 0) {
        timer = platform::rand() % kCycleStartSpread + kCycleStartMin;
    }
    if (timer > kSteadyAt) {
        colorR = Colour(30);
        colorG = Colour(30);
        colorB = Colour(30);
        phase = 0;
    }
    if (phase == 0) {
        cutoff = static_cast<float>(cutoff + kCutoffStep);
        if (cutoff >= kWidestOpening) {
            cutoff = kWidestOpening;
        }
    }
    if (timer > kSteadyAt && timer <= kGreyFrom) {
        colorR = kGrey;
        colorG = kGrey;
        colorB = kGrey;
        cutoff = static_cast<float>(platform::rand() % 20 + 1);
    }
    if (timer == kSteadyAt) {
        phase = 1;
        colorR = Colour(35);
        colorG = Colour(35);
        colorB = Colour(35);
        if (colorR < kDim && colorG < kDim && colorB < kDim) {
            colorR = Colour(20);
            colorG = Colour(20);
            colorB = Colour(20);
        }
        cutoff = static_cast<float>(platform::rand() % 65 + 5);
    }
    if (phase == 2) {
        colorR = static_cast<float>(colorR / kFade);
        colorG = static_cast<float>(colorG / kFade);
        colorB = static_cast<float>(colorB / kFade);
        cutoff = static_cast<float>(cutoff - kCutoffStep);
        if (cutoff <= kNarrowest) {
            cutoff = kNarrowest;
        }
    }
}

void Lampje::AdvanceLampje() {
    MoveLampje();
    CycleColour();
}

void Lampje::CalcLampje(int light) {
    const bool isLight = light >= 0 && light < kLampjes;
    const GLenum id = static_cast<GLenum>(GL_LIGHT0 + light);

    MoveLampje();
    FillScratch(pos[0], pos[1], pos[2]);
    if (isLight) {
        glLightfv(id, GL_POSITION, lposition);
    }
    CycleColour();
    FillScratch(dir[0], dir[1], dir[2]);
    if (isLight) {
        glLightfv(id, GL_SPOT_DIRECTION, lposition);
        glLightf(id, GL_SPOT_CUTOFF, cutoff);
    }
    FillScratch(colorR, colorG, colorB);
    if (isLight) {
        glLightfv(id, GL_SPECULAR, lposition);
    }
}
