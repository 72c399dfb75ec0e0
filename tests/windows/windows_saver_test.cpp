// The screen saver built beside the Windows demo (tarrow.scr), run under Wine
// as the system runs a saver: over the whole desktop until the user stirs
// (/s), in the settings dialog's little monitor (/p HWND: here the preview
// host's window), and asked for its settings (/c, or nothing), of which it
// has none.
#include "tests/e2e/desktop.h"
#include "tests/support/files.h"
#include "tests/windows/wine_prefix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <ostream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr char kSaver[] = "tarrow.scr";
constexpr char kHost[] = "tarrow-saver-host.exe"; // tests/windows/saver_host.cpp
constexpr char kHostTitle[] = "Saver preview host";

// A file of this machine as a Windows program names it: Wine's Z: is the root.
std::string WindowsPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return "Z:" + path;
}

// What the programs said themselves, their lines beginning "tarrow",
// without Wine's, and with Unix line endings (the host's C runtime writes
// CR LF).
std::string OwnLines(const std::string& said) {
    std::istringstream lines(said);
    std::string own;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.rfind("tarrow", 0) == 0) {
            own += line + "\n";
        }
    }
    return own;
}

class WindowsSaver : public Desktop {
  protected:
    void SetUp() override {
        prefix = std::make_unique<WinePrefix>(scratch);
        ASSERT_TRUE(prefix->ready()) << prefix->problem();
        for (const char* program : {kSaver, kHost}) {
            ASSERT_TRUE(std::filesystem::exists(WinePrefix::Beside(program)))
                << "not built beside the demo: " << WinePrefix::Beside(program);
        }
    }
    void TearDown() override {
        Desktop::TearDown();
        prefix.reset();
    }

    // Whether the program has ended; how, then, in `ended`.
    bool HasEnded() {
        if (program.pid > 0 && WaitForExit(program, std::chrono::milliseconds(0), &ended)) {
            program.pid = -1; // waited for: nothing left to end
        }
        return program.pid < 0;
    }
    // Waits for it to end; its exit status, or -1 when it did not.
    int Status() {
        return PollUntil([&] { return HasEnded(); }) ? ended.status : -1;
    }
    // The newest window with this title, waited for while the program runs;
    // empty when none came.
    std::string WaitForWindow(const XSession& x, const std::string& title) {
        std::string found;
        PollUntil([&] { return !(found = x.FindWindow(title)).empty(); },
                  std::chrono::steady_clock::now() + kPatience, [&] { return HasEnded(); });
        return found;
    }
    // What a test says when a window it waited for did not come.
    std::string NoWindowBecause() {
        return HasEnded()
                   ? "it ended with status " + std::to_string(ended.status) + ": " + ended.err
                   : "it runs, but shows no such window";
    }

    ScratchDirectory scratch;
    std::unique_ptr<WinePrefix> prefix;
};

// ---- Over the desktop: /s --------------------------------------------------

// How the user shows they are back.
enum class Stir { PointerMoved, KeyPressed, Clicked };

struct FullScreenRun {
    const char* name;
    const char* option; // a spelling of /s
    Stir stir;
    bool switching; // on Xorg's desktop, whose mode a program may switch; else on Xvfb
};

void PrintTo(const FullScreenRun& run, std::ostream* out) {
    *out << run.name;
}

class WindowsSaverFullScreen : public WindowsSaver,
                               public testing::WithParamInterface<FullScreenRun> {};

TEST_P(WindowsSaverFullScreen, CoversTheDesktopAtItsOwnSizeUntilTheUserStirs) {
    // On Xorg's desktop a saver that asked for the demo's own mode would get
    // it, and the desktop would show another mode.
    XSession x(GetParam().switching ? SwitchingServer() : XServerSetup{false, 1024, 768, true});
    if (GetParam().switching && !x.ready()) {
        GTEST_SKIP() << x.problem();
    }
    ASSERT_TRUE(x.ready()) << x.problem();
    const WindowGeometry screen = x.Screen();
    const std::string mode = x.CurrentMode();
    program = StartProcess(WinePrefix::Program(kSaver, {GetParam().option}),
                           prefix->Environment(x.display()));
    const std::string window = WaitForWindow(x, kTitle);
    ASSERT_FALSE(window.empty()) << NoWindowBecause();
    WindowGeometry at;
    const bool covers = PollUntil([&] {
        at = x.Geometry(window);
        return at.x == 0 && at.y == 0 && at.width == screen.width && at.height == screen.height;
    });
    EXPECT_TRUE(covers) << "the window is " << at.width << "x" << at.height << " at " << at.x << ","
                        << at.y << " on a " << screen.width << "x" << screen.height << " screen";
    ASSERT_TRUE(x.WaitForPictures(3));
    EXPECT_EQ(x.CurrentMode(), mode);

    switch (GetParam().stir) {
    case Stir::PointerMoved:
        // A nudged desk is not a user come back: the pointer stays within 8
        // pixels of where the saver first saw it.
        x.Tool({"xdotool", "mousemove_relative", "3", "2"});
        ASSERT_TRUE(x.WaitForPictures(5));
        ASSERT_FALSE(HasEnded()) << "a 4-pixel move ended it, status " << ended.status;
        x.Tool({"xdotool", "mousemove_relative", "100", "0"});
        break;
    case Stir::KeyPressed:
        x.HoldKeyUntil(window, "space", [&] { return HasEnded(); });
        break;
    case Stir::Clicked:
        x.Tool({"xdotool", "click", "1"});
        break;
    }
    EXPECT_EQ(Status(), 0) << ended.err;
}

