// lighting.h - GL 1.1's lighting of one vertex, on the CPU.
//
// The colour of a vertex is the scene colour (the material's emission plus
// the scene's ambient light times the material's ambient) and, for each
// enabled light, its ambient, diffuse and specular terms, each the light's
// colour times the material's, weighted by the spotlight's cone and exponent
// and by the distance attenuation; the viewer is at infinity, lighting is
// one-sided, and the sum is clamped. Normals are used as transformed, not
// normalised, as GL does without GL_NORMALIZE. A specular exponent of 0 makes
// the specular term whole wherever the light falls on the front (GL defines
// x^0 as 1).
//
// The layer lights vertices here as it adds them to a batch, so that the
// device only interpolates colours: the scene's eight spotlights cost the
// browser's CPU renderer several times more in a vertex stage.
#pragma once

namespace gl11 {

inline constexpr int kLights = 8;

struct Light {
    float ambient[4] = {0, 0, 0, 1};
    float diffuse[4] = {0, 0, 0, 1};
    float specular[4] = {0, 0, 0, 1};
    float position[4] = {0, 0, 1, 0};    // eye coordinates
    float spotDirection[3] = {0, 0, -1}; // eye coordinates
    float spotExponent = 0;
    float spotCutoff = 180;
    float attenuation[3] = {1, 0, 0};
    bool enabled = false;
};

struct Material {
    float ambient[4] = {0.2f, 0.2f, 0.2f, 1};
    float diffuse[4] = {0.8f, 0.8f, 0.8f, 1};
    float specular[4] = {0, 0, 0, 1};
    float emission[4] = {0, 0, 0, 1};
    float shininess = 0;
};

// The enabled lights and the material, made ready for lighting vertices.
struct Lighting {
    struct Source {
        float position[4];      // eye coordinates
        float spotDirection[3]; // normalised
        float spotCosine;       // of the cut-off
        bool spot;              // a cut-off other than 180
        float spotExponent;
        bool attenuated; // attenuation other than 1, 0, 0
        float attenuation[3];
        float ambient[3]; // light times material
        float diffuse[3];
        float specular[3];
    };
    Source sources[kLights];
    int count = 0;
    float sceneColour[4]; // alpha: the material's diffuse alpha
    float shininess = 0;
};

Lighting PrepareLighting(const Light (&lights)[kLights], const Material& material,
                         const float sceneAmbient[4]);

// The colour of a vertex at `eye` with normal `normal`, both eye coordinates.
void LightVertex(const Lighting& lighting, const float eye[4], const float normal[3],
                 float colour[4]);

} // namespace gl11
