// glow_texture.cpp - building the glow image.
#include "scene/glow_texture.h"

#include <GL/glu.h>

#include <cstring>

unsigned char glowBlock[2 * kGlowImageBytes];

namespace {

constexpr int kCentre = 78; // of both discs, before filtering
constexpr int kRowBytes = texo * 4;
constexpr int kOuterRadius = 34;
constexpr int kInnerRadius = 24;
constexpr int kBlurPasses = 60;
// The copy-back leaves out the last 32 texels of the last row.
constexpr int kCopiedBack = kGlowImageBytes - 128;

// The texel at radius r and whole degree d: the products truncate toward
// zero, so small negative ones land on the centre row or column too.
unsigned char* Plot(int r, int d) {
    const int x = kCentre + static_cast<int>(r * double{cosd[d]});
    const int y = kCentre + static_cast<int>(r * double{sind[d]});
    return mtex + (y * texo + x) * 4;
}

} // namespace

void qblur() {
    for (int y = 0; y < texo; ++y) {
        for (int x = 0; x < texo; ++x) {
            for (int k = 0; k < 4; ++k) {
                const int o = (y * texo + x) * 4;
                // Plain offsets: x = 127 reads the next row's first texel, and
                // y = 127 reads this pass's output for row 0 beyond the image.
                mtexfilter[o + k] = static_cast<unsigned char>((mtex[o + k] + mtex[o + 4 + k] +
                                                                mtex[o + kRowBytes + k] +
                                                                mtex[o + kRowBytes + 4 + k]) /
                                                               4);
            }
        }
    }
    std::memcpy(mtex, mtexfilter, kCopiedBack);
}

void BuildGlowImage() {
    std::memset(mtex, 0, kGlowImageBytes);
    for (int r = 0; r <= kOuterRadius; ++r) {
        for (int d = 0; d < maxd; ++d) {
            const auto value = static_cast<unsigned char>(255 - 4 * r);
            unsigned char* texel = Plot(r, d);
            texel[0] = value;
            texel[1] = value;
            texel[2] = value;
            texel[3] = value;
        }
    }
    for (int r = 0; r <= kInnerRadius; ++r) {
        for (int d = 0; d < maxd; ++d) {
            unsigned char* texel = Plot(r, d);
            texel[0] = 255;
            texel[1] = 255;
            texel[2] = 255;
            texel[3] = static_cast<unsigned char>(255 - 3 * r);
        }
    }
    for (int pass = 0; pass < kBlurPasses; ++pass) {
        qblur();
    }
}

void settexmap01() {
    BuildGlowImage();
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, texo, texo, GL_RGBA, GL_UNSIGNED_BYTE, mtex);
}
