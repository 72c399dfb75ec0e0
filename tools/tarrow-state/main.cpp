// main.cpp - tarrow-state: the scene's state after N frames for a seed, with
// nothing drawn, as the proof that a build runs the same scene as every other.
//
// The scene starts as the renderer's --logic-only run starts it (the glow
// image built, the degree tables filled, the blocks set up), then the frames'
// logic runs. Without --out the state after the last frame is written to
// standard output, byte for byte what `tarrow-render --logic-only
// --dump-state -` writes. With --out the program makes a new folder holding
//   state-N.json   the state after frame N, for each frame of --at and the last
//   hashes.txt     "FRAME HASH" a line for frames 0 to the last: the state's
//                  64-bit hash (16 hexadecimal digits) after each frame
//   glow.rgba      the glow image's raw bytes, 128 by 128 RGBA, row 0 first
//   degrees.f32    the degree tables, cosines then sines of 0 to 359 degrees,
//                  each float's bits least significant byte first (the C
//                  library's sin and cos fill them)
// made under a temporary name and renamed once whole, so a folder under its
// name is complete. Nothing in the output depends on the C library's
// formatting, so builds for other CPUs and systems compare byte for byte.
#include "headless/run_seed.h"
#include "headless/state_dump.h"
#include "options/option_table.h"
#include "scene/glow_texture.h"
#include "scene/vesk_nb_17.h"

#include <bit>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

struct StateOptions {
    long frames = 0;
    std::uint32_t seed = 0;
    bool seedGiven = false;
    std::set<long> at;
    std::string out;
    bool help = false;
    bool version = false;
};

using O = StateOptions;

const OptionTable<O>& Table() {
    static const OptionTable<O> table{
        Count<O, long>("frames", "N", "a whole number of frames", 0, kMostFrames,
                       "frames of logic to run, 0 to 1000000000 (default 0: the state at start)",
                       &O::frames),
        Seed<O>("seed of the per-frame draws (default: from the clock, printed)", &O::seed,
                &O::seedGiven),
        FrameList<O>("at", "with --out, also the state after each of these frames", &O::at),
        Path<O>("out", "DIR",
                "make the folder DIR with the states, every frame's hash and the glow image",
                &O::out),
        Flag<O>("help", "-h", "print this text", &O::help),
        Flag<O>("version", "", "print the version", &O::version),
    };
    return table;
}

std::string UsageText() {
    return "Usage: tarrow-state [options]\n"
           "Runs the demo's scene logic, drawing nothing, and states the scene: the\n"
           "state after the last frame as JSON on standard output, or with --out a\n"
           "folder of states, one hash of the state per frame and the glow image.\n"
           "\n" +
           OptionsHelp(Table());
}

int Fail(const std::string& message, int status = kExitFailed) {
    std::fprintf(stderr, "tarrow-state: %s\n", message.c_str());
    return status;
}

bool WriteAll(std::FILE* stream, const void* bytes, std::size_t size) {
    return std::fwrite(bytes, 1, size, stream) == size;
}

bool WriteFile(const std::filesystem::path& path, const void* bytes, std::size_t size) {
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = WriteAll(file, bytes, size);
    return std::fclose(file) == 0 && written;
}

// The floats' bits, each least significant byte first.
std::string LittleEndianWords(const float* values, int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i) {
        const auto word = std::bit_cast<std::uint32_t>(values[i]);
        for (int shift = 0; shift < 32; shift += 8) {
            bytes += static_cast<char>((word >> shift) & 0xffu);
        }
    }
    return bytes;
}

std::string StateAfter(const StateOptions& options, long frame) {
    return SceneStateJson(options.seed, frame, std::nullopt);
}

