// output_plan.h - every output of a run, planned in one place: resolved and
// checked against each other before anything is written, opened, and put in
// place at the end.
//
//   Make     makes the frames folder where it is missing and locks the run's
//            range of it, then resolves each output (output_file.h) as the
//            kernel sees it, now that every folder a path names exists; and
//            refuses two outputs in one place (however each is spelled: see
//            place.h), an output among the --png frames, and a frames folder
//            that would lose or mix frames. A refused plan removes the folder
//            it made. Where an output takes what standard error holds, the
//            run's messages stop there.
//   Open     opens the files (a FIFO waits here for its reader), then removes
//            the frames --overwrite replaces
//   Commit   writes what is made at the end (the state dump, the texture) and
//            puts every file in place
//
// Whatever is not committed leaves nothing half-written behind.
#pragma once

#include "tarrow-render/frames_folder.h"
#include "tarrow-render/options.h"
#include "tarrow-render/output_file.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class OutputPlan {
  public:
    // Writes an output made at the end of the run; false when the stream failed.
    using Writer = std::function<bool(std::FILE*)>;

    // The outputs `options` ask for, resolved and checked; false with a
    // one-line reason in `error` when the run must not start.
    bool Make(const RenderOptions& options, std::string* error);
    bool Open(std::string* error);
    bool Commit(const Writer& state, const Writer& texture, std::string* error);

    FramesFolder* frames() { return frames_ ? &*frames_ : nullptr; }
    OutputFile* video() { return video_.get(); }
    // An output takes standard output, so reports go to standard error.
    bool TakesStdout() const { return takesStdout_; }

  private:
    struct Planned {
        const char* option;
        OutputTarget target;
        std::unique_ptr<OutputFile>* file;
    };

    bool Plan(const RenderOptions& options, std::string* error);

    bool overwrite_ = false;
    std::optional<FramesFolder> frames_;
    std::unique_ptr<OutputFile> video_;
    std::unique_ptr<OutputFile> state_;
    std::unique_ptr<OutputFile> texture_;
    std::vector<Planned> planned_;
    bool takesStdout_ = false;
};
