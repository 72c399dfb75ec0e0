// The Windows build of the demo, run under Wine on a real X server: the same
// window, keys and display mode as the Linux build, the desktop API's own
// message box, and value for value the same GL calls for the same seed.
#include "tests/e2e/desktop.h"
#include "tests/support/files.h"
#include "tests/trace/gl_dump.h"
#include "tests/windows/wine_prefix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <regex>

namespace {

class WindowsDemo : public Desktop {
  protected:
    void SetUp() override {
        prefix = std::make_unique<WinePrefix>(scratch);
        ASSERT_TRUE(prefix->ready()) << prefix->problem();
    }
    void TearDown() override {
        Desktop::TearDown();
        prefix.reset();
    }

    // Starts the Windows build on the session and waits for its first window.
    std::string LaunchExe(const XSession& x, const std::vector<std::string>& arguments = {}) {
        program = StartProcess(WinePrefix::Demo(arguments), prefix->Environment(x.display()));
        return x.WaitForWindow(kTitle);
    }

    ScratchDirectory scratch;
    std::unique_ptr<WinePrefix> prefix;
};

// On Xvfb (one mode, 1680x1050) and on the switching Xorg server.
class WindowsDemoOnScreen : public WindowsDemo, public testing::WithParamInterface<bool> {};

TEST_P(WindowsDemoOnScreen, CoversTheScreenSwitchesWithF1AndEndsWithEscape) {
    const bool switching = GetParam();
    XSession x(switching ? SwitchingServer() : XServerSetup{});
    if (switching && !x.ready()) {
        GTEST_SKIP() << x.problem();
    }
    ASSERT_TRUE(x.ready()) << x.problem();
    const std::string first = LaunchExe(x);
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(PollUntil([&] {
        const WindowGeometry window = x.Geometry(first);
        return window.x == 0 && window.y == 0 && window.width == 1680 && window.height == 1050 &&
               FullScreen(x, first);
    }));
    EXPECT_TRUE(!switching || x.WaitForMode("1680x1050"));

    const std::string windowed = Switch(x, first);
    ASSERT_FALSE(windowed.empty());
    EXPECT_TRUE(!switching || x.WaitForMode("1920x1080"));
    EXPECT_FALSE(FullScreen(x, windowed));

    const std::string again = Switch(x, windowed);
    ASSERT_FALSE(again.empty());
    EXPECT_TRUE(PollUntil([&] { return FullScreen(x, again); }));
    EXPECT_TRUE(!switching || x.WaitForMode("1680x1050"));
    EXPECT_EQ(Escape(x, again), 0);
    EXPECT_TRUE(!switching || x.WaitForMode("1920x1080"));
}

INSTANTIATE_TEST_SUITE_P(, WindowsDemoOnScreen, testing::Bool(), [](const auto& info) {
    return std::string(info.param ? "SwitchingServer" : "FixedServer");
});

TEST_F(WindowsDemo, ClosingTheWindowEndsIt) {
    XSession x(1680, 1050);
    ASSERT_TRUE(x.ready()) << x.problem();
    const std::string window = LaunchExe(x);
    ASSERT_FALSE(window.empty());
    EXPECT_EQ(CloseThroughTheWindowManager(x, window), 0);
}

TEST_F(WindowsDemo, RefusedModeShowsTheSystemsMessageBoxThenRunsWindowed) {
    XSession x(1024, 768);
    ASSERT_TRUE(x.ready()) << x.problem();
    // Wine's message-box channel names the box's text on standard error.
    program = StartProcess(WinePrefix::Demo(), prefix->Environment(x.display(), "-all,+msgbox"));
    const std::string box = x.WaitForWindow("Error");
    ASSERT_FALSE(box.empty());
    x.Tap(box, "Return");
    EXPECT_TRUE(x.WaitUntilGone(box));
    const std::string window = x.WaitForWindow(kTitle);
    ASSERT_FALSE(window.empty());
    EXPECT_FALSE(FullScreen(x, window));
    EXPECT_EQ(Escape(x, window), 0);
    EXPECT_NE(ended.err.find("Mode Switch Failed."), std::string::npos) << ended.err;
}

TEST_F(WindowsDemo, CommandLineIsAnsweredWithoutAWindow) {
    const ProcessResult help = RunProcess(WinePrefix::Demo({"--help"}), prefix->Environment());
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: tarrow", 0), 0u) << help.out;
    const ProcessResult version =
        RunProcess(WinePrefix::Demo({"--version"}), prefix->Environment());
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "tarrow " TARROW_VERSION "\n");
    const ProcessResult wrong = RunProcess(WinePrefix::Demo({"--fast"}), prefix->Environment());
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.err, "tarrow: unknown option '--fast' (see --help)\n");
    const ProcessResult pace = RunProcess(WinePrefix::Demo({"--fps", "0"}), prefix->Environment());
    EXPECT_EQ(pace.status, 2);
    EXPECT_EQ(pace.err, "tarrow: --fps needs a whole number from 1 to 1000, not '0'\n");
}