// "FRAME HASH\n", the hash as 16 lower-case hexadecimal digits.
void AddHashLine(std::string* lines, long frame) {
    char digits[16];
    const char* end = std::to_chars(digits, digits + 16, SceneStateHash(), 16).ptr;
    *lines += std::to_string(frame) + ' ';
    lines->append(16 - static_cast<std::size_t>(end - digits), '0');
    lines->append(digits, static_cast<std::size_t>(end - digits));
    *lines += '\n';
}

// The run into a new folder: false, with `error` set, when any of it could
// not be written (the partial folder is then removed).
bool RunInto(const StateOptions& options, std::string* error) {
    namespace fs = std::filesystem;
    const fs::path folder(options.out);
    fs::path partial = folder;
    partial += ".partial";
    std::error_code code;
    if (fs::exists(fs::symlink_status(folder, code))) {
        *error = options.out + " exists: name a folder to make";
        return false;
    }
    fs::remove_all(partial, code);
    if (!fs::create_directory(partial, code)) {
        *error = "cannot make " + partial.string() + ": " + code.message();
        return false;
    }
    std::string hashes;
    const std::string degrees = LittleEndianWords(cosd, maxd) + LittleEndianWords(sind, maxd);
    bool written = WriteFile(partial / "glow.rgba", mtex, kGlowImageBytes) &&
                   WriteFile(partial / "degrees.f32", degrees.data(), degrees.size());
    AddHashLine(&hashes, 0);
    for (long frame = 1; frame <= options.frames && written; ++frame) {
        AdvanceScene();
        AddHashLine(&hashes, frame);
        if (options.at.count(frame) != 0 && frame != options.frames) {
            const std::string json = StateAfter(options, frame);
            written = WriteFile(partial / ("state-" + std::to_string(frame) + ".json"), json.data(),
                                json.size());
        }
    }
    const std::string last = StateAfter(options, options.frames);
    written = written &&
              WriteFile(partial / ("state-" + std::to_string(options.frames) + ".json"),
                        last.data(), last.size()) &&
              WriteFile(partial / "hashes.txt", hashes.data(), hashes.size());
    if (written) {
        fs::rename(partial, folder, code);
    }
    if (!written || code) {
        *error = "cannot write " + (written ? folder.string() : partial.string()) +
                 (code ? ": " + code.message() : std::string());
        fs::remove_all(partial, code);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY); // the dump's bytes, without CR LF line ends
#endif
    StateOptions options;
    if (const Problem problem = ReadCommandLine(argc, argv, Table(), &options)) {
        return Fail(*problem, kExitUsage);
    }
    if (options.help || options.version) {
        const std::string text =
            options.help ? UsageText() : std::string("tarrow-state ") + TARROW_VERSION + "\n";
        return WriteAll(stdout, text.data(), text.size()) && std::fflush(stdout) == 0
                   ? 0
                   : Fail("cannot write to standard output");
    }
    if (!options.at.empty() && options.out.empty()) {
        return Fail("--at needs --out", kExitUsage);
    }
    if (!options.at.empty() && *options.at.rbegin() > options.frames) {
        return Fail("--at names frame " + std::to_string(*options.at.rbegin()) +
                        ", after the last (--frames " + std::to_string(options.frames) + ")",
                    kExitUsage);
    }

    const RunSeed seed =
        SeedTheRun(options.seedGiven ? std::optional<std::uint32_t>(options.seed) : std::nullopt);
    if (seed.fromClock) {
        std::fprintf(stderr, "tarrow-state: seed %u\n", static_cast<unsigned>(seed.value));
    }
    options.seed = seed.value;
    StartScene(SceneStart::WithoutContext);

    std::string error;
    if (!options.out.empty()) {
        return RunInto(options, &error) ? 0 : Fail(error);
    }
    for (long frame = 1; frame <= options.frames; ++frame) {
        AdvanceScene();
    }
    const std::string json = StateAfter(options, options.frames);
    return WriteAll(stdout, json.data(), json.size()) && std::fflush(stdout) == 0
               ? 0
               : Fail("cannot write to standard output");
}
