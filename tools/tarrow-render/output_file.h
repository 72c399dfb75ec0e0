// output_file.h - where each output of a run goes, decided before the first
// frame, and the file written there.
//
//   a plain file, or a path not there yet   written to a temporary file beside
//                                           it and renamed onto it when
//                                           complete: a reader never finds half
//                                           a file, a failed run leaves none
//   a symlink                               followed: the file it names is
//                                           replaced, the link stays
//   a device, FIFO or socket                written where it is
//   -, /dev/stdout, /dev/stderr, /dev/fd/N, written through the descriptor the
//   /proc/self/fd/N                         program already holds, never
//                                           renamed over (>> stays an append)
//
// New files get the permissions the umask allows; a replaced file keeps its
// own.
#pragma once

#include "tools/tarrow-render/place.h"

#include <sys/types.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

struct OutputTarget {
    enum class Kind { Replace, InPlace, Descriptor };
    Kind kind = Kind::Replace;
    std::string named;    // as the command line named it, for messages
    std::string what;     // what goes there ("the video"), for messages
    std::string resolved; // Replace, InPlace: the file written, symlinks followed
    int descriptor = -1;  // Descriptor
    bool socket = false;  // InPlace: connected to, not opened
    bool characterDevice = false;
    Place place;                    // what is written: for a descriptor, the file it is open on
    std::optional<mode_t> keptMode; // Replace over an existing file: its permissions
};

// Where `path`, the place for `what` ("the video"), leads; nullopt and a
// one-line reason when it cannot be written.
std::optional<OutputTarget> ResolveOutput(const std::string& path, const std::string& what,
                                          std::string* error);

// A file made anew at `path` and renamed onto it when complete, whatever is
// there (a frame of a frames folder: never written through a symlink).
OutputTarget NewFileAt(const std::string& path, const std::string& what);

// Whether two outputs would write the same place, so that one would be lost
// or the two mixed. A character device (/dev/null) may take several.
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
    OutputFile(OutputTarget target, std::string temporary, std::FILE* stream);

    OutputTarget target_;
    std::string temporary_; // Replace only
    std::FILE* stream_;
    bool committed_ = false;
};

// A one-line description of a failed write of `what` to `name`: a reader
// that went away (a closed pipe), or the system's reason.
std::string WriteFailure(const std::string& what, const std::string& name, int error);
