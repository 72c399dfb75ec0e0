// main.cpp - tarrow-render: the demo headless and frame-exact, to images,
// video, a state dump and frame-time statistics.
//
// The same scene code as the interactive program, driven the same way: the
// frame's window and context (offscreen), Initialize, then Update and Draw per
// frame. The clock seed Initialize makes is replaced by the run's own seed, so
// one seed and frame count always give the same state, and on one GL driver
// the same pixels. Frames are not paced: the scene's 2 ms pause is skipped.
//
// Every output is resolved and checked against the others before anything is
// written; a run that fails or is interrupted (SIGINT, SIGTERM, SIGHUP)
// removes the files it had not finished and keeps the PNG frames it had.
#include "platform/extras.h"
#include "platform/runtime.h"
#include "scene/glow_texture.h"
#include "scene/vesk_nb_17.h"
#include "tools/tarrow-render/capture.h"
#include "tools/tarrow-render/frame_stats.h"
#include "tools/tarrow-render/frames_folder.h"
#include "tools/tarrow-render/offscreen_scene.h"
#include "tools/tarrow-render/options.h"
#include "tools/tarrow-render/output_file.h"
#include "tools/tarrow-render/png_image.h"
#include "tools/tarrow-render/progress.h"
#include "tools/tarrow-render/standard_streams.h"
#include "tools/tarrow-render/state_dump.h"
#include "tools/tarrow-render/y4m_video.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
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

// One file output of the run, as asked for on the command line.
struct PlannedOutput {
    const char* option;
    OutputTarget target;
    std::unique_ptr<OutputFile>* file;
};

struct Outputs {
    std::optional<FramesFolder> frames;
    std::unique_ptr<OutputFile> video;
    std::unique_ptr<OutputFile> state;
    std::unique_ptr<OutputFile> texture;
    bool onStdout = false; // an output takes standard output: reports go to stderr
};

bool SameAsStdout(const OutputTarget& target) {
    struct stat standard {};
    return target.descriptor == STDOUT_FILENO ||
           (target.exists && !target.characterDevice && fstat(STDOUT_FILENO, &standard) == 0 &&
            standard.st_dev == target.device && standard.st_ino == target.inode);
}

// Resolves every output and checks them against each other, writing nothing.
std::optional<std::string> PlanOutputs(const RenderOptions& options, Outputs* outputs,
                                       std::vector<PlannedOutput>* planned) {
    const struct {
        const char* option;
        const std::string& path;
        const char* what;
        std::unique_ptr<OutputFile>* file;
    } asked[] = {{"--y4m", options.y4mPath, "the video", &outputs->video},
                 {"--dump-state", options.statePath, "the state dump", &outputs->state},
                 {"--dump-texture", options.texturePath, "the texture", &outputs->texture}};
    std::string error;
    for (const auto& output : asked) {
        if (output.path.empty()) {
            continue;
        }
        const std::optional<OutputTarget> target = ResolveOutput(output.path, output.what, &error);
        if (!target) {
            return error;
        }
        for (const PlannedOutput& earlier : *planned) {
            if (SharePlace(earlier.target, *target)) {
                return std::string(earlier.option) + " and " + output.option + " both write " +
                       output.path + "; one would be lost";
            }
        }
        if (outputs->frames && outputs->frames->WouldWrite(target->resolved)) {
            return std::string(output.option) + " " + output.path +
                   " is one of the --png frames; one would be lost";
        }
        outputs->onStdout = outputs->onStdout || SameAsStdout(*target);
        planned->push_back(PlannedOutput{output.option, *target, output.file});
    }
    return std::nullopt;
}

