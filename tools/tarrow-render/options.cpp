// options.cpp - parsing and checking the command line.
#include "tarrow-render/options.h"

#include "options/option_table.h"
#include "tarrow-render/chunk.h"
#include "tarrow-render/frames_folder.h"

namespace {

using O = RenderOptions;

// --chunk K/N, or N with K from the farm's engine (read once the options are).
Option<O> ChunkOption() {
    Option<O> option{{"chunk", "", "K/N",
                      "draw chunk K of N of the run's frames into --png DIR, then write "
                      "DIR/chunk-K-of-N.json, the chunk's manifest (needs --seed); N alone "
                      "takes K from SLURM_ARRAY_TASK_ID or JOB_COMPLETION_INDEX (K-1)",
                      true},
                     {}};
    option.read = [](O& options, const std::string& text, const std::string& spelt) {
        const std::size_t slash = text.find('/');
        unsigned long long count = 0;
        unsigned long long index = 0;
        const std::string what = "K/N, or N, with 1 <= K <= N";
        Problem problem =
            option_values::Number(text.substr(slash == std::string::npos ? 0 : slash + 1), 1,
                                  kMostFrames, what, spelt, &count);
        if (!problem && slash != std::string::npos) {
            problem = option_values::Number(text.substr(0, slash), 1, count, what, spelt, &index);
        }
        if (problem) {
            return Problem(spelt + " needs " + what + ", not '" + text + "'");
        }
        options.chunks = static_cast<long>(count);
        options.chunk = static_cast<long>(index);
        return Problem();
    };
    return option;
}

// Every option, in the order --help lists them.
const OptionTable<O>& Table() {
    static const OptionTable<O> table{
        Count<O, long>(
            "frames", "N", "a whole number of frames", 0, kMostFrames,
            "frames to render, 0 to 1000000000 (default 600); 0 renders none and only dumps",
            &O::frames),
        Seed<O>("seed of the per-frame draws: camera legs, movers' turns, lights' colours "
                "(default: from the clock, printed); the city's layout is the same in every run",
                &O::seed, &O::seedGiven),
        Size<O>("size", "window size the scene sees, 1 to 16384 a side (default 1680x1050)",
                &O::width, &O::height, &O::sizeGiven),
        Count<O, long>("from", "N", "a frame number", 1, kMostFrames,
                       "draw and write frames N to --frames only, for splitting a recording "
                       "across processes (needs --seed); the frames are those of the whole run, "
                       "byte for byte",
                       &O::from),
        Path<O>("png", "DIR",
                "write frames as DIR/frame-000001.png ... (six digits: up to frame 999999)",
                &O::pngDirectory),
        Count<O, long>("every", "K", "a whole number", 1, kMostFrames,
                       "with --png, keep frames K, 2K, 3K ... (default 1)", &O::every,
                       &O::everyGiven),
        Flag<O>("overwrite", "",
                "with --png, replace the frames DIR already holds (of this run's range)",
                &O::overwrite),
        Path<O>("y4m", "FILE", "write a YUV4MPEG2 video at 60 frames a second", &O::y4mPath),
        ChunkOption(),
        Path<O>("join", "DIR",
                "join the chunks in DIR into the --y4m video, once their manifests prove "
                "every frame of the run is there, once, as made",
                &O::joinDirectory),
        Path<O>("dump-state", "FILE", "after the last frame, the whole scene state as JSON",
                &O::statePath),
        Path<O>("dump-texture", "FILE", "the glow texture as a 128x128 RGBA PNG", &O::texturePath),
        Flag<O>("logic-only", "", "no GL: run every actor's calculation, draw nothing",
                &O::logicOnly),
        Flag<O>("bench", "", "print frame-time statistics after the run", &O::bench),
        Flag<O>("help", "-h", "print this text", &O::help),
        Flag<O>("version", "", "print the version", &O::version),
    };
    return table;
}

} // namespace

std::string UsageText() {
    return "Usage: tarrow-render [options]\n"
           "Renders the demo headless, frame-exact, on the offscreen GL driver. A run\n"
           "writes at least one output or measures (--bench).\n"
           "\n" +
           OptionsHelp(Table()) +
           "\n"
           "FILE may be - for standard output, a device or a FIFO; a file appears under\n"
           "its name only when complete. An interrupted run removes its unfinished files\n"
           "and keeps the PNG frames it finished. --png locks its range of frames in DIR\n"
           "(DIR/.tarrow-render.lock) until it ends: a run whose range overlaps it is\n"
           "refused, runs of ranges apart write into DIR side by side.\n"
           "Frame times cover Update, Draw, the read-back and the swap; the median and\n"
           "95th percentile are within 1 % of the exact values. Frames per second count\n"
           "the whole frame loop, writing included.\n"
           "Example: tarrow-render --frames 3600 --y4m - | ffmpeg -i - tarrow.mp4\n";
}