INSTANTIATE_TEST_SUITE_P(
    , WindowsSaverFullScreen,
    testing::Values(FullScreenRun{"SlashS_PointerMoved", "/s", Stir::PointerMoved, false},
                    FullScreenRun{"DashS_KeyPressed_SwitchingServer", "-s", Stir::KeyPressed, true},
                    FullScreenRun{"CapitalS_Clicked", "/S", Stir::Clicked, false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- In the settings dialog's monitor: /p HWND -----------------------------

// The option the host names its window with: "/p" gives "/p HWND", "/p:" "/p:HWND".
class WindowsSaverPreview : public WindowsSaver, public testing::WithParamInterface<const char*> {};

TEST_P(WindowsSaverPreview, DrawsInAChildOfTheHostsWindowUntilItIsClosed) {
    XSession x(1024, 768);
    ASSERT_TRUE(x.ready()) << x.problem();
    // Wine's GL channel names each picture swapped. The saver's pictures
    // cannot be read back from the host's window: Wine 8 draws GL in a child
    // of another program's window offscreen, and never shows it there.
    program = StartProcess(
        WinePrefix::Program(kHost, {WindowsPath(WinePrefix::Beside(kSaver)), GetParam()}),
        prefix->Environment(x.display(), "-all,+wgl"));
    const std::string host = WaitForWindow(x, kHostTitle);
    ASSERT_FALSE(host.empty()) << NoWindowBecause();
    const auto swaps = [&] {
        const std::string said = ReadFile(program.errPath);
        std::size_t count = 0;
        for (std::size_t at = said.find("wglSwapBuffers"); at != std::string::npos;
             at = said.find("wglSwapBuffers", at + 1)) {
            ++count;
        }
        return count;
    };
    EXPECT_TRUE(PollUntil([&] { return swaps() >= 10; },
                          std::chrono::steady_clock::now() + kPatience, [&] { return HasEnded(); }))
        << swaps() << " pictures drawn";

    // Its window is the host's child: the server has no window of that name,
    // top-level or not, and the window manager only the host.
    const std::string tree = x.Tool({"xwininfo", "-root", "-tree"});
    EXPECT_EQ(tree.find(std::string("\"") + kTitle + "\""), std::string::npos) << tree;
    EXPECT_EQ(x.FindWindow(kTitle), "");

    // Closed, the host says what child it held, waits for the saver to end
    // and passes on its status (its own codes: the saver outlived the window,
    // or ended first).
    ASSERT_FALSE(HasEnded()) << "status " << ended.status << ": " << ended.err;
    x.Tool({"wmctrl", "-i", "-c", host});
    EXPECT_EQ(Status(), 0) << OwnLines(ended.err);
    EXPECT_TRUE(std::regex_search(OwnLines(ended.err),
                                  std::regex("tarrow-saver-host: preview [^ ]+ "
                                             "\\(0,0\\)-\\(320,240\\) shown, the saver's\n")))
        << OwnLines(ended.err) << "(the host's client area is 320x240)";
}

INSTANTIATE_TEST_SUITE_P(, WindowsSaverPreview, testing::Values("/p", "/p:"), [](const auto& info) {
    return std::string(info.param[2] == ':' ? "Joined" : "Apart");
});

// ---- Its settings: /c, or no argument --------------------------------------

class WindowsSaverSettings : public WindowsSaver,
                             public testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(WindowsSaverSettings, SaysThereIsNothingToConfigureUntilDismissed) {
    XSession x(1024, 768);
    ASSERT_TRUE(x.ready()) << x.problem();
    // Wine's message-box channel names the box's text on standard error.
    program = StartProcess(WinePrefix::Program(kSaver, GetParam()),
                           prefix->Environment(x.display(), "-all,+msgbox"));
    const std::string box = WaitForWindow(x, kTitle);
    ASSERT_FALSE(box.empty()) << NoWindowBecause();
    x.Tap(box, "Return");
    EXPECT_TRUE(x.WaitUntilGone(box));
    EXPECT_EQ(Status(), 0) << ended.err;
    EXPECT_NE(ended.err.find("vesk2013 - tarrow has nothing to configure."), std::string::npos)
        << ended.err;
}

INSTANTIATE_TEST_SUITE_P(, WindowsSaverSettings,
                         testing::Values(std::vector<std::string>{"/c"},
                                         std::vector<std::string>{}),
                         [](const auto& info) {
                             return std::string(info.param.empty() ? "NoArgument" : "SlashC");
                         });

TEST_F(WindowsSaver, RefusesAnUnknownArgumentWithoutAWindow) {
    const ProcessResult wrong =
        RunProcess(WinePrefix::Program(kSaver, {"/x"}), prefix->Environment());
    EXPECT_EQ(wrong.status, 2);
    EXPECT_TRUE(std::regex_match(wrong.err, std::regex("tarrow: [^\n]+\n"))) << wrong.err;
}

} // namespace