// Opens what was planned. A FIFO without a reader waits here for one; a
// signal ends the wait.
std::optional<std::string> OpenOutputs(const RenderOptions& options, Outputs* outputs,
                                       std::vector<PlannedOutput>* planned) {
    std::string error;
    if (outputs->frames && !outputs->frames->Check(options.overwrite, &error)) {
        return error;
    }
    for (PlannedOutput& output : *planned) {
        *output.file = OutputFile::Open(output.target, &error);
        if (!*output.file) {
            return error;
        }
    }
    if (outputs->video && isatty(fileno(outputs->video->stream())) != 0) {
        return std::string("refusing to write video to a terminal: pipe it or name a file");
    }
    if (outputs->frames && options.overwrite && !outputs->frames->RemoveOldFrames(&error)) {
        return error;
    }
    return std::nullopt;
}

// Writes an output made at the end of the run, and puts it in place.
std::optional<std::string> Finish(std::unique_ptr<OutputFile>& file, const char* what,
                                  const std::function<bool(std::FILE*)>& write) {
    std::string error;
    if (!file) {
        return std::nullopt;
    }
    if (!write(file->stream())) {
        return WriteFailure(what, file->name(), errno);
    }
    if (!file->Commit(&error)) {
        return error;
    }
    return std::nullopt;
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
    Outputs outputs;
    if (!options.pngDirectory.empty()) {
        outputs.frames.emplace(options.pngDirectory, options.from, options.frames, options.every);
    }
    std::vector<PlannedOutput> planned;
    if (const auto problem = PlanOutputs(options, &outputs, &planned)) {
        return Fail(*problem, kExitUsage);
    }
    if (const auto problem = OpenOutputs(options, &outputs, &planned)) {
        return g_interruptedBy != 0 ? Interrupted() : Fail(*problem, kExitUsage);
    }

    if (!options.seedGiven) {
        options.seed = static_cast<std::uint32_t>(platform::time(nullptr));
        std::fprintf(stderr, "tarrow-render: seed %u\n", options.seed);
    }

    platform::UseOffscreenDriver();
    platform::DisableSleep();
    std::optional<OffscreenScene> scene;
    std::string renderer = "none (logic only)";
    if (options.logicOnly) {
        // What Initialize does to the scene's state, without GL.
        FillDegreeTables();
        BuildGlowImage();
        SetupBlocks();
    } else {
        scene.emplace();
        if (!scene->Open(options.width, options.height)) {
            return Fail("cannot make an offscreen GL context");
        }
        renderer = scene->Renderer();
    }
    platform::srand(options.seed);

    std::optional<Y4mWriter> video;
    if (outputs.video) {
        video.emplace(outputs.video->stream(), options.width, options.height);
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
    if (outputs.frames || video) {
        capture.emplace(Capture::Sinks{outputs.frames ? &*outputs.frames : nullptr,
                                       video ? &*video : nullptr, options.y4mPath, options.width,
                                       options.height},
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
        progress.Finish(done - options.from + 1, wallSeconds);
        return Interrupted();
    }
    if (written) {
        return Fail(*written);
    }

    if (outputs.video && !outputs.video->Commit(&error)) {
        return Fail(error);
    }
    const std::optional<WindowSize> window =
        options.logicOnly ? std::nullopt
                          : std::optional<WindowSize>({options.width, options.height});
    const auto state = Finish(outputs.state, "the state dump", [&](std::FILE* stream) {
        const std::string json = SceneStateJson(options.seed, done, window);
        return std::fwrite(json.data(), 1, json.size(), stream) == json.size();
    });
    const auto texture = Finish(outputs.texture, "the texture", [](std::FILE* stream) {
        return WritePng(stream, texo, texo, 4, mtex);
    });
    if (state || texture) {
        return Fail(state ? *state : *texture);
    }
    progress.Finish(done - options.from + 1, wallSeconds);
    if (options.bench) {
        const std::string report = FormatStats(times.Summarise(wallSeconds), renderer);
        if (outputs.onStdout) {
            std::fputs(report.c_str(), stderr);
        } else if (!PrintToStdout(report, &error)) {
            return Fail(error);
        }
    }
    return 0;
}
