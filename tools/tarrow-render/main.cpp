// main.cpp - tarrow-render: the demo headless and frame-exact, to images,
// video, a state dump and frame-time statistics.
//
// The same scene code as the interactive program, driven the same way: the
// frame's window and context (offscreen), Initialize, then Update and Draw per
// frame. The clock seed Initialize makes is replaced by the run's own seed, so
// one seed and frame count always give the same state, and on one GL driver
// the same pixels. Frames are not paced: the scene's 2 ms pause is skipped.
#include "platform/extras.h"
#include "platform/runtime.h"
#include "scene/glow_texture.h"
#include "scene/vesk_nb_17.h"
#include "tools/tarrow-render/frame_stats.h"
#include "tools/tarrow-render/offscreen_scene.h"
#include "tools/tarrow-render/options.h"
#include "tools/tarrow-render/output_file.h"
#include "tools/tarrow-render/png_image.h"
#include "tools/tarrow-render/progress.h"
#include "tools/tarrow-render/state_dump.h"
#include "tools/tarrow-render/y4m_video.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

volatile std::sig_atomic_t g_interruptedBy = 0;

void OnInterrupt(int signal) {
    g_interruptedBy = signal;
}

int Fail(const std::string& message, int status = kExitFailed) {
    std::fprintf(stderr, "tarrow-render: %s\n", message.c_str());
    return status;
}

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration elapsed) {
    return std::chrono::duration<double, std::milli>(elapsed).count();
}

std::string FramePath(const std::string& directory, long frame) {
    char name[32];
    std::snprintf(name, sizeof(name), "/frame-%06ld.png", frame);
    return directory + name;
}

bool WriteStill(const std::string& path, int width, int height, const std::uint8_t* rgb,
                std::string* error) {
    std::unique_ptr<OutputFile> file = OutputFile::Create(path, error);
    if (!file) {
        return false;
    }
    if (!WritePng(file->stream(), width, height, 3, rgb)) {
        *error = "writing " + path + " failed";
        return false;
    }
    return file->Commit(error);
}

// The files a run asked for, opened before the first frame so that a place
// that cannot be written is reported before any work is done.
struct Outputs {
    std::unique_ptr<OutputFile> video;
    std::unique_ptr<OutputFile> state;
    std::unique_ptr<OutputFile> texture;
    std::FILE* videoStream = nullptr;
};

std::optional<std::string> OpenOutputs(const RenderOptions& options, Outputs* outputs) {
    std::string error;
    if (!options.pngDirectory.empty() && !PrepareDirectory(options.pngDirectory, &error)) {
        return error;
    }
    const auto open = [&error](const std::string& path, std::unique_ptr<OutputFile>* file) {
        if (!path.empty()) {
            *file = OutputFile::Create(path, &error);
        }
        return path.empty() || *file != nullptr;
    };
    if (options.y4mPath == "-") {
        if (isatty(STDOUT_FILENO) != 0) {
            return std::string("refusing to write video to a terminal: pipe it or name a file");
        }
        outputs->videoStream = stdout;
    } else if (!open(options.y4mPath, &outputs->video)) {
        return error;
    } else if (outputs->video) {
        outputs->videoStream = outputs->video->stream();
    }
    if (!open(options.statePath, &outputs->state) ||
        !open(options.texturePath, &outputs->texture)) {
        return error;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    RenderOptions options;
    if (const auto problem = ParseOptions(argc, argv, &options)) {
        return Fail(*problem, kExitUsage);
    }
    if (options.help) {
        std::fputs(UsageText(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("tarrow-render %s\n", TARROW_VERSION);
        return 0;
    }

    // Caught before any file exists, so an interrupted run always tidies up.
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    std::signal(SIGPIPE, SIG_IGN); // a closed pipe shows as a failed write
    Outputs outputs;
    if (const auto problem = OpenOutputs(options, &outputs)) {
        return Fail(*problem, kExitUsage);
    }

    if (!options.seedGiven) {
        options.seed = static_cast<std::uint32_t>(platform::time(nullptr));
        std::fprintf(stderr, "tarrow-render: seed %u\n", options.seed);
    }
    std::FILE* report = outputs.videoStream == stdout ? stderr : stdout;

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
    if (outputs.videoStream != nullptr) {
        video.emplace(outputs.videoStream, options.width, options.height);
    }
    std::vector<std::uint8_t> rgb;
    std::vector<double> frameMs;
    frameMs.reserve(static_cast<std::size_t>(options.frames));
    Progress progress(options.frames, isatty(STDERR_FILENO) != 0);
    std::string error;
    const Clock::time_point loopStart = Clock::now();
    long done = 0;
    while (done < options.frames && g_interruptedBy == 0) {
        const Clock::time_point frameStart = Clock::now();
        if (scene) {
            scene->RenderFrame(&rgb);
        } else {
            AdvanceScene();
        }
        frameMs.push_back(Milliseconds(Clock::now() - frameStart));
        ++done;
        if (!options.pngDirectory.empty() && done % options.every == 0 &&
            !WriteStill(FramePath(options.pngDirectory, done), options.width, options.height,
                        rgb.data(), &error)) {
            return Fail(error);
        }
        if (video && !video->WriteFrame(rgb.data())) {
            return Fail(std::string("writing the video failed: ") + std::strerror(errno));
        }
        progress.Update(done);
    }
    const double wallSeconds = std::chrono::duration<double>(Clock::now() - loopStart).count();
    if (g_interruptedBy != 0) {
        progress.Finish(done);
        return Fail("interrupted; unfinished files removed", 128 + g_interruptedBy);
    }

    if (outputs.video && !outputs.video->Commit(&error)) {
        return Fail(error);
    }
    if (outputs.videoStream == stdout && std::fflush(stdout) != 0) {
        return Fail(std::string("writing the video failed: ") + std::strerror(errno));
    }
    if (outputs.state) {
        const std::string json = SceneStateJson(options.seed, done);
        std::fwrite(json.data(), 1, json.size(), outputs.state->stream());
        if (!outputs.state->Commit(&error)) {
            return Fail(error);
        }
    }
    if (outputs.texture) {
        if (!WritePng(outputs.texture->stream(), texo, texo, 4, mtex)) {
            return Fail("writing " + outputs.texture->path() + " failed");
        }
        if (!outputs.texture->Commit(&error)) {
            return Fail(error);
        }
    }
    progress.Finish(done);
    if (options.bench) {
        std::fputs(FormatStats(Summarise(frameMs, wallSeconds), renderer).c_str(), report);
    }
    return 0;
}
