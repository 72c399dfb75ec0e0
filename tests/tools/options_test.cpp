// tarrow-render's command line: what it accepts, and the one-line reasons it
// gives for what it refuses.
#include "tools/tarrow-render/options.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

std::optional<std::string> Parse(std::vector<std::string> arguments, RenderOptions* options) {
    arguments.insert(arguments.begin(), "tarrow-render");
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    return ParseOptions(static_cast<int>(argv.size()), argv.data(), options);
}

std::string Refusal(std::vector<std::string> arguments) {
    RenderOptions options;
    return Parse(std::move(arguments), &options).value_or("accepted");
}

TEST(Options, DefaultsRenderSixHundredFramesAtFullSize) {
    RenderOptions options;
    ASSERT_FALSE(Parse({}, &options));
    EXPECT_EQ(options.frames, 600);
    EXPECT_EQ(options.width, 1680);
    EXPECT_EQ(options.height, 1050);
    EXPECT_EQ(options.every, 1);
    EXPECT_FALSE(options.seedGiven);
}

TEST(Options, ValuesComeSeparateOrAfterAnEqualsSign) {
    RenderOptions options;
    ASSERT_FALSE(
        Parse({"--frames", "12", "--seed=4294967295", "--size=7x5", "--png", "d", "--every=3",
               "--y4m", "-", "--dump-state=s.json", "--dump-texture", "t.png", "--bench"},
              &options));
    EXPECT_EQ(options.frames, 12);
    EXPECT_TRUE(options.seedGiven);
    EXPECT_EQ(options.seed, 4294967295u);
    EXPECT_EQ(options.width, 7);
    EXPECT_EQ(options.height, 5);
    EXPECT_EQ(options.pngDirectory, "d");
    EXPECT_EQ(options.every, 3);
    EXPECT_EQ(options.y4mPath, "-");
    EXPECT_EQ(options.statePath, "s.json");
    EXPECT_EQ(options.texturePath, "t.png");
    EXPECT_TRUE(options.bench);
}

TEST(Options, CountsMustBeWholeNonNegativeNumbers) {
    EXPECT_EQ(Refusal({"--frames", "-1"}), "--frames needs a whole number of frames, not '-1'");
    EXPECT_EQ(Refusal({"--frames", "ten"}), "--frames needs a whole number of frames, not 'ten'");
    EXPECT_EQ(Refusal({"--frames", "10x"}), "--frames needs a whole number of frames, not '10x'");
    EXPECT_EQ(Refusal({"--frames", "+3"}), "--frames needs a whole number of frames, not '+3'");
    EXPECT_EQ(Refusal({"--seed", "4294967296"}),
              "--seed needs a whole number from 0 to 4294967295, not '4294967296'");
    EXPECT_EQ(Refusal({"--every", "0"}), "--every needs a whole number of at least 1, not '0'");
    EXPECT_EQ(Refusal({"--frames", "0"}), "accepted");
}

TEST(Options, SizesRunFromOneTo16384) {
    EXPECT_EQ(Refusal({"--size", "0x200"}),
              "--size needs WxH with each side from 1 to 16384, not '0x200'");
    EXPECT_EQ(Refusal({"--size", "16385x10"}),
              "--size needs WxH with each side from 1 to 16384, not '16385x10'");
    EXPECT_EQ(Refusal({"--size", "640"}),
              "--size needs WxH with each side from 1 to 16384, not '640'");
    EXPECT_EQ(Refusal({"--size", "16384x1"}), "accepted");
}

TEST(Options, UnknownOptionsAndMissingValuesAreNamed) {
    EXPECT_EQ(Refusal({"--fps", "60"}), "unknown option '--fps' (see --help)");
    EXPECT_EQ(Refusal({"--frames"}), "--frames needs a value");
    EXPECT_EQ(Refusal({"--png="}), "--png needs a path");
    EXPECT_EQ(Refusal({"--bench=yes"}), "--bench takes no value");
}

TEST(Options, LogicOnlyRunsHaveNoFramesToWrite) {
    EXPECT_EQ(Refusal({"--logic-only", "--png", "d"}),
              "--logic-only draws nothing, so it cannot write --png or --y4m frames");
    EXPECT_EQ(Refusal({"--logic-only", "--dump-state", "s.json", "--bench"}), "accepted");
}

} // namespace
