// Where tarrow-render's outputs go, and what they leave alone: every kind of
// path keeps its kind and whatever else it holds, two outputs never share a
// place, a folder's frames never mix with another run's, failed writes and
// signals leave nothing half-written, and memory stays the same however long
// the run.
#include "tests/support/files.h"
#include "tests/support/polling.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/soak.h"
#include "tests/support/subprocess.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

namespace {

const std::string kDumpStart = "{\n  \"seed\": 1,\n  \"frames\": 0,";

std::vector<std::string> Render(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), BuiltProgram("tarrow-render"));
    return arguments;
}

// The same, run by a shell that first does `setUp` ("umask 027", a
// redirection): what a user's shell would do before starting it.
std::vector<std::string> InShell(const std::string& setUp, const std::vector<std::string>& run) {
    std::vector<std::string> command{"/bin/sh", "-c", setUp + "; exec \"$@\"", "sh"};
    command.insert(command.end(), run.begin(), run.end());
    return command;
}

mode_t Kind(const std::string& path) {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 ? (status.st_mode & S_IFMT) : 0;
}

mode_t Permissions(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? (status.st_mode & 07777) : 0;
}

// A character device of the scratch folder's own, like /dev/null; false
// where this test may not make one or the mount does not honour devices.
bool MakeNullDevice(const std::string& path) {
    if (mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
        return false;
    }
    const int opened = open(path.c_str(), O_WRONLY);
    if (opened >= 0) {
        close(opened);
    }
    return opened >= 0;
}

struct PathCase {
    const char* name;
    // Prepares the scratch folder; the command to run, or empty to skip.
    std::function<std::vector<std::string>(const ScratchDirectory&)> prepare;
    // Checks what is there after the run and what the run printed.
    std::function<void(const ScratchDirectory&, const ProcessResult&)> check;
};

void PrintTo(const PathCase& kind, std::ostream* out) {
    *out << kind.name;
}

std::vector<std::string> DumpTo(const std::string& path) {
    return Render({"--logic-only", "--frames", "0", "--seed", "1", "--dump-state", path});
}

// Standard output opened to append to a log, and the dump sent to `path`,
// which leads to that log: it is appended to, the earlier lines kept.
PathCase AppendedTo(const char* name, std::function<std::string(const ScratchDirectory&)> path) {
    return {name,
            [path](const ScratchDirectory& s) {
                std::ofstream(s.Path("log")) << "earlier\n";
                return InShell("exec >>'" + s.Path("log") + "'", DumpTo(path(s)));
            },
            [](const ScratchDirectory& s, const ProcessResult&) {
                EXPECT_EQ(s.Read("log").rfind("earlier\n" + kDumpStart, 0), 0u);
                EXPECT_EQ(Kind(s.Path("log")), static_cast<mode_t>(S_IFREG));
                EXPECT_EQ(s.Names(), std::vector<std::string>{"log"});
            }};
}

