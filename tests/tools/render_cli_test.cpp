// tarrow-render as its users run it: reproducible output, the two ways of
// advancing the scene agreeing, the committed start-up layout, and refusals
// that leave nothing behind.
#include "tests/support/files.h"
#include "tests/support/png_reading.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/subprocess.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

ProcessResult Render(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), BuiltProgram("tarrow-render"));
    return RunProcess(arguments);
}

TEST(RenderTool, SameSeedAndFramesGiveIdenticalDumpsAndStills) {
    ScratchDirectory first;
    ScratchDirectory second;
    for (const ScratchDirectory* run : {&first, &second}) {
        const ProcessResult result =
            Render({"--frames", "6", "--seed", "7", "--size", "96x60", "--png", run->Path("png"),
                    "--every", "3", "--dump-state", run->Path("state.json")});
        ASSERT_EQ(result.status, 0) << result.err;
    }
    EXPECT_EQ(first.Read("state.json"), second.Read("state.json"));
    EXPECT_EQ(first.Read("png/frame-000003.png"), second.Read("png/frame-000003.png"));
    EXPECT_EQ(first.Read("png/frame-000006.png"), second.Read("png/frame-000006.png"));
    EXPECT_FALSE(first.Read("png/frame-000006.png").empty());
}

TEST(RenderTool, EveryKeepsOnlyItsMultiples) {
    ScratchDirectory scratch;
    ASSERT_EQ(Render({"--frames", "5", "--seed", "1", "--size", "32x20", "--png", scratch.Path("p"),
                      "--every", "2"})
                  .status,
              0);
    EXPECT_EQ(scratch.Names("p"),
              (std::vector<std::string>{"frame-000002.png", "frame-000004.png"}));
}

TEST(RenderTool, LogicOnlyAndRenderedRunsLeaveTheSameState) {
    ScratchDirectory scratch;
    ASSERT_EQ(Render({"--frames", "40", "--seed", "11", "--size", "64x40", "--dump-state",
                      scratch.Path("rendered.json")})
                  .status,
              0);
    ASSERT_EQ(Render({"--frames", "40", "--seed", "11", "--logic-only", "--dump-state",
                      scratch.Path("logic.json")})
                  .status,
              0);
    // The same state; only the rendered run has a window size.
    std::string rendered = scratch.Read("rendered.json");
    const std::string window = "\"window\": {\"width\": 64, \"height\": 40}";
    ASSERT_NE(rendered.find(window), std::string::npos);
    rendered.replace(rendered.find(window), window.size(), "\"window\": null");
    EXPECT_EQ(rendered, scratch.Read("logic.json"));
}

TEST(RenderTool, NoFramesDumpsTheCommittedStartUpLayout) {
    ScratchDirectory scratch;
    const ProcessResult result = Render({"--frames", "0", "--seed", "1", "--logic-only",
                                         "--dump-state", scratch.Path("layout.json")});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(scratch.Read("layout.json"), ReadFile(TARROW_TEST_DATA "/layout-seed1.json"));
}

TEST(RenderTool, DumpsMatchTheirDocumentedSchema) {
    ScratchDirectory scratch;
    ASSERT_EQ(Render({"--frames", "7000", "--seed", "3", "--logic-only", "--dump-state",
                      scratch.Path("logic.json")})
                  .status,
              0);
    ASSERT_EQ(Render({"--frames", "2", "--seed", "3", "--size", "32x20", "--dump-state",
                      scratch.Path("rendered.json")})
                  .status,
              0);
    const ProcessResult check =
        RunProcess({"/usr/bin/python3", TARROW_CHECK_JSON, TARROW_DOCS "/state-dump.schema.json",
                    scratch.Path("logic.json"), scratch.Path("rendered.json"),
                    TARROW_TEST_DATA "/layout-seed1.json"});
    EXPECT_EQ(check.status, 0) << check.out << check.err;
}

TEST(RenderTool, VideoHasOneHeaderAndFullFramesForOddAndEvenSizes) {
    ScratchDirectory scratch;
    ASSERT_EQ(Render({"--frames", "3", "--seed", "2", "--size", "33x21", "--y4m",
                      scratch.Path("odd.y4m")})
                  .status,
              0);
    ASSERT_EQ(Render({"--frames", "2", "--seed", "2", "--size", "32x20", "--y4m",
                      scratch.Path("even.y4m")})
                  .status,
              0);
    const std::string odd = scratch.Read("odd.y4m");
    const std::string even = scratch.Read("even.y4m");
    const std::string oddHeader = "YUV4MPEG2 W33 H21 F60:1 Ip A1:1 C420jpeg XCOLORRANGE=FULL\n";
    const std::string evenHeader = "YUV4MPEG2 W32 H20 F60:1 Ip A1:1 C420jpeg XCOLORRANGE=FULL\n";
    EXPECT_EQ(odd.substr(0, oddHeader.size()), oddHeader);
    EXPECT_EQ(even.substr(0, evenHeader.size()), evenHeader);
    EXPECT_EQ(odd.size(), oddHeader.size() + 3 * (6 + 33 * 21 + 2 * 17 * 11));
    EXPECT_EQ(even.size(), evenHeader.size() + 2 * (6 + 32 * 20 + 2 * 16 * 10));
}

