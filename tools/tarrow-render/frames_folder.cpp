// frames_folder.cpp - frame names, the folder's lock, and the frames a folder
// already holds.
#include "tarrow-render/frames_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>

namespace {

// frame-<digits>.png: its frame number (LONG_MAX past that), or -1 for any
// other name.
long FrameNumber(const std::string& name) {
    const std::string prefix = "frame-";
    const std::string suffix = ".png";
    if (name.size() <= prefix.size() + suffix.size() || name.rfind(prefix, 0) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return -1;
    }
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size() - suffix.size();
    if (std::find_if_not(first, last, [](char c) { return c >= '0' && c <= '9'; }) != last) {
        return -1;
    }
    long frame = 0;
    return std::from_chars(first, last, frame).ec == std::errc() ? frame : LONG_MAX;
}

const char* KindOf(mode_t mode) {
    return S_ISDIR(mode) ? "a directory" : S_ISLNK(mode) ? "a symlink" : "not a plain file";
}

std::string ListingFailure(const std::string& directory, int error) {
    return "cannot list " + directory + " (" + std::strerror(error) +
           "), so the frames it holds cannot be checked";
}

} // namespace

std::string FrameName(long frame) {
    char name[32];
    std::snprintf(name, sizeof(name), "frame-%06ld.png", frame);
    return name;
}

FramesFolder::FramesFolder(std::string directory, long first, long last, long every,
                           std::string manifest)
    : directory_(std::move(directory)), first_(first), last_(last), every_(every),
      manifest_(std::move(manifest)) {}

FramesFolder::~FramesFolder() {
    lock_.reset();
    const std::string name = NameOf(directory_);
    struct stat named {};
    if (parent_ && folder_ &&
        fstatat(parent_->descriptor(), name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        PlaceOf(named) == folder_->place()) {
        unlinkat(parent_->descriptor(), name.c_str(), AT_REMOVEDIR); // if empty
    }
}

OutputTarget FramesFolder::Frame(long frame) const {
    return NewFileIn(folder_, FrameName(frame), "a frame");
}

OutputTarget FramesFolder::Manifest() const {
    return NewFileIn(folder_, manifest_, "the chunk's manifest");
}

bool FramesFolder::Writes(long frame) const {
    return InRange(frame) && frame % every_ == 0;
}

bool FramesFolder::Take(bool overwrite, std::string* error) {
    if (!Make(error)) {
        return false;
    }
    lock_ = FrameLock::Take(folder_, first_, last_, error);
    return lock_ && Survey(overwrite, error);
}

bool FramesFolder::Make(std::string* error) {
    const std::string name = NameOf(directory_);
    const std::shared_ptr<const Folder> parent = Folder::Open(DirectoryOf(directory_));
    if (!parent) {
        *error = "cannot make directory " + directory_ + ": " + std::strerror(errno);
        return false;
    }
    const bool nameable = !name.empty() && name != "." && name != "..";
    if (nameable && mkdirat(parent->descriptor(), name.c_str(), 0777) == 0) {
        parent_ = parent;
    } else if (nameable && errno != EEXIST) {
        *error = "cannot make directory " + directory_ + ": " + std::strerror(errno);
        return false;
    }
    folder_ = nameable ? Folder::OpenIn(*parent, name, directory_) : Folder::Open(directory_);
    if (!folder_) {
        *error = "cannot write frames into " + directory_ + ": " +
                 (errno == ENOTDIR ? "not a directory" : std::strerror(errno));
        return false;
    }
    if (faccessat(folder_->descriptor(), ".", W_OK | X_OK, 0) != 0) {
        *error = "cannot write into " + directory_ + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool FramesFolder::Survey(bool overwrite, std::string* error) {
    oldFrames_.clear();
    const int listed = openat(folder_->descriptor(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* folder = listed < 0 ? nullptr : fdopendir(listed);
    if (folder == nullptr) {
        *error = ListingFailure(directory_, errno);
        if (listed >= 0) {
            close(listed);
        }
        return false;
    }
    errno = 0;
    while (const dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        const long frame = FrameNumber(name);
        struct stat found {};
        if (!InRange(frame) ||
            fstatat(folder_->descriptor(), name.c_str(), &found, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;
        }
        if (S_ISREG(found.st_mode)) {
            oldFrames_.push_back(OldFrame{name, PlaceOf(found)});
        } else if (Writes(frame) && FrameName(frame) == name) {
            *error = directory_ + "/" + name + " is " + KindOf(found.st_mode) +
                     ", where the run would write a frame";
            closedir(folder);
            return false;
        }
    }
    const int listing = errno;
    closedir(folder);
    if (listing != 0) {
        *error = ListingFailure(directory_, listing);
        return false;
    }
    std::sort(oldFrames_.begin(), oldFrames_.end(),
              [](const OldFrame& a, const OldFrame& b) { return a.name < b.name; });
    if (!oldFrames_.empty() && !overwrite) {
        *error = directory_ + " already holds frames (" + oldFrames_.front().name +
                 (oldFrames_.size() > 1 ? " and " + std::to_string(oldFrames_.size() - 1) + " more"
                                        : "") +
                 "); --overwrite replaces them";
        return false;
    }
    return true;
}

bool FramesFolder::Holds(const OutputTarget& target) const {
    const Place& place = target.place;
    if (place == folder_->place() || place == lock_->place()) {
        return true;
    }
    if (!place.Exists() && place == folder_->NewName(place.name) &&
        (InRange(FrameNumber(place.name)) || place.name == kFrameLockName ||
         (!manifest_.empty() && place.name == manifest_))) {
        return true;
    }
    return std::any_of(oldFrames_.begin(), oldFrames_.end(),
                       [&](const OldFrame& frame) { return frame.place == place; });
}

bool FramesFolder::RemoveOldFrames(std::string* error) const {
    if (!manifest_.empty() && unlinkat(folder_->descriptor(), manifest_.c_str(), 0) != 0 &&
        errno != ENOENT) {
        *error = "cannot remove " + directory_ + "/" + manifest_ + ": " + std::strerror(errno);
        return false;
    }
    for (const OldFrame& frame : oldFrames_) {
        if (unlinkat(folder_->descriptor(), frame.name.c_str(), 0) != 0 && errno != ENOENT) {
            *error = "cannot remove " + directory_ + "/" + frame.name + ": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}
