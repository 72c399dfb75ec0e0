// mipmaps.cpp - halving an image, GLU's way.
#include "mipmaps.h"

namespace gl11 {
namespace {

constexpr int kChannels = 4;

MipLevel Halve(const MipLevel& level) {
    MipLevel half{
        level.width > 1 ? level.width / 2 : 1, level.height > 1 ? level.height / 2 : 1, {}};
    half.rgba.resize(static_cast<std::size_t>(half.width) * half.height * kChannels);
    const auto at = [&](int x, int y, int k) {
        return static_cast<unsigned>(
            level.rgba[(static_cast<std::size_t>(y) * level.width + x) * kChannels + k]);
    };
    const bool rowOnly = level.height == 1;
    const bool columnOnly = level.width == 1;
    for (int y = 0; y < half.height; ++y) {
        for (int x = 0; x < half.width; ++x) {
            for (int k = 0; k < kChannels; ++k) {
                unsigned value;
                if (rowOnly) {
                    value = (at(2 * x, 0, k) + at(2 * x + 1, 0, k)) / 2;
                } else if (columnOnly) {
                    value = (at(0, 2 * y, k) + at(0, 2 * y + 1, k)) / 2;
                } else {
                    value = (at(2 * x, 2 * y, k) + at(2 * x + 1, 2 * y, k) +
                             at(2 * x, 2 * y + 1, k) + at(2 * x + 1, 2 * y + 1, k) + 2) /
                            4;
                }
                half.rgba[(static_cast<std::size_t>(y) * half.width + x) * kChannels + k] =
                    static_cast<std::uint8_t>(value);
            }
        }
    }
    return half;
}

} // namespace

std::vector<MipLevel> MipLevelsBelow(int width, int height, const std::uint8_t* rgba) {
    std::vector<MipLevel> levels;
    MipLevel current{width, height,
                     std::vector<std::uint8_t>(rgba, rgba + static_cast<std::size_t>(width) *
                                                                height * kChannels)};
    while (current.width > 1 || current.height > 1) {
        current = Halve(current);
        levels.push_back(current);
    }
    return levels;
}

} // namespace gl11
