// console.cpp - text for the user on the standard streams.
#include "platform/console.h"
#include "sdl/internal.h"

#include <cstdio>

namespace platform {

void ShowText(const std::string& text, bool isError, const char* /*caption*/) {
    std::FILE* stream = isError ? stderr : stdout;
    std::fputs(text.c_str(), stream);
    std::fflush(stream);
}

void detail::Say(const std::string& message) {
    std::fprintf(stderr, "tarrow: %s\n", message.c_str());
    std::fflush(stderr);
}

} // namespace platform
