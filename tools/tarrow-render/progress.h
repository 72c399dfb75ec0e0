// progress.h - how far a run is: a live line on a terminal, one summary
// line otherwise.
#pragma once

#include <chrono>

class Progress {
  public:
    Progress(long total, bool live);
    void Update(long done);
    // The run's last word, with the speed measured over `seconds`, the frame
    // loop's own wall time, which --bench reports too.
    void Finish(long done, double seconds);

  private:
    double Seconds() const;

    long total_;
    bool live_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastShown_;
};
