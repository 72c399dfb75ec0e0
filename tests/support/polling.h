// polling.h - waiting for a condition instead of for a guessed time: a test
// on a loaded machine waits longer, never fails sooner.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

inline constexpr auto kPatience = std::chrono::seconds(60); // every wait, against hangs
inline constexpr auto kPollInterval = std::chrono::milliseconds(100);

// Asks `done` until it holds, `deadline` passes, or `giveUp`, where given,
// holds (what `done` waits for can no longer come); whether `done` held.
inline bool PollUntil(const std::function<bool()>& done,
                      std::chrono::steady_clock::time_point deadline,
                      const std::function<bool()>& giveUp = {}) {
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline || (giveUp && giveUp())) {
            return false;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    return true;
}

// Asks `done` until it holds or patience runs out; whether it held.
inline bool PollUntil(const std::function<bool()>& done) {
    return PollUntil(done, std::chrono::steady_clock::now() + kPatience);
}

// A reading of something that moves for a moment now and then (a descriptor
// opened and closed, a resource made and freed): read until two readings in
// a row agree, and take that one; the last reading when patience runs out.
template <class Reading>
Reading SettledReading(const std::function<Reading()>& read) {
    Reading last = read();
    PollUntil([&] {
        Reading next = read();
        const bool settled = next == last;
        last = std::move(next);
        return settled;
    });
    return last;
}
