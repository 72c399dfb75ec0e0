// The finished glow image and its upload: sixty filter passes move the spot
// from (78, 78) to (48, 48) and soften it into a glow.
#include "scene/glow_texture.h"
#include "tests/scene/gl_context.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

using Texel = std::array<int, 4>;

Texel At(int x, int y) {
    const unsigned char* t = mtex + (y * texo + x) * 4;
    return {t[0], t[1], t[2], t[3]};
}

using GlowImage = InitializedScene;

TEST_F(GlowImage, SpotPeaksAtTexel48And48) {
    EXPECT_EQ(At(48, 48), (Texel{241, 241, 241, 220}));
    EXPECT_EQ(At(47, 48), (Texel{241, 241, 241, 219}));
    EXPECT_EQ(At(49, 48), (Texel{241, 241, 241, 219}));
    EXPECT_EQ(At(48, 47), (Texel{241, 241, 241, 219}));
    EXPECT_EQ(At(48, 49), (Texel{241, 241, 241, 219}));
}

TEST_F(GlowImage, PeakIsTheOnlyTexelWithAlpha220AndNoColourExceeds241) {
    int alpha220 = 0;
    int brightest = 0;
    for (int y = 0; y < texo; ++y) {
        for (int x = 0; x < texo; ++x) {
            const Texel t = At(x, y);
            alpha220 += t[3] == 220 ? 1 : 0;
            brightest = std::max({brightest, t[0], t[1], t[2]});
        }
    }
    EXPECT_EQ(alpha220, 1);
    EXPECT_EQ(brightest, 241);
}

TEST_F(GlowImage, Row48FallsOffSymmetricallyAroundThePeak) {
    // Columns 0, 4, 8, ..., 124.
    const std::vector<int> grey = {0,   0,   0,   15,  68,  122, 173, 216, 231, 234, 237,
                                   239, 241, 239, 237, 234, 231, 216, 173, 122, 68,  15,
                                   0,   0,   0,   0,   0,   0,   0,   0,   0,   0};
    const std::vector<int> alpha = {0,   0,   0,   15,  67,  114, 140, 162, 174, 186, 198,
                                    210, 220, 210, 198, 186, 174, 162, 140, 114, 67,  15,
                                    0,   0,   0,   0,   0,   0,   0,   0,   0,   0};
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(At(4 * i, 48), (Texel{grey[i], grey[i], grey[i], alpha[i]}))
            << "column " << 4 * i;
    }
}

TEST_F(GlowImage, EverythingOutsideColumnsAndRows10To86IsClear) {
    for (int y = 0; y < texo; ++y) {
        for (int x = 0; x < texo; ++x) {
            if (x < 10 || x > 86 || y < 10 || y > 86) {
                ASSERT_EQ(At(x, y), (Texel{0, 0, 0, 0})) << "texel " << x << ", " << y;
            }
        }
    }
}

// The first byte names the texture bound for the glow: object 0.
TEST_F(GlowImage, FirstByteIsZero) {
    EXPECT_EQ(mtex[0], 0);
}

TEST_F(GlowImage, TextureObjectZeroHoldsTheImage) {
    std::vector<unsigned char> uploaded(kGlowImageBytes, 0xAB);
    glBindTexture(GL_TEXTURE_2D, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, uploaded.data());
    EXPECT_TRUE(std::equal(uploaded.begin(), uploaded.end(), mtex));
}

TEST_F(GlowImage, BuildingAgainGivesTheSameBytes) {
    const std::vector<unsigned char> first(mtex, mtex + kGlowImageBytes);
    settexmap01();
    EXPECT_TRUE(std::equal(first.begin(), first.end(), mtex));
}

} // namespace
