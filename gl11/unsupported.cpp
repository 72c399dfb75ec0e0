// unsupported.cpp - naming what the layer does not do, and stopping.
#include "unsupported.h"

#include <cstdio>
#include <cstdlib>

namespace gl11 {

void Fail(const char* call, const char* what) {
    std::fprintf(stderr, "tarrow-gl: %s: %s\n", call, what);
    std::fflush(stderr);
    std::abort();
}

void NotImplemented(const char* call, GLenum value) {
    char named[96];
    std::snprintf(named, sizeof(named), "%s(0x%04X)", call, value);
    Fail(named, "not implemented");
}

} // namespace gl11
