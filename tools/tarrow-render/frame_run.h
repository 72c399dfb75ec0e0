// frame_run.h - the frames of a run: the scene made (in an offscreen context,
// or its logic alone), brought to the run's first frame, then each frame of
// the range drawn and handed to the outputs' capture.
#pragma once

#include "tarrow-render/chunk.h"
#include "tarrow-render/frame_stats.h"
#include "tarrow-render/options.h"
#include "tarrow-render/output_plan.h"
#include "tarrow-render/progress.h"

#include <csignal>
#include <optional>
#include <string>

struct FrameRun {
    long done = 0; // the last frame drawn
    FrameTimes times;
    double wallSeconds = 0;           // the frame loop's, writing included
    std::string renderer;             // the GL renderer, or that there was none
    std::vector<FrameDigest> digests; // a chunk's stills, with their SHA-256
};

// Draws the run's frames into the opened outputs. Stops early once
// `interruptedBy` holds a signal, with the capture stopped; a failure (no
// context, a frame that could not be written) is one line in `error`.
std::optional<FrameRun> RunFrames(const RenderOptions& options, OutputPlan& outputs,
                                  Progress& progress,
                                  const volatile std::sig_atomic_t& interruptedBy,
                                  std::string* error);
