// Long rendered runs: memory stays flat once warmed up (a soak check), and
// the frames the renderer draws keep, pixel for pixel, the committed golden
// frames' pixels on the GL driver they were made with.
#include "headless/offscreen_scene.h"
#include "tests/support/files.h"
#include "tests/support/png_reading.h"
#include "tests/support/process_usage.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/soak.h"
#include "tests/support/subprocess.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

std::string Golden(const std::string& name) {
    return TARROW_TEST_DATA "/golden/" + name;
}

// Resident size of a GL process holds the driver's caches too, which grow
// with what the camera has seen for the first few thousand frames, at a pace
// that depends on what else the machine runs: only a soak, after them, can
// tell the program's own memory apart.
TEST(LongRun, RenderedFramesKeepMemoryFlatAfterWarmUp) {
    if (!Soaking()) {
        GTEST_SKIP() << "a soak check: make soak runs it";
    }
    if (!kMemoryMeasurable) {
        GTEST_SKIP()
            << "the address sanitizer holds freed memory back; memory is measured without it";
    }
    const int warmUp = 5000;
    const int frames = 20'000;
    OffscreenScene scene;
    ASSERT_TRUE(scene.Open(320, 200));
    std::vector<std::uint8_t> rgb;
    for (int frame = 0; frame < warmUp; ++frame) {
        scene.RenderFrame(&rgb);
    }
    const long warmed = ResidentKiB(getpid());
    for (int frame = warmUp; frame < frames; ++frame) {
        scene.RenderFrame(&rgb);
    }
    EXPECT_LT(ResidentKiB(getpid()) - warmed, 8 * 1024) << "KiB resident after warm-up: " << warmed;
}

// The golden frames are drawn with llvmpipe held to SSE4.1 code, which gives
// the same pixels on every x86-64 processor.
const ProcessEnvironment kPortableLlvmpipe{{{"GALLIUM_OVERRIDE_CPU_CAPS", "sse4.1"}}, {}};

// Golden frames hold on the renderer that made them; elsewhere the test says
// why it does not apply.
class GoldenFrames : public testing::Test {
  protected:
    void SetUp() override {
        const ProcessResult probe = RunProcess({BuiltProgram("tarrow-render"), "--frames", "1",
                                                "--seed", "1", "--size", "16x16", "--bench"},
                                               kPortableLlvmpipe);
        ASSERT_EQ(probe.status, 0) << probe.err;
        const std::string label = "renderer          ";
        std::string renderer = probe.out.substr(probe.out.find(label) + label.size());
        renderer.erase(renderer.find_last_not_of('\n') + 1);
        std::string recorded = ReadFile(Golden("renderer.txt"));
        recorded.erase(recorded.find_last_not_of('\n') + 1);
        if (renderer != recorded) {
            GTEST_SKIP() << "golden frames were made on '" << recorded << "', this is '" << renderer
                         << "'";
        }
    }

    // The pixels, not the file's bytes: how a frame is compressed is no part
    // of what the scene draws.
    static void ExpectSamePixels(const std::string& rendered, const std::string& golden) {
        PngImage mine;
        PngImage expected;
        ASSERT_TRUE(ReadPng(rendered, &mine)) << rendered;
        ASSERT_TRUE(ReadPng(golden, &expected)) << golden;
        EXPECT_EQ(mine.width, expected.width);
        EXPECT_EQ(mine.height, expected.height);
        EXPECT_TRUE(mine.pixels == expected.pixels) << rendered << " differs from " << golden;
    }

    // Renders `frames` frames of seed 7 at 320x200, keeping every `every`th.
    void Render(const ScratchDirectory& scratch, long frames, long every) {
        const ProcessResult run =
            RunProcess({BuiltProgram("tarrow-render"), "--frames", std::to_string(frames), "--seed",
                        "7", "--size", "320x200", "--png", scratch.Path("frames"), "--every",
                        std::to_string(every)},
                       kPortableLlvmpipe);
        ASSERT_EQ(run.status, 0) << run.err;
    }
};

TEST_F(GoldenFrames, FirstAndHundredTwentiethFramesHaveTheGoldenPixels) {
    ScratchDirectory scratch;
    Render(scratch, 120, 1);
    for (const char* name : {"frame-000001.png", "frame-000120.png"}) {
        ExpectSamePixels(scratch.Path(std::string("frames/") + name), Golden(name));
    }
}

TEST_F(GoldenFrames, ThreeThousandthFrameHasTheGoldenPixels) {
    if (!Soaking()) {
        GTEST_SKIP() << "a soak check: make soak runs it";
    }
    ScratchDirectory scratch;
    Render(scratch, 3000, 3000);
    ExpectSamePixels(scratch.Path("frames/frame-003000.png"), Golden("frame-003000.png"));
}

} // namespace
