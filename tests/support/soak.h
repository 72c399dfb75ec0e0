// soak.h - the length of the long-run tests: short under make test, long
// under make soak (which sets TARROW_SOAK).
#pragma once

#include <cstdlib>

inline bool Soaking() {
    return std::getenv("TARROW_SOAK") != nullptr;
}

template <class T>
T RunLength(T normal, T soak) {
    return Soaking() ? soak : normal;
}
