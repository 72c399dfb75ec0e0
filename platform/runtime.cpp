// runtime.cpp - the runtime's linear congruential generator and clock.
#include "platform/runtime.h"

#include <cstdint>

namespace platform {
namespace {

// Constant-initialised, so a draw made during static construction in any
// translation unit already sees the unseeded state.
constinit std::uint32_t g_state = 1;

} // namespace

int rand() {
    g_state = g_state * 214013u + 2531011u;
    return static_cast<int>((g_state >> 16) & RAND_MAX_VALUE);
}

void srand(unsigned int seed) {
    g_state = seed;
}

std::time_t time(std::time_t* out) {
    return std::time(out);
}

} // namespace platform
