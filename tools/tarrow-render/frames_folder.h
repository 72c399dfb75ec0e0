// frames_folder.h - the folder --png writes its frames into, as
// frame-000001.png, frame-000002.png ... by absolute frame number, six digits
// so that the names sort in frame order.
//
// Two runs' frames never mix: the run locks its range of the folder before
// its first frame (frame_lock.h), so that a run whose range overlaps one
// still writing is refused at once; a folder that already holds frames of
// this run's range is refused unless the run may overwrite, and then those
// frames are removed before the first new one is written; and each frame is
// put in place without replacing anything. Any frame-<digits>.png is read as a
// frame, whatever its number of digits. Frames outside the range are another
// range's, and stay. A frame is never written through a symlink nor over a
// directory: a name the run would write that holds anything but a plain file
// is refused. A folder the run made and wrote no frame into goes when the run
// ends.
#pragma once

#include "tarrow-render/frame_lock.h"
#include "tarrow-render/output_file.h"
#include "tarrow-render/place.h"

#include <memory>
#include <string>
#include <vector>

// The highest frame number a six-digit name holds.
inline constexpr long kLastNamedFrame = 999'999;

// Frame `frame`'s file name in the folder: "frame-000042.png".
std::string FrameName(long frame);

class FramesFolder {
  public:
    // The run draws frames `first` to `last` and writes those that are
    // multiples of `every`. A chunk's run names its manifest: the folder's
    // file that says the chunk is finished, which the run removes before its
    // first frame and writes after its last.
    FramesFolder(std::string directory, long first, long last, long every,
                 std::string manifest = "");
    // Removes the folder where the run made it and it holds nothing.
    ~FramesFolder();
    FramesFolder(const FramesFolder&) = delete;
    FramesFolder& operator=(const FramesFolder&) = delete;

    const std::string& directory() const { return directory_; }
    bool Writes(long frame) const;
    // Frame `frame`'s file, to be made anew in the folder.
    OutputTarget Frame(long frame) const;

    // Makes the folder if it is missing, opens it, locks the run's range and
    // looks at what the folder holds: refuses a folder that is not one or
    // cannot be listed or written, a range another run is writing, a name
    // the run would write that holds anything but a plain file, and frames of
    // the range unless `overwrite`. False with a one-line reason in `error`.
    bool Take(bool overwrite, std::string* error);
    // Whether writing `target` would put a file among this run's frames
    // (named as a frame of the range, being one already there, being the
    // folder itself or its lock file): one of the two would be lost. After Take.
    bool Holds(const OutputTarget& target) const;

    // Removes the frames of the range Take found (when overwriting), the
    // chunk's manifest first: a chunk stopped midway must not look finished.
    bool RemoveOldFrames(std::string* error) const;
    // The chunk's manifest, to be made anew once every frame is written.
    OutputTarget Manifest() const;

  private:
    struct OldFrame {
        std::string name;
        Place place;
    };

    bool InRange(long frame) const { return frame >= first_ && frame <= last_; }
    bool Make(std::string* error);
    bool Survey(bool overwrite, std::string* error);

    std::string directory_;
    long first_;
    long last_;
    long every_;
    std::string manifest_;
    std::shared_ptr<const Folder> parent_; // where the run made the folder, if it did
    std::shared_ptr<const Folder> folder_;
    std::unique_ptr<FrameLock> lock_;
    std::vector<OldFrame> oldFrames_; // sorted by name
};
