// place.cpp - identities of paths, existing or not.
#include "tools/tarrow-render/place.h"

#include <sys/stat.h>

#include <vector>

namespace {

std::vector<std::string> Components(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        if (slash > start) {
            parts.push_back(path.substr(start, slash - start));
        }
        start = slash + 1;
    }
    return parts;
}

// The components below an existing directory, with "." dropped and ".."
// taking back the name before it, as they will read once made.
std::string Normalised(const std::vector<std::string>& parts) {
    std::vector<std::string> kept;
    for (const std::string& part : parts) {
        if (part == "..") {
            if (!kept.empty()) {
                kept.pop_back();
            }
        } else if (part != ".") {
            kept.push_back(part);
        }
    }
    std::string rest;
    for (const std::string& part : kept) {
        rest += (rest.empty() ? "" : "/") + part;
    }
    return rest.empty() ? "." : rest;
}

} // namespace

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

Place PlaceOf(const std::string& path) {
    const bool absolute = !path.empty() && path.front() == '/';
    std::vector<std::string> parts = Components(path);
    std::vector<std::string> missing; // innermost last
    while (true) {
        std::string existing = absolute ? "/" : ".";
        for (const std::string& part : parts) {
            existing += "/" + part;
        }
        struct stat status {};
        if (stat(existing.c_str(), &status) == 0 || parts.empty()) {
            return Place{status.st_dev, status.st_ino,
                         missing.empty() ? std::string()
                                         : Normalised(std::vector<std::string>(missing.rbegin(),
                                                                               missing.rend()))};
        }
        missing.push_back(parts.back());
        parts.pop_back();
    }
}
