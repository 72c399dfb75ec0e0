// Cloud.h - one of the two large glowing rectangles drifting along +x.
#pragma once

class Cloud {
  public:
    Cloud();
    void CalcCloud(); // one frame's drift; wraps at seven world sizes
    void DrawCloud(); // drawn as a floor tile is

    float posX = 0.0f; // the only field that changes
    float posY = 0.0f;
    float posZ = 0.0f; // the cloud itself lies 500 higher
    float scaleX = 0.0f;
    float scaleY = 0.0f;
    float speed = 0.0f;
};
