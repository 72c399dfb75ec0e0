// leg.h - a point on a straight leg, shared by the camera and the lamps.
#pragma once

// The point `step` steps into a leg of `legLength` steps from `start` to
// `target`: difference, divided by the length, times the step, plus the start,
// worked in double precision and stored as a float.
inline float AlongLeg(float start, float target, int legLength, int step) {
    return static_cast<float>((static_cast<double>(target) - start) / legLength * step + start);
}
