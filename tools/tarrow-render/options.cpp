// options.cpp - parsing and checking the command line.
#include "tools/tarrow-render/options.h"

#include "framework/option_table.h"
#include "tools/tarrow-render/frames_folder.h"

namespace {

using Problem = std::optional<std::string>;

// An option whose value is a count from `least` to kMostFrames.
CommandOption Count(const char* name, const char* value, const char* what, long least,
                    const char* help, long* count, bool* given = nullptr) {
    return {name, "", value, help, [=](const std::string& text) -> Problem {
                unsigned long long number = 0;
                if (!ReadWholeNumber(text, kMostFrames, &number) ||
                    number < static_cast<unsigned long long>(least)) {
                    return std::string(name) + " needs " + what + " from " + std::to_string(least) +
                           " to " + std::to_string(kMostFrames) + ", not '" + text + "'";
                }
                *count = static_cast<long>(number);
                if (given != nullptr) {
                    *given = true;
                }
                return std::nullopt;
            }};
}

// An option naming a file or folder to write: once, as a second would take
// the first's place.
CommandOption Output(const char* name, const char* value, const char* help, std::string* path) {
    CommandOption option{name, "", value, help, [=](const std::string& text) -> Problem {
                             if (text.empty()) {
                                 return std::string(name) + " needs a path";
                             }
                             *path = text;
                             return std::nullopt;
                         }};
    option.once = true;
    return option;
}

CommandOption Flag(const char* name, const char* alias, const char* help, bool* set) {
    return {name, alias, "", help, [=](const std::string&) -> Problem {
                *set = true;
                return std::nullopt;
            }};
}

// Every option, in the order --help lists them. `options` may be null for
// the help text alone.
std::vector<CommandOption> OptionTable(RenderOptions* options) {
    static RenderOptions unused;
    RenderOptions* o = options != nullptr ? options : &unused;
    return {
        Count("--frames", "N", "a whole number of frames", 0,
              "frames to render, 0 to 1000000000 (default 600); 0 renders none and only dumps",
              &o->frames),
        SeedOption("seed of the per-frame draws: camera legs, movers' turns, lights' colours "
                   "(default: from the clock, printed); the city's layout is the same in every "
                   "run",
                   &o->seed, &o->seedGiven),
        {"--size", "", "WxH", "window size the scene sees, 1 to 16384 a side (default 1680x1050)",
         [o](const std::string& text) -> Problem {
             if (!ReadSize(text, &o->width, &o->height)) {
                 const bool upperX = text.find('X') != std::string::npos;
                 return "--size needs WxH with each side from 1 to " +
                        std::to_string(kLargestEdge) + ", not '" + text + "'" +
                        (upperX ? " (a lower-case x between the sides)" : "");
             }
             o->sizeGiven = true;
             return std::nullopt;
         }},
        Count("--from", "N", "a frame number", 1,
              "draw and write frames N to --frames only, for splitting a recording across "
              "processes (needs --seed); the frames are those of the whole run, byte for byte",
              &o->from),
        Output("--png", "DIR",
               "write frames as DIR/frame-000001.png ... (six digits: up to frame 999999)",
               &o->pngDirectory),
        Count("--every", "K", "a whole number", 1,
              "with --png, keep frames K, 2K, 3K ... (default 1)", &o->every, &o->everyGiven),
        Flag("--overwrite", "",
             "with --png, replace the frames DIR already holds (of this run's range)",
             &o->overwrite),
        Output("--y4m", "FILE", "write a YUV4MPEG2 video at 60 frames a second", &o->y4mPath),
        Output("--dump-state", "FILE", "after the last frame, the whole scene state as JSON",
               &o->statePath),
        Output("--dump-texture", "FILE", "the glow texture as a 128x128 RGBA PNG", &o->texturePath),
        Flag("--logic-only", "", "no GL: run every actor's calculation, draw nothing",
             &o->logicOnly),
        Flag("--bench", "", "print frame-time statistics after the run", &o->bench),
        Flag("--help", "-h", "print this text", &o->help),
        Flag("--version", "", "print the version", &o->version),
    };
}

} // namespace

std::string UsageText() {
    return "Usage: tarrow-render [options]\n"
           "Renders the demo headless, frame-exact, on the offscreen GL driver. A run\n"
           "writes at least one output or measures (--bench).\n"
           "\n" +
           OptionsHelp(OptionTable(nullptr)) +
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

// What the options ask for together, checked once each is read.
std::optional<std::string> CheckCombination(const RenderOptions& options) {
    if (options.help || options.version) {
        return std::nullopt;
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
    if (auto problem = ReadCommandLine(argc, argv, OptionTable(options))) {
        return problem;
    }
    return CheckCombination(*options);
}
