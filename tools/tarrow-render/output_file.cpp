// output_file.cpp - resolving output paths, and writing to what they name.
#include "tools/tarrow-render/output_file.h"

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

std::string Directory(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string Name(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

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

// The path with every symlink at its end followed; a link to nothing yet
// leads to the path where its target will be.
std::optional<std::string> FollowLinks(std::string path) {
    for (int hop = 0; hop < kLinkHops; ++hop) {
        struct stat status {};
        if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return path;
        }
        std::vector<char> target(PATH_MAX + 1);
        const ssize_t length = readlink(path.c_str(), target.data(), PATH_MAX);
        if (length < 0) {
            return std::nullopt;
        }
        const std::string next(target.data(), static_cast<std::size_t>(length));
        path = next.front() == '/' ? next : Directory(path) + "/" + next;
    }
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
    struct stat status {};
    if (const int descriptor = NamedDescriptor(path); descriptor >= 0) {
        const int flags = fcntl(descriptor, F_GETFL);
        if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY || fstat(descriptor, &status) != 0) {
            *error = "cannot write " + path + ": descriptor " + std::to_string(descriptor) +
                     " is not open for writing";
            return std::nullopt;
        }
        target.kind = OutputTarget::Kind::Descriptor;
        target.descriptor = descriptor;
    } else {
        const std::optional<std::string> resolved = FollowLinks(path);
        if (!resolved) {
            *error = "cannot write " + path + ": " + std::strerror(ELOOP);
            return std::nullopt;
        }
        target.resolved = *resolved;
        if (stat(target.resolved.c_str(), &status) != 0) {
            if (errno != ENOENT) {
                *error = "cannot write " + path + ": " + std::strerror(errno);
                return std::nullopt;
            }
            return target; // a new file
        }
        if (S_ISDIR(status.st_mode)) {
            *error = "cannot write " + path + ": it is a directory";
            return std::nullopt;
        }
        target.kind =
            S_ISREG(status.st_mode) ? OutputTarget::Kind::Replace : OutputTarget::Kind::InPlace;
        target.socket = S_ISSOCK(status.st_mode);
        target.mode = status.st_mode & 07777;
    }
    target.exists = true;
    target.device = status.st_dev;
    target.inode = status.st_ino;
    target.characterDevice = S_ISCHR(status.st_mode);
    return target;
}

bool SharePlace(const OutputTarget& a, const OutputTarget& b) {
    if (a.exists && b.exists) {
        return a.device == b.device && a.inode == b.inode && !a.characterDevice;
    }
    return !a.exists && !b.exists && a.resolved == b.resolved;
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
        const std::string pattern =
            Directory(target.resolved) + "/." + Name(target.resolved) + ".tmp-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        descriptor = mkostemp(buffer.data(), O_CLOEXEC);
        if (descriptor >= 0) {
            temporary = buffer.data();
            fchmod(descriptor, target.exists ? target.mode : g_newFileMode);
        }
        break;
    }
    }
    if (descriptor < 0) {
        *error = "cannot write " + target.named + ": " + std::strerror(errno);
        return nullptr;
    }
    std::FILE* stream = fdopen(descriptor, "wb");
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

bool PrepareDirectory(const std::string& directory, std::string* error) {
    if (mkdir(directory.c_str(), 0777) != 0 && errno != EEXIST) {
        *error = "cannot make directory " + directory + ": " + std::strerror(errno);
        return false;
    }
    struct stat status {};
    if (stat(directory.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
        *error = "cannot write into " + directory + ": not a directory";
        return false;
    }
    if (access(directory.c_str(), W_OK | X_OK) != 0) {
        *error = "cannot write into " + directory + ": " + std::strerror(errno);
        return false;
    }
    return true;
}
