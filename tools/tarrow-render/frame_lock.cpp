// frame_lock.cpp - taking and leaving a frames folder's range lock.
#include "tarrow-render/frame_lock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

// A run leaving the folder holds the whole file for a moment, while it
// removes it: a run arriving then waits for it to go, never longer.
constexpr int kLeavingWaits = 5000;
constexpr auto kLeavingWait = std::chrono::milliseconds(1);

struct flock Range(short type, long first, long last) {
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = first;
    range.l_len = last - first + 1;
    return range;
}

bool IsWholeFile(const struct flock& range) {
    return range.l_start == 0 && range.l_len == 0;
}

// Whether `descriptor` is the file at the lock's name, not one a leaving run
// removed after it was opened.
bool AtTheName(const Folder& folder, int descriptor) {
    struct stat opened {};
    struct stat named {};
    return fstat(descriptor, &opened) == 0 &&
           fstatat(folder.descriptor(), kFrameLockName, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

std::string OtherRun(const Folder& folder, const struct flock& held) {
    const std::string range = held.l_len == 0 ? "from frame " + std::to_string(held.l_start) + " on"
                                              : std::to_string(held.l_start) + " to " +
                                                    std::to_string(held.l_start + held.l_len - 1);
    return "another run (process " + std::to_string(held.l_pid) + ") is writing frames " + range +
           " into " + folder.path() + "; give this run a range apart from it, or wait for it";
}

} // namespace

std::unique_ptr<FrameLock> FrameLock::Take(std::shared_ptr<const Folder> folder, long first,
                                           long last, std::string* error) {
    for (int attempt = 0; attempt < kLeavingWaits; ++attempt) {
        const int descriptor = openat(folder->descriptor(), kFrameLockName,
                                      O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (descriptor < 0) {
            *error = "cannot lock the frames of " + folder->path() + ": " + std::strerror(errno);
            return nullptr;
        }
        struct flock range = Range(F_WRLCK, first, last);
        if (fcntl(descriptor, F_SETLK, &range) == 0) {
            struct stat status {};
            if (AtTheName(*folder, descriptor) && fstat(descriptor, &status) == 0) {
                return std::unique_ptr<FrameLock>(
                    new FrameLock(std::move(folder), descriptor, PlaceOf(status)));
            }
            close(descriptor); // removed by a run that left: take the new one
            continue;
        }
        const int failure = errno;
        struct flock held = Range(F_WRLCK, first, last);
        const bool busy =
            (failure == EACCES || failure == EAGAIN) && fcntl(descriptor, F_GETLK, &held) == 0;
        close(descriptor);
        if (!busy) {
            *error = "cannot lock the frames of " + folder->path() + ": " + std::strerror(failure);
            return nullptr;
        }
        if (held.l_type != F_UNLCK && !IsWholeFile(held)) {
            *error = OtherRun(*folder, held);
            return nullptr;
        }
        std::this_thread::sleep_for(kLeavingWait);
    }
    *error = "cannot lock the frames of " + folder->path() + ": its lock file stayed busy";
    return nullptr;
}

FrameLock::FrameLock(std::shared_ptr<const Folder> folder, int descriptor, Place place)
    : folder_(std::move(folder)), descriptor_(descriptor), place_(std::move(place)) {}

FrameLock::~FrameLock() {
    // The whole file is ours only where no other run holds any of it.
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    if (fcntl(descriptor_, F_SETLK, &whole) == 0 && AtTheName(*folder_, descriptor_)) {
        unlinkat(folder_->descriptor(), kFrameLockName, 0);
    }
    close(descriptor_);
}
