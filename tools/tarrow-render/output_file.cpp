// output_file.cpp - resolving output paths, and writing to what they name.
#include "tools/tarrow-render/output_file.h"

#include "tools/tarrow-render/standard_streams.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

namespace {

mode_t g_newFileMode = 0644;

constexpr int kLinkHops = 40; // as the system gives up on symlink loops

// The temporary file's name beside its target: short, so that any name the
// folder can hold can be written, and hidden.
constexpr const char* kTemporaryName = "/.tarrow-render-XXXXXX";

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

} // namespace

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
    const std::optional<std::string> resolved = FollowLinks(path);
    if (!resolved) {
        return Refuse(path, std::strerror(ELOOP), error);
    }
    struct stat status {};
    if (const int descriptor = NamedDescriptor(*resolved); descriptor >= 0) {
        if (ClosedAtStart(descriptor)) {
            return Refuse(path, StandardName(descriptor) + " is closed", error);
        }
        const int flags = fcntl(descriptor, F_GETFL);
        if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY || fstat(descriptor, &status) != 0) {
            return Refuse(path,
                          "descriptor " + std::to_string(descriptor) + " is not open for writing",
                          error);
        }
        target.kind = OutputTarget::Kind::Descriptor;
        target.descriptor = descriptor;
    } else {
        target.resolved = *resolved;
        if (stat(target.resolved.c_str(), &status) != 0) {
            if (errno != ENOENT) {
                return Refuse(path, std::strerror(errno), error);
            }
            target.place = PlaceOf(target.resolved);
            return target; // a new file
        }
        if (S_ISDIR(status.st_mode)) {
            return Refuse(path, "it is a directory", error);
        }
        target.kind =
            S_ISREG(status.st_mode) ? OutputTarget::Kind::Replace : OutputTarget::Kind::InPlace;
        target.socket = S_ISSOCK(status.st_mode);
        if (S_ISREG(status.st_mode)) {
            target.keptMode = status.st_mode & 07777;
        }
    }
    target.place = Place{status.st_dev, status.st_ino, ""};
    target.characterDevice = S_ISCHR(status.st_mode);
    return target;
}

OutputTarget NewFileAt(const std::string& path, const std::string& what) {
    OutputTarget target;
    target.named = path;
    target.what = what;
    target.resolved = path;
    return target;
}

bool SharePlace(const OutputTarget& a, const OutputTarget& b) {
    return a.place == b.place && !(a.characterDevice && b.characterDevice);
}

OutputFile::OutputFile(OutputTarget target, std::string temporary, std::FILE* stream)
    : target_(std::move(target)), temporary_(std::move(temporary)), stream_(stream) {}

std::unique_ptr<OutputFile> OutputFile::Open(const OutputTarget& target, std::string* error) {
    int descriptor = -1;
    std::string temporary;
    switch (target.kind) {
    case OutputTarget::Kind::Descriptor:
        descriptor = fcntl(target.descriptor, F_DUPFD_CLOEXEC, 3);
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
            descriptor = open(target.resolved.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        }
        break;
    case OutputTarget::Kind::Replace: {
        const std::string pattern = DirectoryOf(target.resolved) + kTemporaryName;
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        descriptor = mkostemp(buffer.data(), O_CLOEXEC);
        if (descriptor >= 0) {
            temporary = buffer.data();
            fchmod(descriptor, target.keptMode.value_or(g_newFileMode));
        }
        break;
    }
    }
    if (descriptor < 0) {
        *error = "cannot write " + target.named + ": " + std::strerror(errno);
        return nullptr;
    }
    std::FILE* stream = fdopen(descriptor, "wb");
    if (stream == nullptr) {
        *error = "cannot write " + target.named + ": " + std::strerror(errno);
        close(descriptor);
        if (!temporary.empty()) {
            unlink(temporary.c_str());
        }
        return nullptr;
    }
    return std::unique_ptr<OutputFile>(new OutputFile(target, temporary, stream));
}

OutputFile::~OutputFile() {
    if (!committed_) {
        std::fclose(stream_);
        if (!temporary_.empty()) {
            std::remove(temporary_.c_str());
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
    const bool closed = std::fclose(stream_) == 0;
    if (!written || !closed) {
        *error = WriteFailure(target_.what, target_.named, written ? errno : writeErrno);
        if (!temporary_.empty()) {
            std::remove(temporary_.c_str());
        }
        return false;
    }
    if (!temporary_.empty() && std::rename(temporary_.c_str(), target_.resolved.c_str()) != 0) {
        *error = "cannot put " + target_.named + " in place: " + std::strerror(errno);
        std::remove(temporary_.c_str());
        return false;
    }
    return true;
}

std::string WriteFailure(const std::string& what, const std::string& name, int error) {
    if (error == EPIPE) {
        return "the reader of " + what + " went away";
    }
    return "writing " + what + " to " + name + " failed: " + std::strerror(error);
}
