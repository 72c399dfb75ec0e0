// runtime.cpp - the C runtime's own generator.
#include "platform/runtime.h"

#include <cstdlib>

namespace platform {

int rand() {
    return std::rand();
}

void srand(unsigned int seed) {
    std::srand(seed);
}

} // namespace platform
