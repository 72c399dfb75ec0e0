// progress.cpp - the progress line.
#include "tarrow-render/progress.h"

#include <cstdio>

namespace {

constexpr auto kRefresh = std::chrono::milliseconds(250);

} // namespace

Progress::Progress(long total, bool live, std::FILE* out)
    : total_(total), live_(live), out_(out), start_(std::chrono::steady_clock::now()),
      lastShown_(start_) {}

double Progress::Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

void Progress::Update(long done) {
    const auto now = std::chrono::steady_clock::now();
    if (!live_ || (now - lastShown_ < kRefresh && done < total_)) {
        return;
    }
    lastShown_ = now;
    const double seconds = Seconds();
    const double rate = seconds > 0.0 ? static_cast<double>(done) / seconds : 0.0;
    const double left = rate > 0.0 ? static_cast<double>(total_ - done) / rate : 0.0;
    std::fprintf(out_, "\rframe %ld of %ld  %.1f frames/s  %.0f s left   ", done, total_, rate,
                 left);
    std::fflush(out_);
}

void Progress::Finish(long done, double seconds, bool completed) {
    const double rate = seconds > 0.0 ? static_cast<double>(done) / seconds : 0.0;
    if (live_) {
        std::fprintf(out_, "\rframe %ld of %ld  %.2f frames/s  %s %.3f s      \n", done, total_,
                     rate, completed ? "done in" : "stopped after", seconds);
    } else {
        std::fprintf(out_, "tarrow-render: %ld of %ld frames in %.3f s (%.2f frames/s)\n", done,
                     total_, seconds, rate);
    }
}
