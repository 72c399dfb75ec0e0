// The GL call stream of three rendered frames, recorded with apitrace: what
// each frame draws, the lights' calls, the frame composition's own state
// calls in their order, and a replay of the recording without GL errors.
#include "tests/e2e/x_session.h"
#include "tests/support/files.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/subprocess.h"
#include "tests/trace/gl_dump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

namespace {

// apitrace preloads its wrapper ahead of everything else; a sanitizer build
// of the renderer must accept its runtime not coming first.
const ProcessEnvironment kTracedRun{{{"ASAN_OPTIONS", "detect_leaks=0:verify_asan_link_order=0"}},
                                    {}};

// A recording of three frames, made once for all the tests here.
class GlStream : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        scratch_ = new ScratchDirectory;
        const ProcessResult record =
            RunProcess({"/usr/bin/apitrace", "trace", "--api", "egl", "-o",
                        scratch_->Path("frames.trace"), BuiltProgram("tarrow-render"), "--frames",
                        "3", "--seed", "1", "--size", "320x200", "--bench"},
                       kTracedRun);
        recordStatus_ = record.status;
        const ProcessResult dump = RunProcess(
            {"/usr/bin/apitrace", "dump", "--color=never", scratch_->Path("frames.trace")});
        frames_ = new std::vector<Frame>(Frames(Calls(dump.out)));
    }
    static void TearDownTestSuite() {
        delete frames_;
        delete scratch_;
    }
    void SetUp() override {
        ASSERT_EQ(recordStatus_, 0);
        ASSERT_EQ(frames_->size(), 3u);
    }

    static std::size_t Count(const Frame& frame, const std::string& name) {
        return static_cast<std::size_t>(std::count_if(
            frame.begin(), frame.end(), [&](const Call& call) { return call.name == name; }));
    }

    static ScratchDirectory* scratch_;
    static std::vector<Frame>* frames_;
    static int recordStatus_;
};

ScratchDirectory* GlStream::scratch_ = nullptr;
std::vector<Frame>* GlStream::frames_ = nullptr;
int GlStream::recordStatus_ = -1;

// The call with its GL names and, for materials, its colour: what the
// composition decides. Numbers of placement and light motion are left out.
std::string Token(const Call& call) {
    std::string token = call.name;
    for (std::size_t at = call.line.find("GL_"); at != std::string::npos;
         at = call.line.find("GL_", at)) {
        std::size_t end = at + 3;
        while (end < call.line.size() &&
               (std::isupper(static_cast<unsigned char>(call.line[end])) != 0 ||
                std::isdigit(static_cast<unsigned char>(call.line[end])) != 0 ||
                call.line[end] == '_')) {
            ++end;
        }
        token += " " + call.line.substr(at, end - at);
        at = end;
    }
    if (call.name == "glMaterialfv") {
        token += " " + call.line.substr(call.line.find('{'));
        token.pop_back(); // the closing parenthesis
    }
    return token;
}

// The frame without the objects' own drawing: each innermost push/pop pair
// that holds a draw goes, leaving the composition's calls.
std::vector<std::string> Composition(const Frame& frame) {
    std::vector<std::string> kept;
    std::vector<std::size_t> opened; // where in `kept` each open push stands
    for (const Call& call : frame) {
        kept.push_back(Token(call));
        if (call.name == "glPushMatrix") {
            opened.push_back(kept.size() - 1);
        } else if (call.name == "glPopMatrix" && !opened.empty()) {
            const std::size_t start = opened.back();
            opened.pop_back();
            const bool draws =
                std::any_of(kept.begin() + static_cast<long>(start), kept.end(),
                            [](const std::string& token) { return token.rfind("glDraw", 0) == 0; });
            const bool innermost =
                std::none_of(kept.begin() + static_cast<long>(start) + 1, kept.end(),
                             [](const std::string& token) { return token == "glPushMatrix"; });
            if (draws && innermost) {
                kept.resize(start);
            }
        }
    }
    return kept;
}

std::vector<std::string> LightCalls() {
    std::vector<std::string> calls;
    for (int i = 0; i < 8; ++i) {
        const std::string light = " GL_LIGHT" + std::to_string(i);
        calls.push_back("glLightfv" + light + " GL_POSITION");
        calls.push_back("glLightfv" + light + " GL_SPOT_DIRECTION");
        calls.push_back("glLightf" + light + " GL_SPOT_CUTOFF");
        calls.push_back("glLightfv" + light + " GL_SPECULAR");
    }
    return calls;
}

TEST_F(GlStream, EachFrameDrawsEveryBoxAndEverySpriteOnce) {
    for (const Frame& frame : *frames_) {
        EXPECT_EQ(Count(frame, "glDrawElements"), 3200u); // 400 + 2400 + 200 + 200 boxes
        EXPECT_EQ(Count(frame, "glDrawArrays"), 720u);    // 717 tiles, 2 clouds, 1 square
    }
}

TEST_F(GlStream, LightsGetTheirFourCallsEachInOrder) {
    for (const Frame& frame : *frames_) {
        std::vector<std::string> lights;
        for (const Call& call : frame) {
            if (call.name.rfind("glLight", 0) == 0) {
                lights.push_back(Token(call));
            }
        }
        EXPECT_EQ(lights, LightCalls());
    }
}

// Each frame's composition is the reviewed one in tests/data/golden, which
// scripts/update-goldens.sh makes anew (TARROW_UPDATE_GOLDENS set) from the
// first frame of this recording.
TEST_F(GlStream, EveryPassSetsItsStateInOrder) {
    const std::string golden = TARROW_TEST_DATA "/golden/frame-composition.txt";
    if (std::getenv("TARROW_UPDATE_GOLDENS") != nullptr) {
        std::ofstream out(golden);
        for (const std::string& token : Composition(frames_->front())) {
            out << token << "\n";
        }
        GTEST_SKIP() << "wrote " << golden;
    }
    std::vector<std::string> expected;
    std::istringstream lines(ReadFile(golden));
    for (std::string line; std::getline(lines, line);) {
        expected.push_back(line);
    }
    ASSERT_FALSE(expected.empty()) << golden;
    for (const Frame& frame : *frames_) {
        const std::vector<std::string> composition = Composition(frame);
        const auto [got, wanted] =
            std::mismatch(composition.begin(), composition.end(), expected.begin(), expected.end());
        EXPECT_TRUE(got == composition.end() && wanted == expected.end())
            << "call " << (got - composition.begin()) << ": "
            << (got == composition.end() ? "(none)" : *got) << ", expected "
            << (wanted == expected.end() ? "(none)" : *wanted);
    }
}

TEST_F(GlStream, ReplayRunsWithoutGlErrors) {
    XSession x(640, 480);
    ASSERT_TRUE(x.ready()) << x.problem();
    const ProcessResult replay =
        RunProcess({"/usr/bin/apitrace", "replay", "-b", scratch_->Path("frames.trace")},
                   ProcessEnvironment{{{"DISPLAY", x.display()}}, {}});
    EXPECT_EQ(replay.status, 0) << replay.err;
    const std::string output = replay.out + replay.err;
    EXPECT_EQ(output.find("glGetError"), std::string::npos) << output;
    EXPECT_EQ(output.find("error"), std::string::npos) << output;
    EXPECT_NE(output.find("Rendered 3 frames"), std::string::npos) << output;
}

} // namespace
