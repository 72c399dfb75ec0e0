// png_image.cpp - PNG written with libdeflate.
#include "codecs/png_image.h"

#include <libdeflate.h>

#include <cstring>

namespace {

constexpr int kFastestLevel = 1;
constexpr std::uint8_t kFilterSub = 1;
constexpr std::uint8_t kFilterUp = 2;

void PutBigEndian(std::uint8_t* out, std::uint32_t value) {
    out[0] = static_cast<std::uint8_t>(value >> 24);
    out[1] = static_cast<std::uint8_t>(value >> 16);
    out[2] = static_cast<std::uint8_t>(value >> 8);
    out[3] = static_cast<std::uint8_t>(value);
}

// One chunk: its length, its type, its data, and the CRC of type and data.
bool WriteChunk(std::FILE* stream, const char* type, const std::uint8_t* data, std::size_t size) {
    std::uint8_t head[8];
    PutBigEndian(head, static_cast<std::uint32_t>(size));
    std::memcpy(head + 4, type, 4);
    std::uint32_t crc = libdeflate_crc32(0, head + 4, 4);
    if (size > 0) { // with no data the call would restart the CRC
        crc = libdeflate_crc32(crc, data, size);
    }
    std::uint8_t tail[4];
    PutBigEndian(tail, crc);
    return std::fwrite(head, 1, sizeof head, stream) == sizeof head &&
           (size == 0 || std::fwrite(data, 1, size, stream) == size) &&
           std::fwrite(tail, 1, sizeof tail, stream) == sizeof tail;
}

// A row with its filter byte: Up (the difference with the row above), or Sub
// (with the pixel to the left) for the first row, which has none above.
void FilterRow(const std::uint8_t* row, const std::uint8_t* above, std::size_t stride,
               std::size_t pixelBytes, std::uint8_t* out) {
    *out++ = above != nullptr ? kFilterUp : kFilterSub;
    if (above != nullptr) {
        for (std::size_t i = 0; i < stride; ++i) {
            out[i] = static_cast<std::uint8_t>(row[i] - above[i]);
        }
        return;
    }
    for (std::size_t i = 0; i < stride; ++i) {
        out[i] = static_cast<std::uint8_t>(row[i] - (i >= pixelBytes ? row[i - pixelBytes] : 0));
    }
}

} // namespace

PngEncoder::PngEncoder() : compressor_(libdeflate_alloc_compressor(kFastestLevel)) {}

PngEncoder::~PngEncoder() {
    libdeflate_free_compressor(compressor_);
}

bool PngEncoder::Write(std::FILE* stream, int width, int height, int channels,
                       const std::uint8_t* pixels) {
    const std::size_t stride = static_cast<std::size_t>(width) * channels;
    const auto rows = static_cast<std::size_t>(height);
    filtered_.resize((stride + 1) * rows);
    for (std::size_t y = 0; y < rows; ++y) {
        FilterRow(pixels + stride * y, y == 0 ? nullptr : pixels + stride * (y - 1), stride,
                  static_cast<std::size_t>(channels), filtered_.data() + (stride + 1) * y);
    }
    compressed_.resize(libdeflate_zlib_compress_bound(compressor_, filtered_.size()));
    const std::size_t size = libdeflate_zlib_compress(
        compressor_, filtered_.data(), filtered_.size(), compressed_.data(), compressed_.size());
    std::uint8_t header[13];
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header + 4, static_cast<std::uint32_t>(height));
    header[8] = 8;                            // bits per sample
    header[9] = channels == 4 ? 6 : 2;        // RGBA or RGB
    header[10] = header[11] = header[12] = 0; // deflate, adaptive filters, no interlace
    static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return size > 0 && std::fwrite(kSignature, 1, sizeof kSignature, stream) == sizeof kSignature &&
           WriteChunk(stream, "IHDR", header, sizeof header) &&
           WriteChunk(stream, "IDAT", compressed_.data(), size) &&
           WriteChunk(stream, "IEND", nullptr, 0);
}

bool WritePng(std::FILE* stream, int width, int height, int channels, const std::uint8_t* pixels) {
    PngEncoder encoder;
    return encoder.Write(stream, width, height, channels, pixels);
}