namespace {

// A join reads a folder and writes a video; nothing else.
Problem CheckJoin(const RenderOptions& options) {
    const RenderOptions plain;
    if (options.y4mPath.empty()) {
        return "--join writes the joined video: name it with --y4m";
    }
    if (options.frames != plain.frames || options.seedGiven || options.sizeGiven ||
        options.from != plain.from || !options.pngDirectory.empty() || options.everyGiven ||
        options.overwrite || !options.statePath.empty() || !options.texturePath.empty() ||
        options.chunks != 0 || options.logicOnly || options.bench) {
        return "--join takes only --y4m: the run's frames, seed and size are the chunks' own";
    }
    return std::nullopt;
}

// A chunk draws its share of the run into the shared --png folder, every
// frame of it, and nothing else.
Problem CheckChunk(RenderOptions* options) {
    if (options->pngDirectory.empty() || !options->seedGiven) {
        return "--chunk draws into the shared folder of --png DIR and needs --seed: every "
               "chunk must draw the same run";
    }
    if (options->from != 1 || options->everyGiven || !options->y4mPath.empty() ||
        options->logicOnly) {
        return "--chunk picks its own frames and writes each of them to --png: it takes no "
               "--from, --every, --y4m or --logic-only";
    }
    if (options->chunks > options->frames) {
        return "--chunk " + std::to_string(options->chunks) + " needs at least as many frames, " +
               "not --frames " + std::to_string(options->frames);
    }
    if (options->chunk == 0) {
        if (Problem problem = ChunkFromEnvironment(options->chunks, &options->chunk)) {
            return problem;
        }
    }
    const FrameRange range = RangeOfChunk(options->chunk, options->chunks, options->frames);
    options->runFrames = options->frames;
    options->from = range.first;
    options->frames = range.last;
    options->overwrite = true; // the chunk's own frames, from a run that did not finish
    return std::nullopt;
}

// What the options ask for together, checked once each is read.
std::optional<std::string> CheckCombination(RenderOptions* given) {
    const RenderOptions& options = *given;
    if (options.help || options.version) {
        return std::nullopt;
    }
    if (!options.joinDirectory.empty()) {
        return CheckJoin(options);
    }
    if (options.chunks != 0) {
        if (Problem problem = CheckChunk(given)) {
            return problem;
        }
    }
    const bool writes = !options.pngDirectory.empty() || !options.y4mPath.empty() ||
                        !options.statePath.empty() || !options.texturePath.empty();
    if (!writes && !options.bench) {
        return "nothing to do: name an output (--png, --y4m, --dump-state, --dump-texture) or "
               "measure with --bench";
    }
    if (options.logicOnly && (!options.pngDirectory.empty() || !options.y4mPath.empty())) {
        return "--logic-only draws nothing, so it cannot write --png or --y4m frames";
    }
    if (options.logicOnly && options.sizeGiven) {
        return "--logic-only draws nothing, so --size does nothing";
    }
    if (options.pngDirectory.empty() && options.everyGiven) {
        return "--every picks the --png frames to keep; without --png it does nothing";
    }
    if (options.pngDirectory.empty() && options.overwrite) {
        return "--overwrite replaces --png frames; without --png it does nothing";
    }
    if (options.pngDirectory == "-") {
        return "--png needs a folder; - is standard output";
    }
    if (options.from > 1 && !options.seedGiven) {
        return "--from needs --seed: every process of a split recording must draw the same run";
    }
    if (options.from > 1 && options.logicOnly) {
        return "--from picks the frames to draw; --logic-only draws none";
    }
    if (options.from > options.frames && options.from > 1) {
        return "--from " + std::to_string(options.from) + " lies past the last frame, --frames " +
               std::to_string(options.frames);
    }
    if (!options.pngDirectory.empty() && options.frames > kLastNamedFrame) {
        return "--png names frames with six digits, so that they sort in frame order: up to "
               "frame 999999 (4.6 hours at 60 frames a second), not --frames " +
               std::to_string(options.frames);
    }
    if (!options.pngDirectory.empty() && options.frames < options.from) {
        return "--png would write no frame: --frames 0 draws none";
    }
    if (!options.pngDirectory.empty() &&
        options.frames / options.every * options.every < options.from) {
        return "--png would write no frame: no multiple of --every " +
               std::to_string(options.every) + " lies in frames " + std::to_string(options.from) +
               " to " + std::to_string(options.frames);
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> ParseOptions(int argc, char** argv, RenderOptions* options) {
    if (auto problem = ReadCommandLine(argc, argv, Table(), options)) {
        return problem;
    }
    return CheckCombination(options);
}