// ---- The same GL calls as the Linux build ----------------------------------

// A recorded stream as compared: the scene's own set-up calls, and the first
// three frames, each from the scene's first call to its swap.
struct Stream {
    std::vector<std::string> setUp;
    std::vector<std::vector<std::string>> frames;
};

// One call as compared: pointers made alike, blobs replaced by their bytes,
// and the swap of either window system named alike.
std::string Normalised(const Call& call, const std::string& blobs) {
    if (IsSwap(call)) {
        return "SwapBuffers";
    }
    static const std::regex pointer("0x[0-9a-f]+");
    static const std::regex blob("blob\\(\"(blob_call[0-9]+\\.bin)\"\\)");
    std::string text = std::regex_replace(call.line, pointer, "0x?");
    std::smatch found;
    while (std::regex_search(text, found, blob)) {
        const std::string bytes = ReadFile(blobs + "/" + found[1].str());
        text = found.prefix().str() + "bytes(" + std::to_string(std::hash<std::string>{}(bytes)) +
               ")" + found.suffix().str();
    }
    return text;
}

// Reads the set-up and the first three frames of a trace, with the blobs of
// those calls written into `blobs`.
Stream ReadStream(const std::string& trace, const std::string& blobs) {
    const std::vector<Call> swaps = Calls(
        RunProcess({"/usr/bin/apitrace", "dump", "--color=never", "--grep=SwapBuffers", trace})
            .out);
    Stream stream;
    if (swaps.size() < 3) {
        return stream;
    }
    std::filesystem::create_directories(blobs);
    const std::vector<Call> calls =
        Calls(RunProcess({"/usr/bin/apitrace", "dump", "--color=never", "--blobs",
                          "--calls=0-" + std::to_string(swaps[2].number), trace},
                         {}, blobs)
                  .out);
    // Set-up: what the program asked of GL once its window's context was
    // current, before the first frame; the window system's own calls, and
    // those the tracer makes up, are each system's business.
    const auto firstFrame = std::find_if(
        calls.begin(), calls.end(), [](const Call& call) { return call.name == "glClearColor"; });
    auto setUpStart = calls.begin();
    for (auto call = calls.begin(); call != firstFrame; ++call) {
        const bool madeCurrent =
            (call->name == "eglMakeCurrent" || call->name == "glXMakeCurrent") &&
            call->line.find("NULL") == std::string::npos;
        if (madeCurrent) {
            setUpStart = call + 1;
        }
    }
    for (auto call = setUpStart; call != firstFrame; ++call) {
        if (call->name.rfind("gl", 0) == 0 && call->name.rfind("glX", 0) != 0 && !call->faked) {
            stream.setUp.push_back(Normalised(*call, blobs));
        }
    }
    for (const Frame& frame : Frames(std::vector<Call>(firstFrame, calls.end()))) {
        std::vector<std::string> normalised;
        for (const Call& call : frame) {
            normalised.push_back(Normalised(call, blobs));
        }
        stream.frames.push_back(std::move(normalised));
    }
    return stream;
}

// Runs a traced program on the session until it has shown three frames, then
// ends it with Escape.
void RecordThreeFrames(const XSession& x, const std::vector<std::string>& command,
                       const ProcessEnvironment& environment) {
    const RunningProcess traced = StartProcess(command, environment);
    const std::string window = x.WaitForWindow(kTitle);
    ProcessResult result;
    if (window.empty()) {
        const bool ended = WaitForExit(traced, std::chrono::milliseconds(0), &result);
        if (!ended) {
            kill(traced.pid, SIGKILL);
            result = FinishProcess(traced);
        }
        FAIL() << "no window; the program " << (ended ? "had ended" : "was still running")
               << " (status " << result.status << "): " << result.err;
    }
    ASSERT_TRUE(x.WaitForPictures(3));
    ASSERT_EQ(EndWithEscape(x, window, traced, &result), 0) << result.err;
}

