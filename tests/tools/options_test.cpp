// tarrow-render's command line: what it accepts, and the one-line reasons it
// gives for what it refuses.
#include "tarrow-render/options.h"

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
    ASSERT_FALSE(Parse({"--bench"}, &options));
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

TEST(Options, CountsMustBeWholeNumbersWithinTheirLimits) {
    for (const char* frames : {"-1", "ten", "10x", "+3", "1000000001"}) {
        EXPECT_EQ(
            Refusal({"--frames", frames, "--bench"}),
            std::string("--frames needs a whole number of frames from 0 to 1000000000, not '") +
                frames + "'");
    }
    EXPECT_EQ(Refusal({"--seed", "4294967296", "--bench"}),
              "--seed needs a whole number from 0 to 4294967295, not '4294967296'");
    EXPECT_EQ(Refusal({"--every", "0", "--png", "d"}),
              "--every needs a whole number from 1 to 1000000000, not '0'");
    EXPECT_EQ(Refusal({"--frames", "0", "--bench"}), "accepted");
}

TEST(Options, SizesRunFromOneTo16384) {
    EXPECT_EQ(Refusal({"--size", "16385x10", "--bench"}),
              "--size needs WxH with each side from 1 to 16384, not '16385x10'");
    EXPECT_EQ(Refusal({"--size", "640", "--bench"}),
              "--size needs WxH with each side from 1 to 16384, not '640'");
    EXPECT_EQ(Refusal({"--size", "320X200", "--bench"}),
              "--size needs WxH with each side from 1 to 16384, not '320X200' (a lower-case x "
              "between the sides)");
    EXPECT_EQ(Refusal({"--size", "16384x1", "--bench"}), "accepted");
}

// Requests that would do nothing, or options that do nothing beside the others.
class PointlessRequest : public testing::TestWithParam<std::vector<std::string>> {};

TEST_P(PointlessRequest, IsRefused) {
    EXPECT_NE(Refusal(GetParam()), "accepted");
}

INSTANTIATE_TEST_SUITE_P(
    , PointlessRequest,
    testing::Values(std::vector<std::string>{},
                    std::vector<std::string>{"--frames", "60", "--seed", "1"},
                    std::vector<std::string>{"--every", "2", "--bench"},
                    std::vector<std::string>{"--overwrite", "--bench"},
                    std::vector<std::string>{"--logic-only", "--size", "64x40", "--bench"},
                    std::vector<std::string>{"--png", "-"},
                    std::vector<std::string>{"--frames", "0", "--png", "d"},
                    std::vector<std::string>{"--frames", "5", "--every", "10", "--png", "d"}));

TEST(Options, UnknownOptionsAndMissingValuesAreNamed) {
    EXPECT_EQ(Refusal({"--fps", "60"}), "unknown option '--fps' (see --help)");
    EXPECT_EQ(Refusal({"--frames"}), "--frames needs a value");
    EXPECT_EQ(Refusal({"--png="}), "--png needs a path");
    EXPECT_EQ(Refusal({"--bench=yes"}), "--bench takes no value");
    EXPECT_EQ(Refusal({"--SIZE=8X8"}), "unknown option '--SIZE' (see --help)");
}

// A second output option would silently take the first's place; any other
// option given again takes its last value.
TEST(Options, OutputsAreGivenOnceOthersTakeTheirLastValue) {
    for (const char* output : {"--png", "--y4m", "--dump-state", "--dump-texture"}) {
        EXPECT_EQ(Refusal({output, "a", std::string(output) + "=b"}),
                  std::string(output) + " may be given only once");
    }
    RenderOptions options;
    ASSERT_FALSE(
        Parse({"--seed", "1", "--seed", "2", "--frames", "3", "--frames=4", "--bench"}, &options));
    EXPECT_EQ(options.seed, 2u);
    EXPECT_EQ(options.frames, 4);
}

// Six-digit frame names sort in frame order only up to frame 999999.
TEST(Options, FramesNamedWithSixDigitsEndAtFrame999999) {
    EXPECT_EQ(Refusal({"--frames", "999999", "--from", "999999", "--seed", "1", "--png", "d"}),
              "accepted");
    EXPECT_NE(Refusal({"--frames", "1000000", "--png", "d"}).find("up to frame 999999"),
              std::string::npos);
}

TEST(Options, LogicOnlyRunsHaveNoFramesToWrite) {
    EXPECT_EQ(Refusal({"--logic-only", "--png", "d"}),
              "--logic-only draws nothing, so it cannot write --png or --y4m frames");
    EXPECT_EQ(Refusal({"--logic-only", "--dump-state", "s.json", "--bench"}), "accepted");
    EXPECT_EQ(Refusal({"--help"}), "accepted");
}

} // namespace
