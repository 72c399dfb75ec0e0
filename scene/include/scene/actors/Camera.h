// Camera.h - the travelling camera: an eye and a look-at point, each moving in
// straight, axis-parallel legs, one step a frame.
#pragma once

class Camera {
  public:
    Camera();
    void CalcCamera(); // one step of both tracks; leaves the result in eye and center

    float eyeTarget[3];
    float eyeStart[3];
    float eye[3];
    float centerTarget[3];
    float centerStart[3];
    float center[3];
    int eyeStep;
    int eyeLegLength;
    int centerStep;
    int centerLegLength;
    int choice;     // case chosen at the latest leg change of either track
    int centerAxis; // coordinate the latest look-at leg changed: 0 x, 1 z, 2 y
};
