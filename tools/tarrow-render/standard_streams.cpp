// standard_streams.cpp - guarding and writing the standard descriptors.
#include "tarrow-render/standard_streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

bool g_closedAtStart[3] = {};

} // namespace

void GuardStandardDescriptors() {
    for (int descriptor = STDIN_FILENO; descriptor <= STDERR_FILENO; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) >= 0) {
            continue;
        }
        g_closedAtStart[descriptor] = true;
        const int opened = open("/dev/null", descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != descriptor) {
            dup2(opened, descriptor);
            close(opened);
        }
    }
}

bool ClosedAtStart(int descriptor) {
    return descriptor >= STDIN_FILENO && descriptor <= STDERR_FILENO && g_closedAtStart[descriptor];
}

std::optional<Place> StandardPlace(int descriptor) {
    struct stat status {};
    if (ClosedAtStart(descriptor) || fstat(descriptor, &status) != 0) {
        return std::nullopt;
    }
    return PlaceOf(status);
}

void SilenceStandardError() {
    std::fflush(stderr);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null >= 0) {
        dup2(null, STDERR_FILENO);
        close(null);
    }
}

std::string StandardName(int descriptor) {
    static const char* const kNames[] = {"standard input", "standard output", "standard error"};
    return descriptor >= STDIN_FILENO && descriptor <= STDERR_FILENO
               ? kNames[descriptor]
               : "descriptor " + std::to_string(descriptor);
}

bool PrintToStdout(const std::string& text, std::string* error) {
    if (ClosedAtStart(STDOUT_FILENO)) {
        *error = "cannot write to standard output: it is closed";
        return false;
    }
    const bool written =
        std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
    if (!written) {
        *error = std::string("writing to standard output failed: ") + std::strerror(errno);
    }
    return written;
}
