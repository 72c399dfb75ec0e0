// black_edges.h - how much of a picture of the program's window or screen is
// left undrawn along its edges.
#pragma once

#include "tests/support/png_reading.h"

#include <cstddef>
#include <cstdint>

// Rows and columns along each edge of a picture that are exactly black from
// end to end. The city's fog lights every pixel of a frame, so a picture
// that covers its window or screen has none; a frame drawn smaller than the
// window, in a corner of it, leaves the rest black.
struct BlackEdges {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};

inline BlackEdges BlackEdgesOf(const PngImage& picture) {
    const auto black = [&](int x, int y) {
        const std::uint8_t* pixel =
            &picture.pixels[(static_cast<std::size_t>(y) * picture.width + x) * picture.channels];
        return pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0;
    };
    const auto column = [&](int x) {
        for (int y = 0; y < picture.height; ++y) {
            if (!black(x, y)) {
                return false;
            }
        }
        return true;
    };
    const auto row = [&](int y) {
        for (int x = 0; x < picture.width; ++x) {
            if (!black(x, y)) {
                return false;
            }
        }
        return true;
    };
    BlackEdges edges;
    while (edges.left < picture.width && column(edges.left)) {
        ++edges.left;
    }
    while (edges.right < picture.width && column(picture.width - 1 - edges.right)) {
        ++edges.right;
    }
    while (edges.top < picture.height && row(edges.top)) {
        ++edges.top;
    }
    while (edges.bottom < picture.height && row(picture.height - 1 - edges.bottom)) {
        ++edges.bottom;
    }
    return edges;
}

// Whether a frame covers the whole picture: no edge left black. A window or
// screen that is black wherever nothing is drawn is then drawn edge to edge.
inline bool Covered(const PngImage& picture) {
    const BlackEdges edges = BlackEdgesOf(picture);
    return picture.width > 0 && edges.left + edges.right + edges.top + edges.bottom == 0;
}
