// output_file.cpp - resolving output paths, and writing to what they name.
#include "tarrow-render/output_file.h"

#include "tarrow-render/standard_streams.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace {

mode_t g_newFileMode = 0644;

constexpr int kLinkHops = 40; // as the system gives up on symlink loops

// A named temporary file's name: short, so that any name the folder can hold
// can be written, and hidden. A run killed with SIGKILL leaves it behind.
constexpr const char* kTemporaryPrefix = ".tarrow-render-";
constexpr int kTemporaryLetters = 6;
constexpr int kNameTries = 100;

// The descriptor a path names as already open in this process, or -1.
int NamedDescriptor(const std::string& path) {
    if (path == "-" || path == "/dev/stdout") {
        return STDOUT_FILENO;
    }
    if (path == "/dev/stderr") {
        return STDERR_FILENO;
    }
    const std::string self = "/proc/" + std::to_string(getpid()) + "/fd/";
    for (const std::string& prefix : {std::string("/dev/fd/"), std::string("/proc/self/fd/"),
                                      std::string("/proc/thread-self/fd/"), self}) {
        if (path.rfind(prefix, 0) != 0) {
            continue;
        }
        const std::string number = path.substr(prefix.size());
        if (!number.empty() && number.size() < 10 &&
            number.find_first_not_of("0123456789") == std::string::npos) {
            return std::stoi(number);
        }
    }
    return -1;
}

// The standard descriptor, output or error, that holds what `path` leads to
// however it is spelled (`/dev//fd/1`, the file `>>` opened), or -1. The null
// device stays a device: writing to it is the same either way.
int StandardDescriptorHolding(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        return -1;
    }
    const Place place = PlaceOf(status);
    for (const int descriptor : {STDOUT_FILENO, STDERR_FILENO}) {
        const std::optional<Place> standard = StandardPlace(descriptor);
        if (standard && *standard == place && !place.IsNullDevice()) {
            return descriptor;
        }
    }
    return -1;
}

// The path with every symlink at its end followed, stopping early at a name
// of a descriptor this process holds (a link to /dev/stdout); a link to
// nothing yet leads to the path where its target will be.
std::optional<std::string> FollowLinks(std::string path) {
    for (int hop = 0; hop < kLinkHops; ++hop) {
        struct stat status {};
        if (NamedDescriptor(path) >= 0 || lstat(path.c_str(), &status) != 0 ||
            !S_ISLNK(status.st_mode)) {
            return path;
        }
        std::vector<char> target(PATH_MAX + 1);
        const ssize_t length = readlink(path.c_str(), target.data(), PATH_MAX);
        if (length < 0) {
            return std::nullopt;
        }
        const std::string next(target.data(), static_cast<std::size_t>(length));
        path = next.front() == '/' ? next : DirectoryOf(path) + "/" + next;
    }
    return std::nullopt;
}

std::optional<OutputTarget> Refuse(const std::string& path, const std::string& reason,
                                   std::string* error) {
    *error = "cannot write " + path + ": " + reason;
    return std::nullopt;
}

std::optional<OutputTarget> ThroughDescriptor(OutputTarget target, int descriptor,
                                              std::string* error) {
    if (ClosedAtStart(descriptor)) {
        return Refuse(target.named, StandardName(descriptor) + " is closed", error);
    }
    struct stat status {};
    const int flags = fcntl(descriptor, F_GETFL);
    const int copy = flags < 0 || (flags & O_ACCMODE) == O_RDONLY || fstat(descriptor, &status) != 0
                         ? -1
                         : fcntl(descriptor, F_DUPFD_CLOEXEC, 3);
    if (copy < 0) {
        return Refuse(target.named,
                      "descriptor " + std::to_string(descriptor) + " is not open for writing",
                      error);
    }
    target.kind = OutputTarget::Kind::Descriptor;
    target.descriptor = std::make_shared<const HeldDescriptor>(copy);
    target.standard = descriptor <= STDERR_FILENO ? descriptor : -1;
    target.place = PlaceOf(status);
    return target;
}

// Calls `make` with fresh hidden names in the run's own pattern until one is
// not taken; its result, or -1 with errno set.
template <class Make>
int WithFreshName(const Make& make, std::string* name) {
    static std::mt19937 letters{std::random_device{}()};
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < kNameTries; ++attempt) {
        std::string candidate = kTemporaryPrefix;
        for (int i = 0; i < kTemporaryLetters; ++i) {
            candidate += kLetters[letters() % (sizeof(kLetters) - 1)];
        }
        const int result = make(candidate);
        if (result >= 0 || errno != EEXIST) {
            *name = candidate;
            return result;
        }
    }
    errno = EEXIST;
    return -1;
}

