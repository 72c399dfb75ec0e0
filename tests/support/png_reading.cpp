// png_reading.cpp - PNG images read through libpng.
#include "tests/support/png_reading.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

namespace {

// libpng reports errors by jumping back here; nothing with a destructor may
// live between the setjmp and the calls that can fail.
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
