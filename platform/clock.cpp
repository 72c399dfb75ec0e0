// clock.cpp - the clock the program seeds its generator from, or the seed
// given in its place.
#include "platform/runtime.h"

namespace platform {
namespace {

bool g_seeded = false;
std::time_t g_seed = 0;

} // namespace

std::time_t time(std::time_t* out) {
    if (!g_seeded) {
        return std::time(out);
    }
    if (out != nullptr) {
        *out = g_seed;
    }
    return g_seed;
}

void UseSeed(unsigned int seed) {
    g_seeded = true;
    g_seed = static_cast<std::time_t>(seed);
}

} // namespace platform