// An unnamed file in `folder`, linked in later through /proc; -1 where the
// file system or a missing /proc allows none.
int OpenUnnamed(const Folder& folder) {
    static const bool linkable = access("/proc/self/fd", X_OK) == 0;
    return linkable ? openat(folder.descriptor(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600) : -1;
}

std::string ProcPath(int descriptor) {
    return "/proc/self/fd/" + std::to_string(descriptor);
}

} // namespace

HeldDescriptor::~HeldDescriptor() {
    close(descriptor_);
}

void ReadUmask() {
    const mode_t mask = umask(0);
    umask(mask);
    g_newFileMode = 0666 & ~mask;
}

std::optional<OutputTarget> ResolveOutput(const std::string& path, const std::string& what,
                                          std::string* error) {
    OutputTarget target;
    target.named = path;
    target.what = what;
    if (int descriptor = NamedDescriptor(path);
        descriptor >= 0 || (descriptor = StandardDescriptorHolding(path)) >= 0) {
        return ThroughDescriptor(std::move(target), descriptor, error);
    }
    const std::optional<std::string> resolved = FollowLinks(path);
    if (!resolved) {
        return Refuse(path, std::strerror(ELOOP), error);
    }
    if (const int descriptor = NamedDescriptor(*resolved); descriptor >= 0) {
        return ThroughDescriptor(std::move(target), descriptor, error);
    }
    target.folder = Folder::Open(DirectoryOf(*resolved));
    if (!target.folder) {
        return Refuse(path, std::strerror(errno), error);
    }
    target.name = NameOf(*resolved);
    if (target.name.empty() || target.name == "." || target.name == "..") {
        return Refuse(path, "it is a directory", error);
    }
    struct stat status {};
    if (fstatat(target.folder->descriptor(), target.name.c_str(), &status, AT_SYMLINK_NOFOLLOW) !=
        0) {
        if (errno != ENOENT) {
            return Refuse(path, std::strerror(errno), error);
        }
        if (resolved->back() == '/') {
            return Refuse(path, "a path ending in / names a folder", error);
        }
        target.place = target.folder->NewName(target.name);
        return target;
    }
    if (S_ISDIR(status.st_mode)) {
        return Refuse(path, "it is a directory", error);
    }
    if (S_ISLNK(status.st_mode)) {
        return Refuse(path, "it changed while it was looked at", error);
    }
    target.kind =
        S_ISREG(status.st_mode) ? OutputTarget::Kind::Replace : OutputTarget::Kind::InPlace;
    target.socket = S_ISSOCK(status.st_mode);
    target.resolved = *resolved;
    if (S_ISREG(status.st_mode)) {
        target.keptMode = status.st_mode & 07777;
    }
    target.place = PlaceOf(status);
    return target;
}

OutputTarget NewFileIn(std::shared_ptr<const Folder> folder, const std::string& name,
                       const std::string& what) {
    OutputTarget target;
    target.named = folder->path() + "/" + name;
    target.what = what;
    target.place = folder->NewName(name);
    target.folder = std::move(folder);
    target.name = name;
    target.replaces = false;
    return target;
}

bool SharePlace(const OutputTarget& a, const OutputTarget& b) {
    return a.place == b.place && !a.place.IsNullDevice();
}

OutputFile::OutputFile(OutputTarget target, std::string temporary, bool unnamed, std::FILE* stream)
    : target_(std::move(target)), temporary_(std::move(temporary)), unnamed_(unnamed),
      stream_(stream) {
    target_.descriptor.reset(); // the stream has its own: a reader sees the end when it closes
}

