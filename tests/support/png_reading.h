// png_reading.h - reading back the PNG images the programs write, through
// libpng, so that tests compare pixels and not encodings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PngImage {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<std::uint8_t> pixels; // height rows of width * channels bytes, top row first
};

// Reads an 8-bit RGB or RGBA image; false when the file is not one.
bool ReadPng(const std::string& path, PngImage* image);
