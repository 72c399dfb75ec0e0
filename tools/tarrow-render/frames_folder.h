// frames_folder.h - the folder --png writes its frames into, as
// frame-000001.png, frame-000002.png ... by absolute frame number.
//
// Two runs' frames never mix: a folder that already holds frames of this
// run's range is refused unless the run may overwrite, and then those frames
// are removed before the first new one is written. Frames outside the range
// are another range's, and stay.
#pragma once

#include <string>
#include <vector>

class FramesFolder {
  public:
    // The run draws frames `first` to `last` and writes those that are
    // multiples of `every`.
    FramesFolder(std::string directory, long first, long last, long every);

    const std::string& directory() const { return directory_; }
    std::string FramePath(long frame) const;
    bool Writes(long frame) const;
    // Whether `path` would be one of the frames this run writes.
    bool WouldWrite(const std::string& path) const;

    // Makes the folder if needed; refuses one holding frames of the range
    // unless `overwrite`. False with a one-line reason in `error`.
    bool Check(bool overwrite, std::string* error) const;
    // Removes the frames of the range the folder holds (after Check).
    bool RemoveOldFrames(std::string* error) const;

  private:
    std::vector<std::string> ExistingFrames() const;

    std::string directory_;
    long first_;
    long last_;
    long every_;
};
