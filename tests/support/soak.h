// soak.h - the length of the long-run tests: short under make test, long
// under make soak (which sets TARROW_SOAK); and whether memory use can be
// measured in this build.
#pragma once

#include <cstdlib>

// The address sanitizer holds freed memory back, so resident memory says
// nothing about leaks in a sanitizer build.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kMemoryMeasurable = false;
#else
inline constexpr bool kMemoryMeasurable = true;
#endif

inline bool Soaking() {
    return std::getenv("TARROW_SOAK") != nullptr;
}

template <class T>
T RunLength(T normal, T soak) {
    return Soaking() ? soak : normal;
}
