// runtime.h - the C runtime's random numbers and clock, as the program knew them.
//
// Every number the scene draws comes from this generator, so its sequence is
// part of the picture: the start-up layout is drawn from its unseeded state.
// The values run from 0 to 32767 and the state starts at 1. On Windows these
// are the C runtime's own rand and srand; elsewhere the same generator is
// reproduced here. They live in the platform's namespace and never under the
// C library's own names: the GL driver calls the C library's rand itself, and
// an executable exporting its own would hand the driver this generator and
// shift the scene's draws.
//
// The program seeds the generator from the clock (srand(time(NULL))) at start
// and at every window creation; UseSeed makes every such seeding use one
// given value instead, so a run can be repeated.
#pragma once

#include <ctime>

namespace platform {

constexpr int RAND_MAX_VALUE = 0x7FFF;

// Next value, 0..32767: state = state * 214013 + 2531011 (mod 2^32), value = bits 16..30.
int rand();
void srand(unsigned int seed);
// The clock in seconds, or the seed given to UseSeed.
std::time_t time(std::time_t* out);
void UseSeed(unsigned int seed);

} // namespace platform
