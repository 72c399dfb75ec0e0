// frame_stats.h - frame-time statistics for --bench.
#pragma once

#include <string>
#include <vector>

struct FrameStats {
    long frames = 0;
    double wallSeconds = 0.0;
    double meanMs = 0.0;
    double medianMs = 0.0;
    double p95Ms = 0.0; // nearest-rank 95th percentile
    double maxMs = 0.0;
    double framesPerSecond = 0.0; // frames over the wall time of the frame loop
};

FrameStats Summarise(std::vector<double> frameMs, double wallSeconds);
std::string FormatStats(const FrameStats& stats, const std::string& renderer);
