// frame_run.cpp - the frame loop of a run, timed frame by frame.
#include "tarrow-render/frame_run.h"

#include "headless/offscreen_scene.h"
#include "scene/vesk_nb_17.h"
#include "tarrow-render/capture.h"

#include <chrono>
#include <vector>

namespace {

constexpr std::size_t kCaptureDepth = 2; // frames waiting to be written, at most

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration elapsed) {
    return std::chrono::duration<double, std::milli>(elapsed).count();
}

} // namespace

std::optional<FrameRun> RunFrames(const RenderOptions& options, OutputPlan& outputs,
                                  Progress& progress,
                                  const volatile std::sig_atomic_t& interruptedBy,
                                  std::string* error) {
    FrameRun run;
    std::optional<OffscreenScene> scene;
    run.renderer = "none (logic only)";
    if (options.logicOnly) {
        StartScene(SceneStart::WithoutContext);
    } else {
        scene.emplace();
        if (!scene->Open(options.width, options.height)) {
            *error = "cannot make an offscreen GL context";
            return std::nullopt;
        }
        run.renderer = scene->Renderer();
    }

    // Frames before the run's range: the scene's logic alone, the last of
    // them drawn unseen, so that the GL state a frame leaves the next is the
    // one a whole run has.
    for (long frame = 1; frame < options.from && interruptedBy == 0; ++frame) {
        if (scene && frame == options.from - 1) {
            scene->DrawUnseenFrame();
        } else {
            AdvanceScene();
        }
    }
    std::optional<Capture> capture;
    if (outputs.frames() != nullptr || outputs.video() != nullptr) {
        capture.emplace(Capture::Sinks{outputs.frames(), outputs.video(), options.width,
                                       options.height, options.chunks != 0},
                        kCaptureDepth);
    }
    std::vector<std::uint8_t> rgb;
    const Clock::time_point loopStart = Clock::now();
    run.done = options.from - 1;
    while (run.done < options.frames && interruptedBy == 0) {
        std::vector<std::uint8_t>* pixels = capture ? capture->Acquire(interruptedBy) : &rgb;
        if (pixels == nullptr) {
            break; // interrupted, or the capture failed
        }
        const Clock::time_point frameStart = Clock::now();
        if (scene) {
            scene->RenderFrame(pixels);
        } else {
            AdvanceScene();
        }
        run.times.Add(Milliseconds(Clock::now() - frameStart));
        ++run.done;
        if (capture) {
            capture->Submit(run.done);
        }
        progress.Update(run.done - options.from + 1);
    }
    const auto written = capture ? capture->Drain(interruptedBy) : std::nullopt;
    if (capture) {
        run.digests = capture->Digests();
    }
    run.wallSeconds = std::chrono::duration<double>(Clock::now() - loopStart).count();
    if (interruptedBy != 0) {
        if (capture) {
            capture->Stop(interruptedBy);
        }
        return run;
    }
    if (written) {
        *error = *written;
        return std::nullopt;
    }
    return run;
}
