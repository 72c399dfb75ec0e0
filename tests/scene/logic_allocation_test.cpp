// The scene's logic allocates nothing per frame: however long a run, its
// memory stays what the first frames made it. Counted here by the program's
// own allocator, in a process without a GL driver, whose caches would
// otherwise be counted too.
#include "platform/runtime.h"
#include "scene/vesk_nb_17.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> g_allocations{0};
} // namespace

// Every C++ allocation of this test program passes through here. The
// compiler cannot see that these deletes free only what this new took from
// malloc, and would warn of a mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace {

TEST(SceneLogic, FramesAfterTheFirstAllocateNothing) {
    platform::srand(20131);
    for (int frame = 0; frame < 10; ++frame) {
        AdvanceScene();
    }
    const long before = g_allocations;
    for (int frame = 0; frame < 20'000; ++frame) {
        AdvanceScene();
    }
    EXPECT_EQ(g_allocations - before, 0);
}

} // namespace
