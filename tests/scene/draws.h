// draws.h - reading the shared random generator's position from outside.
#pragma once

#include "platform/runtime.h"

#include <algorithm>
#include <vector>

// How many values `action` took from the generator: the place at which the
// values that follow it appear in the sequence of a fresh start from `seed`.
// -1 when they do not appear within the first 200.
template <class Action>
int DrawsMadeBy(Action action, unsigned seed = 2013) {
    platform::srand(seed);
    action();
    const int after[3] = {platform::rand(), platform::rand(), platform::rand()};
    platform::srand(seed);
    std::vector<int> sequence(203);
    for (int& value : sequence) {
        value = platform::rand();
    }
    for (int k = 0; k <= 200; ++k) {
        if (std::equal(after, after + 3, sequence.begin() + k)) {
            return k;
        }
    }
    return -1;
}

// The first seed whose draw number `index` (0 is the first) satisfies `wanted`.
template <class Wanted>
unsigned SeedWhereDraw(int index, Wanted wanted) {
    for (unsigned seed = 0;; ++seed) {
        platform::srand(seed);
        for (int i = 0; i < index; ++i) {
            platform::rand();
        }
        if (wanted(platform::rand())) {
            return seed;
        }
    }
}
