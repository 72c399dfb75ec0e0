// join.h - the chunks of a recording made on many machines, joined into one
// video with proof that it is the run's: byte for byte the video a single
// run's --y4m writes.
//
// The join reads every chunk-K-of-N.json in the folder and refuses, naming
// what is wrong, chunks of different runs (seed, size, the run's frames),
// renderers (pixels are exact only per renderer) or builds; frames that no
// chunk covers or that two cover; and a frame that is missing or whose file
// no longer has the SHA-256 its chunk wrote down. Only then does it decode
// the frames, in order, into the video, which appears under its name only
// when complete (as any output of the renderer: output_file.h).
#pragma once

#include <csignal>
#include <string>

struct JoinResult {
    std::string error;    // empty: joined
    bool refused = false; // the chunks are not a whole run (else the video could not be written)
};

// Stops, leaving no video, once `interruptedBy` holds a signal.
JoinResult JoinChunks(const std::string& folder, const std::string& videoPath,
                      const volatile std::sig_atomic_t& interruptedBy);
