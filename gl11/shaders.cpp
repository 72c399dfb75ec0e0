// shaders.cpp - the two stages' GLSL ES 3.00 source.
#include "shaders.h"

namespace gl11 {

const char* const kVertexShader = R"(#version 300 es
precision highp float;

layout(location = 0) in vec4 eyePosition;
layout(location = 1) in vec4 litColour;
layout(location = 2) in vec2 texcoord;
layout(location = 3) in float additive;

uniform mat4 projection;

out vec4 colour;
out vec2 coordinate;
flat out float blendsAdditively;

void main() {
    colour = litColour;
    coordinate = texcoord;
    blendsAdditively = additive;
    gl_Position = projection * eyePosition;
}
)";

const char* const kFragmentShader = R"(#version 300 es
precision highp float;

in vec4 colour;
in vec2 coordinate;
flat in float blendsAdditively;

uniform bool textured;
uniform sampler2D image;

out vec4 fragment;

void main() {
    vec4 c = textured ? colour * texture(image, coordinate) : colour;
    fragment = blendsAdditively > 0.5 ? vec4(c.rgb * c.a, 0.0) : vec4(c.rgb, 1.0);
}
)";

} // namespace gl11
