// page_run.cpp - N frames as fast as the page can draw them.
#include "page_run.h"

#include "headless/offscreen_scene.h"
#include "headless/run_seed.h"
#include "headless/state_dump.h"
#include "platform/headless.h"
#include "platform/web/page.h"

#include <GL/gl.h>
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

int RunFrames(const PageOptions& options) {
    const RunSeed seed =
        SeedTheRun(options.seeded ? std::optional<std::uint32_t>(options.seed) : std::nullopt);
    if (seed.fromClock) {
        platform::web::ShowLine("tarrow: seed " + std::to_string(seed.value), false);
    }
    platform::RunHeadless();
    // A frame larger than WebGL draws would stop the GL layer as it makes its
    // framebuffer; the address's size is refused in its own terms first.
    const int largest = platform::web::LargestSurfaceEdge();
    if (largest > 0 && std::max(options.width, options.height) > largest) {
        platform::web::ShowLine(
            "tarrow: the browser cannot make a drawing surface of " +
                std::to_string(options.width) + "x" + std::to_string(options.height) +
                ": its WebGL 2 draws at most " + std::to_string(largest) + " pixels a side",
            true);
        return 1;
    }
    OffscreenScene scene;
    if (!scene.Open(options.width, options.height)) {
        platform::web::ShowLine("tarrow: this browser gives the page no WebGL 2", true);
        return 1;
    }
    platform::web::NoteState("running");
    const double start = emscripten_get_now();
    std::vector<std::uint8_t> rgb;
    for (long frame = 1; frame <= options.frames; ++frame) {
        if (options.capture.count(frame) != 0) {
            scene.RenderFrame(&rgb);
            platform::web::KeepFrame(frame, rgb, options.width, options.height);
        } else {
            scene.DrawUnseenFrame();
        }
    }
    // Waits for the last frame to be drawn, so that the time covers drawing.
    std::uint8_t pixel[4];
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    const double seconds = (emscripten_get_now() - start) / 1000.0;
    platform::web::NoteRun(options.frames, seconds);
    platform::web::ShowLine(
        "tarrow: " + std::to_string(options.frames) + " frames at " +
            std::to_string(options.width) + "x" + std::to_string(options.height) + " in " +
            std::to_string(seconds) + " s" +
            (options.frames > 0
                 ? " (" + std::to_string(seconds * 1000.0 / options.frames) + " ms a frame)"
                 : std::string()),
        false);
    if (options.dump) {
        platform::web::ShowDump(
            SceneStateJson(seed.value, options.frames, WindowSize{options.width, options.height}));
    }
    return 0;
}
