// options.cpp - parsing and checking the command line.
#include "tools/tarrow-render/options.h"

#include "tools/tarrow-render/frames_folder.h"

#include <charconv>
#include <string_view>

namespace {

// A whole, non-negative decimal number no larger than `largest`.
bool ReadCount(std::string_view text, unsigned long long largest, unsigned long long* value) {
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return false;
    }
    const char* end = text.data() + text.size();
    const auto [stop, problem] = std::from_chars(text.data(), end, *value);
    return problem == std::errc() && stop == end && *value <= largest;
}

bool ReadSize(std::string_view text, int* width, int* height) {
    const std::size_t cross = text.find('x');
    unsigned long long w = 0;
    unsigned long long h = 0;
    if (cross == std::string_view::npos || !ReadCount(text.substr(0, cross), kLargestEdge, &w) ||
        !ReadCount(text.substr(cross + 1), kLargestEdge, &h) || w == 0 || h == 0) {
        return false;
    }
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

} // namespace

const char* UsageText() {
    return "Usage: tarrow-render [options]\n"
           "Renders the demo headless, frame-exact, on the offscreen GL driver. A run\n"
           "writes at least one output or measures (--bench).\n"
           "\n"
           "  --frames N        frames to render, 0 to 1000000000 (default 600); 0 renders\n"
           "                    none and only dumps\n"
           "  --seed S          seed of the per-frame draws: camera legs, movers' turns,\n"
           "                    lights' colours (default: from the clock, printed); the\n"
           "                    city's layout is the same in every run\n"
           "  --size WxH        window size the scene sees, 1 to 16384 a side\n"
           "                    (default 1680x1050)\n"
           "  --from N          draw and write frames N to --frames only, for splitting a\n"
           "                    recording across processes (needs --seed); the frames are\n"
           "                    those of the whole run, byte for byte\n"
           "  --png DIR         write frames as DIR/frame-000001.png ...\n"
           "  --every K         with --png, keep frames K, 2K, 3K ... (default 1)\n"
           "  --overwrite       with --png, replace the frames DIR already holds (of this\n"
           "                    run's range)\n"
           "  --y4m FILE        write a YUV4MPEG2 video at 60 frames a second\n"
           "  --dump-state FILE after the last frame, the whole scene state as JSON\n"
           "  --dump-texture FILE  the glow texture as a 128x128 RGBA PNG\n"
           "  --logic-only      no GL: run every actor's calculation, draw nothing\n"
           "  --bench           print frame-time statistics after the run\n"
           "  -h, --help, --version\n"
           "\n"
           "FILE may be - for standard output, a device or a FIFO; a file appears under\n"
           "its name only when complete. An interrupted run removes its unfinished files\n"
           "and keeps the PNG frames it finished.\n"
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
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        std::optional<std::string> value;
        if (const std::size_t equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        const bool takesValue = name == "--frames" || name == "--seed" || name == "--size" ||
                                name == "--from" || name == "--png" || name == "--every" ||
                                name == "--y4m" || name == "--dump-state" ||
                                name == "--dump-texture";
        const bool flag = name == "--overwrite" || name == "--logic-only" || name == "--bench" ||
                          name == "--help" || name == "-h" || name == "--version";
        if (!takesValue && !flag) {
            return "unknown option '" + name + "' (see --help)";
        }
        if (takesValue && !value) {
            if (i + 1 >= argc) {
                return name + " needs a value";
            }
            value = argv[++i];
        } else if (!takesValue && value) {
            return name + " takes no value";
        }
        unsigned long long number = 0;
        if (name == "--frames") {
            if (!ReadCount(*value, kMostFrames, &number)) {
                return "--frames needs a whole number of frames from 0 to " +
                       std::to_string(kMostFrames) + ", not '" + *value + "'";
            }
            options->frames = static_cast<long>(number);
        } else if (name == "--seed") {
            if (!ReadCount(*value, UINT32_MAX, &number)) {
                return "--seed needs a whole number from 0 to 4294967295, not '" + *value + "'";
            }
            options->seed = static_cast<std::uint32_t>(number);
            options->seedGiven = true;
        } else if (name == "--size") {
            if (!ReadSize(*value, &options->width, &options->height)) {
                const bool upperX = value->find('X') != std::string::npos;
                return "--size needs WxH with each side from 1 to " + std::to_string(kLargestEdge) +
                       ", not '" + *value + "'" +
                       (upperX ? " (a lower-case x between the sides)" : "");
            }
            options->sizeGiven = true;
        } else if (name == "--from") {
            if (!ReadCount(*value, kMostFrames, &number) || number == 0) {
                return "--from needs a frame number from 1 to " + std::to_string(kMostFrames) +
                       ", not '" + *value + "'";
            }
            options->from = static_cast<long>(number);
        } else if (name == "--every") {
            if (!ReadCount(*value, kMostFrames, &number) || number == 0) {
                return "--every needs a whole number from 1 to " + std::to_string(kMostFrames) +
                       ", not '" + *value + "'";
            }
            options->every = static_cast<long>(number);
            options->everyGiven = true;
        } else if (name == "--png" || name == "--y4m" || name == "--dump-state" ||
                   name == "--dump-texture") {
            if (value->empty()) {
                return name + " needs a path";
            }
            std::string& path = name == "--png"          ? options->pngDirectory
                                : name == "--y4m"        ? options->y4mPath
                                : name == "--dump-state" ? options->statePath
                                                         : options->texturePath;
            path = *value;
        } else if (name == "--overwrite") {
            options->overwrite = true;
        } else if (name == "--logic-only") {
            options->logicOnly = true;
        } else if (name == "--bench") {
            options->bench = true;
        } else if (name == "--help" || name == "-h") {
            options->help = true;
        } else {
            options->version = true;
        }
    }
    return CheckCombination(*options);
}
