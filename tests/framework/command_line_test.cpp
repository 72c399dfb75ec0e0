// The demo's command line and the screen saver's: what each option sets, and
// what is refused.
#include "framework/command_line.h"
#include "framework/saver_command_line.h"

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
    // A display mode's options in the spellings saver daemons use.
    EXPECT_TRUE(Parse({"-root"}).root);
    EXPECT_EQ(Parse({"-window-id", "0x2a00007"}).windowId, 0x2a00007u);
    EXPECT_EQ(Parse({"--window-id=44040199"}).windowId, 44040199u);
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
                                         std::vector<const char*>{"seed"},
                                         std::vector<const char*>{"--window-id", "0"},
                                         std::vector<const char*>{"--window-id", "0x"},
                                         std::vector<const char*>{"--window-id", "12ab"},
                                         std::vector<const char*>{"--window-id", "0x100000000"},
                                         std::vector<const char*>{"--root", "--window-id", "7"},
                                         std::vector<const char*>{"--root", "--windowed"}));

struct SaverCase {
    const char* name;
    std::vector<const char*> arguments;
    SaverMode mode;
    std::uint32_t window;
};

void PrintTo(const SaverCase& saverCase, std::ostream* out) {
    *out << saverCase.name;
}

class SaverCommandLine : public testing::TestWithParam<SaverCase> {};

TEST_P(SaverCommandLine, ReadsEverySpellingOfTheSettingsRequests) {
    std::vector<const char*> arguments = GetParam().arguments;
    arguments.insert(arguments.begin(), "tarrow.scr");
    const SaverRequest request =
        ParseSaverCommandLine(static_cast<int>(arguments.size()), arguments.data());
    EXPECT_TRUE(request.error.empty()) << request.error;
    EXPECT_EQ(request.mode, GetParam().mode);
    EXPECT_EQ(request.window, GetParam().window);
}

INSTANTIATE_TEST_SUITE_P(
    , SaverCommandLine,
    testing::Values(SaverCase{"Nothing", {}, SaverMode::Configure, 0},
                    SaverCase{"Slash", {"/s"}, SaverMode::Screen, 0},
                    SaverCase{"Dash", {"-s"}, SaverMode::Screen, 0},
                    SaverCase{"Capital", {"/S"}, SaverMode::Screen, 0},
                    SaverCase{"PreviewApart", {"/p", "1234"}, SaverMode::Preview, 1234},
                    SaverCase{"PreviewJoined", {"/P:66310"}, SaverMode::Preview, 66310},
                    SaverCase{"Configure", {"/c"}, SaverMode::Configure, 0},
                    SaverCase{"ConfigureOwned", {"/c:5678"}, SaverMode::Configure, 5678}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SaverArguments, RefusesWhatTheSettingsNeverAsk) {
    for (const std::vector<const char*>& wrong : {std::vector<const char*>{"/p"},
                                                  {"/p:"},
                                                  {"/p", "x"},
                                                  {"/s:12"},
                                                  {"/x"},
                                                  {"s"},
                                                  {"/s", "/c"},
                                                  {"/pp", "12"}}) {
        std::vector<const char*> arguments = wrong;
        arguments.insert(arguments.begin(), "tarrow.scr");
        const SaverRequest request =
            ParseSaverCommandLine(static_cast<int>(arguments.size()), arguments.data());
        EXPECT_FALSE(request.error.empty()) << wrong[0];
        EXPECT_EQ(request.error.find('\n'), std::string::npos) << request.error;
    }
}

} // namespace
