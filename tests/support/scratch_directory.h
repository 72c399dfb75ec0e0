// scratch_directory.h - an empty directory for one test's files, removed after.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    std::string Path(const std::string& name) const { return (root_ / name).string(); }
    // What it, or its folder `folder`, holds now, sorted.
    std::vector<std::string> Names(const std::string& folder = "") const;
    std::string Read(const std::string& name) const;

  private:
    std::filesystem::path root_;
};
