// chunk.h - one chunk of a recording split over many machines, and the
// manifest that says what it made.
//
// Chunk K of N of a run of F frames draws frames floor((K-1)*F/N)+1 to
// floor(K*F/N): every frame in exactly one chunk, the chunks' sizes at most
// one frame apart. Its manifest, chunk-K-of-N.json in the frames folder,
// names the build, the seed, the size, the renderer, the chunk's range and
// the run's, and each frame written with the SHA-256 of its file; it is
// written last, so a chunk without one is unfinished.
#pragma once

#include "options/option_table.h"

#include <optional>
#include <string>
#include <vector>

struct FrameRange {
    long first;
    long last;
};

FrameRange RangeOfChunk(long chunk, long chunks, long frames);

// The chunk's number (1-based) that a farm's engine gives this task, from its
// environment: Slurm's array task id or Kubernetes' completion index, both
// 0-based. The id alone names the chunk, never the array's bounds or step:
// an index resubmitted alone (sbatch --array=3, whose array then starts at
// 3) draws the same chunk again. The reason when neither is set, or the
// number lies past `chunks`.
Problem ChunkFromEnvironment(long chunks, long* chunk);

std::string ManifestName(long chunk, long chunks);

struct FrameDigest {
    long frame;
    std::string sha256;
};

struct Manifest {
    std::string version;  // the renderer's, "1.0.0"
    std::string revision; // the git revision it was built from, or empty
    std::uint32_t seed = 0;
    int width = 0;
    int height = 0;
    long chunk = 0;
    long chunks = 0;
    FrameRange range{0, 0}; // the chunk's frames
    FrameRange run{0, 0};   // the whole run's
    std::string renderer;   // the GL renderer's own name
    std::vector<FrameDigest> frames;
};

std::string ManifestJson(const Manifest& manifest);
// A manifest read back: the reason it is not one, or nothing.
Problem ReadManifest(const std::string& json, Manifest* manifest);

// The build's version and revision, from TARROW_VERSION ("1.0.0 (git abc1234)").
Manifest BuildManifest();
