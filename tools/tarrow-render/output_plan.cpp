// output_plan.cpp - resolving, checking, opening and committing a run's outputs.
#include "tarrow-render/output_plan.h"

#include "tarrow-render/chunk.h"

#include "tarrow-render/standard_streams.h"

#include <unistd.h>

#include <cerrno>

namespace {

// Whether `target` is written to what standard descriptor `standard` holds.
bool Takes(const OutputTarget& target, int standard) {
    const std::optional<Place> place = StandardPlace(standard);
    return target.standard == standard ||
           (place && *place == target.place && !place->IsNullDevice());
}

// Writes an output made at the end of the run, and puts it in place.
bool Finish(OutputFile* file, const OutputPlan::Writer& write, std::string* error) {
    if (file == nullptr) {
        return true;
    }
    if (!write(file->stream())) {
        *error = file->Failure(errno);
        return false;
    }
    return file->Commit(error);
}

} // namespace

bool OutputPlan::Make(const RenderOptions& options, std::string* error) {
    if (!Plan(options, error)) {
        frames_.reset(); // removes the folder it made
        planned_.clear();
        return false;
    }
    return true;
}

bool OutputPlan::Plan(const RenderOptions& options, std::string* error) {
    overwrite_ = options.overwrite;
    if (!options.pngDirectory.empty()) {
        frames_.emplace(options.pngDirectory, options.from, options.frames, options.every,
                        options.chunks != 0 ? ManifestName(options.chunk, options.chunks) : "");
        if (!frames_->Take(options.overwrite, error)) {
            return false;
        }
    }
    const struct {
        const char* option;
        const std::string& path;
        const char* what;
        std::unique_ptr<OutputFile>* file;
    } asked[] = {{"--y4m", options.y4mPath, "the video", &video_},
                 {"--dump-state", options.statePath, "the state dump", &state_},
                 {"--dump-texture", options.texturePath, "the texture", &texture_}};
    bool takesStderr = false;
    for (const auto& output : asked) {
        if (output.path.empty()) {
            continue;
        }
        const std::optional<OutputTarget> target = ResolveOutput(output.path, output.what, error);
        if (!target) {
            return false;
        }
        for (const Planned& earlier : planned_) {
            if (SharePlace(earlier.target, *target)) {
                *error = std::string(earlier.option) + " and " + output.option + " both write " +
                         output.path + "; one would be lost";
                return false;
            }
        }
        if (frames_ && frames_->Holds(*target)) {
            *error = std::string(output.option) + " " + output.path +
                     " is among the --png frames; one would be lost";
            return false;
        }
        takesStdout_ = takesStdout_ || Takes(*target, STDOUT_FILENO);
        takesStderr = takesStderr || Takes(*target, STDERR_FILENO);
        planned_.push_back(Planned{output.option, *target, output.file});
    }
    // A terminal shows both; a file or pipe would get the messages mixed in.
    if (takesStderr && isatty(STDERR_FILENO) == 0) {
        if (options.bench && takesStdout_) {
            *error = "--bench has nowhere to report: outputs take both standard output and "
                     "standard error";
            return false;
        }
        SilenceStandardError();
    }
    return true;
}

bool OutputPlan::Open(std::string* error) {
    for (Planned& output : planned_) {
        *output.file = OutputFile::Open(output.target, error);
        if (!*output.file) {
            return false;
        }
        output.target.descriptor.reset();
    }
    if (video_ && isatty(fileno(video_->stream())) != 0) {
        *error = "refusing to write video to a terminal: pipe it or name a file";
        return false;
    }
    return !(frames_ && overwrite_) || frames_->RemoveOldFrames(error);
}

bool OutputPlan::Commit(const Writer& state, const Writer& texture, std::string* error) {
    return (!video_ || video_->Commit(error)) && Finish(state_.get(), state, error) &&
           Finish(texture_.get(), texture, error);
}
