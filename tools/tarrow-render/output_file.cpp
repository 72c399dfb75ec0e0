// output_file.cpp - temporary files renamed into place.
#include "tools/tarrow-render/output_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

OutputFile::OutputFile(std::string path, std::string temporary, std::FILE* stream)
    : path_(std::move(path)), temporary_(std::move(temporary)), stream_(stream) {}

std::unique_ptr<OutputFile> OutputFile::Create(const std::string& path, std::string* error) {
    const std::size_t slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    struct stat existing {};
    if (stat(path.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) {
        *error = "cannot write " + path + ": it is a directory";
        return nullptr;
    }
    std::string pattern =
        (slash == std::string::npos ? std::string() : directory) + "." + name + ".tmp-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int descriptor = mkstemp(buffer.data());
    if (descriptor < 0) {
        *error = "cannot write " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    fchmod(descriptor, 0644);
    std::FILE* stream = fdopen(descriptor, "wb");
    return std::unique_ptr<OutputFile>(new OutputFile(path, buffer.data(), stream));
}

OutputFile::~OutputFile() {
    if (!committed_) {
        std::fclose(stream_);
        std::remove(temporary_.c_str());
    }
}

bool OutputFile::Commit(std::string* error) {
    const bool written = std::fflush(stream_) == 0 && std::ferror(stream_) == 0;
    const int savedErrno = errno;
    committed_ = true;
    if (std::fclose(stream_) != 0 || !written) {
        *error = "writing " + path_ + " failed: " + std::strerror(written ? errno : savedErrno);
        std::remove(temporary_.c_str());
        return false;
    }
    if (std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        *error = "cannot put " + path_ + " in place: " + std::strerror(errno);
        std::remove(temporary_.c_str());
        return false;
    }
    return true;
}

bool PrepareDirectory(const std::string& directory, std::string* error) {
    if (mkdir(directory.c_str(), 0755) != 0 && errno != EEXIST) {
        *error = "cannot make directory " + directory + ": " + std::strerror(errno);
        return false;
    }
    struct stat status {};
    if (stat(directory.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
        *error = "cannot write into " + directory + ": not a directory";
        return false;
    }
    if (access(directory.c_str(), W_OK | X_OK) != 0) {
        *error = "cannot write into " + directory + ": " + std::strerror(errno);
        return false;
    }
    return true;
}
