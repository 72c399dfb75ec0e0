// mipmaps.h - the levels of a mipmapped texture, made as GLU makes them.
//
// gluBuild2DMipmaps halves an image again and again down to one texel, each
// texel of a level the rounded mean of the 2 by 2 texels below it; once one
// side is down to 1, the mean of 2 texels, rounded down. The browser's GL layer makes its levels
// here so that they are the same bytes as the desktop's; nothing here calls
// GL, so the native tests compare it with the system's GLU.
#pragma once

#include <cstdint>
#include <vector>

namespace gl11 {

struct MipLevel {
    int width;
    int height;
    std::vector<std::uint8_t> rgba; // rows bottom first, as given
};

// Every level below an RGBA image of power-of-two sides, from half its size
// down to 1 by 1 (none for a 1 by 1 image).
std::vector<MipLevel> MipLevelsBelow(int width, int height, const std::uint8_t* rgba);

} // namespace gl11