// The numbers of a call, in order.
std::vector<double> Numbers(const std::string& call) {
    static const std::regex number("-?[0-9]+(\\.[0-9]+)?(e[-+]?[0-9]+)?");
    std::vector<double> numbers;
    for (auto found = std::sregex_iterator(call.begin(), call.end(), number);
         found != std::sregex_iterator(); ++found) {
        numbers.push_back(std::stod(found->str()));
    }
    return numbers;
}

// Whether two calls are the same. The matrix gluLookAt hands GL is the
// system GLU's arithmetic, not the program's: Wine's 32-bit glu32 works it
// out on the x87 unit, which may round its last digit otherwise than Mesa's
// GLU, so for the 32-bit build that one call's numbers may differ by a few
// units in a float's last place; every other call matches exactly.
bool Same(const std::string& onLinux, const std::string& onWindows) {
    if (onLinux == onWindows) {
        return true;
    }
    if (!WinePrefix::Is32Bit() || onLinux.find("glMultMatrixf(") == std::string::npos ||
        onWindows.find("glMultMatrixf(") == std::string::npos) {
        return false;
    }
    const std::vector<double> mine = Numbers(onLinux);
    const std::vector<double> theirs = Numbers(onWindows);
    return mine.size() == theirs.size() &&
           std::equal(mine.begin(), mine.end(), theirs.begin(), [](double a, double b) {
               return std::abs(a - b) <= 4 * FLT_EPSILON * std::max(std::abs(a), 1e-3);
           });
}

// The first mismatch between two call lists, for the failure message.
std::string FirstDifference(const std::vector<std::string>& onLinux,
                            const std::vector<std::string>& onWindows) {
    const auto [mine, theirs] =
        std::mismatch(onLinux.begin(), onLinux.end(), onWindows.begin(), onWindows.end(), Same);
    if (mine == onLinux.end() && theirs == onWindows.end()) {
        return {};
    }
    return "call " + std::to_string(mine - onLinux.begin()) + ": Linux " +
           (mine == onLinux.end() ? "(none)" : *mine) + ", Windows " +
           (theirs == onWindows.end() ? "(none)" : *theirs);
}

TEST_F(WindowsDemo, DrawsTheSameGlCallsAsTheLinuxBuild) {
    XSession x(1680, 1050);
    ASSERT_TRUE(x.ready()) << x.problem();
    const std::vector<std::string> seed{"--seed", "2013"};

    ProcessEnvironment linuxRun{{{"DISPLAY", x.display()}}, {"SDL_VIDEODRIVER", "WAYLAND_DISPLAY"}};
    std::vector<std::string> linuxCommand{
        "/usr/bin/apitrace",   "trace", "--api", "egl", "-o", scratch.Path("linux.trace"),
        BuiltProgram("tarrow")};
    linuxCommand.insert(linuxCommand.end(), seed.begin(), seed.end());
    RecordThreeFrames(x, linuxCommand, linuxRun);
    if (HasFatalFailure()) {
        return;
    }
    // Under Wine the tracer sees the GL calls Wine makes on the program's behalf.
    std::vector<std::string> windowsCommand{
        "/usr/bin/apitrace", "trace", "--api", "gl", "-o", scratch.Path("windows.trace")};
    for (const std::string& part : WinePrefix::Demo(seed)) {
        windowsCommand.push_back(part);
    }
    RecordThreeFrames(x, windowsCommand, prefix->Environment(x.display()));
    if (HasFatalFailure()) {
        return;
    }

    const Stream onLinux = ReadStream(scratch.Path("linux.trace"), scratch.Path("linux-blobs"));
    const Stream onWindows =
        ReadStream(scratch.Path("windows.trace"), scratch.Path("windows-blobs"));
    ASSERT_EQ(onLinux.frames.size(), 3u);
    ASSERT_EQ(onWindows.frames.size(), 3u);
    EXPECT_FALSE(onLinux.setUp.empty());
    EXPECT_EQ(FirstDifference(onLinux.setUp, onWindows.setUp), "") << "set-up";
    for (std::size_t frame = 0; frame < 3; ++frame) {
        EXPECT_EQ(FirstDifference(onLinux.frames[frame], onWindows.frames[frame]), "")
            << "frame " << frame + 1;
    }
}

} // namespace
