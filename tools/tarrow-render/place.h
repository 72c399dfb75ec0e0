// place.h - what an output leads to, as the kernel sees it, so that two
// outputs in one place are caught however each is spelled.
//
// What exists is its own identity: a file, FIFO or socket its device and
// inode (`a.y4m`, `./a.y4m`, `$PWD/a.y4m` and a hard link to it are one
// place); a character device its device number, so that `/dev/tty` and the
// terminal it stands for are one place. A name not there yet is the folder it
// will be made in, held open (device and inode), and the name: the folder is
// opened by the kernel, which resolves every `..` and symlink in its path as
// it will when the file is made.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <memory>
#include <string>

struct Place {
    dev_t device = 0; // a character device's number (inode 0), else the device holding it
    ino_t inode = 0;
    std::string name; // a name not there yet in the folder device/inode; empty when it exists
    bool characterDevice = false;

    bool Exists() const { return name.empty(); }
    // The null device takes any number of outputs.
    bool IsNullDevice() const;
    bool operator==(const Place&) const = default;
};

// The place of what `status` describes (stat or fstat of it).
Place PlaceOf(const struct stat& status);

// A folder held open (as a path: listing it needs read permission, making
// files in it does not), so that what the run makes in it lands there
// whatever happens to its path meanwhile.
class Folder {
  public:
    // The folder `path` names (symlinks followed); null with errno set when it
    // cannot be opened or is not a folder.
    static std::shared_ptr<const Folder> Open(const std::string& path);
    // The folder `name` in `parent`, spelled `path` in messages.
    static std::shared_ptr<const Folder> OpenIn(const Folder& parent, const std::string& name,
                                                const std::string& path);
    ~Folder();
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    int descriptor() const { return descriptor_; }
    const std::string& path() const { return path_; }
    // The folder's own place, and that of the name `name` in it, not there yet.
    Place place() const { return NewName(""); }
    Place NewName(const std::string& name) const;

  private:
    static std::shared_ptr<const Folder> Held(int descriptor, const std::string& path);
    Folder(int descriptor, std::string path, dev_t device, ino_t inode);

    int descriptor_;
    std::string path_; // as the command line spelled it, for messages
    dev_t device_;
    ino_t inode_;
};

// The folder part and the last name of a path, trailing slashes dropped:
// "a/b" gives "a" and "b", "b" gives "." and "b", "/b" gives "/" and "b".
std::string DirectoryOf(const std::string& path);
std::string NameOf(const std::string& path);
