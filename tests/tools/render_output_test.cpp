// What the renderer writes matches what it rendered: stills read back to the
// pixels GL gave, and the state dump to the objects in memory.
#include "codecs/png_image.h"
#include "headless/offscreen_scene.h"
#include "headless/state_dump.h"
#include "scene/vesk_nb_17.h"
#include "tests/support/png_reading.h"
#include "tests/support/scratch_directory.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

TEST(RenderOutput, StillsReadBackToThePixelsReadFromGl) {
    OffscreenScene scene;
    ASSERT_TRUE(scene.Open(48, 30));
    std::vector<std::uint8_t> rgb;
    for (int frame = 0; frame < 3; ++frame) {
        scene.RenderFrame(&rgb);
    }
    ScratchDirectory scratch;
    std::FILE* file = std::fopen(scratch.Path("still.png").c_str(), "wb");
    ASSERT_TRUE(WritePng(file, 48, 30, 3, rgb.data()));
    std::fclose(file);

    PngImage image;
    ASSERT_TRUE(ReadPng(scratch.Path("still.png"), &image));
    EXPECT_EQ(image.width, 48);
    EXPECT_EQ(image.height, 30);
    EXPECT_EQ(image.channels, 3);
    EXPECT_EQ(image.pixels, rgb);
    EXPECT_NE(std::count(rgb.begin(), rgb.end(), 0),
              static_cast<long>(rgb.size())); // not all black
}

TEST(RenderOutput, FramesComeTopRowFirst) {
    OffscreenScene scene;
    ASSERT_TRUE(scene.Open(40, 25));
    std::vector<std::uint8_t> rgb;
    for (int frame = 0; frame < 5; ++frame) {
        scene.RenderFrame(&rgb);
    }
    // The offscreen surface keeps its picture across the swap; GL hands it
    // over bottom row first.
    std::vector<std::uint8_t> bottomUp(rgb.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 40, 25, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    const std::size_t stride = 40 * 3;
    for (std::size_t row = 0; row < 25; ++row) {
        EXPECT_TRUE(std::equal(rgb.begin() + row * stride, rgb.begin() + (row + 1) * stride,
                               bottomUp.begin() + (24 - row) * stride))
            << "row " << row;
    }
}

// The value a float field has in the dump: 9 significant digits.
std::string Number(float value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.9g", static_cast<double>(value));
    return text;
}

TEST(RenderOutput, StateDumpHoldsTheObjectsInMemory) {
    StartScene(SceneStart::WithoutContext);
    for (int frame = 0; frame < 25; ++frame) {
        AdvanceScene();
    }
    const std::string json = SceneStateJson(9, 25, WindowSize{64, 40});
    EXPECT_EQ(json.rfind("{\n  \"seed\": 9,\n  \"frames\": 25,\n  \"window\": {\"width\": 64, "
                         "\"height\": 40},\n  \"licht\": [\n",
                         0),
              0u);
    const auto has = [&json](const std::string& text) {
        return json.find(text) != std::string::npos;
    };
    EXPECT_TRUE(has("\"pos\": [" + Number(licht[7].pos[0]) + ", " + Number(licht[7].pos[1]) + ", " +
                    Number(licht[7].pos[2]) + "]"));
    EXPECT_TRUE(has("\"eye\": [" + Number(Zenith[0].eye[0]) + ", " + Number(Zenith[0].eye[1])));
    EXPECT_TRUE(
        has("\"posX\": " + Number(vloer[716].posX) + ", \"posY\": " + Number(vloer[716].posY)));
    EXPECT_TRUE(has("\"speed\": " + Number(cloudz[1].speed) + "}"));
    EXPECT_TRUE(
        has("\"corners\": [" + Number(kar[2399].corners[0]) + ", " + Number(kar[2399].corners[1])));
    const MoverRecord& last = moverbl2[199].record;
    EXPECT_TRUE(has("\"travelled\": " + Number(last.travelled) +
                    ", \"turnDraw\": " + std::to_string(last.turnDraw)));
    for (const char* key :
         {"\"Zenith\": [", "\"vloer\": [", "\"cloudz\": [", "\"kar\": [", "\"mover\": [",
          "\"moverbl\": [", "\"moverbl2\": [", "\"moverbl3\": ["}) {
        EXPECT_TRUE(has(key)) << key;
    }
    // One element a line: 8 + 3 + 717 + 2 + 2400 + 400 + 200 + 200 + 1 of them.
    EXPECT_EQ(std::count(json.begin(), json.end(), '\n'), 3931 + 3 + 9 * 2 + 2);
}

TEST(RenderOutput, DumpedFloatsReadBackToTheSameValues) {
    const float tricky[] = {0.1f, 1.0f / 3.0f, 123456.789f, -1190000.0f, 7.83333349f};
    for (const float value : tricky) {
        EXPECT_EQ(std::strtof(Number(value).c_str(), nullptr), value);
    }
}

} // namespace
