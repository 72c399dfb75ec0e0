// test_main.cpp - every test process draws headless through the offscreen
// driver (real GL on Mesa), whatever display the machine has.
#include "platform/sdl/offscreen.h"

#include <gtest/gtest.h>

#include <stdlib.h>

int main(int argc, char** argv) {
    // GL drawn on the calling thread, without rasterizer threads, in this
    // process and in every program it starts: a test keeps one processor
    // busy, as it tells CTest, and `ctest -j N` never runs more drawing
    // threads than the machine has. The pixels do not depend on it. A value
    // set by hand is kept.
    setenv("LP_NUM_THREADS", "0", 0);
    platform::UseOffscreenDriver();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
