// png_image.cpp - PNG written with libdeflate.
#include "codecs/png_image.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {

constexpr int kFastestLevel = 1;
constexpr std::uint8_t kFilterSub = 1;
constexpr std::uint8_t kFilterUp = 2;
constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void PutBigEndian(std::uint8_t* out, std::uint32_t value) {
    out[0] = static_cast<std::uint8_t>(value >> 24);
    out[1] = static_cast<std::uint8_t>(value >> 16);
    out[2] = static_cast<std::uint8_t>(value >> 8);
    out[3] = static_cast<std::uint8_t>(value);
}

// One chunk, appended: its length, its type, its data, and the CRC of type
// and data.
void AppendChunk(std::vector<std::uint8_t>* out, const char* type, const std::uint8_t* data,
                 std::size_t size) {
    std::uint8_t head[8];
    PutBigEndian(head, static_cast<std::uint32_t>(size));
    std::memcpy(head + 4, type, 4);
    std::uint32_t crc = libdeflate_crc32(0, head + 4, 4);
    if (size > 0) { // with no data the call would restart the CRC
        crc = libdeflate_crc32(crc, data, size);
    }
    std::uint8_t tail[4];
    PutBigEndian(tail, crc);
    out->insert(out->end(), head, head + sizeof head);
    out->insert(out->end(), data, data + size);
    out->insert(out->end(), tail, tail + sizeof tail);
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

const std::vector<std::uint8_t>& PngEncoder::Encode(int width, int height, int channels,
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
    image_.clear();
    if (size == 0) {
        return image_;
    }
    image_.assign(std::begin(kSignature), std::end(kSignature));
    AppendChunk(&image_, "IHDR", header, sizeof header);
    AppendChunk(&image_, "IDAT", compressed_.data(), size);
    AppendChunk(&image_, "IEND", nullptr, 0);
    return image_;
}

bool PngEncoder::Write(std::FILE* stream, int width, int height, int channels,
                       const std::uint8_t* pixels) {
    const std::vector<std::uint8_t>& image = Encode(width, height, channels, pixels);
    return !image.empty() && std::fwrite(image.data(), 1, image.size(), stream) == image.size();
}

bool WritePng(std::FILE* stream, int width, int height, int channels, const std::uint8_t* pixels) {
    PngEncoder encoder;
    return encoder.Write(stream, width, height, channels, pixels);
}

namespace {

std::uint32_t GetBigEndian(const std::uint8_t* in) {
    return std::uint32_t{in[0]} << 24 | std::uint32_t{in[1]} << 16 | std::uint32_t{in[2]} << 8 |
           in[3];
}

// The Paeth predictor of a byte from its left, upper and upper-left ones.
std::uint8_t Paeth(int left, int up, int upLeft) {
    const int estimate = left + up - upLeft;
    const int toLeft = std::abs(estimate - left);
    const int toUp = std::abs(estimate - up);
    const int toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft) {
        return static_cast<std::uint8_t>(left);
    }
    return static_cast<std::uint8_t>(toUp <= toUpLeft ? up : upLeft);
}

// Undoes each row's filter, into `out`. Each filter's loop runs on its own,
// so that the Up filter, the one every row but the first has here, is a plain
// byte-wise sum the compiler vectorises.
bool Unfilter(const std::vector<std::uint8_t>& filtered, std::size_t stride, std::size_t rows,
              std::vector<std::uint8_t>* out) {
    constexpr std::size_t kPixelBytes = 3;
    out->resize(stride * rows);
    std::vector<std::uint8_t> zeros(stride, 0); // the row above the first
    for (std::size_t y = 0; y < rows; ++y) {
        const std::uint8_t filter = filtered[(stride + 1) * y];
        const std::uint8_t* in = filtered.data() + (stride + 1) * y + 1;
        std::uint8_t* row = out->data() + stride * y;
        const std::uint8_t* above = y > 0 ? row - stride : zeros.data();
        switch (filter) {
        case 0:
            std::memcpy(row, in, stride);
            break;
        case kFilterSub:
            for (std::size_t i = 0; i < stride; ++i) {
                row[i] = static_cast<std::uint8_t>(in[i] +
                                                   (i >= kPixelBytes ? row[i - kPixelBytes] : 0));
            }
            break;
        case kFilterUp:
            for (std::size_t i = 0; i < stride; ++i) {
                row[i] = static_cast<std::uint8_t>(in[i] + above[i]);
            }
            break;
        case 3:
            for (std::size_t i = 0; i < stride; ++i) {
                const int left = i >= kPixelBytes ? row[i - kPixelBytes] : 0;
                row[i] = static_cast<std::uint8_t>(in[i] + (left + above[i]) / 2);
            }
            break;
        case 4:
            for (std::size_t i = 0; i < stride; ++i) {
                const int left = i >= kPixelBytes ? row[i - kPixelBytes] : 0;
                const int upLeft = i >= kPixelBytes ? above[i - kPixelBytes] : 0;
                row[i] = static_cast<std::uint8_t>(in[i] + Paeth(left, above[i], upLeft));
            }
            break;
        default:
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<std::string> ReadPng(const std::vector<std::uint8_t>& file, int* width, int* height,
                                   std::vector<std::uint8_t>* rgb) {
    if (file.size() < sizeof kSignature ||
        !std::equal(std::begin(kSignature), std::end(kSignature), file.begin())) {
        return "not a PNG image";
    }
    std::vector<std::uint8_t> compressed;
    bool header = false;
    bool ended = false;
    for (std::size_t at = sizeof kSignature; !ended;) {
        if (file.size() - at < 12) {
            return "a PNG image cut short";
        }
        const std::uint32_t size = GetBigEndian(&file[at]);
        if (size > file.size() - at - 12) {
            return "a PNG image cut short";
        }
        const std::uint8_t* type = &file[at + 4];
        const std::uint8_t* data = type + 4;
        std::uint32_t crc = libdeflate_crc32(0, type, 4);
        if (size > 0) {
            crc = libdeflate_crc32(crc, data, size);
        }
        if (crc != GetBigEndian(data + size)) {
            return "a PNG chunk whose CRC does not match";
        }
        if (std::memcmp(type, "IHDR", 4) == 0) {
            if (size != 13 || data[8] != 8 || data[9] != 2 || data[12] != 0) {
                return "not an 8-bit RGB PNG image without interlacing";
            }
            *width = static_cast<int>(GetBigEndian(data));
            *height = static_cast<int>(GetBigEndian(data + 4));
            header = *width > 0 && *height > 0 && *width <= kLargestPngEdge &&
                     *height <= kLargestPngEdge;
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            compressed.insert(compressed.end(), data, data + size);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            ended = true;
        }
        at += 12 + size;
    }
    if (!header) {
        return "a PNG image without a size this renderer writes";
    }
    const std::size_t stride = static_cast<std::size_t>(*width) * 3;
    std::vector<std::uint8_t> filtered((stride + 1) * static_cast<std::size_t>(*height));
    libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
    const libdeflate_result result =
        decompressor == nullptr
            ? LIBDEFLATE_INSUFFICIENT_SPACE
            : libdeflate_zlib_decompress(decompressor, compressed.data(), compressed.size(),
                                         filtered.data(), filtered.size(), nullptr);
    libdeflate_free_decompressor(decompressor);
    if (result != LIBDEFLATE_SUCCESS) {
        return "a PNG image whose pixels do not decompress to its size";
    }
    if (!Unfilter(filtered, stride, static_cast<std::size_t>(*height), rgb)) {
        return "a PNG row with an unknown filter";
    }
    return std::nullopt;
}