const PathCase kPathCases[] = {
    {"NewFileGetsTheUmasksPermissions",
     [](const ScratchDirectory& s) { return InShell("umask 027", DumpTo(s.Path("new.json"))); },
     [](const ScratchDirectory& s, const ProcessResult&) {
         EXPECT_EQ(s.Read("new.json").rfind(kDumpStart, 0), 0u);
         EXPECT_EQ(Permissions(s.Path("new.json")), 0640u);
         EXPECT_EQ(s.Names(), std::vector<std::string>{"new.json"});
     }},
    {"PlainFileIsReplacedKeepingItsPermissions",
     [](const ScratchDirectory& s) {
         std::ofstream(s.Path("old.json")) << "old";
         chmod(s.Path("old.json").c_str(), 0600);
         return DumpTo(s.Path("old.json"));
     },
     [](const ScratchDirectory& s, const ProcessResult&) {
         EXPECT_EQ(s.Read("old.json").rfind(kDumpStart, 0), 0u);
         EXPECT_EQ(Permissions(s.Path("old.json")), 0600u);
     }},
    {"SymlinkStaysAndItsFileIsReplaced",
     [](const ScratchDirectory& s) {
         std::ofstream(s.Path("target.json")) << "old";
         symlink("target.json", s.Path("link.json").c_str());
         return DumpTo(s.Path("link.json"));
     },
     [](const ScratchDirectory& s, const ProcessResult&) {
         EXPECT_EQ(Kind(s.Path("link.json")), static_cast<mode_t>(S_IFLNK));
         EXPECT_EQ(s.Read("target.json").rfind(kDumpStart, 0), 0u);
         EXPECT_EQ(s.Names(), (std::vector<std::string>{"link.json", "target.json"}));
     }},
    {"DeviceIsWrittenInPlace",
     [](const ScratchDirectory& s) {
         return MakeNullDevice(s.Path("null")) ? DumpTo(s.Path("null"))
                                               : std::vector<std::string>{};
     },
     [](const ScratchDirectory& s, const ProcessResult&) {
         EXPECT_EQ(Kind(s.Path("null")), static_cast<mode_t>(S_IFCHR));
         EXPECT_EQ(s.Names(), std::vector<std::string>{"null"});
     }},
    {"SymlinkToADeviceStaysTheDevicesLink",
     [](const ScratchDirectory& s) {
         if (!MakeNullDevice(s.Path("null"))) {
             return std::vector<std::string>{};
         }
         symlink(s.Path("null").c_str(), s.Path("link").c_str());
         return DumpTo(s.Path("link"));
     },
     [](const ScratchDirectory& s, const ProcessResult&) {
         EXPECT_EQ(Kind(s.Path("link")), static_cast<mode_t>(S_IFLNK));
         EXPECT_EQ(Kind(s.Path("null")), static_cast<mode_t>(S_IFCHR));
     }},
    {"LongestNameIsWritten",
     [](const ScratchDirectory& s) { return DumpTo(s.Path(std::string(250, 'n') + ".json")); },
     [](const ScratchDirectory& s, const ProcessResult&) {
         EXPECT_EQ(s.Names(), std::vector<std::string>{std::string(250, 'n') + ".json"});
     }},
    {"DashIsStandardOutput", [](const ScratchDirectory&) { return DumpTo("-"); },
     [](const ScratchDirectory& s, const ProcessResult& result) {
         EXPECT_EQ(result.out.rfind(kDumpStart, 0), 0u);
         EXPECT_TRUE(s.Names().empty());
     }},
    AppendedTo("DevStdoutIsAppendedTo", [](const ScratchDirectory&) { return "/dev/stdout"; }),
    AppendedTo("AnySpellingOfStdoutIsAppendedTo",
               [](const ScratchDirectory&) { return "/dev//fd/1"; }),
    AppendedTo("PathToWhatStdoutHoldsIsAppendedTo",
               [](const ScratchDirectory& s) { return s.Path("log"); }),
    {"NullDeviceTakesSeveralOutputs",
     [](const ScratchDirectory&) {
         return Render({"--logic-only", "--frames", "0", "--dump-state", "/dev/null",
                        "--dump-texture", "/dev/null"});
     },
     [](const ScratchDirectory& s, const ProcessResult&) { EXPECT_TRUE(s.Names().empty()); }},
};

class OutputPath : public testing::TestWithParam<PathCase> {};

TEST_P(OutputPath, KeepsItsKindAndGetsTheBytes) {
    ScratchDirectory scratch;
    const std::vector<std::string> command = GetParam().prepare(scratch);
    if (command.empty()) {
        GTEST_SKIP() << "no device can be made here (not root, or a nodev mount)";
    }
    const ProcessResult result = RunProcess(command);
    ASSERT_EQ(result.status, 0) << result.err;
    GetParam().check(scratch, result);
}

