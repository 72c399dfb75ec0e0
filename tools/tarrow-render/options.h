// options.h - tarrow-render's command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct RenderOptions {
    long frames = 600; // the last frame; the run draws frames `from` to `frames`
    long from = 1;
    bool seedGiven = false;
    std::uint32_t seed = 0;
    int width = 1680;
    int height = 1050;
    bool sizeGiven = false;
    std::string pngDirectory; // empty: no stills
    long every = 1;           // keep frames every, 2 * every, ...
    bool everyGiven = false;
    bool overwrite = false; // --png may replace the frames a folder holds
    std::string y4mPath;    // "-" is standard output
    std::string statePath;
    std::string texturePath;
    // --chunk K/N: chunk `chunk` (1-based) of `chunks` of the run's frames 1 to
    // `runFrames`; `from` and `frames` are then the chunk's first and last.
    long chunk = 0;
    long chunks = 0;
    long runFrames = 0;
    std::string joinDirectory; // --join: the chunks' folder, joined into the --y4m video
    bool logicOnly = false;
    bool bench = false;
    bool help = false;
    bool version = false;
};

// Reads the arguments into `options`. Returns a one-line message naming the
// problem when they are not a valid request (one that writes or measures
// nothing, or asks for what its other options make pointless, included);
// checks no files.
std::optional<std::string> ParseOptions(int argc, char** argv, RenderOptions* options);

std::string UsageText();
