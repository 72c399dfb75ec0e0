// main.cpp - tarrow-render: the demo headless and frame-exact, to images,
// video, a state dump and frame-time statistics.
//
// The same scene code as the interactive program, driven the same way: the
// frame's window and context (offscreen), Initialize, then Update and Draw per
// frame. The run's seed stands in for the clock Initialize seeds from, as the
// demo's --seed does, so one seed and frame count always give the same state,
// and on one GL driver the same pixels. Frames are not paced: the scene's 2 ms pause is skipped.
//
// The run reads parse, plan, open, frames, commit: the frames folder is made
// and locked, and every output is resolved and checked against the others
// before anything is written (output_plan.h); a run that fails or is
// interrupted (SIGINT, SIGTERM, SIGHUP) removes the files it had not finished
// and keeps the PNG frames it had.
#include "platform/headless.h"
#include "platform/runtime.h"
#include "platform/sdl/offscreen.h"
#include "scene/glow_texture.h"
#include "scene/vesk_nb_17.h"
#include "tools/state-dump/state_dump.h"
#include "tools/tarrow-render/capture.h"
#include "tools/tarrow-render/frame_stats.h"
#include "tools/tarrow-render/offscreen_scene.h"
#include "tools/tarrow-render/options.h"
#include "tools/tarrow-render/output_plan.h"
#include "tools/tarrow-render/png_image.h"
#include "tools/tarrow-render/progress.h"
#include "tools/tarrow-render/standard_streams.h"

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <optional>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr std::size_t kCaptureDepth = 2; // frames waiting to be written, at most

volatile std::sig_atomic_t g_interruptedBy = 0;

void OnInterrupt(int signal) {
    g_interruptedBy = signal;
}

// Installed without SA_RESTART, so that a run blocked opening a FIFO nobody
// reads, or writing to a stalled pipe, still ends at once.
void CatchInterruptions() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
    std::signal(SIGPIPE, SIG_IGN); // a closed pipe shows as a failed write
    std::signal(SIGXFSZ, SIG_IGN); // so does the file-size limit ("File too large")
}

int Fail(const std::string& message, int status = kExitFailed) {
    std::fprintf(stderr, "tarrow-render: %s\n", message.c_str());
    return status;
}

// The end of an interrupted run; whatever was unfinished goes with the
// outputs' destructors.
int Interrupted() {
    return Fail("interrupted; unfinished files removed", 128 + g_interruptedBy);
}

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration elapsed) {
    return std::chrono::duration<double, std::milli>(elapsed).count();
}

} // namespace

int main(int argc, char** argv) {
    GuardStandardDescriptors();
    ReadUmask();
    RenderOptions options;
    if (const auto problem = ParseOptions(argc, argv, &options)) {
        return Fail(*problem, kExitUsage);
    }
    std::string error;
    if (options.help || options.version) {
        const std::string text = options.help
                                     ? std::string(UsageText())
                                     : std::string("tarrow-render ") + TARROW_VERSION + "\n";
        return PrintToStdout(text, &error) ? 0 : Fail(error);
    }

    CatchInterruptions();
    OutputPlan outputs;
    if (!outputs.Make(options, &error)) {
        return Fail(error, kExitUsage);
    }
    if (!outputs.Open(&error)) {
        return g_interruptedBy != 0 ? Interrupted() : Fail(error, kExitUsage);
    }

    if (!options.seedGiven) {
        options.seed = static_cast<std::uint32_t>(platform::time(nullptr));
        std::fprintf(stderr, "tarrow-render: seed %u\n", options.seed);
    }

    platform::UseSeed(options.seed);
    platform::UseOffscreenDriver();
    platform::DisableSleep();
    std::optional<OffscreenScene> scene;
    std::string renderer = "none (logic only)";
    if (options.logicOnly) {
        StartScene(SceneStart::WithoutContext);
    } else {
        scene.emplace();
        if (!scene->Open(options.width, options.height)) {
            return Fail("cannot make an offscreen GL context");
        }
        renderer = scene->Renderer();
    }

    // Frames before the run's range: the scene's logic alone, the last of
    // them drawn unseen, so that the GL state a frame leaves the next is the
    // one a whole run has.
    for (long frame = 1; frame < options.from && g_interruptedBy == 0; ++frame) {
        if (scene && frame == options.from - 1) {
            scene->DrawUnseenFrame();
        } else {
            AdvanceScene();
        }
    }
    std::optional<Capture> capture;
    if (outputs.frames() != nullptr || outputs.video() != nullptr) {
        capture.emplace(
            Capture::Sinks{outputs.frames(), outputs.video(), options.width, options.height},
            kCaptureDepth);
    }
    std::vector<std::uint8_t> rgb;
    FrameTimes times;
    Progress progress(options.frames - options.from + 1, isatty(STDERR_FILENO) != 0);
    const Clock::time_point loopStart = Clock::now();
    long done = options.from - 1;
    while (done < options.frames && g_interruptedBy == 0) {
        std::vector<std::uint8_t>* pixels = capture ? capture->Acquire(g_interruptedBy) : &rgb;
        if (pixels == nullptr) {
            break; // interrupted, or the capture failed
        }
        const Clock::time_point frameStart = Clock::now();
        if (scene) {
            scene->RenderFrame(pixels);
        } else {
            AdvanceScene();
        }
        times.Add(Milliseconds(Clock::now() - frameStart));
        ++done;
        if (capture) {
            capture->Submit(done);
        }
        progress.Update(done - options.from + 1);
    }
    const auto written = capture ? capture->Drain(g_interruptedBy) : std::nullopt;
    const double wallSeconds = std::chrono::duration<double>(Clock::now() - loopStart).count();
    if (g_interruptedBy != 0) {
        if (capture) {
            capture->Stop(g_interruptedBy);
        }
        progress.Finish(done - options.from + 1, wallSeconds, false);
        return Interrupted();
    }
    if (written) {
        return Fail(*written);
    }

    const std::optional<WindowSize> window =
        options.logicOnly ? std::nullopt
                          : std::optional<WindowSize>({options.width, options.height});
    const auto writeState = [&](std::FILE* stream) {
        const std::string json = SceneStateJson(options.seed, done, window);
        return std::fwrite(json.data(), 1, json.size(), stream) == json.size();
    };
    const auto writeTexture = [](std::FILE* stream) {
        return WritePng(stream, texo, texo, 4, mtex);
    };
    if (!outputs.Commit(writeState, writeTexture, &error)) {
        return Fail(error);
    }
    progress.Finish(done - options.from + 1, wallSeconds, true);
    if (options.bench) {
        const std::string report = FormatStats(times.Summarise(wallSeconds), renderer);
        if (outputs.TakesStdout()) {
            std::fputs(report.c_str(), stderr);
        } else if (!PrintToStdout(report, &error)) {
            return Fail(error);
        }
    }
    return 0;
}
