// png_image.h - writing and reading 8-bit PNG images, top row first.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// `pixels` holds height rows of width * channels bytes (3: RGB, 4: RGBA).
bool WritePng(std::FILE* stream, int width, int height, int channels, const std::uint8_t* pixels);

struct PngImage {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<std::uint8_t> pixels;
};

// Reads an 8-bit RGB or RGBA image; false when the file is not one.
bool ReadPng(const std::string& path, PngImage* image);
