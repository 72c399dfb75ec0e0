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
#include "codecs/png_image.h"
#include "headless/run_seed.h"
#include "headless/state_dump.h"
#include "platform/headless.h"
#include "scene/glow_texture.h"
#include "tarrow-render/frame_run.h"
#include "tarrow-render/join.h"
#include "tarrow-render/options.h"
#include "tarrow-render/output_plan.h"
#include "tarrow-render/progress.h"
#include "tarrow-render/standard_streams.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <optional>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

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

// A chunk's manifest, put in place once every other output is: the chunk is
// finished.
bool WriteManifest(const RenderOptions& options, const FrameRun& run, const FramesFolder& folder,
                   std::string* error) {
    Manifest manifest = BuildManifest();
    manifest.seed = options.seed;
    manifest.width = options.width;
    manifest.height = options.height;
    manifest.chunk = options.chunk;
    manifest.chunks = options.chunks;
    manifest.range = {options.from, options.frames};
    manifest.run = {1, options.runFrames};
    manifest.renderer = run.renderer;
    manifest.frames = run.digests;
    const std::string json = ManifestJson(manifest);
    const std::unique_ptr<OutputFile> file = OutputFile::Open(folder.Manifest(), error);
    if (!file) {
        return false;
    }
    if (std::fwrite(json.data(), 1, json.size(), file->stream()) != json.size()) {
        *error = file->Failure(errno);
        return false;
    }
    return file->Commit(error);
}

// The run's end: the state and the texture written, the outputs made whole
// under their names, then the last line of progress and the report.
int Commit(const RenderOptions& options, const FrameRun& run, OutputPlan& outputs,
           Progress& progress) {
    std::string error;
    const std::optional<WindowSize> window =
        options.logicOnly ? std::nullopt
                          : std::optional<WindowSize>({options.width, options.height});
    const auto writeState = [&](std::FILE* stream) {
        const std::string json = SceneStateJson(options.seed, run.done, window);
        return std::fwrite(json.data(), 1, json.size(), stream) == json.size();
    };
    const auto writeTexture = [](std::FILE* stream) {
        return WritePng(stream, texo, texo, 4, mtex);
    };
    if (!outputs.Commit(writeState, writeTexture, &error) ||
        (options.chunks != 0 && !WriteManifest(options, run, *outputs.frames(), &error))) {
        return Fail(error);
    }
    progress.Finish(run.done - options.from + 1, run.wallSeconds, true);
    if (options.bench) {
        const std::string report = FormatStats(run.times.Summarise(run.wallSeconds), run.renderer);
        if (outputs.TakesStdout()) {
            std::fputs(report.c_str(), stderr);
        } else if (!PrintToStdout(report, &error)) {
            return Fail(error);
        }
    }
    return 0;
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
    if (!options.joinDirectory.empty()) {
        const JoinResult joined =
            JoinChunks(options.joinDirectory, options.y4mPath, g_interruptedBy);
        return joined.error.empty() ? 0
                                    : Fail(joined.error, joined.refused ? kExitUsage : kExitFailed);
    }
    OutputPlan outputs;
    if (!outputs.Make(options, &error)) {
        return Fail(error, kExitUsage);
    }
    if (!outputs.Open(&error)) {
        return g_interruptedBy != 0 ? Interrupted() : Fail(error, kExitUsage);
    }

    const RunSeed seed =
        SeedTheRun(options.seedGiven ? std::optional<std::uint32_t>(options.seed) : std::nullopt);
    if (seed.fromClock) {
        std::fprintf(stderr, "tarrow-render: seed %u\n", seed.value);
    }
    options.seed = seed.value;
    platform::RunHeadless();
    Progress progress(options.frames - options.from + 1, isatty(STDERR_FILENO) != 0);
    const std::optional<FrameRun> run =
        RunFrames(options, outputs, progress, g_interruptedBy, &error);
    if (run && g_interruptedBy != 0) {
        progress.Finish(run->done - options.from + 1, run->wallSeconds, false);
        return Interrupted();
    }
    if (!run) {
        return Fail(error);
    }
    return Commit(options, *run, outputs, progress);
}
