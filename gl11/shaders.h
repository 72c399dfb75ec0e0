// shaders.h - the vertex and fragment stages that draw every batch.
//
// The vertices come lit (lighting.h), in eye coordinates: the vertex stage
// projects them and hands their colours on to be interpolated (smooth
// shading). The fragment stage modulates by the texture (GL_MODULATE) and
// blends: it writes for a blending function of (GL_ONE,
// GL_ONE_MINUS_SRC_ALPHA), so that one draw holds both the scene's additive
// (source alpha + destination) and its replacing vertices.
#pragma once

namespace gl11 {

extern const char* const kVertexShader;
extern const char* const kFragmentShader;

// Vertex attribute locations, in the order of gl11::Vertex.
inline constexpr unsigned kEyePosition = 0;
inline constexpr unsigned kColour = 1;
inline constexpr unsigned kTexcoord = 2;
inline constexpr unsigned kAdditive = 3;

} // namespace gl11
