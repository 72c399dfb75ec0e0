// progress.h - how far a run is: a live line on a terminal, one summary
// line otherwise.
#pragma once

#include <chrono>
#include <cstdio>

class Progress {
  public:
    // `live`: a line redrawn in place on `out` (a terminal), else one summary.
    Progress(long total, bool live, std::FILE* out = stderr);
    void Update(long done);
    // The run's last word, with the speed measured over `seconds`, the frame
    // loop's own wall time, which --bench reports too; `completed` is false
    // for a run that was interrupted, whose live line then says where it
    // stopped, not that it is done.
    void Finish(long done, double seconds, bool completed);

  private:
    double Seconds() const;

    long total_;
    bool live_;
    std::FILE* out_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastShown_;
};
