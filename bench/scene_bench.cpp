// scene_bench.cpp - the scene's costs, one piece at a time: the logic of one
// frame, the glow texture, building every object, laying out the blocks, and
// a whole rendered frame at a small size.
#include "headless/offscreen_scene.h"
#include "platform/headless.h"
#include "platform/runtime.h"
#include "scene/glow_texture.h"
#include "scene/vesk_nb_17.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void SceneLogicFrame(benchmark::State& state) {
    StartScene(SceneStart::WithoutContext);
    for (auto _ : state) {
        AdvanceScene();
    }
}
BENCHMARK(SceneLogicFrame);

void GlowImageBuild(benchmark::State& state) {
    FillDegreeTables();
    for (auto _ : state) {
        BuildGlowImage();
        benchmark::DoNotOptimize(mtex[48 * 512 + 48 * 4]);
    }
}
BENCHMARK(GlowImageBuild)->Unit(benchmark::kMillisecond);

// The build and its upload with mipmaps, in a live context.
void GlowTextureBuildAndUpload(benchmark::State& state) {
    OffscreenScene scene;
    if (!scene.Open(64, 40)) {
        state.SkipWithError("no offscreen GL context");
        return;
    }
    for (auto _ : state) {
        settexmap01();
    }
}
BENCHMARK(GlowTextureBuildAndUpload)->Unit(benchmark::kMillisecond);

void ConstructAllArrays(benchmark::State& state) {
    for (auto _ : state) {
        platform::srand(1);
        std::vector<Lampje> lamps(kLampjes);
        std::vector<Camera> cameras(kCameras);
        std::vector<Floor> floors(kFloors);
        std::vector<Cloud> clouds(kClouds);
        std::vector<Carz> blocks(kBlocks);
        std::vector<Moverz> movers(kMovers);
        std::vector<Moverzbl> red(kRedMovers);
        std::vector<Moverzbl2> blue(kBlueMovers);
        std::vector<Moverzbl3> squares(kGlowSquares);
        benchmark::DoNotOptimize(squares.data());
        for (Carz& block : blocks) {
            delete[] block.corners; // blocks keep theirs for the process; these are temporary
        }
    }
}
BENCHMARK(ConstructAllArrays)->Unit(benchmark::kMicrosecond);

void SetupAllBlocks(benchmark::State& state) {
    for (auto _ : state) {
        SetupBlocks();
        benchmark::DoNotOptimize(kar[0].corners[0]);
    }
}
BENCHMARK(SetupAllBlocks)->Unit(benchmark::kMicrosecond);

void RenderedFrame(benchmark::State& state) {
    OffscreenScene scene;
    if (!scene.Open(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)))) {
        state.SkipWithError("no offscreen GL context");
        return;
    }
    std::vector<std::uint8_t> rgb;
    for (auto _ : state) {
        scene.RenderFrame(&rgb);
    }
}
BENCHMARK(RenderedFrame)->Args({320, 200})->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    platform::UseSeed(1);
    platform::RunHeadless();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
