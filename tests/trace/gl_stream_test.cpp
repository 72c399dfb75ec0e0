// The GL call stream of three rendered frames, recorded with apitrace: what
// each frame draws, the lights' calls, the frame composition's own state
// calls in their order, and a replay of the recording without GL errors.
#include "tests/e2e/x_session.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/subprocess.h"
#include "tests/trace/gl_dump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
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

TEST_F(GlStream, EveryPassSetsItsStateInOrder) {
    std::vector<std::string> expected = {
        "glClearColor",   "glClear GL_DEPTH_BUFFER_BIT GL_COLOR_BUFFER_BIT",
        "glLoadIdentity", "glClear GL_DEPTH_BUFFER_BIT GL_COLOR_BUFFER_BIT",
        "glLoadIdentity",
        "glMultMatrixf", // the camera's look-at, as GLU issues it
        "glTranslated",   "glEnable GL_LIGHTING",
    };
    for (int i = 0; i < 8; ++i) {
        expected.push_back("glEnable GL_LIGHT" + std::to_string(i));
    }
    const std::vector<std::string> lights = LightCalls();
    expected.insert(expected.end(), lights.begin(), lights.end());
    const std::vector<std::string> passes = {
        "glShadeModel GL_SMOOTH",
        "glClear GL_DEPTH_BUFFER_BIT",
        // Glow pass: glowing movers, floor tiles, clouds, the glowing square.
        "glDisable GL_DEPTH_TEST",
        "glMaterialfv GL_FRONT_AND_BACK GL_AMBIENT_AND_DIFFUSE {0.7, 0.7, 0.7, 0.8}",
        "glMaterialfv GL_FRONT_AND_BACK GL_SPECULAR {0.857, 0.857, 0.857, 0.9}",
        "glBindTexture GL_TEXTURE_2D",
        "glEnable GL_TEXTURE_2D",
        "glBlendFunc GL_SRC_ALPHA GL_ONE",
        "glEnable GL_BLEND",
        "glPushMatrix",
        "glPopMatrix",
        "glPushMatrix",
        "glPopMatrix",
        "glPushMatrix",
        "glPopMatrix",
        "glPushMatrix",
        "glPopMatrix",
        // Block pass, blocks drawn without a pair of their own.
        "glDisable GL_BLEND",
        "glDisable GL_TEXTURE_2D",
        "glMaterialfv GL_FRONT_AND_BACK GL_AMBIENT_AND_DIFFUSE {0.01, 0.01, 0.01, 0.95}",
        "glMaterialfv GL_FRONT_AND_BACK GL_SPECULAR {0.4201, 0.4201, 0.4201, 0.63}",
        "glEnable GL_DEPTH_TEST",
        "glShadeModel GL_SMOOTH",
        "glPolygonMode GL_FRONT_AND_BACK GL_FILL",
        // Red mover pass.
        "glMaterialfv GL_FRONT_AND_BACK GL_AMBIENT_AND_DIFFUSE {0.9102, 0.102, 0.102, 0.3}",
        "glMaterialfv GL_FRONT_AND_BACK GL_SPECULAR {0.913101, 0.913101, 0.913101, 0.6303}",
        "glPolygonMode GL_FRONT_AND_BACK GL_FILL",
        "glShadeModel GL_SMOOTH",
        "glPushMatrix",
        "glPopMatrix",
        // Blue mover pass.
        "glMaterialfv GL_FRONT_AND_BACK GL_AMBIENT_AND_DIFFUSE {0.102, 0.102, 0.702, 0.3}",
        "glMaterialfv GL_FRONT_AND_BACK GL_SPECULAR {0.913101, 0.913101, 0.913101, 0.6303}",
        "glPolygonMode GL_FRONT_AND_BACK GL_FILL",
        "glPushMatrix",
        "glPopMatrix",
        "glFlush",
        // The renderer reads the frame back, then swaps.
        "glPixelStorei GL_PACK_ALIGNMENT",
        "glReadPixels GL_RGB GL_UNSIGNED_BYTE",
        "eglSwapBuffers",
    };
    expected.insert(expected.end(), passes.begin(), passes.end());
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
