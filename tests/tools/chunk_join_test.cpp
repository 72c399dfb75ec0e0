// A recording split into chunks, as a farm's tasks make it, and joined: the
// join gives the single run's video byte for byte whatever the split, takes
// each chunk's number from the farm's engine, lets a killed chunk be run
// again, and refuses chunks that are not one whole run.
#include "tests/support/files.h"
#include "tests/support/polling.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/subprocess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

constexpr long kFrames = 40;

ProcessResult Render(std::vector<std::string> arguments,
                     const ProcessEnvironment& environment = {
                         {}, {"SLURM_ARRAY_TASK_ID", "JOB_COMPLETION_INDEX"}}) {
    arguments.insert(arguments.begin(), BuiltProgram("tarrow-render"));
    return RunProcess(arguments, environment);
}

std::vector<std::string> Chunk(const std::string& folder, const std::string& chunk,
                               const std::string& seed = "3", const std::string& size = "32x20") {
    return {"--seed", seed,      "--frames", std::to_string(kFrames), "--size", size, "--png",
            folder,   "--chunk", chunk};
}

class ChunkedRun : public testing::Test {
  protected:
    // The single run's video, once for the suite.
    static const std::string& Single() {
        static const std::string video = [] {
            ScratchDirectory scratch;
            const ProcessResult result =
                Render({"--seed", "3", "--frames", std::to_string(kFrames), "--size", "32x20",
                        "--y4m", scratch.Path("single.y4m")});
            EXPECT_EQ(result.status, 0) << result.err;
            return scratch.Read("single.y4m");
        }();
        return video;
    }
    void MakeChunks(long count) {
        for (long k = 1; k <= count; ++k) {
            const ProcessResult result =
                Render(Chunk(scratch.Path("f"), std::to_string(k) + "/" + std::to_string(count)));
            ASSERT_EQ(result.status, 0) << result.err;
        }
    }
    ProcessResult Join() {
        return Render({"--join", scratch.Path("f"), "--y4m", scratch.Path("joined.y4m")});
    }

    ScratchDirectory scratch;
};

class AnySplit : public ChunkedRun, public testing::WithParamInterface<long> {};

TEST_P(AnySplit, JoinsToTheSingleRunsVideo) {
    MakeChunks(GetParam());
    const ProcessResult joined = Join();
    ASSERT_EQ(joined.status, 0) << joined.err;
    EXPECT_TRUE(scratch.Read("joined.y4m") == Single());
}

