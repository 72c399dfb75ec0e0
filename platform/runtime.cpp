// runtime.cpp - the C runtime's linear congruential generator, reproduced.
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

} // namespace platform