INSTANTIATE_TEST_SUITE_P(, OutputPath, testing::ValuesIn(kPathCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RenderTargets, FifoIsWrittenToItsReader) {
    ScratchDirectory scratch;
    const std::string fifo = scratch.Path("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = ReadFile(fifo); });
    const ProcessResult result = RunProcess(DumpTo(fifo));
    reader.join();
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(received.rfind(kDumpStart, 0), 0u);
    EXPECT_EQ(Kind(fifo), static_cast<mode_t>(S_IFIFO));
}

// Two outputs in one place: refused before anything is written, and the
// folder --png made for the run removed. `..` after a folder the run makes,
// and a symlinked folder, lead where the kernel takes them.
class SharedPlace : public testing::TestWithParam<std::vector<std::string>> {};

TEST_P(SharedPlace, IsRefusedBeforeAnythingIsWritten) {
    ScratchDirectory scratch;
    std::ofstream(scratch.Path("kept")) << "kept";
    symlink("kept", scratch.Path("link").c_str());
    std::filesystem::create_directories(scratch.Path("sub/inner"));
    symlink("sub/inner", scratch.Path("linked").c_str());
    std::vector<std::string> arguments{"--frames", "2", "--size", "16x16", "--seed", "1"};
    for (const std::string& argument : GetParam()) {
        arguments.push_back(argument.find('@') == 0 ? scratch.Path(argument.substr(1)) : argument);
    }
    const ProcessResult result = RunProcess(Render(arguments));
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("one would be lost"), std::string::npos) << result.err;
    EXPECT_EQ(scratch.Names(), (std::vector<std::string>{"kept", "link", "linked", "sub"}));
    EXPECT_TRUE(std::filesystem::is_empty(scratch.Path("sub/inner")));
    EXPECT_EQ(scratch.Read("kept"), "kept");
}

INSTANTIATE_TEST_SUITE_P(
    , SharedPlace,
    testing::Values(
        std::vector<std::string>{"--y4m", "@same", "--dump-state", "@same"},
        std::vector<std::string>{"--y4m", "@new", "--dump-state", "@./new"},
        std::vector<std::string>{"--y4m", "@new", "--dump-state", "@sub/../new"},
        std::vector<std::string>{"--dump-state", "@kept", "--dump-texture", "@link"},
        std::vector<std::string>{"--y4m", "-", "--dump-state", "/dev/stdout"},
        std::vector<std::string>{"--png", "@frames", "--dump-texture", "@frames/frame-000002.png"},
        std::vector<std::string>{"--png", "@frames", "--dump-texture", "@frames/frame-0000002.png"},
        std::vector<std::string>{"--png", "@sub/new", "--y4m", "@sub/new/../../x.y4m",
                                 "--dump-state", "@x.y4m"},
        std::vector<std::string>{"--png", "@sub/new", "--y4m",
                                 "@sub/new/../../sub/new/frame-000001.png"},
        std::vector<std::string>{"--png", "@linked/new", "--y4m", "@linked/new/../../x.y4m",
                                 "--dump-state", "@sub/x.y4m"},
        std::vector<std::string>{"--png", "@frames", "--y4m", "@frames/.tarrow-render.lock"}));

// An output on a descriptor is no file of the frames folder: both are written.
// (option, place, what the output starts with)
class DescriptorBesideFrames
    : public testing::TestWithParam<std::tuple<std::string, std::string, std::string>> {};

TEST_P(DescriptorBesideFrames, BothAreWritten) {
    const auto& [option, place, start] = GetParam();
    ScratchDirectory scratch;
    const ProcessResult result =
        RunProcess(Render({"--frames", "1", "--size", "8x8", "--seed", "1", "--png",
                           scratch.Path("frames"), option, place}));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_FALSE(scratch.Read("frames/frame-000001.png").empty());
    EXPECT_EQ((place == "/dev/fd/2" ? result.err : result.out).rfind(start, 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(, DescriptorBesideFrames,
                         testing::Values(std::make_tuple("--y4m", "-", "YUV4MPEG2"),
                                         std::make_tuple("--dump-state", "/dev/stdout", "{"),
                                         std::make_tuple("--dump-texture", "/dev/fd/2",
                                                         "\x89PNG")));

TEST(RenderTargets, FramesFolderHoldsOneRunsFramesUnlessOverwritten) {
    ScratchDirectory scratch;
    const auto run = [&](std::vector<std::string> extra) {
        std::vector<std::string> arguments{"--frames", "3", "--size", "16x16",
                                           "--seed",   "1", "--png",  scratch.Path("frames")};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return RunProcess(Render(arguments));
    };
    ASSERT_EQ(run({}).status, 0);
    std::ofstream(scratch.Path("frames/notes.txt")) << "mine";
    const ProcessResult again = run({"--every", "2"});
    EXPECT_EQ(again.status, 2);
    EXPECT_NE(again.err.find("--overwrite"), std::string::npos) << again.err;
    ASSERT_EQ(run({"--every", "2", "--overwrite"}).status, 0);
    EXPECT_EQ(scratch.Names("frames"), (std::vector<std::string>{"frame-000002.png", "notes.txt"}));
}

struct NonFileEntry {
    const char* name;
    bool directory; // else a symlink to a file not there yet
    const char* every;
    int status;
};

void PrintTo(const NonFileEntry& entry, std::ostream* out) {
    *out << entry.name;
}

// What sits at a frame's name and is not a plain file is never removed nor
// written through; where the run would write that frame, it is refused.
class NonFileAtAFrameName : public testing::TestWithParam<NonFileEntry> {};

TEST_P(NonFileAtAFrameName, IsLeftAsItIs) {
    ScratchDirectory scratch;
    const std::string entry = scratch.Path("frames/frame-000002.png");
    std::filesystem::create_directory(scratch.Path("frames"));
    if (GetParam().directory) {
        std::filesystem::create_directory(entry);
    } else {
        symlink(scratch.Path("elsewhere").c_str(), entry.c_str());
    }
    const ProcessResult result =
        RunProcess(Render({"--frames", "3", "--size", "8x8", "--seed", "1", "--png",
                           scratch.Path("frames"), "--overwrite", "--every", GetParam().every}));
    EXPECT_EQ(result.status, GetParam().status) << result.err;
    EXPECT_EQ(Kind(entry), static_cast<mode_t>(GetParam().directory ? S_IFDIR : S_IFLNK));
    EXPECT_EQ(scratch.Names(), std::vector<std::string>{"frames"});
}

INSTANTIATE_TEST_SUITE_P(, NonFileAtAFrameName,
                         testing::Values(NonFileEntry{"DirectoryWhereAFrameGoes", true, "1", 2},
                                         NonFileEntry{"SymlinkWhereAFrameGoes", false, "1", 2},
                                         NonFileEntry{"DirectoryBetweenKeptFrames", true, "3", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// A folder whose frames cannot be listed could hide frames the run would
// replace: refused. Root lists any folder, so the run drops to nobody there.
TEST(RenderTargets, FramesFolderThatCannotBeListedIsRefused) {
    ScratchDirectory scratch;
    std::vector<std::string> command =
        Render({"--frames", "1", "--size", "8x8", "--seed", "1", "--png", scratch.Path("frames")});
    const std::vector<std::string> asNobody{"/usr/bin/setpriv", "--reuid=65534", "--regid=65534",
                                            "--clear-groups"};
    if (geteuid() == 0) {
        command.insert(command.begin(), asNobody.begin(), asNobody.end());
        chmod(scratch.Path("").c_str(), 0755);
        if (RunProcess({asNobody[0], asNobody[1], asNobody[2], asNobody[3],
                        BuiltProgram("tarrow-render"), "--version"})
                .status != 0) {
            GTEST_SKIP() << "nobody cannot run the built program from here";
        }
    }
    std::filesystem::create_directory(scratch.Path("frames"));
    chown(scratch.Path("frames").c_str(), geteuid() == 0 ? 65534 : geteuid(), -1);
    chmod(scratch.Path("frames").c_str(), 0300);
    std::ofstream(scratch.Path("frames/frame-000001.png")) << "an earlier run's";
    const ProcessResult result = RunProcess(command);
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("cannot list"), std::string::npos) << result.err;
    EXPECT_EQ(scratch.Read("frames/frame-000001.png"), "an earlier run's");
    chmod(scratch.Path("frames").c_str(), 0700); // so that the scratch folder can go
}

struct FailedWriteCase {
    const char* script;
    int status; // 1: the run failed; 2: refused before it began
    const char* reason;
};

void PrintTo(const FailedWriteCase& failure, std::ostream* out) {
    *out << failure.script;
}

// A write that fails, or could not succeed, ends the run with a reason on
// stderr; nothing reports success when its bytes went nowhere.
class FailedWrite : public testing::TestWithParam<FailedWriteCase> {};

TEST_P(FailedWrite, EndsTheRunWithAReason) {
    const ProcessResult result =
        RunProcess({"/bin/bash", "-c", std::string("set -o pipefail; ") + GetParam().script,
                    BuiltProgram("tarrow-render")});
    EXPECT_EQ(result.status, GetParam().status) << result.err;
    EXPECT_NE(result.err.find(GetParam().reason), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    , FailedWrite,
    testing::Values(
        FailedWriteCase{"\"$0\" --frames 2 --size 16x16 --seed 1 --y4m /dev/full", 1,
                        "writing the video to /dev/full failed: No space left on device"},
        FailedWriteCase{"\"$0\" --logic-only --frames 0 --dump-state /dev/full", 1,
                        "No space left on device"},
        FailedWriteCase{
            "\"$0\" --frames 200 --size 64x40 --seed 1 --y4m - | head -c 100 >/dev/null", 1,
            "the reader of the video went away"},
        FailedWriteCase{"\"$0\" --version >/dev/full", 1, "writing to standard output failed"},
        FailedWriteCase{"\"$0\" --help >&-", 1, "standard output: it is closed"},
        FailedWriteCase{"\"$0\" --logic-only --frames 5 --bench >/dev/full", 1,
                        "writing to standard output failed"},
        FailedWriteCase{"\"$0\" --frames 1 --size 8x8 --seed 1 --y4m - >&-", 2,
                        "cannot write -: standard output is closed"},
        FailedWriteCase{"\"$0\" --logic-only --frames 0 --dump-state /dev/stdout >&-", 2,
                        "cannot write /dev/stdout: standard output is closed"},
        // On a terminal, every name of it is one place.
        FailedWriteCase{"script -qec \"'$0' --logic-only --frames 0 --dump-state - "
                        "--dump-texture -\" /dev/null >&2",
                        2, "one would be lost"},
        FailedWriteCase{"script -qec \"'$0' --logic-only --frames 0 --dump-state /dev/tty "
                        "--dump-texture -\" /dev/null >&2",
                        2, "one would be lost"}));

struct StandardErrorCase {
    const char* script; // run in a scratch folder; its output goes to the file out
    int status;
    const char* start; // of out
};

void PrintTo(const StandardErrorCase& output, std::ostream* out) {
    *out << output.script;
}

// An output on what standard error holds gets the output alone: the run says
// nothing there, and only its status tells of a failure.
class OutputOnStandardError : public testing::TestWithParam<StandardErrorCase> {};

TEST_P(OutputOnStandardError, GetsNoMessagesMixedIn) {
    ScratchDirectory scratch;
    const ProcessResult result =
        RunProcess({"/bin/bash", "-c", GetParam().script, BuiltProgram("tarrow-render")}, {},
                   scratch.Path(""));
    EXPECT_EQ(result.status, GetParam().status) << result.err;
    const std::string written = scratch.Read("out");
    EXPECT_EQ(written.rfind(GetParam().start, 0), 0u) << written.substr(0, 40);
    EXPECT_EQ(written.find("tarrow-render"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    , OutputOnStandardError,
    testing::Values(
        StandardErrorCase{"\"$0\" --frames 2 --size 16x10 --seed 1 --y4m /dev/stderr 2>out", 0,
                          "YUV4MPEG2"},
        StandardErrorCase{"\"$0\" --logic-only --frames 1 --dump-state - >out 2>&1", 0, "{"},
        StandardErrorCase{"\"$0\" --frames 1 --size 8x8 --seed 1 --y4m /dev/stderr "
                          "--dump-state /dev/full 2>out",
                          1, "YUV4MPEG2"}));

// Whether process `pid` waits for a FIFO's reader.
bool WaitsForAReader(int pid) {
    const std::string waits = ReadFile("/proc/" + std::to_string(pid) + "/wchan");
    return waits == "wait_for_partner" || waits == "fifo_open";
}

// How many of process `pid`'s descriptors are open on files in `folder`,
// unnamed ones included.
std::size_t FilesOpenIn(int pid, const ScratchDirectory& folder) {
    std::size_t open = 0;
    std::error_code ignored;
    for (const auto& entry :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ignored)) {
        open +=
            std::filesystem::read_symlink(entry, ignored).string().rfind(folder.Path(""), 0) == 0;
    }
    return open;
}

// A run that holds frames 1 to 3 of `folder` and waits, before its first
// frame, for a reader of its video, the FIFO `fifo`.
RunningProcess StartHoldingFrames(const std::string& folder, const std::string& fifo) {
    EXPECT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const RunningProcess run = StartProcess(
        Render({"--seed", "1", "--frames", "3", "--size", "8x8", "--png", folder, "--y4m", fifo}));
    EXPECT_TRUE(PollUntil([&] { return WaitsForAReader(run.pid); }));
    return run;
}

TEST(RenderTargets, RangesOfOneFolderOverlapRefusedApartSideBySide) {
    ScratchDirectory scratch;
    const std::string frames = scratch.Path("frames");
    const RunningProcess holding = StartHoldingFrames(frames, scratch.Path("fifo"));
    const ProcessResult overlapping = RunProcess(
        Render({"--seed", "2", "--from", "3", "--frames", "5", "--size", "8x8", "--png", frames}));
    EXPECT_EQ(overlapping.status, 2);
    EXPECT_NE(overlapping.err.find("writing frames 1 to 3 into"), std::string::npos)
        << overlapping.err;
    const ProcessResult apart = RunProcess(
        Render({"--seed", "1", "--from", "4", "--frames", "5", "--size", "8x8", "--png", frames}));
    EXPECT_EQ(apart.status, 0) << apart.err;
    EXPECT_FALSE(ReadFile(scratch.Path("fifo")).empty());
    EXPECT_EQ(FinishProcess(holding).status, 0);
    EXPECT_EQ(scratch.Names("frames"),
              (std::vector<std::string>{"frame-000001.png", "frame-000002.png", "frame-000003.png",
                                        "frame-000004.png", "frame-000005.png"}));
}

TEST(RenderTargets, FrameThatAppearsDuringTheRunIsNeverReplaced) {
    ScratchDirectory scratch;
    const RunningProcess holding = StartHoldingFrames(scratch.Path("frames"), scratch.Path("fifo"));
    std::ofstream(scratch.Path("frames/frame-000002.png")) << "mine";
    ReadFile(scratch.Path("fifo"));
    const ProcessResult result = FinishProcess(holding);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("frame-000002.png appeared while the run wrote it"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(scratch.Read("frames/frame-000002.png"), "mine");
}

struct Interruption {
    const char* name;
    int signal;
    bool blockedOnAFifo; // the video goes to a FIFO nobody reads, the frames to a new folder
    const char* says;    // on standard error
};

void PrintTo(const Interruption& interruption, std::ostream* out) {
    *out << interruption.name;
}

class InterruptedRun : public testing::TestWithParam<Interruption> {};

TEST_P(InterruptedRun, EndsWithTheSignalsStatusAndNoUnfinishedFiles) {
    ScratchDirectory scratch;
    const int unnamed = open(scratch.Path("").c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (unnamed < 0 && GetParam().signal == SIGKILL) {
        GTEST_SKIP() << "this file system makes no unnamed files, so a killed run leaves one";
    }
    close(unnamed);
    std::vector<std::string> arguments{"--frames",     "100000",
                                       "--seed",       "5",
                                       "--size",       "64x40",
                                       "--dump-state", scratch.Path("state.json"),
                                       "--y4m",        scratch.Path("video.y4m")};
    if (GetParam().blockedOnAFifo) {
        arguments.back() = scratch.Path("fifo");
        ASSERT_EQ(mkfifo(arguments.back().c_str(), 0600), 0);
        arguments.insert(arguments.end(), {"--png", scratch.Path("frames")});
    }
    const RunningProcess run = StartProcess(Render(arguments));
    // Once the run has opened its files, or waits for the FIFO's reader.
    EXPECT_TRUE(
        PollUntil([&] { return FilesOpenIn(run.pid, scratch) >= 2 || WaitsForAReader(run.pid); }));
    kill(run.pid, GetParam().signal);
    const ProcessResult result = FinishProcess(run);
    EXPECT_EQ(result.status, 128 + GetParam().signal);
    EXPECT_NE(result.err.find(GetParam().says), std::string::npos) << result.err;
    EXPECT_EQ(scratch.Names(), GetParam().blockedOnAFifo ? std::vector<std::string>{"fifo"}
                                                         : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(, InterruptedRun,
                         testing::Values(Interruption{"Interrupt", SIGINT, false, "interrupted"},
                                         Interruption{"Terminate", SIGTERM, false, "interrupted"},
                                         Interruption{"HangUp", SIGHUP, false, "interrupted"},
                                         Interruption{"Kill", SIGKILL, false, ""},
                                         Interruption{"WaitingForAReader", SIGINT, true,
                                                      "interrupted"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RenderTargets, MemoryStaysTheSameHoweverLongTheRun) {
    if (!kMemoryMeasurable) {
        GTEST_SKIP() << "the address sanitizer holds freed memory back; measured without it";
    }
    const auto peak = [](const char* frames) {
        const ProcessResult result =
            RunProcess(Render({"--logic-only", "--seed", "1", "--bench", "--frames", frames}));
        EXPECT_EQ(result.status, 0) << result.err;
        return result.peakKiB;
    };
    // Two million frames would hold 16 MB more if each frame kept its time.
    EXPECT_LT(peak("2000000") - peak("1000"), 1024);
}

} // namespace