TEST(RenderTool, TextureDumpIsTheGlowImage) {
    ScratchDirectory scratch;
    ASSERT_EQ(Render({"--frames", "0", "--seed", "1", "--logic-only", "--dump-texture",
                      scratch.Path("glow.png")})
                  .status,
              0);
    ASSERT_EQ(Render({"--frames", "0", "--seed", "1", "--size", "16x16", "--dump-texture",
                      scratch.Path("uploaded.png")})
                  .status,
              0);
    EXPECT_EQ(scratch.Read("glow.png"), scratch.Read("uploaded.png"));
}

TEST(RenderTool, DrawsHeadlessWhateverDisplayTheEnvironmentNames) {
    const ProcessResult result =
        RunProcess({BuiltProgram("tarrow-render"), "--frames", "2", "--seed", "1", "--size",
                    "32x20", "--bench"},
                   ProcessEnvironment{{{"SDL_VIDEODRIVER", "x11"}, {"DISPLAY", ":9999"}}, {}});
    EXPECT_EQ(result.status, 0) << result.err;
}

TEST(RenderTool, BenchReportsFrameTimesAndTheRenderer) {
    const ProcessResult result =
        Render({"--frames", "4", "--seed", "3", "--size", "32x20", "--bench"});
    ASSERT_EQ(result.status, 0);
    for (const char* line : {"frames            4\n", "wall seconds", "mean ms", "median ms",
                             "95th percentile", "max ms", "frames per second", "renderer"}) {
        EXPECT_NE(result.out.find(line), std::string::npos) << line;
    }
}

TEST(RenderTool, SeedFromTheClockIsPrinted) {
    const ProcessResult result = Render({"--frames", "1", "--logic-only", "--bench"});
    ASSERT_EQ(result.status, 0);
    EXPECT_EQ(result.err.rfind("tarrow-render: seed ", 0), 0u) << result.err;
}

// Each refusal: one line naming the problem, a non-zero status, no files.
TEST(RenderTool, BadArgumentsAreRefusedBeforeAnythingIsWritten) {
    ScratchDirectory scratch;
    const std::string state = scratch.Path("state.json");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"--frames", "-3", "--dump-state", state}, "--frames needs a whole number"},
        {{"--frames", "many", "--dump-state", state}, "--frames needs a whole number"},
        {{"--every", "0", "--png", scratch.Path("p")}, "--every needs a whole number"},
        {{"--size", "0x10", "--dump-state", state}, "--size needs WxH"},
        {{"--size", "20000x10", "--dump-state", state}, "--size needs WxH"},
        {{"--frames", "1", "--dump-state", "/etc/hostname/state.json"},
         "cannot write /etc/hostname/state.json"},
        {{"--frames", "1", "--png", "/etc/hostname/frames"},
         "cannot make directory /etc/hostname/frames"},
        {{"--frames", "1", "--y4m", scratch.Path("no/such/dir/v.y4m")}, "cannot write"},
    };
    for (const auto& [arguments, reason] : cases) {
        const ProcessResult result = Render(arguments);
        EXPECT_NE(result.status, 0) << reason;
        EXPECT_EQ(result.err.rfind("tarrow-render: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_TRUE(scratch.Names().empty()) << reason;
    }
}

// A recording split into ranges: each range's frames are the whole run's,
// its video a complete stream of them, and ranges may share one folder.
TEST(RenderTool, RangesGiveTheWholeRunsFramesByteForByte) {
    ScratchDirectory scratch;
    const std::vector<std::string> common{"--seed", "9", "--size", "64x40", "--frames", "8"};
    const auto run = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), common.begin(), common.end()); // the last word wins
        const ProcessResult result = Render(arguments);
        EXPECT_EQ(result.status, 0) << result.err;
    };
    run({"--png", scratch.Path("whole"), "--y4m", scratch.Path("whole.y4m")});
    run({"--from", "5", "--png", scratch.Path("split"), "--y4m", scratch.Path("late.y4m")});
    run({"--from", "1", "--frames", "4", "--png", scratch.Path("split")});
    for (int frame = 1; frame <= 8; ++frame) {
        const std::string name = "/frame-00000" + std::to_string(frame) + ".png";
        EXPECT_TRUE(scratch.Read("split" + name) == scratch.Read("whole" + name)) << name;
    }
    const std::string header = "YUV4MPEG2 W64 H40 F60:1 Ip A1:1 C420jpeg XCOLORRANGE=FULL\n";
    const std::size_t frameBytes = 6 + 64 * 40 * 3 / 2;
    const std::string whole = scratch.Read("whole.y4m");
    ASSERT_EQ(whole.size(), header.size() + 8 * frameBytes);
    EXPECT_TRUE(scratch.Read("late.y4m") == header + whole.substr(header.size() + 4 * frameBytes));
}

