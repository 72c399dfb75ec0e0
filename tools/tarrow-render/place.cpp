// place.cpp - identities of what outputs lead to.
#include "tarrow-render/place.h"

#include <fcntl.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

namespace {

const dev_t kNullDevice = makedev(1, 3);
const dev_t kControllingTerminal = makedev(5, 0); // /dev/tty

// The device number of the process's controlling terminal (the seventh field
// of /proc/self/stat), or /dev/tty's own where it cannot be read.
dev_t ControllingTerminal() {
    std::ifstream file("/proc/self/stat");
    std::string line;
    std::getline(file, line);
    // The command's name, in parentheses, may hold spaces: count after it.
    const std::size_t close = line.rfind(')');
    if (close == std::string::npos) {
        return kControllingTerminal;
    }
    std::istringstream fields(line.substr(close + 1));
    std::string state;
    long parent = 0, group = 0, session = 0;
    unsigned long terminal = 0;
    if (!(fields >> state >> parent >> group >> session >> terminal) || terminal == 0) {
        return kControllingTerminal;
    }
    const unsigned long major = (terminal >> 8) & 0xfff;
    const unsigned long minor = (terminal & 0xff) | ((terminal >> 12) & 0xfff00);
    return makedev(major, minor);
}

std::string WithoutTrailingSlashes(const std::string& path) {
    const std::size_t last = path.find_last_not_of('/');
    return last == std::string::npos ? path.substr(0, 1) : path.substr(0, last + 1);
}

} // namespace

bool Place::IsNullDevice() const {
    return characterDevice && device == kNullDevice;
}

Place PlaceOf(const struct stat& status) {
    if (S_ISCHR(status.st_mode)) {
        const dev_t number =
            status.st_rdev == kControllingTerminal ? ControllingTerminal() : status.st_rdev;
        return Place{number, 0, "", true};
    }
    return Place{status.st_dev, status.st_ino, "", false};
}

std::shared_ptr<const Folder> Folder::Open(const std::string& path) {
    return Held(open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC), path);
}

std::shared_ptr<const Folder> Folder::OpenIn(const Folder& parent, const std::string& name,
                                             const std::string& path) {
    return Held(openat(parent.descriptor(), name.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC), path);
}

std::shared_ptr<const Folder> Folder::Held(int descriptor, const std::string& path) {
    struct stat status {};
    if (descriptor < 0) {
        return nullptr;
    }
    if (fstat(descriptor, &status) != 0) {
        const int failure = errno;
        close(descriptor);
        errno = failure;
        return nullptr;
    }
    return std::shared_ptr<const Folder>(
        new Folder(descriptor, path, status.st_dev, status.st_ino));
}

Folder::Folder(int descriptor, std::string path, dev_t device, ino_t inode)
    : descriptor_(descriptor), path_(std::move(path)), device_(device), inode_(inode) {}

Folder::~Folder() {
    close(descriptor_);
}

Place Folder::NewName(const std::string& name) const {
    return Place{device_, inode_, name, false};
}

std::string DirectoryOf(const std::string& path) {
    const std::string trimmed = WithoutTrailingSlashes(path);
    const std::size_t slash = trimmed.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : trimmed.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::string trimmed = WithoutTrailingSlashes(path);
    const std::size_t slash = trimmed.rfind('/');
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}
