// The layer lights a vertex as GL 1.1 does: spotlight cones and exponents,
// the three attenuations, and every enabled light summed. The material takes
// one channel from each term (ambient red, diffuse green, specular blue) and
// the light is grey 0.5, so each channel of a colour is one term times the
// light's weight; the scene's ambient is off.
#include "gl11/lighting.h"

#include <gtest/gtest.h>

namespace {

constexpr float kNormal[3] = {0, 0, 1};
constexpr float kNoSceneAmbient[4] = {0, 0, 0, 1};

gl11::Material OneChannelATerm() {
    gl11::Material m;
    const float ambient[4] = {1, 0, 0, 1}, diffuse[4] = {0, 1, 0, 1}, specular[4] = {0, 0, 1, 1};
    for (int k = 0; k < 4; ++k) {
        m.ambient[k] = ambient[k];
        m.diffuse[k] = diffuse[k];
        m.specular[k] = specular[k];
    }
    return m;
}

struct Lit {
    const char* name;
    float light[2]; // z and w of its position, on the z axis; the spot points down -z
    float spotCutoff;
    float spotExponent;
    float attenuation[3];
    float x; // the vertex at (x, 0, 0), its normal +z
    float expected[3];
};

class LightingOneLight : public testing::TestWithParam<Lit> {};

TEST_P(LightingOneLight, GivesTheHandWorkedColour) {
    const Lit& lit = GetParam();
    gl11::Light lights[gl11::kLights];
    gl11::Light& light = lights[0];
    for (int k = 0; k < 3; ++k) {
        light.ambient[k] = light.diffuse[k] = light.specular[k] = 0.5f;
        light.attenuation[k] = lit.attenuation[k];
    }
    light.position[2] = lit.light[0];
    light.position[3] = lit.light[1];
    light.spotCutoff = lit.spotCutoff;
    light.spotExponent = lit.spotExponent;
    light.enabled = true;
    const gl11::Lighting lighting = PrepareLighting(lights, OneChannelATerm(), kNoSceneAmbient);
    const float eye[4] = {lit.x, 0, 0, 1};
    float colour[4];
    LightVertex(lighting, eye, kNormal, colour);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(colour[k], lit.expected[k], 1e-6f) << "channel " << k;
    }
}

// Weights by hand: at (1, 0, 0) the light at (0, 0, 2) is along (-1, 0, 2) /
// sqrt 5, 2 / sqrt 5 = 0.894 of the way down the spot (cos 45 = 0.707:
// inside); at (3, 0, 0) 2 / sqrt 13 = 0.555 (outside); at (2, 0, 0) cos 45,
// which the exponent 2 squares to 0.5. The light at (0, 0, 4) is 4 away:
// 1 / (k0 + 4 k1 + 16 k2).
INSTANTIATE_TEST_SUITE_P(
    Cases, LightingOneLight,
    testing::Values(
        Lit{"DirectionalInFront", {1, 0}, 180, 0, {1, 0, 0}, 0, {0.5f, 0.5f, 0.5f}},
        Lit{"DirectionalBehindGivesItsAmbientAlone", {-1, 0}, 180, 0, {1, 0, 0}, 0, {0.5f, 0, 0}},
        Lit{"InsideTheSpotCone", {2, 1}, 45, 0, {1, 0, 0}, 1, {0.5f, 0.4472136f, 0.5f}},
        Lit{"OutsideTheSpotConeNotEvenAmbient", {2, 1}, 45, 0, {1, 0, 0}, 3, {0, 0, 0}},
        Lit{"SpotExponent", {2, 1}, 90, 2, {1, 0, 0}, 2, {0.25f, 0.1767767f, 0.25f}},
        Lit{"ConstantAttenuation", {4, 1}, 180, 0, {2, 0, 0}, 0, {0.25f, 0.25f, 0.25f}},
        Lit{"LinearAttenuation", {4, 1}, 180, 0, {0, 1, 0}, 0, {0.125f, 0.125f, 0.125f}},
        Lit{"QuadraticAttenuation", {4, 1}, 180, 0, {0, 0, 1}, 0, {0.03125f, 0.03125f, 0.03125f}},
        Lit{"AllThreeTerms", {4, 1}, 180, 0, {1, 1, 1}, 0, {0.0238095f, 0.0238095f, 0.0238095f}},
        Lit{"DirectionalIsNotAttenuated", {1, 0}, 180, 0, {0, 0, 1}, 0, {0.5f, 0.5f, 0.5f}}),
    [](const testing::TestParamInfo<Lit>& info) { return std::string(info.param.name); });

// Light i's ambient is 2^-(i + 1): the sum shows, bit by bit, that every one
// of the eight was added once.
TEST(Lighting, SumsAllEightLights) {
    gl11::Light lights[gl11::kLights];
    float ambient = 1;
    for (gl11::Light& light : lights) {
        ambient /= 2;
        light.ambient[0] = ambient;
        light.enabled = true;
    }
    const gl11::Lighting lighting = PrepareLighting(lights, OneChannelATerm(), kNoSceneAmbient);
    const float eye[4] = {0, 0, 0, 1};
    float colour[4];
    LightVertex(lighting, eye, kNormal, colour);
    EXPECT_EQ(colour[0], 0.99609375f); // 255 / 256
}

} // namespace
