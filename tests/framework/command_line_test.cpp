// The demo's command line: what each option sets, and what is refused.
#include "framework/command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

DemoOptions Parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "tarrow");
    return ParseDemoOptions(static_cast<int>(arguments.size()), arguments.data());
}

TEST(DemoCommandLine, OptionsSetWhatTheySay) {
    const DemoOptions none = Parse({});
    EXPECT_TRUE(none.error.empty());
    EXPECT_FALSE(none.seeded || none.windowed || none.help || none.version);
    const DemoOptions all =
        Parse({"--seed", "4294967295", "--fps=144", "--windowed", "--version", "-h"});
    EXPECT_TRUE(all.error.empty()) << all.error;
    EXPECT_TRUE(all.seeded && all.windowed && all.version && all.help);
    EXPECT_EQ(all.seed, 4294967295u);
    EXPECT_EQ(all.fps, 144u);
    EXPECT_EQ(Parse({"--seed=7"}).seed, 7u);
}

class RefusedDemoArguments : public testing::TestWithParam<std::vector<const char*>> {};

TEST_P(RefusedDemoArguments, GiveAOneLineReason) {
    const std::string error = Parse(GetParam()).error;
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(, RefusedDemoArguments,
                         testing::Values(std::vector<const char*>{"--seed"},
                                         std::vector<const char*>{"--seed", "-1"},
                                         std::vector<const char*>{"--seed", "4294967296"},
                                         std::vector<const char*>{"--seed", "12x"},
                                         std::vector<const char*>{"--fps", "0"},
                                         std::vector<const char*>{"--fps", "1001"},
                                         std::vector<const char*>{"--fullscreen"},
                                         std::vector<const char*>{"seed"}));

} // namespace
