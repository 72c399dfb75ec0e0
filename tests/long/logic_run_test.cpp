// A long logic-only run with every invariant of the scene's objects checked
// after every frame: positions finite and inside their bounds, directions
// with matching offsets, lamp cones and colours in range, leg steps within
// their legs.
#include "platform/runtime.h"
#include "scene/vesk_nb_17.h"
#include "tests/support/soak.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

std::string Where(const char* array, std::size_t index, long frame) {
    return std::string(array) + "[" + std::to_string(index) + "] in frame " + std::to_string(frame);
}

bool Finite3(const float* v) {
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

// Empty when the mover keeps every rule; otherwise what it broke.
std::string MoverProblem(const MoverRecord& m) {
    if (m.direction < 0 || m.direction > 3) {
        return "direction " + std::to_string(m.direction);
    }
    if (!(std::fabs(m.posX) <= worldsize && std::fabs(m.posY) <= worldsize)) {
        return "outside the world";
    }
    if (!(m.travelled >= 0.0f && m.travelled <= blocksize)) {
        return "travelled " + std::to_string(m.travelled);
    }
    const bool undecided = m.offsetX == 0.0f && m.offsetY == 0.0f;
    const float l = m.laneOffset;
    const float expectedX[4] = {0.0f, 0.0f, l, -l};
    const float expectedY[4] = {-l, l, 0.0f, 0.0f};
    if (!undecided &&
        (m.offsetX != expectedX[m.direction] || m.offsetY != expectedY[m.direction])) {
        return "offsets do not match direction " + std::to_string(m.direction);
    }
    return {};
}

template <class Mover, std::size_t N>
void CheckMovers(const char* name, const Mover (&movers)[N], long frame) {
    for (std::size_t i = 0; i < N; ++i) {
        const std::string problem = MoverProblem(movers[i].record);
        ASSERT_TRUE(problem.empty()) << Where(name, i, frame) << ": " << problem;
    }
}

void CheckFrame(long frame) {
    const Camera& camera = Zenith[0];
    ASSERT_TRUE(Finite3(camera.eye) && Finite3(camera.center)) << "camera in frame " << frame;
    ASSERT_TRUE(camera.eyeStep >= 0 && camera.eyeStep <= camera.eyeLegLength) << frame;
    ASSERT_TRUE(camera.centerStep >= 0 && camera.centerStep <= camera.centerLegLength) << frame;
    ASSERT_TRUE(camera.centerAxis >= 0 && camera.centerAxis <= 2) << frame;
    for (std::size_t i = 0; i < kLampjes; ++i) {
        const Lampje& lamp = licht[i];
        ASSERT_TRUE(Finite3(lamp.pos) && Finite3(lamp.dir)) << Where("licht", i, frame);
        ASSERT_TRUE(lamp.cutoff >= 1.0f && lamp.cutoff <= 76.0f) << Where("licht", i, frame);
        for (const float colour : {lamp.colorR, lamp.colorG, lamp.colorB}) {
            ASSERT_TRUE(colour >= 0.0f && colour <= 0.79f) << Where("licht", i, frame);
        }
        ASSERT_TRUE(lamp.step >= 0 && lamp.step <= lamp.legLength) << Where("licht", i, frame);
        ASSERT_TRUE(lamp.phase >= 0 && lamp.phase <= 2) << Where("licht", i, frame);
    }
    for (std::size_t i = 0; i < kClouds; ++i) {
        ASSERT_TRUE(std::fabs(cloudz[i].posX) <= 7 * worldsize) << Where("cloudz", i, frame);
    }
    CheckMovers("mover", mover, frame);
    CheckMovers("moverbl", moverbl, frame);
    CheckMovers("moverbl2", moverbl2, frame);
    CheckMovers("moverbl3", moverbl3, frame);
}

TEST(LongRun, LogicOnlyFramesKeepEveryInvariant) {
    const long frames = RunLength(100'000L, 1'000'000L);
    platform::srand(20131);
    for (long frame = 1; frame <= frames; ++frame) {
        AdvanceScene();
        CheckFrame(frame);
        if (HasFatalFailure()) {
            return;
        }
    }
}

} // namespace
