// fields.h - every field of an actor as one list of numbers, so that two
// actors compare field by field, exactly.
#pragma once

#include "scene/actors/Camera.h"
#include "scene/actors/Carz.h"
#include "scene/actors/Cloud.h"
#include "scene/actors/Floor.h"
#include "scene/actors/Lampje.h"
#include "scene/actors/Moverz.h"

#include <vector>

template <class... Values>
std::vector<double> Numbers(Values... values) {
    return {static_cast<double>(values)...};
}

inline std::vector<double> Fields(const Lampje& l) {
    return Numbers(l.posTarget[0], l.posTarget[1], l.posTarget[2], l.posStart[0], l.posStart[1],
                   l.posStart[2], l.pos[0], l.pos[1], l.pos[2], l.dirTarget[0], l.dirTarget[1],
                   l.dirTarget[2], l.dirStart[0], l.dirStart[1], l.dirStart[2], l.dir[0], l.dir[1],
                   l.dir[2], l.colorR, l.colorG, l.colorB, l.step, l.legLength, l.timer, l.phase,
                   l.cutoff);
}

inline std::vector<double> Fields(const Camera& c) {
    return Numbers(c.eyeTarget[0], c.eyeTarget[1], c.eyeTarget[2], c.eyeStart[0], c.eyeStart[1],
                   c.eyeStart[2], c.eye[0], c.eye[1], c.eye[2], c.centerTarget[0],
                   c.centerTarget[1], c.centerTarget[2], c.centerStart[0], c.centerStart[1],
                   c.centerStart[2], c.center[0], c.center[1], c.center[2], c.eyeStep,
                   c.eyeLegLength, c.centerStep, c.centerLegLength, c.choice, c.centerAxis);
}

inline std::vector<double> Fields(const Floor& f) {
    return Numbers(f.posX, f.posY, f.posZ, f.scaleX, f.scaleY, f.colorR, f.colorG, f.colorB);
}

inline std::vector<double> Fields(const Cloud& c) {
    return Numbers(c.posX, c.posY, c.posZ, c.scaleX, c.scaleY, c.speed);
}

// All but the corner array, whose contents exist only after SetupCarz.
inline std::vector<double> Fields(const Carz& b) {
    return Numbers(b.posX, b.posY, b.posZ, b.size, b.size2, b.stretch, b.colorR, b.colorG, b.colorB,
                   b.shape, b.blend);
}

inline std::vector<double> Fields(const MoverRecord& m) {
    return Numbers(m.posX, m.posY, m.posZ, m.scaleX, m.scaleY, m.scaleZ, m.colorR, m.colorG,
                   m.colorB, m.direction, m.speed, m.travelled, m.turnDraw, m.laneOffset, m.offsetX,
                   m.offsetY, m.coinToss);
}
