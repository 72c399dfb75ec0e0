// frame_stats.cpp - summarising frame times.
#include "tarrow-render/frame_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

void FrameTimes::Add(double milliseconds) {
    smallest_ = count_ == 0 ? milliseconds : std::min(smallest_, milliseconds);
    largest_ = count_ == 0 ? milliseconds : std::max(largest_, milliseconds);
    ++count_;
    sum_ += milliseconds;
    int bucket = 0;
    if (milliseconds >= kLowest) {
        bucket = 1 + static_cast<int>(std::log(milliseconds / kLowest) / std::log(kRatio));
    }
    ++buckets_[static_cast<std::size_t>(std::clamp(bucket, 0, kBuckets - 1))];
}

// The nearest-rank quantile: the geometric middle of the bucket that holds
// it, which is within half a bucket of every time in it, kept within the
// times actually seen.
double FrameTimes::Quantile(double fraction) const {
    const auto rank =
        std::max<long>(1, static_cast<long>(std::ceil(fraction * static_cast<double>(count_))));
    long seen = 0;
    for (int bucket = 0; bucket < kBuckets; ++bucket) {
        seen += static_cast<long>(buckets_[static_cast<std::size_t>(bucket)]);
        if (seen >= rank) {
            const double middle = kLowest * std::pow(kRatio, bucket - 0.5);
            return std::clamp(bucket == 0 ? smallest_ : middle, smallest_, largest_);
        }
    }
    return largest_;
}

FrameStats FrameTimes::Summarise(double wallSeconds) const {
    FrameStats stats;
    stats.frames = count_;
    stats.wallSeconds = wallSeconds;
    if (count_ == 0) {
        return stats;
    }
    stats.meanMs = sum_ / static_cast<double>(count_);
    stats.medianMs = Quantile(0.5);
    stats.p95Ms = Quantile(0.95);
    stats.maxMs = largest_;
    stats.framesPerSecond = wallSeconds > 0.0 ? static_cast<double>(count_) / wallSeconds : 0.0;
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
