// capture_bench.cpp - what writing a frame costs at full size (1680x1050), on
// a frame of the demo as the renderer reads it back: PNG encoding, and the
// conversion to the video's planes. Both run on the capture's worker thread,
// so their CPU time is what a recording adds to drawing.
#include "codecs/png_image.h"
#include "codecs/y4m_video.h"
#include "headless/offscreen_scene.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int kWidth = 1680;
constexpr int kHeight = 1050;

// Frame 30 of the default seed's start: the city lit, the glow pass busy.
const std::vector<std::uint8_t>& FullSizeFrame() {
    static const std::vector<std::uint8_t> frame = [] {
        OffscreenScene scene;
        std::vector<std::uint8_t> rgb;
        if (scene.Open(kWidth, kHeight)) {
            for (int i = 0; i < 30; ++i) {
                scene.RenderFrame(&rgb);
            }
        }
        return rgb;
    }();
    return frame;
}

void PngEncodeFullSizeFrame(benchmark::State& state) {
    const std::vector<std::uint8_t>& frame = FullSizeFrame();
    std::FILE* sink = std::fopen("/dev/null", "wb");
    PngEncoder encoder;
    for (auto _ : state) {
        encoder.Write(sink, kWidth, kHeight, 3, frame.data());
    }
    std::fclose(sink);
}
BENCHMARK(PngEncodeFullSizeFrame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void Y4mConvertFullSizeFrame(benchmark::State& state) {
    const std::vector<std::uint8_t>& frame = FullSizeFrame();
    std::vector<std::uint8_t> planes;
    for (auto _ : state) {
        ConvertFrame(kWidth, kHeight, frame.data(), &planes);
        benchmark::DoNotOptimize(planes.data());
    }
}
BENCHMARK(Y4mConvertFullSizeFrame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

} // namespace
