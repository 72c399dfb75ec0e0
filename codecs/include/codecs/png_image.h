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
    // False when the stream failed.
    bool Write(std::FILE* stream, int width, int height, int channels, const std::uint8_t* pixels);

  private:
    libdeflate_compressor* compressor_;
    std::vector<std::uint8_t> filtered_;
    std::vector<std::uint8_t> compressed_;
};

// One image, with an encoder of its own.
bool WritePng(std::FILE* stream, int width, int height, int channels, const std::uint8_t* pixels);
