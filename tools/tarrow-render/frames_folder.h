// frames_folder.h - the folder --png writes its frames into, as
// frame-000001.png, frame-000002.png ... by absolute frame number, six digits
// so that the names sort in frame order.
//
// Two runs' frames never mix: a folder that already holds frames of this
// run's range is refused unless the run may overwrite, and then those frames
// are removed before the first new one is written. Any frame-<digits>.png is
// read as a frame, whatever its number of digits. Frames outside the range
// are another range's, and stay. A frame is never written through a symlink
// nor over a directory: a name the run would write that holds anything but a
// plain file is refused.
#pragma once

#include "tools/tarrow-render/output_file.h"
#include "tools/tarrow-render/place.h"

#include <string>
#include <vector>

// The highest frame number a six-digit name holds.
inline constexpr long kLastNamedFrame = 999'999;

class FramesFolder {
  public:
    // The run draws frames `first` to `last` and writes those that are
    // multiples of `every`.
    FramesFolder(std::string directory, long first, long last, long every);

    const std::string& directory() const { return directory_; }
    std::string FramePath(long frame) const;
    bool Writes(long frame) const;

    // Looks at what the folder holds, writing nothing: refuses a folder that
    // is not one or cannot be listed, a name the run would write that holds
    // anything but a plain file, and frames of the range unless `overwrite`.
    // False with a one-line reason in `error`.
    bool Survey(bool overwrite, std::string* error);
    // Whether writing `target` would put a file among this run's frames
    // (named as a frame of the range, being one already there, or being the
    // folder itself): one of the two would be lost. After Survey.
    bool Holds(const OutputTarget& target) const;

    // Makes the folder if it is missing and checks that files can be made in
    // it. False with a one-line reason in `error`.
    bool Prepare(std::string* error) const;
    // Removes the frames of the range Survey found (when overwriting).
    bool RemoveOldFrames(std::string* error) const;

  private:
    struct OldFrame {
        std::string name;
        Place place;
    };

    bool InRange(long frame) const { return frame >= first_ && frame <= last_; }

    std::string directory_;
    long first_;
    long last_;
    long every_;
    Place place_;
    std::vector<OldFrame> oldFrames_; // sorted by name
};
