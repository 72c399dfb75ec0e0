// png_image.cpp - PNG through libpng.
#include "tools/tarrow-render/png_image.h"

#include <png.h>

#include <csetjmp>

namespace {

// libpng reports errors by jumping back here; nothing with a destructor may
// live between the setjmp and the calls that can fail.
bool WriteRows(png_structp png, png_infop info, std::FILE* stream, int width, int height,
               int channels, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_init_io(png, stream);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Fast compression: frames are written as they are rendered.
    png_set_compression_level(png, 3);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

bool ReadRows(png_structp png, png_infop info, std::FILE* stream, PngImage* image) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_init_io(png, stream);
    png_read_info(png, info);
    if (png_get_bit_depth(png, info) != 8) {
        return false;
    }
    const int colour = png_get_color_type(png, info);
    if (colour != PNG_COLOR_TYPE_RGB && colour != PNG_COLOR_TYPE_RGB_ALPHA) {
        return false;
    }
    image->width = static_cast<int>(png_get_image_width(png, info));
    image->height = static_cast<int>(png_get_image_height(png, info));
    image->channels = colour == PNG_COLOR_TYPE_RGB_ALPHA ? 4 : 3;
    const std::size_t stride = static_cast<std::size_t>(image->width) * image->channels;
    image->pixels.resize(stride * static_cast<std::size_t>(image->height));
    for (int y = 0; y < image->height; ++y) {
        png_read_row(png, image->pixels.data() + stride * static_cast<std::size_t>(y), nullptr);
    }
    png_read_end(png, nullptr);
    return true;
}

} // namespace

bool WritePng(std::FILE* stream, int width, int height, int channels, const std::uint8_t* pixels) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    const std::size_t stride = static_cast<std::size_t>(width) * channels;
    for (int y = 0; y < height; ++y) {
        rows[static_cast<std::size_t>(y)] =
            const_cast<png_bytep>(pixels + stride * static_cast<std::size_t>(y));
    }
    const bool written =
        info != nullptr && WriteRows(png, info, stream, width, height, channels, rows.data());
    png_destroy_write_struct(&png, &info);
    return written;
}

bool ReadPng(const std::string& path, PngImage* image) {
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    if (stream == nullptr) {
        return false;
    }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    const bool read = info != nullptr && ReadRows(png, info, stream, image);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(stream);
    return read;
}
