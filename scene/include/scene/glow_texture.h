// glow_texture.h - the scene's one texture: a soft white spot of 128 by 128
// RGBA texels, computed at start-up.
//
// A grey disc fading towards its rim and a smaller opaque white core are
// plotted in polar steps around texel (78, 78), then sixty passes of a 2 by 2
// box filter melt them into a glow. Each pass averages towards higher x and y,
// so the finished spot sits at (48, 48), off the texture's centre. The image
// lives in the first half of one 131072-byte block and the filter writes the
// second half; the filter's last row reads across that seam by plain offsets,
// and the bytes depend on it.
#pragma once

#include "scene/world_tables.h"

inline constexpr int kGlowImageBytes = texo * texo * 4;

extern unsigned char glowBlock[2 * kGlowImageBytes];
inline unsigned char* const mtex = glowBlock;                         // the image, row 0 first
inline unsigned char* const mtexfilter = glowBlock + kGlowImageBytes; // one filter pass's output

// Builds mtex from scratch and loads it, with mipmaps, into the texture bound
// now. Needs a current GL context and filled degree tables.
void settexmap01();
void BuildGlowImage(); // the build alone, without GL
void qblur();          // one filter pass
