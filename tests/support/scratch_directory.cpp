// scratch_directory.cpp - per-test directories under the system's temp folder.
#include "tests/support/scratch_directory.h"

#include "tests/support/files.h"

#include <algorithm>

#include <stdlib.h>

ScratchDirectory::ScratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarrow-test-XXXXXX").string();
    root_ = mkdtemp(pattern.data());
}

ScratchDirectory::~ScratchDirectory() {
    std::filesystem::remove_all(root_);
}

std::vector<std::string> ScratchDirectory::Names(const std::string& folder) const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(root_ / folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ScratchDirectory::Read(const std::string& name) const {
    return ReadFile((root_ / name).string());
}