// An encoder that cannot write (the file-size limit standing in for a full
// disk, its signal left at its default) ends the run with status 1 and leaves
// no file that looks finished, nor a temporary one.
TEST(RenderTool, FullDiskEndsTheRunWithoutAFinishedLookingFile) {
    ScratchDirectory scratch;
    const ProcessResult result =
        RunProcess({"/bin/sh", "-c", "ulimit -f 64; exec \"$@\"", "sh",
                    BuiltProgram("tarrow-render"), "--seed", "1", "--size", "160x100", "--frames",
                    "20", "--y4m", scratch.Path("video.y4m"), "--png", scratch.Path("frames")});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("File too large"), std::string::npos) << result.err;
    EXPECT_EQ(scratch.Names(), std::vector<std::string>{"frames"});
    for (const auto& entry : std::filesystem::directory_iterator(scratch.Path("frames"))) {
        PngImage frame;
        EXPECT_TRUE(ReadPng(entry.path().string(), &frame)) << entry.path();
    }
}

// Players show the video as bright as the stills: ffmpeg decodes a frame of
// the lit city to the still's brightness (read as limited range, the same
// frame comes out a third darker).
TEST(RenderTool, VideoDecodesAsTheStillLooks) {
    if (access("/usr/bin/ffmpeg", X_OK) != 0) {
        GTEST_SKIP() << "ffmpeg is not installed";
    }
    ScratchDirectory scratch;
    ASSERT_EQ(Render({"--seed", "2013", "--from", "2100", "--frames", "2100", "--size", "320x200",
                      "--png", scratch.Path("p"), "--y4m", scratch.Path("v.y4m")})
                  .status,
              0);
    const auto decode = [](const std::string& path) {
        return RunProcess({"/usr/bin/ffmpeg", "-v", "error", "-i", path, "-f", "rawvideo",
                           "-pix_fmt", "rgb24", "-"})
            .out;
    };
    const std::string video = decode(scratch.Path("v.y4m"));
    const std::string still = decode(scratch.Path("p/frame-002100.png"));
    ASSERT_EQ(video.size(), still.size());
    double difference = 0.0;
    double squares = 0.0;
    for (std::size_t i = 0; i < still.size(); ++i) {
        const double d =
            (static_cast<unsigned char>(video[i]) - static_cast<unsigned char>(still[i])) / 255.0;
        difference += d;
        squares += d * d;
    }
    EXPECT_LT(std::abs(difference / still.size()), 0.01);
    EXPECT_LT(std::sqrt(squares / still.size()), 0.015);
}

// make run's preview shows the city, not a dark street: the seed it names,
// drawn small, gives three lit stills (each drawn alone, as a range).
TEST(RenderTool, PreviewSeedShowsTheCity) {
    const std::string script = ReadFile(TARROW_RUN_SCRIPT);
    const std::size_t at = script.find("--seed ") + 7;
    ASSERT_GT(at, 7u);
    const std::string seed = script.substr(at, script.find(' ', at) - at);
    for (const std::string frame : {"100", "200", "300"}) {
        ScratchDirectory scratch;
        ASSERT_EQ(Render({"--seed", seed, "--from", frame, "--frames", frame, "--size", "160x100",
                          "--png", scratch.Path("p")})
                      .status,
                  0);
        PngImage still;
        ASSERT_TRUE(ReadPng(scratch.Path("p/frame-000" + frame + ".png"), &still));
        double sum = 0.0;
        for (const std::uint8_t level : still.pixels) {
            sum += level;
        }
        EXPECT_GT(sum / still.pixels.size() / 255.0, 0.15) << "frame " << frame;
    }
}

// Without a display, make run's preview goes into a folder of its own and
// leaves whatever out/ held, earlier previews included.
TEST(RenderTool, PreviewKeepsWhatOutHolds) {
    ScratchDirectory scratch;
    std::filesystem::create_directories(scratch.Path("out/preview-1"));
    for (const std::string name : {"out/preview.y4m", "out/frame-000100.png", "out/preview-1/a"}) {
        std::ofstream(scratch.Path(name)) << "mine";
    }
    const std::string build =
        std::filesystem::path(BuiltProgram("tarrow-render")).parent_path().parent_path();
    const ProcessResult result =
        RunProcess({TARROW_RUN_SCRIPT, build}, {{}, {"DISPLAY"}}, scratch.Path(""));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("out/preview-2/preview.y4m"), std::string::npos) << result.out;
    EXPECT_EQ(scratch.Read("out/preview.y4m") + scratch.Read("out/frame-000100.png") +
                  scratch.Read("out/preview-1/a"),
              "mineminemine");
    EXPECT_EQ(scratch.Read("out/preview-2/preview.y4m").rfind("YUV4MPEG2", 0), 0u);
    EXPECT_FALSE(scratch.Read("out/preview-2/frame-000300.png").empty());
}

TEST(RenderTool, HelpAndVersionAnswerOnStandardOutput) {
    const ProcessResult help = Render({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--dump-state FILE"), std::string::npos);
    const ProcessResult version = Render({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("tarrow-render ", 0), 0u);
}

} // namespace
