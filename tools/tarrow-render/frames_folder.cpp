// frames_folder.cpp - frame names, and the frames a folder already holds.
#include "tools/tarrow-render/frames_folder.h"

#include "tools/tarrow-render/output_file.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// frame-NNNNNN.png: its frame number, or -1 for any other name.
long FrameNumber(const std::string& name) {
    constexpr std::size_t kDigits = 6;
    const std::string prefix = "frame-";
    const std::string suffix = ".png";
    if (name.size() != prefix.size() + kDigits + suffix.size() || name.rfind(prefix, 0) != 0 ||
        name.compare(prefix.size() + kDigits, suffix.size(), suffix) != 0) {
        return -1;
    }
    const std::string digits = name.substr(prefix.size(), kDigits);
    if (digits.find_first_not_of("0123456789") != std::string::npos) {
        return -1;
    }
    return std::stol(digits);
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
    return frame >= first_ && frame <= last_ && frame % every_ == 0;
}

bool FramesFolder::WouldWrite(const std::string& path) const {
    std::error_code ignored;
    const fs::path file = fs::weakly_canonical(fs::absolute(path), ignored);
    return fs::weakly_canonical(fs::absolute(directory_), ignored) == file.parent_path() &&
           Writes(FrameNumber(file.filename().string()));
}

std::vector<std::string> FramesFolder::ExistingFrames() const {
    std::vector<std::string> frames;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(directory_, ignored)) {
        const std::string name = entry.path().filename().string();
        const long frame = FrameNumber(name);
        if (frame >= first_ && frame <= last_) {
            frames.push_back(name);
        }
    }
    std::sort(frames.begin(), frames.end());
    return frames;
}

bool FramesFolder::Check(bool overwrite, std::string* error) const {
    if (!PrepareDirectory(directory_, error)) {
        return false;
    }
    const std::vector<std::string> existing = ExistingFrames();
    if (!existing.empty() && !overwrite) {
        *error =
            directory_ + " already holds frames (" + existing.front() +
            (existing.size() > 1 ? " and " + std::to_string(existing.size() - 1) + " more" : "") +
            "); --overwrite replaces them";
        return false;
    }
    return true;
}

bool FramesFolder::RemoveOldFrames(std::string* error) const {
    for (const std::string& name : ExistingFrames()) {
        std::error_code failed;
        fs::remove(fs::path(directory_) / name, failed);
        if (failed) {
            *error = "cannot remove " + directory_ + "/" + name + ": " + failed.message();
            return false;
        }
    }
    return true;
}
