// run_seed.h - the seed a headless run of the scene draws with: the one it
// was given, or the clock's, which the caller then says, since only that
// number repeats the run.
#pragma once

#include <cstdint>
#include <optional>

struct RunSeed {
    std::uint32_t value;
    bool fromClock; // not given: the caller says the value
};

// Chooses the seed and makes every clock seeding of the scene use it
// (platform::UseSeed).
RunSeed SeedTheRun(std::optional<std::uint32_t> given);
