// The browser's GL layer makes the same mipmap levels as the system's GLU:
// each level built here is compared, byte for byte, with the level GLU's
// gluBuild2DMipmaps uploaded, read back from Mesa.
#include "gl11/mipmaps.h"
#include "scene/glow_texture.h"
#include "scene/vesk_nb_17.h"
#include "tests/scene/gl_context.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

class MipLevels : public SceneWindow {
  protected:
    // Every level below the image, as GLU built and uploaded them.
    static std::vector<gl11::MipLevel> GluLevels(int width, int height, const std::uint8_t* rgba) {
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        std::vector<gl11::MipLevel> levels;
        for (int level = 1; width > 1 || height > 1; ++level) {
            width = width > 1 ? width / 2 : 1;
            height = height > 1 ? height / 2 : 1;
            gl11::MipLevel read{width, height, std::vector<std::uint8_t>(width * height * 4)};
            glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, read.rgba.data());
            levels.push_back(read);
        }
        glDeleteTextures(1, &texture);
        return levels;
    }

    static void ExpectLevelsOfGlu(int width, int height, const std::uint8_t* rgba) {
        const std::vector<gl11::MipLevel> glu = GluLevels(width, height, rgba);
        const std::vector<gl11::MipLevel> ours = gl11::MipLevelsBelow(width, height, rgba);
        ASSERT_EQ(ours.size(), glu.size());
        for (std::size_t i = 0; i < glu.size(); ++i) {
            EXPECT_EQ(ours[i].width, glu[i].width) << "level " << i + 1;
            EXPECT_EQ(ours[i].height, glu[i].height) << "level " << i + 1;
            EXPECT_EQ(ours[i].rgba, glu[i].rgba) << "level " << i + 1;
        }
    }
};

TEST_F(MipLevels, OfTheGlowTextureAreGlus) {
    FillDegreeTables();
    BuildGlowImage();
    ExpectLevelsOfGlu(texo, texo, mtex);
}

// Every sum of four bytes, odd and even, and sides that reach 1 at different
// levels, so that both of GLU's halvings (2 by 2 and, past a side of 1, 2 by 1)
// are held to its rounding.
TEST_F(MipLevels, OfAnOblongOfEveryByteAreGlus) {
    constexpr int kWidth = 64;
    constexpr int kHeight = 4;
    std::vector<std::uint8_t> image(kWidth * kHeight * 4);
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>((i * 97 + i / 7) & 0xFF);
    }
    ExpectLevelsOfGlu(kWidth, kHeight, image.data());
}

} // namespace