// The manifest as documented, its hashes those of the files (as another
// program computes them).
TEST_F(ChunkedRun, ManifestIsAsDocumentedWithEachFramesHash) {
    MakeChunks(2);
    const ProcessResult check = RunProcess(
        {"/usr/bin/python3", TARROW_CHECK_JSON, TARROW_DOCS "/chunk-manifest.schema.json",
         scratch.Path("f/chunk-1-of-2.json"), scratch.Path("f/chunk-2-of-2.json")});
    EXPECT_EQ(check.status, 0) << check.out << check.err;
    const ProcessResult sum =
        RunProcess({"/usr/bin/sha256sum", scratch.Path("f/frame-000021.png")});
    ASSERT_EQ(sum.status, 0);
    EXPECT_NE(scratch.Read("f/chunk-2-of-2.json").find("\"sha256\": \"" + sum.out.substr(0, 64)),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(, AnySplit, testing::Range(1L, 9L));

TEST_F(ChunkedRun, TakesItsNumberFromTheEngine) {
    // A Slurm index resubmitted alone (its array then starts there) names the
    // same chunk.
    const std::vector<std::pair<ProcessEnvironment, std::string>> engines = {
        {{{{"SLURM_ARRAY_TASK_ID", "1"},
           {"SLURM_ARRAY_TASK_MIN", "1"},
           {"SLURM_ARRAY_TASK_STEP", "1"}},
          {"JOB_COMPLETION_INDEX"}},
         "chunk-2-of-3.json"},
        {{{{"JOB_COMPLETION_INDEX", "2"}}, {"SLURM_ARRAY_TASK_ID"}}, "chunk-3-of-3.json"},
    };
    for (const auto& [environment, manifest] : engines) {
        const ProcessResult result = Render(Chunk(scratch.Path("f"), "3"), environment);
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_TRUE(std::filesystem::exists(scratch.Path("f/" + manifest))) << manifest;
    }
    const ProcessResult none = Render(Chunk(scratch.Path("g"), "3"));
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find("SLURM_ARRAY_TASK_ID or JOB_COMPLETION_INDEX"), std::string::npos)
        << none.err;
    const ProcessResult past =
        Render(Chunk(scratch.Path("g"), "3"), {{{"SLURM_ARRAY_TASK_ID", "3"}}, {}});
    EXPECT_EQ(past.status, 2);
    EXPECT_NE(past.err.find("names chunk 4, past the 3"), std::string::npos) << past.err;
    EXPECT_FALSE(std::filesystem::exists(scratch.Path("g")));
}

// Killed as a lost node is, a chunk leaves frames but no manifest; the
// chunks run next take their ranges of the folder back without being told
// to overwrite, and leave every frame outside their ranges as it was.
TEST_F(ChunkedRun, ChunksReplaceAKilledChunksFramesInTheirRangesOnly) {
    std::vector<std::string> command = Chunk(scratch.Path("f"), "1/1");
    command.insert(command.begin(), BuiltProgram("tarrow-render"));
    command.insert(command.end(), {"--frames", "900000"}); // far too long to finish first
    const RunningProcess running = StartProcess(command, {{}, {"SLURM_ARRAY_TASK_ID"}});
    ASSERT_TRUE(
        PollUntil([&] { return std::filesystem::exists(scratch.Path("f/frame-000050.png")); }));
    kill(running.pid, SIGKILL);
    FinishProcess(running);
    // What the folder holds, the lock file (left by a killed run) aside.
    const auto frames = [&] {
        std::vector<std::string> names = scratch.Names("f");
        std::erase(names, ".tarrow-render.lock");
        return names;
    };
    std::vector<std::string> left = frames();
    EXPECT_EQ(std::count(left.begin(), left.end(), "chunk-1-of-1.json"), 0);
    const std::string outside = scratch.Read("f/frame-000045.png");

    MakeChunks(2);
    const ProcessResult joined = Join();
    ASSERT_EQ(joined.status, 0) << joined.err;
    EXPECT_TRUE(scratch.Read("joined.y4m") == Single());
    const std::vector<std::string> names = frames();
    left.insert(left.end(), {"chunk-1-of-2.json", "chunk-2-of-2.json"});
    std::sort(left.begin(), left.end());
    EXPECT_EQ(names, left);
    EXPECT_TRUE(scratch.Read("f/frame-000045.png") == outside);
}

// Each refusal names what is wrong, with status 2, and leaves no video.
TEST_F(ChunkedRun, RefusesWhatIsNotOneWholeRun) {
    const std::vector<std::pair<std::function<void(ScratchDirectory&)>, std::string>> faults = {
        {[](ScratchDirectory& s) { std::filesystem::remove(s.Path("f/chunk-2-of-3.json")); },
         "frames 14 to 26 in no chunk"},
        {[](ScratchDirectory& s) { Render(Chunk(s.Path("f"), "2/3", "4")); }, "seed 3"},
        {[](ScratchDirectory& s) { Render(Chunk(s.Path("f"), "3/3", "3", "32x22")); },
         "of different sizes"},
        {[](ScratchDirectory& s) {
             std::fstream frame(s.Path("f/frame-000020.png"),
                                std::ios::in | std::ios::out | std::ios::binary);
             frame.seekg(60);
             const char byte = static_cast<char>(frame.get() ^ 0x10);
             frame.seekp(60);
             frame.put(byte);
         },
         "frame-000020.png is not the frame chunk-2-of-3.json wrote"},
    };
    for (const auto& [fault, reason] : faults) {
        std::filesystem::remove_all(scratch.Path("f"));
        MakeChunks(3);
        fault(scratch);
        const ProcessResult joined = Join();
        EXPECT_EQ(joined.status, 2) << reason;
        EXPECT_NE(joined.err.find(reason), std::string::npos) << joined.err;
        EXPECT_FALSE(std::filesystem::exists(scratch.Path("joined.y4m"))) << reason;
    }
    // Nor is a video written over the chunks' own files.
    const std::string frame = scratch.Read("f/frame-000001.png");
    const ProcessResult over =
        Render({"--join", scratch.Path("f"), "--y4m", scratch.Path("f/../f/frame-000001.png")});
    EXPECT_EQ(over.status, 2) << over.err;
    EXPECT_TRUE(scratch.Read("f/frame-000001.png") == frame);
}

} // namespace
