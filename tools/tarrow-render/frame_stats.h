// frame_stats.h - frame-time statistics for --bench, in constant memory
// however long the run: count, mean and maximum exact, the median and the
// 95th percentile from a histogram of logarithmic buckets, within 1 % of the
// exact nearest-rank values.
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct FrameStats {
    long frames = 0;
    double wallSeconds = 0.0;
    double meanMs = 0.0;
    double medianMs = 0.0;
    double p95Ms = 0.0; // nearest-rank 95th percentile
    double maxMs = 0.0;
    double framesPerSecond = 0.0; // frames over the wall time of the frame loop
};

class FrameTimes {
  public:
    void Add(double milliseconds);
    FrameStats Summarise(double wallSeconds) const;

  private:
    // Bucket k > 0 holds times from kLowest * kRatio^(k-1) up to the next
    // bound; bucket 0 holds anything shorter. Half a bucket is under 1 %.
    static constexpr double kLowest = 1e-4; // milliseconds
    static constexpr double kRatio = 1.02;
    static constexpr int kBuckets = 1400; // up to hours a frame
    double Quantile(double fraction) const;

    long count_ = 0;
    double sum_ = 0.0;
    double smallest_ = 0.0;
    double largest_ = 0.0;
    std::array<std::uint64_t, kBuckets> buckets_{};
};

std::string FormatStats(const FrameStats& stats, const std::string& renderer);
