// y4m_video.cpp - RGB frames to YUV4MPEG2.
#include "tools/tarrow-render/y4m_video.h"

#include <algorithm>
#include <cmath>

namespace {

std::uint8_t Clamp(double value) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

double Luma(double r, double g, double b) {
    return 0.299 * r + 0.587 * g + 0.114 * b;
}
double BlueDifference(double r, double g, double b) {
    return 128.0 - 0.168736 * r - 0.331264 * g + 0.5 * b;
}
double RedDifference(double r, double g, double b) {
    return 128.0 + 0.5 * r - 0.418688 * g - 0.081312 * b;
}

} // namespace

YCbCr ToYCbCr(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return YCbCr{Clamp(Luma(r, g, b)), Clamp(BlueDifference(r, g, b)),
                 Clamp(RedDifference(r, g, b))};
}

std::string Y4mHeader(int width, int height) {
    return "YUV4MPEG2 W" + std::to_string(width) + " H" + std::to_string(height) +
           " F60:1 Ip A1:1 C420jpeg\n";
}

void ConvertFrame(int width, int height, const std::uint8_t* rgb,
                  std::vector<std::uint8_t>* planes) {
    const int chromaWidth = (width + 1) / 2;
    const int chromaHeight = (height + 1) / 2;
    const std::size_t lumaSize = static_cast<std::size_t>(width) * height;
    const std::size_t chromaSize = static_cast<std::size_t>(chromaWidth) * chromaHeight;
    planes->resize(lumaSize + 2 * chromaSize);
    std::uint8_t* luma = planes->data();
    std::uint8_t* blue = luma + lumaSize;
    std::uint8_t* red = blue + chromaSize;
    const auto pixel = [&](int x, int y) {
        return rgb + (static_cast<std::size_t>(y) * width + x) * 3;
    };

    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = pixel(x, y);
            luma[static_cast<std::size_t>(y) * width + x] = Clamp(Luma(p[0], p[1], p[2]));
        }
    }
    for (int cy = 0; cy < chromaHeight; ++cy) {
        for (int cx = 0; cx < chromaWidth; ++cx) {
            double cb = 0.0;
            double cr = 0.0;
            int count = 0;
            for (int y = 2 * cy; y < std::min(2 * cy + 2, height); ++y) {
                for (int x = 2 * cx; x < std::min(2 * cx + 2, width); ++x) {
                    const std::uint8_t* p = pixel(x, y);
                    cb += BlueDifference(p[0], p[1], p[2]);
                    cr += RedDifference(p[0], p[1], p[2]);
                    ++count;
                }
            }
            const std::size_t at = static_cast<std::size_t>(cy) * chromaWidth + cx;
            blue[at] = Clamp(cb / count);
            red[at] = Clamp(cr / count);
        }
    }
}

Y4mWriter::Y4mWriter(std::FILE* stream, int width, int height)
    : stream_(stream), width_(width), height_(height) {
    const std::string header = Y4mHeader(width_, height_);
    std::fwrite(header.data(), 1, header.size(), stream_);
}

bool Y4mWriter::WriteFrame(const std::uint8_t* rgb) {
    ConvertFrame(width_, height_, rgb, &planes_);
    std::fputs("FRAME\n", stream_);
    std::fwrite(planes_.data(), 1, planes_.size(), stream_);
    return std::ferror(stream_) == 0;
}
