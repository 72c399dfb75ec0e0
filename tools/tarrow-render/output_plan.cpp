// output_plan.cpp - resolving, checking, opening and committing a run's outputs.
#include "tools/tarrow-render/output_plan.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

bool SameAsStdout(const OutputTarget& target) {
    struct stat standard {};
    return target.descriptor == STDOUT_FILENO ||
           (!target.characterDevice && fstat(STDOUT_FILENO, &standard) == 0 &&
            target.place == Place{standard.st_dev, standard.st_ino, ""});
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
    overwrite_ = options.overwrite;
    if (!options.pngDirectory.empty()) {
        frames_.emplace(options.pngDirectory, options.from, options.frames, options.every);
        if (!frames_->Survey(options.overwrite, error)) {
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
        takesStdout_ = takesStdout_ || SameAsStdout(*target);
        planned_.push_back(Planned{output.option, *target, output.file});
    }
    return true;
}

bool OutputPlan::Open(std::string* error) {
    if (frames_ && !frames_->Prepare(error)) {
        return false;
    }
    for (Planned& output : planned_) {
        *output.file = OutputFile::Open(output.target, error);
        if (!*output.file) {
            return false;
        }
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
