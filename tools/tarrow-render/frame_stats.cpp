// frame_stats.cpp - summarising frame times.
#include "tools/tarrow-render/frame_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

FrameStats Summarise(std::vector<double> frameMs, double wallSeconds) {
    FrameStats stats;
    stats.frames = static_cast<long>(frameMs.size());
    stats.wallSeconds = wallSeconds;
    if (frameMs.empty()) {
        return stats;
    }
    std::sort(frameMs.begin(), frameMs.end());
    const std::size_t n = frameMs.size();
    stats.meanMs = std::accumulate(frameMs.begin(), frameMs.end(), 0.0) / static_cast<double>(n);
    stats.medianMs = n % 2 == 1 ? frameMs[n / 2] : (frameMs[n / 2 - 1] + frameMs[n / 2]) / 2.0;
    const auto rank = static_cast<std::size_t>(std::ceil(0.95 * static_cast<double>(n)));
    stats.p95Ms = frameMs[std::max<std::size_t>(rank, 1) - 1];
    stats.maxMs = frameMs.back();
    stats.framesPerSecond = wallSeconds > 0.0 ? static_cast<double>(n) / wallSeconds : 0.0;
    return stats;
}

std::string FormatStats(const FrameStats& stats, const std::string& renderer) {
    char text[512];
    std::snprintf(text, sizeof(text),
                  "frames            %ld\n"
                  "wall seconds      %.3f\n"
                  "mean ms           %.3f\n"
                  "median ms         %.3f\n"
                  "95th percentile   %.3f\n"
                  "max ms            %.3f\n"
                  "frames per second %.2f\n",
                  stats.frames, stats.wallSeconds, stats.meanMs, stats.medianMs, stats.p95Ms,
                  stats.maxMs, stats.framesPerSecond);
    return std::string(text) + "renderer          " + renderer + "\n";
}
