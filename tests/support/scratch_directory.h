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
    std::vector<std::string> Names() const; // what is in it now, sorted
    std::string Read(const std::string& name) const;

  private:
    std::filesystem::path root_;
};
