// run_seed.cpp - the one seed of a run.
#include "headless/run_seed.h"

#include "platform/runtime.h"

RunSeed SeedTheRun(std::optional<std::uint32_t> given) {
    const RunSeed seed{given.value_or(static_cast<std::uint32_t>(platform::time(nullptr))),
                       !given.has_value()};
    platform::UseSeed(seed.value);
    return seed;
}
