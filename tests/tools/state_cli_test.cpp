// tarrow-state as make test-cross runs it on every CPU: the renderer's state
// dump on standard output, a folder made whole or not at all, and refusals.
#include "tests/support/files.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/subprocess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

ProcessResult State(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), BuiltProgram("tarrow-state"));
    return RunProcess(arguments);
}

TEST(StateTool, StandardOutputIsTheRenderersLogicOnlyDump) {
    const ProcessResult result = State({"--seed", "1", "--frames", "0"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, ReadFile(TARROW_TEST_DATA "/layout-seed1.json"));
}

TEST(StateTool, FolderHoldsTheStatesEveryFramesHashAndTheGlowImage) {
    ScratchDirectory scratch;
    const ProcessResult result =
        State({"--seed", "3", "--frames", "5", "--at", "2", "--out", scratch.Path("run")});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(scratch.Names(), std::vector<std::string>{"run"});
    EXPECT_EQ(scratch.Names("run"),
              (std::vector<std::string>{"degrees.f32", "glow.rgba", "hashes.txt", "state-2.json",
                                        "state-5.json"}));
    EXPECT_EQ(scratch.Read("run/state-2.json"), State({"--seed", "3", "--frames", "2"}).out);
    EXPECT_EQ(scratch.Read("run/state-5.json"), State({"--seed", "3", "--frames", "5"}).out);
    EXPECT_EQ(scratch.Read("run/glow.rgba").size(), 128u * 128u * 4u);
    EXPECT_EQ(scratch.Read("run/degrees.f32").substr(0, 4),
              std::string("\0\0\x80\x3f", 4)); // cos 0
    // "FRAME HASH" a line for frames 0 to 5, no two hashes alike (the scene
    // moves every frame).
    const std::string hashes = scratch.Read("run/hashes.txt");
    std::vector<std::string> values;
    std::size_t line = 0;
    for (int frame = 0; frame <= 5; ++frame) {
        const std::string prefix = std::to_string(frame) + " ";
        ASSERT_EQ(hashes.compare(line, prefix.size(), prefix), 0) << hashes;
        const std::string value = hashes.substr(line + prefix.size(), 16);
        EXPECT_EQ(value.find_first_not_of("0123456789abcdef"), std::string::npos) << hashes;
        values.push_back(value);
        line += prefix.size() + 16;
        ASSERT_EQ(hashes.substr(line, 1), "\n") << hashes;
        ++line;
    }
    EXPECT_EQ(line, hashes.size()) << hashes;
    std::sort(values.begin(), values.end());
    EXPECT_EQ(std::unique(values.begin(), values.end()), values.end()) << hashes;
}

TEST(StateTool, RefusalsWriteNothing) {
    ScratchDirectory scratch;
    std::filesystem::create_directories(scratch.Path("taken/kept"));
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--at", "3", "--frames", "2", "--out", scratch.Path("a")}, "after the last"},
        {{"--at", "1", "--frames", "2"}, "--at needs --out"},
        {{"--frames", "1", "--out", scratch.Path("taken")}, "exists"},
        {{"--frames", "1", "--out", scratch.Path("no/such")}, "cannot make"},
    };
    for (const auto& [arguments, reason] : cases) {
        const ProcessResult result = State(arguments);
        EXPECT_NE(result.status, 0) << reason;
        EXPECT_EQ(result.err.rfind("tarrow-state: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
        EXPECT_EQ(scratch.Names(), std::vector<std::string>{"taken"}) << reason;
        EXPECT_EQ(scratch.Names("taken"), std::vector<std::string>{"kept"}) << reason;
    }
}

} // namespace
