// place.h - what a path leads to, as one comparable value, so that two
// outputs in one place are caught however each is spelled.
//
// A path that exists is its file: device and inode, so `a.y4m`, `./a.y4m`,
// `$PWD/a.y4m` and a hard link to it are one place. A path not there yet is
// its deepest existing directory (device and inode) and the rest of the path
// below it, normalised: `sub/../new.y4m` and `new.y4m` are one place before
// either exists. Symlinks in the directories are followed, as the system
// follows them when the file is made.
#pragma once

#include <sys/types.h>

#include <string>

struct Place {
    dev_t device = 0;
    ino_t inode = 0;
    std::string rest; // empty when the path itself exists

    bool Exists() const { return rest.empty(); }
    bool operator==(const Place&) const = default;
};

// The place `path` leads to, following a symlink at its end too.
Place PlaceOf(const std::string& path);

// The directory part and the last name of a path: "a/b" gives "a" and "b",
// "b" gives "." and "b".
std::string DirectoryOf(const std::string& path);
std::string NameOf(const std::string& path);
