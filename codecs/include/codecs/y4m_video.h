// y4m_video.h - frames as a YUV4MPEG2 stream: 60 frames a second, 4:2:0 with
// full-range BT.601 colours, which ffmpeg and mpv read from a pipe.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct YCbCr {
    std::uint8_t y;
    std::uint8_t cb;
    std::uint8_t cr;
};

// Full-range BT.601 of one colour, rounded to nearest.
YCbCr ToYCbCr(std::uint8_t r, std::uint8_t g, std::uint8_t b);

std::string Y4mHeader(int width, int height);

// The planes of one frame: luma for every pixel, then Cb and Cr for every
// 2 by 2 block (ceil(W/2) by ceil(H/2)), each the mean over the block's pixels.
// `rgb` holds height rows of width * 3 bytes, top row first.
void ConvertFrame(int width, int height, const std::uint8_t* rgb,
                  std::vector<std::uint8_t>* planes);

class Y4mWriter {
  public:
    Y4mWriter(std::FILE* stream, int width, int height); // writes the stream header
    bool WriteFrame(const std::uint8_t* rgb);            // false once the stream fails

  private:
    std::FILE* stream_;
    int width_;
    int height_;
    std::vector<std::uint8_t> planes_;
};
