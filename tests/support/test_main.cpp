// test_main.cpp - every test process draws headless through the offscreen
// driver (real GL on Mesa), whatever display the machine has.
#include "platform/extras.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    platform::UseOffscreenDriver();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
