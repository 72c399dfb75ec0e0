// png_image.h - writing 8-bit PNG images, top row first.
//
// Writing is set for speed, as frames are written while the run draws: every
// row but the first takes the Up filter (a byte-wise difference with the row
// above, which the compiler vectorises) and the rows are deflated at
// libdeflate's fastest level. The pixels are exact; only the compression is
// chosen.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

struct libdeflate_compressor;

// Keeps its compressor and buffers from one image to the next.
class PngEncoder {
  public:
    PngEncoder();
    ~PngEncoder();
    PngEncoder(const PngEncoder&) = delete;
    PngEncoder& operator=(const PngEncoder&) = delete;

    // `pixels` holds height rows of width * channels bytes (3: RGB, 4: RGBA).
    // The image's bytes, kept until the next image.
    const std::vector<std::uint8_t>& Encode(int width, int height, int channels,
                                            const std::uint8_t* pixels);
    // The image written to `stream`; false when the stream failed.
    bool Write(std::FILE* stream, int width, int height, int channels, const std::uint8_t* pixels);

  private:
    libdeflate_compressor* compressor_;
    std::vector<std::uint8_t> filtered_;
    std::vector<std::uint8_t> compressed_;
    std::vector<std::uint8_t> image_;
};

// One image, with an encoder of its own.
bool WritePng(std::FILE* stream, int width, int height, int channels, const std::uint8_t* pixels);

// The longest side of an image ReadPng takes.
inline constexpr int kLargestPngEdge = 16384;

// An 8-bit RGB image without interlacing, as PngEncoder writes it (any
// filter, any number of data chunks), decoded into `rgb`, top row first: the
// reason it cannot be, or nothing. Every chunk's CRC is checked.
std::optional<std::string> ReadPng(const std::vector<std::uint8_t>& file, int* width, int* height,
                                   std::vector<std::uint8_t>* rgb);
