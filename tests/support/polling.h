// polling.h - waiting for a condition instead of for a guessed time: a test
// on a loaded machine waits longer, never fails sooner.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

inline constexpr auto kPatience = std::chrono::seconds(60); // every wait, against hangs
inline constexpr auto kPollInterval = std::chrono::milliseconds(100);

// Asks `done` until it holds or patience runs out; whether it held.
inline bool PollUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    return true;
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
