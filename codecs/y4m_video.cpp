// y4m_video.cpp - RGB frames to YUV4MPEG2.
#include "codecs/y4m_video.h"

#include <algorithm>

namespace {

// BT.601 full range in fixed point, 16 fractional bits. Each row of weights
// sums to exactly 1 (luma) or 0 (colour differences), so greys stay grey.
constexpr int kShift = 16;
constexpr std::int32_t kHalf = 1 << (kShift - 1);
constexpr std::int32_t kCentre = 128 << kShift;
constexpr std::int32_t kLumaR = 19595;  // 0.299
constexpr std::int32_t kLumaG = 38470;  // 0.587
constexpr std::int32_t kLumaB = 7471;   // 0.114
constexpr std::int32_t kBlueR = -11059; // -0.168736
constexpr std::int32_t kBlueG = -21709; // -0.331264
constexpr std::int32_t kBlueB = 32768;  // 0.5
constexpr std::int32_t kRedR = 32768;   // 0.5
constexpr std::int32_t kRedG = -27439;  // -0.418688
constexpr std::int32_t kRedB = -5329;   // -0.081312

std::uint8_t LumaOf(std::int32_t r, std::int32_t g, std::int32_t b) {
    return static_cast<std::uint8_t>((kLumaR * r + kLumaG * g + kLumaB * b + kHalf) >> kShift);
}
std::int32_t BlueDifference(std::int32_t r, std::int32_t g, std::int32_t b) {
    return kBlueR * r + kBlueG * g + kBlueB * b;
}
std::int32_t RedDifference(std::int32_t r, std::int32_t g, std::int32_t b) {
    return kRedR * r + kRedG * g + kRedB * b;
}

// The mean of `count` (1, 2 or 4) colour differences summed in `sum`, as a
// sample: centred on 128, rounded half up, at most 255.
std::uint8_t Sample(std::int32_t sum, int count) {
    const int shift = kShift + (count == 4 ? 2 : count == 2 ? 1 : 0);
    return static_cast<std::uint8_t>(
        std::min<std::int32_t>(255, (sum + count * (kCentre + kHalf)) >> shift));
}

} // namespace

YCbCr ToYCbCr(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return YCbCr{LumaOf(r, g, b), Sample(BlueDifference(r, g, b), 1),
                 Sample(RedDifference(r, g, b), 1)};
}

std::string Y4mHeader(int width, int height) {
    return "YUV4MPEG2 W" + std::to_string(width) + " H" + std::to_string(height) +
           " F60:1 Ip A1:1 C420jpeg XCOLORRANGE=FULL\n";
}

void ConvertFrame(int width, int height, const std::uint8_t* rgb,
                  std::vector<std::uint8_t>* planes) {
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t chromaWidth = (w + 1) / 2;
    const std::size_t chromaHeight = (static_cast<std::size_t>(height) + 1) / 2;
    const std::size_t lumaSize = w * static_cast<std::size_t>(height);
    const std::size_t chromaSize = chromaWidth * chromaHeight;
    planes->resize(lumaSize + 2 * chromaSize);
    std::uint8_t* luma = planes->data();
    std::uint8_t* blue = luma + lumaSize;
    std::uint8_t* red = blue + chromaSize;

    // Straight loops over plain arrays, which the compiler vectorises.
    for (std::size_t i = 0; i < lumaSize; ++i) {
        luma[i] = LumaOf(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
    }
    std::vector<std::int32_t> blueSums(chromaWidth);
    std::vector<std::int32_t> redSums(chromaWidth);
    for (std::size_t cy = 0; cy < chromaHeight; ++cy) {
        std::fill(blueSums.begin(), blueSums.end(), 0);
        std::fill(redSums.begin(), redSums.end(), 0);
        const std::size_t rows =
            std::min<std::size_t>(2, static_cast<std::size_t>(height) - 2 * cy);
        for (std::size_t y = 2 * cy; y < 2 * cy + rows; ++y) {
            const std::uint8_t* row = rgb + y * w * 3;
            const std::size_t pairs = w / 2;
            for (std::size_t cx = 0; cx < pairs; ++cx) {
                const std::uint8_t* p = row + 6 * cx;
                blueSums[cx] += BlueDifference(p[0], p[1], p[2]) + BlueDifference(p[3], p[4], p[5]);
                redSums[cx] += RedDifference(p[0], p[1], p[2]) + RedDifference(p[3], p[4], p[5]);
            }
            if (w % 2 != 0) {
                const std::uint8_t* p = row + 3 * (w - 1);
                blueSums[pairs] += BlueDifference(p[0], p[1], p[2]);
                redSums[pairs] += RedDifference(p[0], p[1], p[2]);
            }
        }
        for (std::size_t cx = 0; cx < chromaWidth; ++cx) {
            const int count = static_cast<int>(rows * std::min<std::size_t>(2, w - 2 * cx));
            blue[cy * chromaWidth + cx] = Sample(blueSums[cx], count);
            red[cy * chromaWidth + cx] = Sample(redSums[cx], count);
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