std::unique_ptr<OutputFile> OutputFile::Open(const OutputTarget& target, std::string* error) {
    int descriptor = -1;
    std::string temporary;
    bool unnamed = false;
    switch (target.kind) {
    case OutputTarget::Kind::Descriptor:
        descriptor = fcntl(target.descriptor->get(), F_DUPFD_CLOEXEC, 3);
        break;
    case OutputTarget::Kind::InPlace:
        if (target.socket) {
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            if (target.resolved.size() >= sizeof(address.sun_path)) {
                errno = ENAMETOOLONG;
                break;
            }
            std::strcpy(address.sun_path, target.resolved.c_str());
            descriptor = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            if (descriptor >= 0 && connect(descriptor, reinterpret_cast<const sockaddr*>(&address),
                                           sizeof(address)) != 0) {
                const int failure = errno;
                close(descriptor);
                descriptor = -1;
                errno = failure;
            }
        } else {
            // A FIFO without a reader waits here; a signal ends the wait.
            descriptor = openat(target.folder->descriptor(), target.name.c_str(),
                                O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW);
        }
        break;
    case OutputTarget::Kind::New:
        descriptor = OpenUnnamed(*target.folder);
        unnamed = descriptor >= 0;
        [[fallthrough]];
    case OutputTarget::Kind::Replace:
        if (descriptor < 0) {
            descriptor = WithFreshName(
                [&](const std::string& name) {
                    return openat(target.folder->descriptor(), name.c_str(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
                },
                &temporary);
        }
        if (descriptor >= 0) {
            fchmod(descriptor, target.keptMode.value_or(g_newFileMode));
        }
        break;
    }
    if (descriptor < 0) {
        *error = "cannot write " + target.named + ": " + std::strerror(errno);
        return nullptr;
    }
    std::FILE* stream = fdopen(descriptor, "wb");
    if (stream == nullptr) {
        *error = "cannot write " + target.named + ": " + std::strerror(errno);
        close(descriptor);
        if (!unnamed && !temporary.empty()) {
            unlinkat(target.folder->descriptor(), temporary.c_str(), 0);
        }
        return nullptr;
    }
    if (unnamed) {
        temporary.clear();
    }
    return std::unique_ptr<OutputFile>(new OutputFile(target, temporary, unnamed, stream));
}

OutputFile::~OutputFile() {
    if (!committed_) {
        std::fclose(stream_);
        if (!temporary_.empty()) {
            unlinkat(target_.folder->descriptor(), temporary_.c_str(), 0);
        }
    }
}

std::string OutputFile::Failure(int error) const {
    return WriteFailure(target_.what, target_.named, error);
}

bool OutputFile::Commit(std::string* error) {
    const bool written = std::fflush(stream_) == 0 && std::ferror(stream_) == 0;
    const int writeErrno = errno;
    committed_ = true;
    // An unnamed file is linked in while it is still open: its descriptor is
    // its only name.
    const bool placed = written && (!unnamed_ || PutInPlace(error));
    const bool closed = std::fclose(stream_) == 0;
    const int closeErrno = errno;
    const int folder = target_.folder ? target_.folder->descriptor() : -1;
    if (!written || !closed) {
        *error = WriteFailure(target_.what, target_.named, written ? closeErrno : writeErrno);
        if (!temporary_.empty()) {
            unlinkat(folder, temporary_.c_str(), 0);
        } else if (unnamed_ && placed) {
            unlinkat(folder, target_.name.c_str(), 0);
        }
        return false;
    }
    if (!placed) {
        return false;
    }
    return temporary_.empty() || PutInPlace(error);
}

// Puts the finished file under its name: a new file never over what appeared
// there meanwhile unless it `replaces`, a replacement by renaming over. A
// temporary name it leaves nothing at.
bool OutputFile::PutInPlace(std::string* error) {
    const int folder = target_.folder->descriptor();
    const char* name = target_.name.c_str();
    const auto failed = [&](int failure) {
        *error = failure == EEXIST
                     ? target_.named + " appeared while the run wrote it; left as it is"
                     : "cannot put " + target_.named + " in place: " + std::strerror(failure);
        return false;
    };
    if (unnamed_) {
        const std::string self = ProcPath(fileno(stream_));
        if (linkat(AT_FDCWD, self.c_str(), folder, name, AT_SYMLINK_FOLLOW) == 0) {
            return true;
        }
        if (errno != EEXIST || !target_.replaces) {
            return failed(errno);
        }
        // Something appeared at the name during the run: replaced, as a file
        // there at the start would have been, through a name of our own.
        const int linked = WithFreshName(
            [&](const std::string& candidate) {
                return linkat(AT_FDCWD, self.c_str(), folder, candidate.c_str(), AT_SYMLINK_FOLLOW);
            },
            &temporary_);
        if (linked < 0) {
            temporary_.clear();
            return failed(errno);
        }
    }
    const char* temporary = temporary_.c_str();
    if (target_.replaces) {
        if (renameat(folder, temporary, folder, name) != 0) {
            const int failure = errno;
            unlinkat(folder, temporary, 0);
            temporary_.clear();
            return failed(failure);
        }
    } else if (renameat2(folder, temporary, folder, name, RENAME_NOREPLACE) != 0) {
        // Where the file system cannot rename without replacing, a link can.
        const bool linked =
            (errno == EINVAL || errno == ENOSYS) && linkat(folder, temporary, folder, name, 0) == 0;
        const int failure = errno;
        unlinkat(folder, temporary, 0);
        temporary_.clear();
        if (!linked) {
            return failed(failure);
        }
    }
    temporary_.clear();
    return true;
}

std::string WriteFailure(const std::string& what, const std::string& name, int error) {
    if (error == EPIPE) {
        return "the reader of " + what + " went away";
    }
    return "writing " + what + " to " + name + " failed: " + std::strerror(error);
}
