// options.cpp - parsing and checking the command line.
#include "tools/tarrow-render/options.h"

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
           "Renders the demo headless, frame-exact, on the offscreen GL driver.\n"
           "\n"
           "  --frames N        frames to render (default 600); 0 renders none and only dumps\n"
           "  --seed S          seed of the per-frame draws (default: from the clock, printed)\n"
           "  --size WxH        window size the scene sees (default 1680x1050)\n"
           "  --png DIR         write frames as DIR/frame-000001.png ...\n"
           "  --every K         with --png, keep frames K, 2K, 3K ... (default 1)\n"
           "  --y4m FILE        write a YUV4MPEG2 video at 60 frames a second; - for stdout\n"
           "  --dump-state FILE after the last frame, the whole scene state as JSON\n"
           "  --dump-texture FILE  the glow texture as a 128x128 RGBA PNG\n"
           "  --logic-only      no GL: run every actor's calculation, draw nothing\n"
           "  --bench           print frame-time statistics after the run\n"
           "  --help, --version\n"
           "\n"
           "Frame times cover Update, Draw, the read-back and the swap; frames per second\n"
           "count the whole frame loop, writing included.\n"
           "Example: tarrow-render --frames 3600 --y4m - | ffmpeg -i - tarrow.mp4\n";
}

std::optional<std::string> ParseOptions(int argc, char** argv, RenderOptions* options) {
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        std::optional<std::string> value;
        if (const std::size_t equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        const bool takesValue = name == "--frames" || name == "--seed" || name == "--size" ||
                                name == "--png" || name == "--every" || name == "--y4m" ||
                                name == "--dump-state" || name == "--dump-texture";
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
            if (!ReadCount(*value, 1'000'000'000ULL, &number)) {
                return "--frames needs a whole number of frames, not '" + *value + "'";
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
                return "--size needs WxH with each side from 1 to 16384, not '" + *value + "'";
            }
        } else if (name == "--every") {
            if (!ReadCount(*value, 1'000'000'000ULL, &number) || number == 0) {
                return "--every needs a whole number of at least 1, not '" + *value + "'";
            }
            options->every = static_cast<long>(number);
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
        } else if (name == "--logic-only") {
            options->logicOnly = true;
        } else if (name == "--bench") {
            options->bench = true;
        } else if (name == "--help" || name == "-h") {
            options->help = true;
        } else if (name == "--version") {
            options->version = true;
        } else {
            return "unknown option '" + name + "' (see --help)";
        }
    }
    if (options->logicOnly && (!options->pngDirectory.empty() || !options->y4mPath.empty())) {
        return "--logic-only draws nothing, so it cannot write --png or --y4m frames";
    }
    return std::nullopt;
}
