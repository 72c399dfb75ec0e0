// frames_folder.cpp - frame names, and the frames a folder already holds.
#include "tools/tarrow-render/frames_folder.h"

#include <dirent.h>
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

FramesFolder::FramesFolder(std::string directory, long first, long last, long every)
    : directory_(std::move(directory)), first_(first), last_(last), every_(every) {}

std::string FramesFolder::FramePath(long frame) const {
    char name[32];
    std::snprintf(name, sizeof(name), "/frame-%06ld.png", frame);
    return directory_ + name;
}

bool FramesFolder::Writes(long frame) const {
    return InRange(frame) && frame % every_ == 0;
}

bool FramesFolder::Survey(bool overwrite, std::string* error) {
    place_ = PlaceOf(directory_);
    oldFrames_.clear();
    struct stat status {};
    if (stat(directory_.c_str(), &status) != 0) {
        return true; // made when the run opens its outputs
    }
    if (!S_ISDIR(status.st_mode)) {
        *error = "cannot write frames into " + directory_ + ": not a directory";
        return false;
    }
    DIR* folder = opendir(directory_.c_str());
    if (folder == nullptr) {
        *error = ListingFailure(directory_, errno);
        return false;
    }
    errno = 0;
    while (const dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        const long frame = FrameNumber(name);
        struct stat found {};
        if (!InRange(frame) || lstat((directory_ + "/" + name).c_str(), &found) != 0) {
            continue;
        }
        if (S_ISREG(found.st_mode)) {
            oldFrames_.push_back(OldFrame{name, Place{found.st_dev, found.st_ino, ""}});
        } else if (Writes(frame) && FramePath(frame) == directory_ + "/" + name) {
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
    if (target.place == place_) {
        return true;
    }
    if (target.kind != OutputTarget::Kind::Descriptor &&
        PlaceOf(DirectoryOf(target.resolved)) == place_ &&
        InRange(FrameNumber(NameOf(target.resolved)))) {
        return true;
    }
    return std::any_of(oldFrames_.begin(), oldFrames_.end(),
                       [&](const OldFrame& frame) { return frame.place == target.place; });
}

bool FramesFolder::Prepare(std::string* error) const {
    if (mkdir(directory_.c_str(), 0777) != 0 && errno != EEXIST) {
        *error = "cannot make directory " + directory_ + ": " + std::strerror(errno);
        return false;
    }
    struct stat status {};
    if (stat(directory_.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
        *error = "cannot write into " + directory_ + ": not a directory";
        return false;
    }
    if (access(directory_.c_str(), W_OK | X_OK) != 0) {
        *error = "cannot write into " + directory_ + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool FramesFolder::RemoveOldFrames(std::string* error) const {
    for (const OldFrame& frame : oldFrames_) {
        const std::string path = directory_ + "/" + frame.name;
        if (unlink(path.c_str()) != 0 && errno != ENOENT) {
            *error = "cannot remove " + path + ": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}
