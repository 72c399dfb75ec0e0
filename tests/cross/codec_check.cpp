// codec_check.cpp - the renderer's file formats written from known bytes, for
// comparing builds for other CPUs (a big-endian one above all) byte for byte
// with this machine's: the glow image (raw RGBA bytes, as tarrow-state writes
// them) as PNG, and a 16 by 10 RGB frame of a fixed pattern as PNG and as a
// two-frame YUV4MPEG2 video.
// Usage: codec_check GLOW_RGBA FOLDER  (writes FOLDER/glow.png, frame.png,
// frame.y4m into an existing FOLDER)
#include "codecs/png_image.h"
#include "codecs/y4m_video.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kGlowEdge = 128;
constexpr int kWidth = 16;
constexpr int kHeight = 10;

// Every channel varies with x and y, so a row or byte swapped shows.
std::vector<std::uint8_t> Pattern(int shift) {
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            rgb.push_back(static_cast<std::uint8_t>(x * 16 + y * 7 + shift));
            rgb.push_back(static_cast<std::uint8_t>(y * 25 + x * 3));
            rgb.push_back(static_cast<std::uint8_t>((x * y * 13 + shift * 5) & 0xff));
        }
    }
    return rgb;
}

// Writes one file through `write`: false when it could not be made whole.
template <class Writer>
bool WriteFile(const std::string& path, Writer write) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = write(file);
    return std::fclose(file) == 0 && written;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: codec_check GLOW_RGBA FOLDER\n");
        return 2;
    }
    std::vector<std::uint8_t> glow(kGlowEdge * kGlowEdge * 4);
    std::FILE* in = std::fopen(argv[1], "rb");
    const bool read = in != nullptr && std::fread(glow.data(), 1, glow.size(), in) == glow.size() &&
                      std::fgetc(in) == EOF;
    if (in != nullptr) {
        std::fclose(in);
    }
    if (!read) {
        std::fprintf(stderr, "codec_check: %s is not %zu bytes of RGBA\n", argv[1], glow.size());
        return 1;
    }
    const std::string folder = argv[2];
    const std::vector<std::uint8_t> first = Pattern(0);
    const std::vector<std::uint8_t> second = Pattern(1);
    const bool written =
        WriteFile(
            folder + "/glow.png",
            [&](std::FILE* f) { return WritePng(f, kGlowEdge, kGlowEdge, 4, glow.data()); }) &&
        WriteFile(folder + "/frame.png",
                  [&](std::FILE* f) { return WritePng(f, kWidth, kHeight, 3, first.data()); }) &&
        WriteFile(folder + "/frame.y4m", [&](std::FILE* f) {
            Y4mWriter video(f, kWidth, kHeight);
            const bool once = video.WriteFrame(first.data());
            return video.WriteFrame(second.data()) && once;
        });
    if (!written) {
        std::fprintf(stderr, "codec_check: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
