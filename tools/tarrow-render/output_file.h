// output_file.h - where each output of a run goes, decided before the first
// frame, and the file written there.
//
//   a path not there yet                    written to an unnamed file in its
//                                           folder and linked in under its name
//                                           when complete: a reader never finds
//                                           half a file, and a run that fails,
//                                           or is killed, leaves nothing
//   a plain file                            written to a temporary file beside
//                                           it, .tarrow-render-XXXXXX, renamed
//                                           onto it when complete (a run killed
//                                           with SIGKILL leaves that file)
//   a symlink                               followed: the file it names is
//                                           replaced, the link stays
//   a device, FIFO or socket                written where it is
//   -, /dev/stdout, /dev/stderr, /dev/fd/N, written through the descriptor the
//   /proc/self/fd/N, or any path to what    program already holds, never
//   standard output or error holds          renamed over (>> stays an append)
//
// Where the folder's file system makes no unnamed files, a new file is written
// as a plain file is. New files get the permissions the umask allows; a
// replaced file keeps its own.
#pragma once

#include "tarrow-render/place.h"

#include <sys/types.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

// A descriptor the run holds, closed when the last holder goes.
class HeldDescriptor {
  public:
    explicit HeldDescriptor(int descriptor) : descriptor_(descriptor) {}
    ~HeldDescriptor();
    HeldDescriptor(const HeldDescriptor&) = delete;
    HeldDescriptor& operator=(const HeldDescriptor&) = delete;
    int get() const { return descriptor_; }

  private:
    int descriptor_;
};

struct OutputTarget {
    enum class Kind { New, Replace, InPlace, Descriptor };
    Kind kind = Kind::New;
    std::string named; // as the command line named it, for messages
    std::string what;  // what goes there ("the video"), for messages
    // New, Replace, InPlace: the folder it is in, held open, and its name there.
    std::shared_ptr<const Folder> folder;
    std::string name;
    std::string resolved; // InPlace socket: the path connected to
    // Descriptor: a copy of the descriptor the path names, taken when resolved.
    std::shared_ptr<const HeldDescriptor> descriptor;
    int standard = -1;              // Descriptor: the standard descriptor it is, or -1
    bool socket = false;            // InPlace: connected to, not opened
    bool replaces = true;           // New: what appears at the name meanwhile is replaced
    Place place;                    // what is written: for a descriptor, the file it is open on
    std::optional<mode_t> keptMode; // Replace: the existing file's permissions
};

// Where `path`, the place for `what` ("the video"), leads; nullopt and a
// one-line reason when it cannot be written.
std::optional<OutputTarget> ResolveOutput(const std::string& path, const std::string& what,
                                          std::string* error);

// A new file `name` in `folder`, put in place without replacing anything (a
// frame of a frames folder: never written through a symlink, never over
// another's file).
OutputTarget NewFileIn(std::shared_ptr<const Folder> folder, const std::string& name,
                       const std::string& what);

// Whether two outputs would write the same place, so that one would be lost
// or the two mixed. The null device may take several.
bool SharePlace(const OutputTarget& a, const OutputTarget& b);

// Reads the umask once, at start: new files get 0666 masked by it.
void ReadUmask();

class OutputFile {
  public:
    // Null, with a one-line reason in `error`, when the place cannot be written.
    static std::unique_ptr<OutputFile> Open(const OutputTarget& target, std::string* error);
    // An output never committed leaves no file of its own making behind.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    std::FILE* stream() { return stream_; }
    const std::string& name() const { return target_.named; }
    // A one-line description of a failed write to it (see WriteFailure).
    std::string Failure(int error) const;
    // Everything written reached its place (and, for a new or replaced file,
    // the file is in place under its name).
    bool Commit(std::string* error);

  private:
    OutputFile(OutputTarget target, std::string temporary, bool unnamed, std::FILE* stream);
    bool PutInPlace(std::string* error);

    OutputTarget target_;
    std::string temporary_; // a named temporary file's name in the folder
    bool unnamed_;          // written to an unnamed file, linked in at commit
    std::FILE* stream_;
    bool committed_ = false;
};

// A one-line description of a failed write of `what` to `name`: a reader
// that went away (a closed pipe), or the system's reason.
std::string WriteFailure(const std::string& what, const std::string& name, int error);
