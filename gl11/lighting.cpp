// lighting.cpp - the lighting equation of GL 1.1, section 2.13.1.
#include "lighting.h"

#include <cmath>

namespace gl11 {
namespace {

float Clamp(float v) {
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}

} // namespace

Lighting PrepareLighting(const Light (&lights)[kLights], const Material& m,
                         const float sceneAmbient[4]) {
    Lighting lighting;
    for (int i = 0; i < kLights; ++i) {
        const Light& light = lights[i];
        if (!light.enabled) {
            continue;
        }
        Lighting::Source& s = lighting.sources[lighting.count++];
        for (int k = 0; k < 4; ++k) {
            s.position[k] = light.position[k];
        }
        const float* d = light.spotDirection;
        const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        for (int k = 0; k < 3; ++k) {
            s.spotDirection[k] = length > 0.0f ? d[k] / length : 0.0f;
            s.ambient[k] = light.ambient[k] * m.ambient[k];
            s.diffuse[k] = light.diffuse[k] * m.diffuse[k];
            s.specular[k] = light.specular[k] * m.specular[k];
            s.attenuation[k] = light.attenuation[k];
        }
        constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;
        s.spot = light.spotCutoff != 180.0f;
        s.spotCosine = static_cast<float>(std::cos(light.spotCutoff * kRadiansPerDegree));
        s.spotExponent = light.spotExponent;
        s.attenuated = light.attenuation[0] != 1.0f || light.attenuation[1] != 0.0f ||
                       light.attenuation[2] != 0.0f;
    }
    for (int k = 0; k < 3; ++k) {
        lighting.sceneColour[k] = m.emission[k] + sceneAmbient[k] * m.ambient[k];
    }
    lighting.sceneColour[3] = m.diffuse[3];
    lighting.shininess = m.shininess;
    return lighting;
}

void LightVertex(const Lighting& lighting, const float eye[4], const float normal[3],
                 float colour[4]) {
    float sum[3] = {lighting.sceneColour[0], lighting.sceneColour[1], lighting.sceneColour[2]};
    for (int i = 0; i < lighting.count; ++i) {
        const Lighting::Source& s = lighting.sources[i];
        float toLight[3];
        float weight = 1.0f;
        if (s.position[3] != 0.0f) {
            for (int k = 0; k < 3; ++k) {
                toLight[k] = s.position[k] - eye[k];
            }
            const float distance = std::sqrt(toLight[0] * toLight[0] + toLight[1] * toLight[1] +
                                             toLight[2] * toLight[2]);
            for (int k = 0; k < 3; ++k) {
                toLight[k] /= distance;
            }
            if (s.attenuated) {
                weight = 1.0f / (s.attenuation[0] + s.attenuation[1] * distance +
                                 s.attenuation[2] * distance * distance);
            }
        } else {
            const float length =
                std::sqrt(s.position[0] * s.position[0] + s.position[1] * s.position[1] +
                          s.position[2] * s.position[2]);
            for (int k = 0; k < 3; ++k) {
                toLight[k] = s.position[k] / length;
            }
        }
        if (s.spot) {
            const float spot = -(toLight[0] * s.spotDirection[0] + toLight[1] * s.spotDirection[1] +
                                 toLight[2] * s.spotDirection[2]);
            if (!(spot >= s.spotCosine)) {
                continue; // outside the cone the light adds nothing, not even ambient
            }
            if (s.spotExponent != 0.0f) {
                weight *= std::pow(spot, s.spotExponent);
            }
        }
        float term[3] = {s.ambient[0], s.ambient[1], s.ambient[2]};
        const float facing =
            normal[0] * toLight[0] + normal[1] * toLight[1] + normal[2] * toLight[2];
        if (facing > 0.0f) {
            float shine = 1.0f;
            if (lighting.shininess != 0.0f) {
                float half[3] = {toLight[0], toLight[1], toLight[2] + 1.0f};
                const float length =
                    std::sqrt(half[0] * half[0] + half[1] * half[1] + half[2] * half[2]);
                const float along =
                    (normal[0] * half[0] + normal[1] * half[1] + normal[2] * half[2]) / length;
                shine = along > 0.0f ? std::pow(along, lighting.shininess) : 0.0f;
            }
            for (int k = 0; k < 3; ++k) {
                term[k] += facing * s.diffuse[k] + shine * s.specular[k];
            }
        }
        for (int k = 0; k < 3; ++k) {
            sum[k] += weight * term[k];
        }
    }
    for (int k = 0; k < 3; ++k) {
        colour[k] = Clamp(sum[k]);
    }
    colour[3] = Clamp(lighting.sceneColour[3]);
}

} // namespace gl11
