// Frames to YUV4MPEG2: full-range BT.601 colours, 4:2:0 with each chroma
// sample the mean of its 2 by 2 block, planes of ceil(W/2) by ceil(H/2).
#include "codecs/y4m_video.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

std::vector<std::uint8_t> Flat(int width, int height, std::uint8_t r, std::uint8_t g,
                               std::uint8_t b) {
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < width * height; ++i) {
        rgb.insert(rgb.end(), {r, g, b});
    }
    return rgb;
}

TEST(Y4m, KnownFlatColoursConvertToTheirFullRangeValues) {
    const YCbCr black = ToYCbCr(0, 0, 0);
    const YCbCr white = ToYCbCr(255, 255, 255);
    const YCbCr red = ToYCbCr(255, 0, 0);
    const YCbCr blue = ToYCbCr(0, 0, 255);
    EXPECT_EQ((std::vector<int>{black.y, black.cb, black.cr}), (std::vector<int>{0, 128, 128}));
    EXPECT_EQ((std::vector<int>{white.y, white.cb, white.cr}), (std::vector<int>{255, 128, 128}));
    EXPECT_EQ((std::vector<int>{red.y, red.cb, red.cr}), (std::vector<int>{76, 85, 255}));
    EXPECT_EQ((std::vector<int>{blue.y, blue.cb, blue.cr}), (std::vector<int>{29, 255, 107}));
}

TEST(Y4m, OddSizesGetRoundedUpChromaPlanes) {
    std::vector<std::uint8_t> planes;
    ConvertFrame(5, 3, Flat(5, 3, 255, 0, 0).data(), &planes);
    ASSERT_EQ(planes.size(), 15u + 2 * 6u);
    for (std::size_t i = 0; i < 15; ++i) {
        EXPECT_EQ(planes[i], 76);
    }
    for (std::size_t i = 15; i < 21; ++i) {
        EXPECT_EQ(planes[i], 85);
    }
    for (std::size_t i = 21; i < 27; ++i) {
        EXPECT_EQ(planes[i], 255);
    }
}

TEST(Y4m, ChromaIsTheMeanOfItsBlock) {
    // One 2 by 2 block: two blue pixels and two black ones.
    const std::vector<std::uint8_t> rgb = {0, 0, 255, 0, 0, 0, 0, 0, 0, 0, 0, 255};
    std::vector<std::uint8_t> planes;
    ConvertFrame(2, 2, rgb.data(), &planes);
    ASSERT_EQ(planes.size(), 6u);
    EXPECT_EQ(planes[0], 29);
    EXPECT_EQ(planes[1], 0);
    EXPECT_EQ(planes[4], 192); // (255 + 128 + 128 + 255) / 4, rounded
    EXPECT_EQ(planes[5], 118); // (107 + 128 + 128 + 107) / 4, rounded
}

TEST(Y4m, StreamIsTheHeaderThenOneMarkedFrameAfterAnother) {
    std::FILE* stream = std::tmpfile();
    {
        Y4mWriter writer(stream, 4, 2);
        const std::vector<std::uint8_t> rgb = Flat(4, 2, 255, 255, 255);
        ASSERT_TRUE(writer.WriteFrame(rgb.data()));
        ASSERT_TRUE(writer.WriteFrame(rgb.data()));
    }
    const std::string header = "YUV4MPEG2 W4 H2 F60:1 Ip A1:1 C420jpeg XCOLORRANGE=FULL\n";
    const std::string frame = "FRAME\n" + std::string(8, '\xFF') + std::string(4, '\x80');
    std::string written(static_cast<std::size_t>(std::ftell(stream)), '\0');
    std::rewind(stream);
    ASSERT_EQ(std::fread(written.data(), 1, written.size(), stream), written.size());
    std::fclose(stream);
    EXPECT_EQ(written, header + frame + frame);
}

} // namespace
