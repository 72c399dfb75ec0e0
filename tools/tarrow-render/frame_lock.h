// frame_lock.h - the frames a run draws into a --png folder, locked against
// other runs, so that two runs' frames never mix while runs of ranges apart
// write into one folder side by side (the pieces of one recording).
//
// The lock is one small file in the folder, .tarrow-render.lock, whose byte N
// stands for frame N: a run holds a record lock (fcntl) on the bytes of its
// range from before its first frame to its end, and the kernel lets it go
// however the run ends, a crash or SIGKILL included. The file holds no data.
// The last run to leave the folder removes it; one killed leaves it behind,
// harmless, for the next run to take.
#pragma once

#include "tarrow-render/place.h"

#include <memory>
#include <string>

inline constexpr const char* kFrameLockName = ".tarrow-render.lock";

class FrameLock {
  public:
    // Frames `first` to `last` of `folder`, locked; null with a one-line
    // reason in `error` (naming the other run's range where one holds frames
    // of this range).
    static std::unique_ptr<FrameLock> Take(std::shared_ptr<const Folder> folder, long first,
                                           long last, std::string* error);
    // Lets the range go, removing the lock file where no other run holds it.
    ~FrameLock();
    FrameLock(const FrameLock&) = delete;
    FrameLock& operator=(const FrameLock&) = delete;

    // The lock file's own place, so that no output is written over it.
    const Place& place() const { return place_; }

  private:
    FrameLock(std::shared_ptr<const Folder> folder, int descriptor, Place place);

    std::shared_ptr<const Folder> folder_;
    int descriptor_;
    Place place_;
};
